#include "referentials/ImportTaxons.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/FichiersTexte.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "referentials/ListesCodees.h"
#include "referentials/UsageTaxons.h"
#include "schema/Catalogue.h"
#include "referentials/ModeleListeReference.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

namespace vyk {

namespace {

const QString CHAMP_THEME = QStringLiteral("TAXONS.THEME");
// Written into the rows the import adds, where the file names no editor.
const QString REDACTEUR_IMPORT = QStringLiteral("VYDA");

// Windows-1252 bytes 0x80-0x9F, as the characters a misread byte becomes.
constexpr char16_t CP1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte a character stands for when a UTF-8 text was read one byte at a time; -1 when none.
int octetLu(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
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

int taille(const char *colonne)
{
    const DefinitionTable *t = definitionTable(u"TAXONS");
    const DefinitionColonne *c = t ? t->colonne(QString::fromLatin1(colonne)) : nullptr;
    return c ? c->taille : 0;
}

// Why a row cannot be written; "" when it can.
QString refusLigne(const LigneImportTaxon &l)
{
    if (l.code.trimmed().isEmpty()) return QStringLiteral("le code est vide");
    const struct
    {
        const QString &texte;
        const char *colonne;
    } textes[] = {{l.code, "codeTaxon"},      {l.nomLatin, "nomLatin"},
                  {l.statut, "statut"},       {l.redacteur, "redacteur"},
                  {l.nomCommun, "nomCommun"}, {l.auteur, "auteur"},
                  {l.parent, "elementDe"},    {l.omnidia, "codeOmnidia"},
                  {l.museum, "refMuseum"},    {l.macrophytes, "codeMacrophyte"}};
    for (const auto &t : textes)
        if (const int n = taille(t.colonne); n > 0 && t.texte.trimmed().size() > n)
            return QStringLiteral("« %1 » dépasse %2 caractères").arg(t.texte.trimmed()).arg(n);
    for (const QString *d : {&l.dateCreation, &l.dateMiseAJour})
        if (!d->trimmed().isEmpty() && !lireDate(d->trimmed()).isValid())
            return QStringLiteral("la date « %1 » n'est pas correcte").arg(*d);
    for (const QString *n : {&l.niveau, &l.theme})
        if (!n->trimmed().isEmpty() && !estNombre(n->trimmed()))
            return QStringLiteral("« %1 » n'est pas un nombre").arg(*n);
    return {};
}

QVariant texteOuNul(const QString &t)
{
    return t.trimmed().isEmpty() ? QVariant() : QVariant(t.trimmed());
}
QVariant nombreOuNul(const QString &t)
{
    return enNombre(t.trimmed(), true).variant();
}
QVariant dateOuNul(const QString &t)
{
    const QDateTime d = lireDate(t.trimmed());
    return d.isValid() ? QVariant(QDateTime(d.date(), QTime(0, 0))) : QVariant();
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
    const QVector<QStringList> lignes = lireEnregistrementsCsv(reparerAccents(texte), u';');
    bool entete = true;
    for (qsizetype n = 0; n < lignes.size(); ++n) {
        const QStringList &champs = lignes[n];
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
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement ||
            x.name() != QLatin1String("AppelTaxon"))
            continue;
        LigneImportTaxon l;
        QStringList chemins;     // names below AppelTaxon
        QVector<QString> textes; // text of each open element
        QString cdAlternatif, orgAlternatif;
        while (!x.atEnd()) {
            const auto jeton = x.readNext();
            if (jeton == QXmlStreamReader::StartElement) {
                chemins << x.name().toString();
                textes << QString();
            } else if (jeton == QXmlStreamReader::Characters && !textes.isEmpty()) {
                textes.last() += x.text();
            } else if (jeton == QXmlStreamReader::EndElement) {
                if (chemins.isEmpty()) break; // end of AppelTaxon
                const QString chemin = chemins.join(u'/');
                const QString v = reparerAccents(textes.last().trimmed());
                chemins.removeLast();
                textes.removeLast();
                if (chemin == QLatin1String("CdAppelTaxon"))
                    l.code = v;
                else if (chemin == QLatin1String("NomLatinAppelTaxon"))
                    l.nomLatin = v;
                else if (chemin == QLatin1String("StAppelTaxon"))
                    l.statut = statutAppelTaxon(v);
                else if (chemin == QLatin1String("ComAppelTaxon"))
                    l.commentaire = v;
                else if (chemin == QLatin1String("DateCreationAppelTaxon"))
                    l.dateCreation = texteDateImport(v);
                else if (chemin == QLatin1String("DateMajAppelTaxon"))
                    l.dateMiseAJour = texteDateImport(v);
                else if (chemin.startsWith(QLatin1String("RedacteurFicheAppelTaxon")) &&
                         !v.isEmpty() && l.redacteur.isEmpty())
                    l.redacteur = v;
                else if (chemin.startsWith(QLatin1String("NiveauTaxonomique")) && !v.isEmpty() &&
                         l.niveau.isEmpty())
                    l.niveau = v;
                else if (chemin == QLatin1String("ThemeTaxonAppel/CdThemeTaxon"))
                    l.theme = v;
                else if (chemin == QLatin1String("ThemeTaxonAppel/LbThemeTaxon"))
                    l.libelleTheme = v;
                else if (chemin == QLatin1String("AppelTaxonParent/CdAppelTaxon"))
                    l.parent = v;
                else if (chemin == QLatin1String("AbTax"))
                    l.auteur = v;
                else if (chemin == QLatin1String("NomCommunAppelTaxon"))
                    l.nomCommun = v;
                else if (chemin == QLatin1String("CodeAlternatifAp/CdAlternatif"))
                    cdAlternatif = v;
                else if (chemin == QLatin1String("CodeAlternatifAp/OrgCdAlternatif"))
                    orgAlternatif = v.toUpper();
                else if (chemin == QLatin1String("CodeAlternatifAp")) {
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
        erreur = QStringLiteral("Le fichier XML n'est pas valide (ligne %1) : %2")
                     .arg(x.lineNumber())
                     .arg(x.errorString());
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
                return afficherMessage(QStringLiteral("Question"),
                                       texteImportTaxons::LIGNE_IMPOSSIBLE + u'\n' + ligne + u'\n' +
                                           texteImportTaxons::CONTINUER) == BoutonOui;
            },
            [] {
                return afficherMessage(QStringLiteral("Question"),
                                       texteImportTaxons::ANNULER_TOUT) == BoutonOui;
            }};
}

BilanImportTaxons integrerTaxons(const FichierTaxons &fichier, ModeImportTaxons mode, bool activer,
                                 Progression &progression, const DecisionsImportTaxons &decisions)
{
    BilanImportTaxons bilan;
    if (!autoriserModificationReferentiels()) {
        bilan.interrompu = true;
        return bilan;
    }
    progression.message(QStringLiteral("Intégration taxons"));
    progression.message(QStringLiteral("Fichier : ") + QFileInfo(fichier.chemin).fileName());
    // Each code as the file writes it, to the code as stored: a code kept with blanks around it
    // by another program is still updated, and by its stored value.
    QHash<QString, QString> existants;
    {
        const Tableau t = bd().extraire(
            QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE codeTaxon IS NOT NULL"));
        for (int i = 0; i < t.nbLignes(); ++i)
            existants.insert(t.texte(i, 0).trimmed(), t.texte(i, 0));
    }
    const QHash<QString, QString> themes = libellesListe(CHAMP_THEME);
    progression.message(QStringLiteral("Importation des données"));

    // First the rows are checked in file order, the user deciding at each refused one; only
    // then are they written, updates one by one and new taxa in bulk.
    struct Ecriture
    {
        qsizetype ligne;
        QVector<QVariant> valeurs;
    };
    QVector<Ecriture> miseAJour, ajouts;
    QHash<QString, qsizetype> ajoutParCode;
    QHash<QString, QString> themesVus;
    const qsizetype total = fichier.lignes.size();
    for (qsizetype n = 0; n < total; ++n) {
        const LigneImportTaxon &l = fichier.lignes[n];
        const QString code = l.code.trimmed();
        const bool existe = existants.contains(code);
        if (!existe && mode == ModeImportTaxons::MiseAJour && !code.isEmpty()) {
            ++bilan.ignores;
            continue;
        }
        if (const QString refus = refusLigne(l); !refus.isEmpty()) {
            ++bilan.rejetes;
            bilan.erreurs << QStringLiteral("Ligne %1 (%2) : %3").arg(n + 1).arg(code, refus);
            if (!decisions.continuer ||
                !decisions.continuer(l.textes().join(QStringLiteral(" ; ")))) {
                bilan.interrompu = true;
                break;
            }
            continue;
        }
        QVector<QVariant> v = {
            texteOuNul(l.nomLatin),     texteOuNul(l.statut),     dateOuNul(l.dateCreation),
            dateOuNul(l.dateMiseAJour), texteOuNul(l.redacteur),  texteOuNul(l.nomCommun),
            texteOuNul(l.auteur),       nombreOuNul(l.niveau),    nombreOuNul(l.theme),
            texteOuNul(l.parent),       texteOuNul(l.omnidia),    texteOuNul(l.museum),
            texteOuNul(l.commentaire),  texteOuNul(l.macrophytes)};
        if (existe) {
            v << (activer ? QVariant(QStringLiteral("1")) : QVariant()) << existants.value(code);
            miseAJour.append({n, v});
        } else if (const auto it = ajoutParCode.constFind(code); it != ajoutParCode.constEnd()) {
            // The same new code twice: its later values complete the row to add.
            QVector<QVariant> &deja = ajouts[*it].valeurs;
            for (int c = 0; c < v.size(); ++c)
                if (!v[c].isNull()) deja[c] = v[c];
        } else {
            if (v[4].isNull()) v[4] = REDACTEUR_IMPORT;
            v << (activer ? QStringLiteral("1") : QStringLiteral("0")) << code;
            ajoutParCode.insert(code, ajouts.size());
            ajouts.append({n, v});
        }
        if (const Nombre theme = enNombre(l.theme.trimmed(), true); theme.estNombre()) {
            const QString cle = texteValeur(theme.valeur);
            if (!themes.contains(cle) && themesVus.value(cle).isEmpty())
                themesVus.insert(cle, l.libelleTheme.trimmed());
        }
    }
    // Stopped on a refused row: nothing is written yet, the rows before it may still be.
    if (bilan.interrompu && decisions.annulerTout && decisions.annulerTout()) {
        bilan.defait = true;
        return bilan;
    }

    Transaction transaction;
    const qsizetype aEcrire = miseAJour.size() + ajouts.size();
    // An empty cell of the file leaves the stored value: a file without the calculator codes
    // does not erase them.
    InstructionPreparee maj = bd().preparer(QStringLiteral(
        "UPDATE TAXONS SET nomLatin=coalesce(?, nomLatin), statut=coalesce(?, statut), "
        "dateCreation=coalesce(?, dateCreation), dateMiseAJour=coalesce(?, dateMiseAJour), "
        "redacteur=coalesce(?, redacteur), nomCommun=coalesce(?, nomCommun), "
        "auteur=coalesce(?, auteur), niveau=coalesce(?, niveau), theme=coalesce(?, theme), "
        "elementDe=coalesce(?, elementDe), codeOmnidia=coalesce(?, codeOmnidia), "
        "refMuseum=coalesce(?, refMuseum), commentaire=coalesce(?, commentaire), "
        "codeMacrophyte=coalesce(?, codeMacrophyte), actif=coalesce(?, actif) WHERE codeTaxon=?"));
    bool annule = false;
    qsizetype fait = 0;
    for (const Ecriture &e : std::as_const(miseAJour)) {
        if (++fait % 500 == 0) {
            progression.position(fait, aEcrire);
            if ((annule = progression.annule())) break;
        }
        if (maj.executer(e.valeurs)) {
            ++bilan.modifies;
        } else {
            ++bilan.rejetes;
            bilan.erreurs << QStringLiteral("Ligne %1 (%2) : %3")
                                 .arg(e.ligne + 1)
                                 .arg(e.valeurs.last().toString(), maj.erreur());
        }
    }
    if (!annule && !ajouts.isEmpty()) {
        InsertionMassive insertion(QStringLiteral("TAXONS"),
                                   {QStringLiteral("nomLatin"), QStringLiteral("statut"),
                                    QStringLiteral("dateCreation"), QStringLiteral("dateMiseAJour"),
                                    QStringLiteral("redacteur"), QStringLiteral("nomCommun"),
                                    QStringLiteral("auteur"), QStringLiteral("niveau"),
                                    QStringLiteral("theme"), QStringLiteral("elementDe"),
                                    QStringLiteral("codeOmnidia"), QStringLiteral("refMuseum"),
                                    QStringLiteral("commentaire"), QStringLiteral("codeMacrophyte"),
                                    QStringLiteral("actif"), QStringLiteral("codeTaxon")});
        qsizetype envoyees = 0;
        for (const Ecriture &e : std::as_const(ajouts)) {
            if (++fait % 2000 == 0) {
                progression.position(fait, aEcrire);
                if ((annule = progression.annule())) break;
            }
            insertion.ajouter(e.valeurs);
            ++envoyees;
        }
        insertion.terminer();
        QSet<long long> refusees;
        for (const InsertionMassive::ErreurLigne &err : insertion.erreurs()) {
            const qsizetype i = qsizetype(err.numero) - 1;
            if (i < 0 || i >= ajouts.size()) continue;
            refusees.insert(i);
            bilan.erreurs << QStringLiteral("Ligne %1 (%2) : %3")
                                 .arg(ajouts[i].ligne + 1)
                                 .arg(ajouts[i].valeurs.last().toString(), err.message);
        }
        if (!insertion.estValide()) bilan.erreurs << insertion.erreur();
        bilan.ajoutes = int(std::max<qsizetype>(0, envoyees - refusees.size()));
        bilan.rejetes += int(refusees.size());
    }
    if (annule) {
        bilan.interrompu = true;
        if (decisions.annulerTout && decisions.annulerTout()) {
            transaction.annuler();
            bilan.defait = true;
            bilan.ajoutes = bilan.modifies = 0;
            return bilan;
        }
    }
    // Themes that the code list does not know yet.
    InstructionPreparee theme = bd().preparer(
        QStringLiteral("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES (?, ?, ?)"));
    for (auto it = themesVus.constBegin(); it != themesVus.constEnd(); ++it) {
        const QString libelle =
            it.value().isEmpty() ? QStringLiteral("Thème ") + it.key() : it.value();
        if (theme.executer({CHAMP_THEME, it.key().toInt(), libelle}))
            ++bilan.themesAjoutes;
        else
            bilan.erreurs << QStringLiteral("Thème %1 : %2").arg(it.key(), theme.erreur());
    }
    if (!transaction.valider()) {
        bilan.erreurs << bd().derniereErreur();
        bilan.defait = true;
        bilan.ajoutes = bilan.modifies = bilan.themesAjoutes = 0;
        return bilan;
    }
    progression.position(aEcrire, aEcrire);
    if (activer) bilan.activesUtilises = activerTaxonsUtilises(progression);
    return bilan;
}

} // namespace vyk
