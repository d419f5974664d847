#include "app/Csv.h"

#include "classeur/Classeur.h"

#include <QSaveFile>

#include <QDateTime>
#include <QTextStream>

namespace vyk {

QString champCsv(const QString &texte, QChar separateur)
{
    if (!texte.contains(separateur) && !texte.contains(u'"') && !texte.contains(u'\n') &&
        !texte.contains(u'\r'))
        return texte;
    QString r = texte;
    r.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + r + u'"';
}

QString texteExport(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 00:00:00");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString();
    }
}

QString ligneCsv(const QStringList &champs, QChar separateur)
{
    QStringList r;
    r.reserve(champs.size());
    for (const QString &c : champs)
        r << champCsv(c, separateur);
    return r.join(separateur);
}

namespace {

// Reads one record from i, which is left after its line end; ligne counts the line ends passed.
// False when a quoted field is still open at the end of the text.
bool lireEnregistrement(const QString &t, qsizetype &i, qsizetype &ligne, QChar separateur,
                        QStringList &champs)
{
    QString courant;
    bool guillemets = false;
    while (i < t.size()) {
        const QChar c = t[i++];
        const bool saut = c == u'\n' || c == u'\r';
        if (saut) {
            // CRLF, LF and a lone CR (old spreadsheet exports) each end one line.
            if (c == u'\r' && i < t.size() && t[i] == u'\n') ++i;
            ++ligne;
        }
        if (guillemets) {
            if (c != u'"')
                courant += saut ? QChar(u'\n') : c;
            else if (i < t.size() && t[i] == u'"')
                courant += t[i++];
            else
                guillemets = false;
        } else if (saut) {
            break;
        } else if (c == u'"' && courant.trimmed().isEmpty()) {
            courant.clear();
            guillemets = true;
        } else if (c == separateur) {
            champs << courant;
            courant.clear();
        } else {
            courant += c;
        }
    }
    champs << courant;
    return !guillemets;
}

} // namespace

bool lireCsv(const QString &texte, QChar separateur, QVector<EnregistrementCsv> &enregistrements,
             QString &erreur)
{
    enregistrements.clear();
    qsizetype i = 0;
    qsizetype ligne = 1;
    while (i < texte.size()) {
        EnregistrementCsv e;
        e.ligne = ligne;
        if (!lireEnregistrement(texte, i, ligne, separateur, e.champs)) {
            // The row would swallow every line after it: the file is refused, nothing is guessed.
            erreur = QStringLiteral("Ligne %1 : un guillemet ouvert n'est jamais refermé ; le "
                                    "fichier n'est pas lu.")
                         .arg(e.ligne);
            enregistrements.clear();
            return false;
        }
        enregistrements << std::move(e);
    }
    return true;
}

bool enregistrementVide(const QStringList &champs)
{
    for (const QString &c : champs)
        if (!c.trimmed().isEmpty()) return false;
    return true;
}

void ecrireCsv(const Tableau &tableau, QTextStream &sortie, QChar separateur,
               const QString &finLigne, const QStringList &entetes)
{
    sortie << ligneCsv(entetes.isEmpty() ? tableau.colonnes() : entetes, separateur) << finLigne;
    QStringList champs;
    for (int l = 0; l < tableau.nbLignes(); ++l) {
        champs.clear();
        for (int c = 0; c < tableau.nbColonnes(); ++c)
            champs << texteExport(tableau(l, c));
        sortie << ligneCsv(champs, separateur) << finLigne;
    }
}

bool exporterGrilleFichier(const QString &chemin, const QString &feuille, const QStringList &titres,
                           const QVector<QStringList> &lignes, QString *erreur)
{
    if (cheminClasseur(chemin)) return exporterClasseur(chemin, feuille, titres, lignes, erreur);
    QSaveFile fichier(chemin);
    QString texte = QStringLiteral("\uFEFF") + ligneCsv(titres, u';') + QStringLiteral("\r\n");
    for (const QStringList &ligne : lignes)
        texte += ligneCsv(ligne, u';') + QStringLiteral("\r\n");
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(texte.toUtf8()) < 0 ||
        !fichier.commit()) {
        if (erreur)
            *erreur = QStringLiteral("Impossible d'écrire le fichier %1 : %2")
                          .arg(chemin, fichier.errorString());
        return false;
    }
    return true;
}

} // namespace vyk
