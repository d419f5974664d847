#include "monitoring/SuppressionQualitometre.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Progression.h"
#include "db/RaisonsMoteur.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"
#include "users/AccesStations.h"

#include <QSet>

namespace vyk {

namespace {

// Rows describing the station itself, deleted with it.
// clang-format off
const char *const TABLES_STATION[] = {
    "QUALITOMETRES", "EVENEMENTS_QUALITO", "INTERVENANTS_LISTE_QUALITO", "MODES_MESURES_QUALITO",
    "REPERES_QUALITO", "SYSTEMES_ALTIMETRIQUES_QUALITO", "LIEN_QUALITO_ENTITE_HYDRO",
    "LIEN_QUALITO_MASSE_EAU", "LIEN_QUALITO_INTERVENANTS", "LIEN_QUALITO_LITHOLOGIES",
    "LIEN_QUALITO_RESEAUX", "LIEN_QUALITO_TYPE_LITHOLOGIQUE", "LIEN_QUALITO_ACCESSIBILITES",
    "LIEN_QUALITO_AMENAGEMENTS", "LIEN_QUALITO_FONCTIONS", "LIEN_QUALITO_USAGES",
    "QUALITOMETRES_INFO_GEO", "QUALITOMETRE_PHOTO", "QUALITOMETRES_SUPERPOSITIONS_SELECTION",
    "BULLETINS_QUALITO_SELECTION", "QUALITOMETRE_BULLETINS", "QUALITOMETRE_LOCALISATIONS",
    "LIEN_QUALITO_ETATS",
    // Satellites of the card that would otherwise outlive their station.
    "LIEN_QUALITO_AQUIFERE", "OUVRAGES_QUALITO", "CREPINES_QUALITO", "QUALITOMETRE_DOCUMENTS",
};
// clang-format on

// Operations and points of the station, by CodeQualitometre.
// clang-format off
const char *const TABLES_OPERATIONS[] = {
    "QUALITOMETRES_OPERATIONS_LISTE", "QUALITOMETRES_OPERATIONS_PRELEVEMENTS",
    "QUALITOMETRES_OPERATIONS_REC", "QUALITOMETRES_OPERATIONS_RESULTATS",
    "QUALITOMETRES_OPERATIONS_UNITES", "QUALITOMETRES_POINTS", "QUALITOMETRES_POINTS_OPERATIONS",
    "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS", "QUALITOMETRES_POINTS_OPERATIONS_ENV",
};
// clang-format on

// Rows of one operation.
// clang-format off
const char *const TABLES_OPERATION[] = {
    "QUALITOMETRES_OPERATIONS_LISTE", "QUALITOMETRES_OPERATIONS_PRELEVEMENTS",
    "QUALITOMETRES_OPERATIONS_REC", "QUALITOMETRES_OPERATIONS_RESULTATS",
    "QUALITOMETRES_OPERATIONS_UNITES", "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS",
    "QUALITOMETRES_POINTS_OPERATIONS_ENV",
};
// clang-format on

// Per-operation taxa rows of older databases (no longer created): taken when they exist.
const char *const TABLES_ANCIENNES_OPERATION[] = {"QUALITOMETRES_OPERATIONS_TAXONS"};

// Children of the samples. Sample numbers are per station: a child is the station's by its
// own CodeQualitometre, never by its sample number alone.
const char *const TABLES_ECHANTILLONS[] = {"PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_DOSSIERS",
                                           "PRELEVEMENTS_FINALITES"};

class Cascade
{
  public:
    Cascade(const QString &code, Progression *progression)
        : m_code(code), m_progression(progression)
    {
        for (const QString &t : bd().tables())
            m_tables.insert(t.toUpper());
    }

    bool existe(const QString &table) const { return m_tables.contains(table.toUpper()); }

    // Queued statement on a table that exists.
    void ajouter(const QString &table, const QString &sql)
    {
        if (existe(table)) m_instructions << sql;
    }
    void supprimerStation(const QString &table, const QString &suite = {})
    {
        ajouter(table, QStringLiteral("DELETE FROM ") + table +
                           QStringLiteral(" WHERE CodeQualitometre=") + m_code + suite);
    }

    void executer(ResultatSuppression &resultat)
    {
        const long long total = resultat.instructions + m_instructions.size();
        for (const QString &sql : std::as_const(m_instructions)) {
            ++resultat.instructions;
            if (!bd().Execute(sql)) resultat.echecs << sql;
            if (m_progression) m_progression->position(resultat.instructions, total);
        }
        m_instructions.clear();
    }

  private:
    QString m_code;
    Progression *m_progression;
    QSet<QString> m_tables;
    QStringList m_instructions;
};

QStringList lireCodes(const QString &sql)
{
    QStringList r;
    const Tableau t = bd().extraire(sql);
    for (int l = 0; l < t.nbLignes(); ++l)
        if (!t(l, 0).isNull()) r << sqlNombre(t(l, 0).toDouble());
    return r;
}

bool tableVide(const QString &nom)
{
    const QVariant n = bd().valeur(QStringLiteral("SELECT count(*) FROM ") + nom);
    return !n.isNull() && n.toLongLong() == 0;
}

} // namespace

const QStringList &tablesDeLaStation()
{
    static const QStringList tables = [] {
        QStringList r;
        for (const char *t : TABLES_STATION)
            r << QString::fromLatin1(t);
        for (const char *t : TABLES_OPERATIONS)
            r << QString::fromLatin1(t);
        r << QStringLiteral("PRELEVEMENTS");
        r.removeDuplicates();
        return r;
    }();
    return tables;
}

ResultatSuppression supprimerQualitometre(const QString &codeTexte, const QString &codeBSS,
                                          Progression *progression, bool supprimerStation,
                                          bool supprimerDonnees, const QString &points)
{
    ResultatSuppression resultat;
    const Nombre n = enNombre(codeTexte.trimmed(), true);
    if (!n.estNombre() || !bd().estOuverte()) return resultat;
    const QString code = sqlNombre(n.valeur);
    // The per-station tables; a code that cannot name one has no table to empty.
    const QString analyses = identifiantTable(PREFIXE_ANALYSES, codeBSS.trimmed());
    const QString liste = identifiantTable(PREFIXE_LISTE_TAXONS, code);
    const QString tableAnalyses = PREFIXE_ANALYSES + codeBSS.trimmed();
    const QString tableListe = PREFIXE_LISTE_TAXONS + code;

    Lot lot;
    Cascade cascade(code, progression);
    const bool avecAnalyses = !analyses.isEmpty() && cascade.existe(tableAnalyses);
    const bool avecListe = !liste.isEmpty() && cascade.existe(tableListe);

    if (supprimerStation) {
        for (const char *t : TABLES_STATION)
            cascade.supprimerStation(QString::fromLatin1(t));
        // Equipment placed at the station (site type 3: a quality station).
        for (const QString &t : {QStringLiteral("MAT_CAPTEURS_SITUATIONS"),
                                 QStringLiteral("MAT_CENTRALES_SITUATIONS")})
            cascade.ajouter(t, QStringLiteral("DELETE FROM ") + t +
                                   QStringLiteral(" WHERE codeSite=") + code +
                                   QStringLiteral(" AND TypeSite=3"));
    }

    const QString prelevementsStation =
        QStringLiteral(
            "NumPrelevement in (SELECT NumPrelevement FROM Prelevements WHERE CodeQualitometre=") +
        code;
    const QStringList identifiants = points.split(u';', Qt::SkipEmptyParts);
    if (supprimerDonnees && identifiants.isEmpty()) {
        for (const char *t : TABLES_OPERATIONS)
            cascade.supprimerStation(QString::fromLatin1(t));
        for (const char *t : TABLES_ANCIENNES_OPERATION)
            cascade.supprimerStation(QString::fromLatin1(t));
        for (const char *t : TABLES_ECHANTILLONS)
            cascade.supprimerStation(QString::fromLatin1(t));
        cascade.supprimerStation(QStringLiteral("PRELEVEMENTS"));
        if (avecAnalyses) cascade.ajouter(tableAnalyses, QStringLiteral("DROP TABLE ") + analyses);
        // The taxa list table is kept for a station that stays (a new import fills it again).
        if (avecListe)
            cascade.ajouter(tableListe, supprimerStation ? QStringLiteral("DROP TABLE ") + liste
                                                         : QStringLiteral("DELETE FROM ") + liste);
        cascade.supprimerStation(QStringLiteral("LIEN_QUALITO_ETATS"));
        cascade.executer(resultat);
    } else if (supprimerDonnees) {
        // Read every point and operation first, then delete.
        for (const QString &brut : identifiants) {
            const QString identifiant = brut.trimmed();
            if (identifiant.isEmpty()) continue;
            const QStringList codesPoints = lireCodes(
                QStringLiteral(
                    "SELECT codepoint FROM QUALITOMETRES_POINTS WHERE codeQualitometre=") +
                code + QStringLiteral(" and identifiant = ") + sqlTexte(identifiant));
            for (const QString &point : codesPoints) {
                const QStringList operations = lireCodes(
                    QStringLiteral("SELECT codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS "
                                   "WHERE codeQualitometre=") +
                    code + QStringLiteral(" and codepoint = ") + point);
                for (const QString &operation : operations) {
                    const QString etOperation = QStringLiteral(" and CodeOperation=") + operation;
                    for (const char *t : TABLES_OPERATION)
                        cascade.supprimerStation(QString::fromLatin1(t), etOperation);
                    for (const char *t : TABLES_ANCIENNES_OPERATION)
                        cascade.supprimerStation(QString::fromLatin1(t), etOperation);
                    const QString prelevementsOperation = prelevementsStation + etOperation + u')';
                    for (const char *t : TABLES_ECHANTILLONS)
                        cascade.supprimerStation(QString::fromLatin1(t),
                                                 QStringLiteral(" AND ") + prelevementsOperation);
                    if (avecAnalyses)
                        cascade.ajouter(tableAnalyses, QStringLiteral("DELETE FROM ") + analyses +
                                                           QStringLiteral(" WHERE ") +
                                                           prelevementsOperation);
                    cascade.supprimerStation(QStringLiteral("PRELEVEMENTS"), etOperation);
                    if (avecListe)
                        cascade.ajouter(tableListe, QStringLiteral("DELETE FROM ") + liste +
                                                        QStringLiteral(" WHERE CodeOperation=") +
                                                        operation);
                }
                cascade.supprimerStation(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                                         QStringLiteral(" and codepoint = ") + point);
            }
            cascade.supprimerStation(QStringLiteral("QUALITOMETRES_POINTS"),
                                     QStringLiteral(" and identifiant = ") + sqlTexte(identifiant));
        }
        cascade.executer(resultat);
        // The per-station tables go once nothing is left in them.
        if (avecListe && tableVide(liste))
            cascade.ajouter(tableListe, QStringLiteral("DROP TABLE ") + liste);
        if (avecAnalyses && tableVide(analyses))
            cascade.ajouter(tableAnalyses, QStringLiteral("DROP TABLE ") + analyses);
        cascade.executer(resultat);
    } else {
        cascade.executer(resultat);
    }

    if (supprimerStation) {
        ++resultat.instructions;
        if (!retirerStationSupprimee(qint64(n.valeur)))
            resultat.echecs << QStringLiteral("DELETE FROM utilisateurs_stations");
    }
    resultat.effectuee = lot.terminer();
    if (!resultat.effectuee) resultat.echec = rienEnregistre(bd().derniereErreur());
    return resultat;
}

} // namespace vyk
