#include "referentials/LectureXml.h"

namespace vyk {

namespace {

const QString TROP_PROFOND =
    QStringLiteral("éléments imbriqués sur plus de %1 niveaux").arg(PROFONDEUR_XML_MAX);

struct Traduction
{
    const char *debut; // start of the reader's message
    const char *raison;
};

// The reader's messages a damaged or foreign file gives, start of the text to the reason.
// clang-format off
constexpr Traduction TRADUCTIONS[] = {
    {"Premature end of document", "le fichier s'arrête avant la fin du document"},
    {"Encountered incorrectly encoded content", "des caractères ne sont pas dans l'encodage annoncé"},
    {"Opening and ending tag mismatch", "une balise fermante ne correspond pas à la balise ouverte"},
    {"Extra content at end of document", "du contenu suit la fin du document"},
    {"Start tag expected", "une balise ouvrante est attendue"},
    {"Unexpected '", "un caractère inattendu se trouve à cet endroit"},
    {"Unexpected character", "un caractère inattendu se trouve à cet endroit"},
    {"Invalid XML character", "le fichier contient un caractère interdit en XML"},
    {"Invalid XML name", "un nom d'élément ou d'attribut n'est pas valide"},
    {"Invalid XML version", "la version XML annoncée n'est pas valide"},
    {"Unsupported XML version", "la version XML annoncée n'est pas prise en charge"},
    {"Encoding ", "l'encodage annoncé n'est pas pris en charge"},
    {"Standalone accepts only yes or no", "la déclaration XML n'est pas valide"},
    {"Invalid attribute in XML declaration", "la déclaration XML n'est pas valide"},
    {"Attribute redefined", "un attribut est répété dans le même élément"},
    {"Entity '", "une entité n'est pas déclarée ou n'est pas permise"},
    {"Invalid entity value", "une entité n'est pas valide"},
    {"Recursive entity detected", "une entité se référence elle-même"},
    {"Reference to unparsed entity", "une entité n'est pas permise"},
    {"Namespace prefix", "un préfixe d'espace de noms n'est pas déclaré"},
    {"Illegal namespace declaration", "une déclaration d'espace de noms n'est pas valide"},
    {"Sequence ']]>' not allowed", "la séquence « ]]> » n'est pas permise dans le texte"},
    {"Invalid document", "le document n'est pas valide"},
    {"Invalid processing instruction", "une instruction de traitement n'est pas valide"},
    {"Expected ", "le fichier n'est pas du XML bien formé"},
};
// clang-format on

} // namespace

bool verifierProfondeurXml(QXmlStreamReader &xml, qsizetype profondeur)
{
    if (profondeur <= PROFONDEUR_XML_MAX) return true;
    xml.raiseError(TROP_PROFOND);
    return false;
}

bool lireTexteElement(QXmlStreamReader &xml, int profondeur, QString &texte)
{
    texte.clear();
    int niveau = 1;
    while (niveau > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            texte += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            if (!verifierProfondeurXml(xml, profondeur + niveau++)) return false;
            break;
        case QXmlStreamReader::EndElement:
            --niveau;
            break;
        default:
            break;
        }
    }
    return !xml.hasError();
}

QString raisonXml(const QXmlStreamReader &xml)
{
    if (xml.error() == QXmlStreamReader::CustomError)
        return xml.errorString(); // raised by these readers, in French already
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return QString::fromUtf8(TRADUCTIONS[0].raison);
    const QString detail = xml.errorString();
    for (const Traduction &t : TRADUCTIONS)
        if (detail.startsWith(QLatin1String(t.debut))) return QString::fromUtf8(t.raison);
    return QStringLiteral("le fichier n'est pas du XML bien formé");
}

QString messageXmlInvalide(const QString &nomFichier, const QXmlStreamReader &xml)
{
    return QStringLiteral("Le fichier ") + nomFichier +
           QStringLiteral(" n'est pas un fichier XML valide (ligne ") +
           QString::number(xml.lineNumber()) + QStringLiteral(" : ") + raisonXml(xml) +
           QStringLiteral(").");
}

} // namespace vyk
