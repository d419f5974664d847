#include "referentials/ImportTaxons.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/FichiersTexte.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "referentials/LectureXml.h"
#include "referentials/ListesCodees.h"
#include "referentials/UsageTaxons.h"
#include "schema/Catalogue.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace vyk {

namespace {

// Windows-1252 bytes 0x80-0x9F, as the characters a misread byte becomes.
constexpr char16_t CP1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte a character stands for when a UTF-8 text was read one byte at a time, as
// Windows-1252 or as ISO-8859-1 (whose 0x80-0x9F are control characters: the second byte of
// "É", "À", "È"); -1 when none.
int octetLu(QChar c)
{
    const char16_t u = c.unicode();
    if (u <= 0xFF) return u;
    for (int i = 0; i < 32; ++i)
        if (CP1252[i] == u) return 0x80 + i;
    return -1;
}

QString texteDateImport(const QString &t)
{
    const QString s = t.trimmed();
    if (s.isEmpty()) return {};
    const QDateTime d = lireDate(s);
    return d.isValid() ? d.date().toString(QStringLiteral("dd/MM/yyyy")) : s;
}

// The file of a reader, opened; the message when it cannot be.
bool ouvrirLecture(QFile &f, QString &erreur)
{
    if (f.open(QIODevice::ReadOnly)) return true;
    erreur = QStringLiteral("Impossible d'ouvrir le fichier ") + f.fileName() + u'.';
    return false;
}

} // namespace

QStringList LigneImportTaxon::textes() const
{
    return {code,      nomLatin,    statut,       dateCreation, dateMiseAJour, redacteur,
            nomCommun, auteur,      niveau,       theme,        parent,        omnidia,
            museum,    commentaire, libelleTheme, macrophytes};
}

const QStringList &entetesImportTaxons()
{
    static const QStringList entetes = {QStringLiteral("Code"),
                                        QStringLiteral("Nom latin"),
                                        QStringLiteral("Statut"),
                                        QStringLiteral("Création"),
                                        QStringLiteral("Modification"),
                                        QStringLiteral("Redacteur"),
                                        QStringLiteral("Nom commun"),
                                        QStringLiteral("Auteur"),
                                        QStringLiteral("Arbre taxonomique"),
                                        QStringLiteral("Theme"),
                                        QStringLiteral("Parent"),
                                        QStringLiteral("Omnidia"),
                                        QStringLiteral("Museum"),
                                        QStringLiteral("Commentaire"),
                                        QStringLiteral("Libellé Thème"),
                                        QStringLiteral("Macrophytes")};
    return entetes;
}

QString statutAppelTaxon(const QString &texte)
{
    const QString t = texte.trimmed().toUpper();
    // "VALID" wins over the other words: "Proposition validée" is a validated code.
    if (t.contains(QLatin1String("VALID"))) return QStringLiteral("2");
    if (t.contains(QLatin1String("PROPOSITION"))) return QStringLiteral("0");
    if (t.contains(QLatin1String("PROVISOIRE"))) return QStringLiteral("1");
    if (t.contains(QLatin1String("GEL"))) return QStringLiteral("3");
    return texte.trimmed();
}

QString reparerAccents(const QString &texte)
{
    // Only texts holding a possible lead byte are looked at.
    bool candidat = false;
    for (const QChar c : texte)
        if (c.unicode() >= 0xC2 && c.unicode() <= 0xEF) {
            candidat = true;
            break;
        }
    if (!candidat) return texte;
    QString r;
    r.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const int tete = octetLu(texte[i]);
        const int suite = tete >= 0xC2 && tete <= 0xDF ? 1 : (tete >= 0xE0 && tete <= 0xEF ? 2 : 0);
        if (suite > 0 && i + suite < texte.size()) {
            QByteArray octets(1, char(tete));
            for (int k = 1; k <= suite; ++k) {
                const int o = octetLu(texte[i + k]);
                if (o < 0x80 || o > 0xBF) break;
                octets += char(o);
            }
            if (octets.size() == suite + 1) {
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                const QString decode = utf8.decode(octets);
                // Only what French and Latin names hold (accented letters, µ, °, typographic
                // signs) is a misread sequence: an accented letter followed by a non-breaking
                // space and a guillemet, read right, would decode too (« protégé » into CJK).
                const char16_t u = decode.size() == 1 ? decode[0].unicode() : 0;
                if (!utf8.hasError() && u != 0 && (u < 0x180 || (u >= 0x2000 && u < 0x2200))) {
                    r += decode;
                    i += suite;
                    continue;
                }
            }
        }
        r += texte[i];
    }
    return r;
}

bool lireFichierTaxons(const QString &chemin, FichierTaxons &fichier, QString &erreur,
                       Progression &progression)
{
    const QString extension = QFileInfo(chemin).suffix().toLower();
    if (extension == QLatin1String("xml"))
        return lireTaxonsXml(chemin, fichier, erreur, progression);
    if (extension == QLatin1String("csv"))
        return lireTaxonsCsv(chemin, fichier, erreur, progression);
    erreur = texteImportTaxons::FORMAT_CSV;
    return false;
}

bool lireTaxonsCsv(const QString &chemin, FichierTaxons &fichier, QString &erreur,
                   Progression &progression)
{
    fichier = {chemin, {}};
    QFile f(chemin);
    if (!ouvrirLecture(f, erreur)) return false;
    QString texte = decoderTexte(f.readAll());
    f.close();
    if (texte.startsWith(QChar(0xFEFF))) texte.remove(0, 1);
    // Records, not lines: a quoted cell may hold line breaks.
    QVector<EnregistrementCsv> lignes;
    if (!lireCsv(reparerAccents(texte), u';', lignes, erreur)) return false;
    bool entete = true;
    for (qsizetype n = 0; n < lignes.size(); ++n) {
        const QStringList &champs = lignes[n].champs;
        // Empty lines and rows of empty cells that spreadsheets leave are no taxa.
        if (enregistrementVide(champs)) continue;
        if (entete) {
            entete = false;
            if (champs.size() < 2) {
                erreur = texteImportTaxons::FORMAT_CSV;
                return false;
            }
            // A header names its columns: a first line that starts with a code is data.
            if (estNombre(champs[0].trimmed())) {
                erreur = texteImportTaxons::ENTETES;
                return false;
            }
            continue;
        }
        // A file read in part is not offered for import as if it were whole.
        if (progression.annule()) {
            fichier.lignes.clear();
            erreur = texteImportTaxons::CHARGEMENT_INTERROMPU;
            return false;
        }
        if (n % 1000 == 0) progression.position(n, lignes.size());
        auto c = [&](int i) { return champs.value(i).trimmed(); };
        LigneImportTaxon l;
        l.ligneFichier = lignes[n].ligne;
        l.code = c(0);
        l.nomLatin = c(1);
        l.statut = statutAppelTaxon(c(2));
        l.dateCreation = texteDateImport(c(3));
        l.dateMiseAJour = texteDateImport(c(4));
        l.redacteur = c(5);
        l.nomCommun = c(6);
        l.auteur = c(7);
        l.niveau = c(8);
        l.theme = c(9);
        l.parent = c(10);
        l.omnidia = c(11);
        l.museum = c(12);
        l.commentaire = c(13);
        l.libelleTheme = c(14);
        l.macrophytes = c(15);
        fichier.lignes.append(l);
    }
    if (fichier.lignes.isEmpty()) {
        erreur = entete ? texteImportTaxons::FORMAT_CSV : texteImportTaxons::AUCUNE_DONNEE;
        return false;
    }
    return true;
}

bool lireTaxonsXml(const QString &chemin, FichierTaxons &fichier, QString &erreur,
                   Progression &progression)
{
    fichier = {chemin, {}};
    QFile f(chemin);
    if (!ouvrirLecture(f, erreur)) return false;
    progression.message(QStringLiteral("Chargement du fichier XML"));
    const qint64 taille = std::max<qint64>(f.size(), 1);
    QXmlStreamReader x(&f);
    qsizetype profondeur = 0; // of the elements around AppelTaxon
    while (!x.atEnd()) {
        const auto jetonExterieur = x.readNext();
        if (jetonExterieur == QXmlStreamReader::EndElement) --profondeur;
        if (jetonExterieur != QXmlStreamReader::StartElement ||
            !verifierProfondeurXml(x, ++profondeur))
            continue;
        if (x.name() != QLatin1String("AppelTaxon")) continue;
        --profondeur; // its end element is read by the loop below
        LigneImportTaxon l;
        l.ligneFichier = x.lineNumber();
        // Path of the open element below AppelTaxon ("A/B"), kept as elements open and close.
        QString ouvert;
        QVector<qsizetype> longueurs; // length of the path before each open element
        QVector<QString> textes;      // text of each open element
        QString cdAlternatif, orgAlternatif;
        while (!x.atEnd()) {
            const auto jeton = x.readNext();
            if (jeton == QXmlStreamReader::StartElement) {
                if (!verifierProfondeurXml(x, profondeur + textes.size() + 2)) break;
                longueurs << ouvert.size();
                if (!ouvert.isEmpty()) ouvert += u'/';
                ouvert += x.name();
                textes << QString();
            } else if (jeton == QXmlStreamReader::Characters && !textes.isEmpty()) {
                textes.last() += x.text();
            } else if (jeton == QXmlStreamReader::EndElement) {
                if (textes.isEmpty()) break; // end of AppelTaxon
                const QString v = reparerAccents(textes.takeLast().trimmed());
                const QString element = ouvert;
                ouvert.truncate(longueurs.takeLast());
                if (element == QLatin1String("CdAppelTaxon"))
                    l.code = v;
                else if (element == QLatin1String("NomLatinAppelTaxon"))
                    l.nomLatin = v;
                else if (element == QLatin1String("StAppelTaxon"))
                    l.statut = statutAppelTaxon(v);
                else if (element == QLatin1String("ComAppelTaxon"))
                    l.commentaire = v;
                else if (element == QLatin1String("DateCreationAppelTaxon"))
                    l.dateCreation = texteDateImport(v);
                else if (element == QLatin1String("DateMajAppelTaxon"))
                    l.dateMiseAJour = texteDateImport(v);
                else if (element.startsWith(QLatin1String("RedacteurFicheAppelTaxon")) &&
                         !v.isEmpty() && l.redacteur.isEmpty())
                    l.redacteur = v;
                else if (element.startsWith(QLatin1String("NiveauTaxonomique")) && !v.isEmpty() &&
                         l.niveau.isEmpty())
                    l.niveau = v;
                else if (element == QLatin1String("ThemeTaxonAppel/CdThemeTaxon"))
                    l.theme = v;
                else if (element == QLatin1String("ThemeTaxonAppel/LbThemeTaxon"))
                    l.libelleTheme = v;
                else if (element == QLatin1String("AppelTaxonParent/CdAppelTaxon"))
                    l.parent = v;
                else if (element == QLatin1String("AbTax"))
                    l.auteur = v;
                else if (element == QLatin1String("NomCommunAppelTaxon"))
                    l.nomCommun = v;
                else if (element == QLatin1String("CodeAlternatifAp/CdAlternatif"))
                    cdAlternatif = v;
                else if (element == QLatin1String("CodeAlternatifAp/OrgCdAlternatif"))
                    orgAlternatif = v.toUpper();
                else if (element == QLatin1String("CodeAlternatifAp")) {
                    if (orgAlternatif == QLatin1String("TAXREF"))
                        l.museum = cdAlternatif;
                    else if (orgAlternatif == QLatin1String("REF_OMNIDIA"))
                        l.omnidia = cdAlternatif;
                    else if (orgAlternatif == QLatin1String("MPHYT_IRSTEA"))
                        l.macrophytes = cdAlternatif;
                    cdAlternatif.clear();
                    orgAlternatif.clear();
                }
            }
        }
        fichier.lignes.append(l);
        if (fichier.lignes.size() % 500 == 0) {
            const int pourcent = int(100 * f.pos() / taille);
            progression.message(QStringLiteral("Chargement ") +
                                QStringList{QString::number(fichier.lignes.size()),
                                            QString::number(pourcent) + u'%'}
                                    .join(QStringLiteral(" - ")));
            progression.position(f.pos(), taille);
            if (progression.annule()) {
                fichier.lignes.clear();
                erreur = texteImportTaxons::CHARGEMENT_INTERROMPU;
                return false;
            }
        }
    }
    if (x.hasError()) {
        erreur = messageXmlInvalide(QFileInfo(chemin).fileName(), x);
        fichier.lignes.clear();
        return false;
    }
    if (fichier.lignes.isEmpty()) {
        erreur = texteImportTaxons::AUCUNE_DONNEE;
        return false;
    }
    return true;
}

DecisionsImportTaxons decisionsUtilisateur()
{
    return {[](const QString &ligne) {
                return confirmerParMessage(texteImportTaxons::LIGNE_IMPOSSIBLE + u'\n' + ligne +
                                           u'\n' + texteImportTaxons::CONTINUER);
            },
            [] { return confirmerParMessage(texteImportTaxons::ANNULER_TOUT); }};
}

} // namespace vyk
