#include "referentials/ReferentielsAnalyses.h"

#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace vyk {

namespace {

const QString AUTEUR_PARAMETRE_CREE = QStringLiteral("Intégration ADES");
const QString STATUT_PARAMETRE_CREE = QStringLiteral("0");
const QString AUTEUR_UNITE_CREEE = QStringLiteral("NORVALE");
const QString COMMENTAIRE_UNITE_CREEE = QStringLiteral("Intégration ADES ");
constexpr int CODES_PAR_INSTRUCTION = 500;
constexpr int LONGUEUR_CODE = 5;

bool estCodeNumerique(const QString &code)
{
    if (code.isEmpty()) return false;
    for (const QChar c : code)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// Quotes of a file's code: double quotes go; single ones are bound as values, never pasted.
QString nettoyer(const QString &texte)
{
    QString t = texte;
    t.remove(u'"');
    return t.trimmed();
}

QString premiereValeur(const QString &sql, const QVector<QVariant> &valeurs)
{
    InstructionPreparee p = bd().preparer(sql);
    Tableau t;
    if (!p.extraire(t, valeurs) || t.estVide()) return {};
    return t.texte(0, 0).trimmed();
}

// The "other codes" of every row, read once per run: other code -> code of the row.
QHash<QString, QString> lireCodesInternes(const QString &table, QChar separateur)
{
    QHash<QString, QString> r;
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT Code, codesInternes FROM ") + table +
                      QStringLiteral(" WHERE codesInternes IS NOT NULL ORDER BY Code"));
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString code = t.texte(i, QStringLiteral("Code")).trimmed();
        for (const QString &autre :
             t.texte(i, QStringLiteral("codesInternes")).split(separateur, Qt::SkipEmptyParts)) {
            const QString a = autre.trimmed();
            if (!a.isEmpty() && !code.isEmpty() && !r.contains(a)) r.insert(a, code);
        }
    }
    return r;
}

// The largest numeric code of a referential table; -1 when there is none.
double codeNumeriqueMax(const QString &table)
{
    // Written in the desktop dialect: the engine layer gives each engine its numeric test.
    const QVariant v = bd().valeur(QStringLiteral("SELECT max(cdbl(code)) FROM ") + table +
                                   QStringLiteral(" where isnumeric(code)"));
    bool ok = false;
    const double d = v.toDouble(&ok);
    return v.isNull() || !ok ? -1 : d;
}

// Bound as a date, not as "DD/MM/YYYY" text that a server may read month first.
QVariant aujourdhui()
{
    return QDateTime(QDate::currentDate(), QTime(0, 0));
}

} // namespace

QString tableReferentiel(Referentiel referentiel)
{
    switch (referentiel) {
    case Referentiel::Parametre:
        return QStringLiteral("ANALYSES_PARAMETRES");
    case Referentiel::Unite:
        return QStringLiteral("ANALYSES_UNITES");
    case Referentiel::Methode:
        return QStringLiteral("METHODES");
    case Referentiel::Fraction:
        return QStringLiteral("ANALYSES_FRACTIONS");
    case Referentiel::Support:
        return QStringLiteral("ANALYSES_SUPPORTS");
    }
    return {};
}

// ---- Resolution

struct CacheResolution::Etat
{
    QHash<QString, QString> parametres; // code read -> result
    QHash<QString, QString> unites;
    bool internesParametresLus = false;
    bool internesUnitesLus = false;
    QHash<QString, QString> internesParametres;
    QHash<QString, QString> internesUnites;
    double prochainParametre = -1; // next code of a created parameter, -1 until read
    double prochaineUnite = -1;
};

CacheResolution::CacheResolution() : m_etat(std::make_unique<Etat>()) {}
CacheResolution::~CacheResolution() = default;

QString resoudreParametre(CacheResolution &cache, const QString &codeLu, bool creation,
                          const QString &libelleLu, const QString &uniteReference)
{
    CacheResolution::Etat &e = *cache.m_etat;
    const QString code = nettoyer(codeLu);
    const QString libelle = nettoyer(libelleLu).isEmpty() ? code : nettoyer(libelleLu);
    if (code.isEmpty() && libelle.isEmpty()) return {};
    const QString cle = code.isEmpty() ? QStringLiteral("\x1F") + libelle : code;
    if (auto it = e.parametres.constFind(cle); it != e.parametres.constEnd()) return *it;

    QString resultat;
    if (!code.isEmpty())
        resultat = premiereValeur(
            QStringLiteral("SELECT Code FROM Analyses_Parametres WHERE code=?"), {code});
    if (resultat.isEmpty())
        resultat = premiereValeur(
            QStringLiteral("SELECT Code FROM Analyses_Parametres WHERE Nom=?"), {libelle});
    if (resultat.isEmpty())
        resultat = premiereValeur(
            QStringLiteral("SELECT Code FROM Analyses_Parametres WHERE LibelleLong=?"), {libelle});
    if (resultat.isEmpty() && libelle.contains(u'-'))
        resultat =
            premiereValeur(QStringLiteral("SELECT Code FROM Analyses_Parametres WHERE Nom=?"),
                           {QString(libelle).replace(u'-', u' ')});
    if (resultat.isEmpty() && !code.isEmpty()) {
        if (!e.internesParametresLus) {
            e.internesParametres = lireCodesInternes(QStringLiteral("ANALYSES_PARAMETRES"), u',');
            e.internesParametresLus = true;
        }
        resultat = e.internesParametres.value(code);
    }

    if (resultat.isEmpty() && creation) {
        const bool garde = estCodeNumerique(code) && code.size() <= LONGUEUR_CODE;
        QString nouveau = code;
        if (!garde) {
            if (e.prochainParametre < 0) {
                const double max = codeNumeriqueMax(QStringLiteral("ANALYSES_PARAMETRES"));
                e.prochainParametre = std::max(max + 1, double(PREMIER_CODE_PARAMETRE_CREE));
            }
            nouveau = QString::number(qint64(e.prochainParametre));
        }
        InstructionPreparee p =
            bd().preparer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, "
                                         "DateCreation, Auteur, Statut, UniteReference1, "
                                         "Actif, codesInternes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        const QVariant unite =
            nettoyer(uniteReference).isEmpty() ? QVariant() : QVariant(nettoyer(uniteReference));
        // A code that is not kept stays findable through codesInternes.
        const QVariant internes = garde || code.isEmpty() ? QVariant() : QVariant(code);
        if (p.executer({nouveau, libelle.left(255), aujourdhui(), AUTEUR_PARAMETRE_CREE,
                        STATUT_PARAMETRE_CREE, unite, QStringLiteral("1"), internes})) {
            resultat = nouveau;
            cache.parametresCrees << nouveau;
            if (!garde) e.prochainParametre += 1;
            // A kept code of the created range: the next created one goes above it.
            else if (e.prochainParametre >= 0 && code.toDouble() >= e.prochainParametre)
                e.prochainParametre = code.toDouble() + 1;
            if (!internes.isNull()) e.internesParametres.insert(code, nouveau);
        }
    }
    e.parametres.insert(cle, resultat);
    if (!resultat.isEmpty()) cache.parametresRencontres.insert(resultat);
    return resultat;
}

QString resoudreUnite(CacheResolution &cache, const QString &codeLu, bool creation,
                      const QString &symboleLu)
{
    CacheResolution::Etat &e = *cache.m_etat;
    const QString code = nettoyer(codeLu);
    const QString symbole = nettoyer(symboleLu);
    if (code.isEmpty() && symbole.isEmpty()) return {};
    const QString cle = code.isEmpty() ? QStringLiteral("\x1F") + symbole : code;
    if (auto it = e.unites.constFind(cle); it != e.unites.constEnd()) return *it;

    QString resultat;
    if (!code.isEmpty())
        resultat =
            premiereValeur(QStringLiteral("SELECT Code FROM Analyses_Unites WHERE code=?"), {code});
    if (resultat.isEmpty() && !symbole.isEmpty()) {
        resultat = premiereValeur(
            QStringLiteral("SELECT Code FROM Analyses_Unites WHERE symbole=?"), {symbole});
        if (resultat.isEmpty())
            resultat = premiereValeur(
                QStringLiteral("SELECT Code FROM Analyses_Unites WHERE nom=?"), {symbole});
    }
    if (resultat.isEmpty() && !code.isEmpty()) {
        if (!e.internesUnitesLus) {
            e.internesUnites = lireCodesInternes(QStringLiteral("ANALYSES_UNITES"), u';');
            e.internesUnitesLus = true;
        }
        resultat = e.internesUnites.value(code);
    }

    if (resultat.isEmpty() && creation) {
        const bool garde = estCodeNumerique(code) && code.size() <= LONGUEUR_CODE;
        QString nouveau = code;
        if (!garde) {
            if (e.prochaineUnite < 0)
                e.prochaineUnite =
                    std::max(codeNumeriqueMax(QStringLiteral("ANALYSES_UNITES")) + 1, 1.0);
            nouveau = QString::number(qint64(e.prochaineUnite));
        }
        const QString texte = (symbole.isEmpty() ? code : symbole).left(255);
        const QVariant internes = garde || code.isEmpty() ? QVariant() : QVariant(code);
        InstructionPreparee p =
            bd().preparer(QStringLiteral("INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom, Auteur, "
                                         "DateCreation, Commentaires, codesInternes) "
                                         "VALUES (?, ?, ?, ?, ?, ?, ?)"));
        if (p.executer({nouveau, texte, texte, AUTEUR_UNITE_CREEE, aujourdhui(),
                        COMMENTAIRE_UNITE_CREEE, internes})) {
            resultat = nouveau;
            cache.unitesCrees << nouveau;
            if (!garde)
                e.prochaineUnite += 1;
            else if (e.prochaineUnite >= 0 && code.toDouble() >= e.prochaineUnite)
                e.prochaineUnite = code.toDouble() + 1;
            if (!internes.isNull()) e.internesUnites.insert(code, nouveau);
        }
    }
    e.unites.insert(cle, resultat);
    if (!resultat.isEmpty()) cache.unitesRencontres.insert(resultat);
    return resultat;
}

std::array<QString, 3> unitesReference(const QString &codeParametre)
{
    std::array<QString, 3> r;
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT UniteReference1, uniteReference2, uniteReference3 "
                                     "FROM Analyses_Parametres WHERE code=") +
                      sqlTexte(codeParametre.trimmed()));
    if (!t.estVide())
        for (int i = 0; i < 3; ++i)
            r[size_t(i)] = t.texte(0, i).trimmed();
    return r;
}

namespace {

// UPDATE ... SET Actif='1' WHERE code IN (...), by groups.
bool activer(const QString &table, const QString &colonne, const QSet<QString> &codes)
{
    QStringList liste;
    for (const QString &c : codes)
        if (!c.trimmed().isEmpty()) liste << sqlTexte(c.trimmed());
    liste.sort();
    bool ok = true;
    for (qsizetype i = 0; i < liste.size(); i += CODES_PAR_INSTRUCTION)
        ok = bd().Execute(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + colonne +
                          QStringLiteral("='1' WHERE code IN (") +
                          liste.mid(i, CODES_PAR_INSTRUCTION).join(u',') + u')') &&
             ok;
    return ok;
}

} // namespace

bool activerParametres(const QSet<QString> &codes)
{
    return activer(QStringLiteral("analyses_parametres"), QStringLiteral("actif"), codes);
}

bool activerUnites(const QSet<QString> &codes)
{
    return activer(QStringLiteral("analyses_unites"), QStringLiteral("actif"), codes);
}

bool activerMethodes(const QSet<QString> &codes)
{
    return activer(QStringLiteral("METHODES"), QStringLiteral("Actif"), codes);
}

// ---- Places of use

namespace {

// A column outside the analysis tables that holds codes of a referential.
struct Emplacement
{
    const char *table;
    const char *colonne;
    bool numerique; // the column holds numbers: only numeric codes can be there
};

// Columns of the analysis tables, then the other places, then the numeric columns of the
// stations' taxa lists, per referential.
struct Usages
{
    QStringList colonnesAnalyses;
    QVector<Emplacement> autres;
    QStringList colonnesListesTaxons;
};

// The stations' taxa list tables (QUALITOMETRES_LISTE_ + station number), ready for SQL.
QVector<TableAnalysesStation> tablesListesTaxons()
{
    QVector<TableAnalysesStation> r;
    for (const QString &t : bd().tables()) {
        if (!t.startsWith(PREFIXE_LISTE_TAXONS, Qt::CaseInsensitive)) continue;
        const QString suffixe = t.mid(PREFIXE_LISTE_TAXONS.size());
        if (!suffixe.isEmpty() && estCodeNumerique(suffixe))
            r.append(
                {suffixe.toDouble(), suffixe, identifiantTable(PREFIXE_LISTE_TAXONS, suffixe)});
    }
    return r;
}

Usages usages(Referentiel r)
{
    switch (r) {
    case Referentiel::Parametre:
        return {{QStringLiteral("CodeParametre")},
                {{"QUALITOMETRES_OPERATIONS_RESULTATS", "codeParametre", true},
                 {"QUALITOMETRES_POINTS_OPERATIONS_ENV", "parametre", true}}};
    case Referentiel::Unite:
        return {{QStringLiteral("CodeUnite")},
                {{"ANALYSES_PARAMETRES", "UniteReference1", false},
                 {"ANALYSES_PARAMETRES", "UniteReference2", false},
                 {"ANALYSES_PARAMETRES", "UniteReference3", false},
                 {"QUALITOMETRES_OPERATIONS_RESULTATS", "codeUnite", true},
                 {"QUALITOMETRES_POINTS_OPERATIONS_ENV", "unite", true},
                 {"ANALYSES_PARAMETRES_SELECTIONS", "CodeUnite", false},
                 {"ANALYSES_SEUILS", "CodeUnite", false},
                 {"QUALITOMETRES_DEMANDES_PARAMETRES", "codeUnite", false},
                 {"CAMPAGNES_PARAMETRES", "codeUnite", false},
                 {"LISTES_EXPORT_QUALITE_PARAM", "unite", false},
                 {"QUALITOMETRES_SUPERPOSITIONS_PARAMETRES", "Unite", true},
                 {"COURBES_REFERENCES_QUALITO", "CodeUnite", false},
                 {"COURBES_REFERENCES_QUALITO_PARAM", "CodeUnite", false}},
                {QStringLiteral("codeUnite")}};
    case Referentiel::Methode:
        return {{QStringLiteral("CodeMethode"), QStringLiteral("CodeMethodeFraction"),
                 QStringLiteral("MethodeExtraction")},
                {{"PRELEVEMENTS", "CodeMethodeFractionPrincipal", false},
                 {"PRELEVEMENTS_ECHANTILLONS", "MethodePrelevement", false},
                 {"PRELEVEMENTS_ECHANTILLONS", "MethodeConservation", false},
                 {"QUALITOMETRES_POINTS_OPERATIONS", "methodeanalyse", true},
                 {"QUALITOMETRES_POINTS_OPERATIONS_ENV", "methode", true}}};
    case Referentiel::Fraction:
        return {{QStringLiteral("CodeFraction")},
                {{"PRELEVEMENTS", "CodeFractionPrincipal", false}}};
    case Referentiel::Support:
        return {{QStringLiteral("CodeSupport")},
                {{"PRELEVEMENTS", "CodeSupportPrincipal", false},
                 {"QUALITOMETRES_POINTS_OPERATIONS", "supportBiologique", true}}};
    }
    return {};
}

QSet<QString> tablesExistantes()
{
    QSet<QString> r;
    for (const QString &t : bd().tables())
        r.insert(t.toUpper());
    return r;
}

// The code as the column compares it: quoted text, or a number; "" when a numeric column cannot
// hold it.
QString valeurComparee(const QString &code, bool numerique)
{
    if (!numerique) return sqlTexte(code);
    bool ok = false;
    const double d = code.toDouble(&ok);
    return ok && estCodeNumerique(code) ? sqlNombre(d) : QString();
}

// A row of a "SELECT DISTINCT ... AS code".
QString texteCode(const Tableau &t, int ligne)
{
    const QVariant &v = t.valeur(ligne, QStringLiteral("code"));
    if (v.isNull()) return {};
    return texteValeur(v).trimmed();
}

} // namespace

bool estUtilise(Referentiel referentiel, const QString &codeBrut)
{
    const QString code = codeBrut.trimmed();
    if (code.isEmpty()) return false;
    const Usages u = usages(referentiel);
    const QSet<QString> existantes = tablesExistantes();
    for (const Emplacement &e : u.autres) {
        if (!existantes.contains(QString::fromLatin1(e.table).toUpper())) continue;
        const QString valeur = valeurComparee(code, e.numerique);
        if (valeur.isEmpty()) continue;
        long nb = 0;
        Tableau t;
        // A place that cannot be read may hold the code: it counts as used.
        if (!bd().ExtraireRecords(QStringLiteral("SELECT ") + QLatin1String(e.colonne) +
                                      QStringLiteral(" FROM ") + QLatin1String(e.table) +
                                      QStringLiteral(" WHERE ") + QLatin1String(e.colonne) + u'=' +
                                      valeur,
                                  nb, t) ||
            !t.estVide())
            return true;
    }
    bool trouve = false;
    auto chercher = [&](const QVector<TableAnalysesStation> &tables, const QStringList &colonnes,
                        const QString &valeur) {
        if (colonnes.isEmpty() || valeur.isEmpty()) return true;
        return parcourirAnalyses(
            tables,
            [&](const QString &table) {
                QStringList conditions;
                for (const QString &c : colonnes)
                    conditions << c + u'=' + valeur;
                return QStringLiteral("SELECT ") + colonnes.first() + QStringLiteral(" FROM ") +
                       table + QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" OR "));
            },
            [&](const Tableau &, int) {
                trouve = true;
                return false;
            });
    };
    // A table that cannot be read may hold the code: it counts as used.
    bool lu = chercher(tablesAnalysesStations(), u.colonnesAnalyses, sqlTexte(code));
    if (!trouve && lu)
        lu = chercher(tablesListesTaxons(), u.colonnesListesTaxons, valeurComparee(code, true));
    return trouve || !lu;
}

QSet<QString> codesUtilises(Referentiel referentiel, bool *ok)
{
    QSet<QString> r;
    bool reussi = true;
    const Usages u = usages(referentiel);
    const QSet<QString> existantes = tablesExistantes();
    for (const Emplacement &e : u.autres) {
        if (!existantes.contains(QString::fromLatin1(e.table).toUpper())) continue;
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(QStringLiteral("SELECT DISTINCT ") + QLatin1String(e.colonne) +
                                      QStringLiteral(" AS code FROM ") + QLatin1String(e.table),
                                  nb, t)) {
            reussi = false;
            continue;
        }
        for (int i = 0; i < t.nbLignes(); ++i)
            if (const QString c = texteCode(t, i); !c.isEmpty()) r.insert(c);
    }
    auto lire = [&](const QVector<TableAnalysesStation> &tables, const QStringList &colonnes) {
        for (const QString &colonne : colonnes)
            reussi = parcourirAnalyses(
                         tables,
                         [&](const QString &table) {
                             return QStringLiteral("SELECT DISTINCT ") + colonne +
                                    QStringLiteral(" AS code FROM ") + table;
                         },
                         [&](const Tableau &t, int l) {
                             if (const QString c = texteCode(t, l); !c.isEmpty()) r.insert(c);
                             return true;
                         }) &&
                     reussi;
    };
    lire(tablesAnalysesStations(), u.colonnesAnalyses);
    if (!u.colonnesListesTaxons.isEmpty()) lire(tablesListesTaxons(), u.colonnesListesTaxons);
    if (ok) *ok = reussi;
    return r;
}

int purgerNonUtilises(Referentiel referentiel, Progression &progression)
{
    const QString table = tableReferentiel(referentiel);
    // Nothing is deleted unless every statement succeeds: the reading of the codes in use
    // included, since a failed read would make used rows look unused.
    if (!bd().debutTransaction()) return -1;
    bool ok = true;
    const QSet<QString> utilises = codesUtilises(referentiel, &ok);
    QStringList aSupprimer;
    if (ok && !progression.annule()) {
        long nb = 0;
        Tableau t;
        ok = bd().ExtraireRecords(QStringLiteral("SELECT code, nom FROM ") + table, nb, t);
        for (int i = 0; ok && i < t.nbLignes(); ++i) {
            const QVariant &code = t.valeur(i, QStringLiteral("code"));
            if (!code.isNull() && !utilises.contains(texteValeur(code).trimmed()))
                aSupprimer << texteValeur(code);
        }
    }
    const long long total = aSupprimer.size();
    for (qsizetype i = 0; ok && i < aSupprimer.size(); i += CODES_PAR_INSTRUCTION) {
        if (progression.annule()) {
            ok = false;
            break;
        }
        progression.position(i, total);
        QStringList valeurs;
        for (const QString &c : aSupprimer.mid(i, CODES_PAR_INSTRUCTION))
            valeurs << sqlTexte(c);
        ok = bd().Execute(QStringLiteral("DELETE FROM ") + table +
                          QStringLiteral(" WHERE code IN (") + valeurs.join(u',') + u')');
    }
    if (ok)
        ok = bd().Execute(QStringLiteral("DELETE FROM ") + table +
                          QStringLiteral(" WHERE code is null"));
    if (ok && progression.annule()) ok = false;
    if (!ok) {
        bd().finTransaction(true);
        return -1;
    }
    if (!bd().finTransaction(false)) return -1;
    progression.position(total, total);
    return int(total);
}

CibleRemplacement lireCibleRemplacement(const QString &code)
{
    CibleRemplacement r;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT Nom, UniteReference1 FROM ANALYSES_PARAMETRES where code=") +
        sqlTexte(code.trimmed()));
    if (t.estVide()) return r;
    r.existe = true;
    r.nom = t.texte(0, QStringLiteral("Nom"));
    r.unite = t.texte(0, QStringLiteral("UniteReference1")).trimmed();
    return r;
}

bool remplacerHistoriqueParametre(const QString &ancienBrut, const QString &nouveauBrut,
                                  Progression &progression)
{
    const QString ancien = ancienBrut.trimmed();
    const QString nouveau = nouveauBrut.trimmed();
    const CibleRemplacement cible = lireCibleRemplacement(nouveau);
    if (ancien.isEmpty() || !cible.existe) return false;
    const QString unite = cible.unite.isEmpty() ? QStringLiteral("null") : sqlTexte(cible.unite);
    const QSet<QString> existantes = tablesExistantes();
    bool ok = true;
    Lot lot;
    auto executer = [&](const QString &tableRequise, const QString &sql) {
        if (existantes.contains(tableRequise.toUpper()) && !bd().Execute(sql)) ok = false;
    };

    progression.message(QStringLiteral("Parcours de l'historique"));
    const QVector<TableAnalysesStation> stations = tablesAnalysesStations();
    for (qsizetype i = 0; i < stations.size(); ++i) {
        if (progression.annule()) return false;
        progression.message(QStringLiteral("Mise à jour des analyses de la station ") +
                            stations[i].codeBSS);
        progression.position(i, stations.size());
        if (!bd().Execute(QStringLiteral("UPDATE ") + stations[i].table +
                          QStringLiteral(" SET codeparametre=") + sqlTexte(nouveau) +
                          QStringLiteral(", codeunite=") + unite +
                          QStringLiteral(" WHERE codeparametre=") + sqlTexte(ancien)))
            ok = false;
    }
    progression.message(QStringLiteral("Mise à jour des sélections"));
    executer(QStringLiteral("ANALYSES_PARAMETRES_SELECTIONS"),
             QStringLiteral("UPDATE ANALYSES_PARAMETRES_SELECTIONS SET codeparametre=") +
                 sqlTexte(nouveau) + QStringLiteral(", codeunite=") + unite +
                 QStringLiteral(" WHERE codeparametre=") + sqlTexte(ancien) +
                 QStringLiteral(" and typeListe=0"));
    progression.message(QStringLiteral("Mise à jour des seuils"));
    executer(QStringLiteral("ANALYSES_SEUILS"),
             QStringLiteral("UPDATE ANALYSES_SEUILS SET codeparametre=") + sqlTexte(nouveau) +
                 QStringLiteral(", codeunite=") + unite + QStringLiteral(" WHERE codeparametre=") +
                 sqlTexte(ancien) + QStringLiteral(" and typeListe='0'"));
    progression.message(QStringLiteral("Mise à jour des graphiques et recherche préenregistrées"));
    for (const QString &t : {QStringLiteral("COURBES_REFERENCES_QUALITO"),
                             QStringLiteral("COURBES_REFERENCES_QUALITO_PARAM")})
        executer(t, QStringLiteral("UPDATE ") + t + QStringLiteral(" SET codeparametre=") +
                        sqlTexte(nouveau) + QStringLiteral(", codeunite=") + unite +
                        QStringLiteral(" WHERE codeparametre=") + sqlTexte(ancien));
    // Overlays and operation results keep their codes as numbers.
    const QString ancienNombre = valeurComparee(ancien, true);
    const QString nouveauNombre = valeurComparee(nouveau, true);
    const QString uniteNombre =
        cible.unite.isEmpty() ? QStringLiteral("null") : valeurComparee(cible.unite, true);
    if (!ancienNombre.isEmpty() && !nouveauNombre.isEmpty()) {
        const QString u = uniteNombre.isEmpty() ? QStringLiteral("null") : uniteNombre;
        executer(QStringLiteral("QUALITOMETRES_SUPERPOSITIONS_PARAMETRES"),
                 QStringLiteral("UPDATE QUALITOMETRES_SUPERPOSITIONS_PARAMETRES SET parametre=") +
                     nouveauNombre + QStringLiteral(", unite=") + u +
                     QStringLiteral(" WHERE parametre=") + ancienNombre +
                     // A taxa overlay (list type 1) holds taxon codes, not parameters.
                     QStringLiteral(" AND (TypeListe IS NULL OR TypeListe<>1)"));
        executer(QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS"),
                 QStringLiteral("UPDATE QUALITOMETRES_OPERATIONS_RESULTATS SET codeParametre=") +
                     nouveauNombre + QStringLiteral(", codeUnite=") + u +
                     QStringLiteral(" WHERE codeParametre=") + ancienNombre);
    }
    executer(QStringLiteral("ANALYSES_PARAMETRES"),
             QStringLiteral("UPDATE ANALYSES_PARAMETRES SET actif='1' WHERE code=") +
                 sqlTexte(nouveau));
    progression.position(stations.size(), stations.size());
    const bool ecrit = lot.terminer();
    return ecrit && ok;
}

} // namespace vyk
