#include "xml/ControleXml.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>

namespace vyk {

namespace {

struct PremiereErreur
{
    QString message;
    int ligne = 0;
    long position = -1; // bytes read when the error was raised
};

// Only the first error is kept: the later ones follow from it.
void retenirErreur(void *donnees, xmlErrorPtr erreur)
{
    auto *premiere = static_cast<PremiereErreur *>(donnees);
    if (!premiere->message.isEmpty() || erreur == nullptr) return;
    premiere->message = QString::fromUtf8(erreur->message ? erreur->message : "?").trimmed();
    premiere->ligne = erreur->line;
    if (erreur->ctxt)
        premiere->position = xmlByteConsumed(static_cast<xmlParserCtxtPtr>(erreur->ctxt));
}

// The parser counts line feeds only; our documents end their lines with a carriage return
// alone, so the line is counted again from the position: CR, LF and CR LF each end one.
int ligneDe(QByteArrayView document, long position)
{
    const qsizetype fin = std::min<qsizetype>(document.size(), position);
    int ligne = 1;
    for (qsizetype i = 0; i < fin; ++i) {
        const char c = document[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= document.size() || document[i + 1] != '\n')))
            ++ligne;
    }
    return ligne;
}

} // namespace

QString defautXmlOctets(QByteArrayView document)
{
    if (document.size() > INT_MAX) return QStringLiteral("document trop grand");
    xmlInitParser();
    // No callback but the error one: the parser checks every rule and keeps no tree; the
    // namespaced (SAX2) road also checks the prefixes.
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.serror = retenirErreur;
    PremiereErreur erreur;
    const int code = xmlSAXUserParseMemory(&sax, &erreur, document.data(), int(document.size()));
    if (code == 0 && erreur.message.isEmpty()) return {};
    if (erreur.message.isEmpty()) erreur.message = QStringLiteral("erreur %1").arg(code);
    if (erreur.position >= 0) erreur.ligne = ligneDe(document, erreur.position);
    return erreur.message + QStringLiteral(", ligne ") + QString::number(erreur.ligne);
}

} // namespace vyk
