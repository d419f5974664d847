#pragma once

// The state of one run of integrerAnalyses, shared by the files that implement it.

#include "db/InstructionPreparee.h"
#include "db/Lot.h"
#include "db/NulSql.h"
#include "import/IntegrationAnalyses.h"
#include "import/ResolutionIntervenants.h"
#include "referentials/ReferentielsAnalyses.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QVarLengthArray>
#include <QVariant>

#include <memory>
#include <optional>
#include <utility>

namespace vyk {

// Positions in colonnesAnalyse(): the keys and resolved codes first, then the columns an
// import does not carry (kept from a rewritten analysis), then COLONNES_LUES.
enum PositionAnalyse : int
{
    P_NUM_ANALYSE,
    P_NUM_PRELEVEMENT,
    P_QUALITOMETRE,
    P_PARAMETRE,
    P_UNITE,
    P_PRODUCTEUR,
    P_LABO,
    P_ECHANTILLON,
    P_CONSERVES, // 4 columns
    P_LUES = P_CONSERVES + 4
};
constexpr int NB_CONSERVES = 4;

// The first row's value of a query with bound values; null when there is none.
QVariant premiere(const QString &sql, const QVector<QVariant> &valeurs, int colonne = 0);

// The settings the integration reads, read once per run.
struct ReglagesIntegration
{
    QString qualification, statut, determinateur, producteur, preleveur, laboratoire, protocole,
        contactPreleveur, contactDeterminateur;
    static ReglagesIntegration lire();
};

// A code and a day, as keys of the per-station caches: no text built for every row.
using CleJour = QPair<qint64, qint64>;
inline CleJour cleJour(qint64 code, const QDate &jour)
{
    return {code, jour.toJulianDay()};
}

// The organisation the previous row named in one role, by the cells as read: the rows of one
// sample repeat them, and repeated cells give what they gave, with no cleaning and no lookup.
struct DernierIntervenant
{
    QString code, origine;
    QVariant valeur;
    bool vu = false;
};

// The station's previous operation and sample, by what found them.
struct DerniersDeStation
{
    struct Point
    {
        QString support; // as read
        qint64 jour = 0;
        qint64 code = 0;
    };
    std::optional<Point> point;
    std::optional<std::pair<CleJour, qint64>> operation;
    struct Prelevement
    {
        CleJour cle;
        bool heureDonnee = false;
        QTime heure;
        qint64 numero = 0;
    };
    std::optional<Prelevement> prelevement;
};

struct StationImport
{
    QString cle;
    qint64 code = -1;
    QString codeBSS;
    QString table;  // analysis table identifier
    QString erreur; // why its rows cannot be integrated
};

// An analysis already stored: its number and the columns the file does not carry.
struct AnalyseStockee
{
    qint64 numero = 0;
    QVector<QVariant> conserves; // empty when they are all null
    bool stockee = false;        // in the table already (not only waiting)
    int attente = -1;            // its row in m_attente while waiting to be written
};

struct PrelevementImport
{
    qint64 numero = 0;
    qint64 operation = 0;
    QTime heure;
    QDate date;
    bool nouveau = false; // created by this run, written at the station's end
    qint64 maxAnalyse = -1;
    int nbStockees = 0; // analyses stored in the table
    bool analysesLues = false;
    QHash<QString, AnalyseStockee> analyses; // by identity (parameter, unit, fraction)
    QHash<QString, qint64> echantillons;     // parts by reference
    bool echantillonsLus = false;
    qint64 maxEchantillon = -1;
    QString codeDemande;
};

// Whether every analysis of a sample (or operation) carries one same non-null value.
struct Accord
{
    bool vu = false, divers = false;
    int type = QMetaType::UnknownType; // of valeur
    QVariant valeur;
    // The type is read once: the columns of every analysis written pass here.
    void ajouter(const QVariant &v)
    {
        const int t = v.typeId();
        if (estNulSql(v, t)) {
            divers = true;
        } else if (!vu) {
            vu = true;
            valeur = v;
            type = t;
        } else if (!memeValeur(v, t)) {
            divers = true;
        }
    }
    // Texts, the usual case, compared without going through QVariant's comparison; the rows of
    // one sample often share the very same text.
    bool memeValeur(const QVariant &v, int t) const
    {
        if (t != QMetaType::QString || type != QMetaType::QString) return v == valeur;
        const QString &a = *static_cast<const QString *>(v.constData());
        const QString &b = *static_cast<const QString *>(valeur.constData());
        return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    }
    QVariant unique() const { return vu && !divers ? valeur : QVariant(); }
};

// The agreement of each target column of a sample (or operation), over the analyses seen. A
// column that disagrees is not looked at again: most do at the first analysis.
struct Accords
{
    int nombre = 0; // analyses seen
    QVector<Accord> colonnes;
    QVarLengthArray<int, 16> encore; // columns still agreeing
    // The analysis's values at the columns' positions in its row.
    void ajouter(const QVariant *valeurs, const QVector<int> &positions)
    {
        if (nombre++ == 0) {
            colonnes.resize(positions.size());
            for (int k = 0; k < positions.size(); ++k)
                encore.append(k);
        }
        Accord *colonne = colonnes.data();
        for (qsizetype i = 0; i < encore.size();) {
            Accord &a = colonne[encore[i]];
            a.ajouter(valeurs[positions[encore[i]]]);
            if (!a.divers) {
                ++i;
                continue;
            }
            encore[i] = encore.back(); // the order of the others does not matter
            encore.removeLast();
        }
    }
};

// Rows of analyses waiting to be written for the current station.
struct AnalyseEnAttente
{
    qint64 prelevement = 0;
    qint64 numero = 0;
    int ligne = 0;           // in the table, from 0
    bool reecriture = false; // replaces a stored analysis
    QVector<QVariant> valeurs;
};

class MajGroupees;

class IntegrationAnalyses
{
  public:
    IntegrationAnalyses(const LignesImport &lignes, OptionsIntegration &options,
                        Progression &progression, const ReponsesIntegration &reponses);
    BilanAnalyses executer();

    // Columns written for an analysis, in the order of the insertion.
    static const QStringList &colonnesAnalyse();

  private:
    // --- run
    bool parcourirLignes();
    void signalerLigne(int ligne, const QString &raison);
    QString texte(int ligne, ColonneImport c) const;
    // The cell as read, not copied; valid until another row is read.
    const QString &brut(int ligne, ColonneImport c) const
    {
        if (ligne != m_numeroLu) {
            m_ligneLue = &m_lignes.ligne(ligne);
            m_numeroLu = ligne;
        }
        const int i = int(c);
        return i < m_ligneLue->size() ? m_ligneLue->at(i) : m_vide;
    }

    // --- stations (StationsImport.cpp)
    void ouvrirStation(const QString &cle, int ligne);
    void resoudreStation(const QString &cle, int ligne);
    bool terminerStation(bool annuler);
    qint64 chercherStation(const QString &cle, QString &codeBSS);
    void chargerStation();
    bool verrouillerTables();

    // --- one row
    QString integrerLigne(int ligne);
    std::optional<qint64> pointDe(const QString &identifiant, const QDate &date, QString &raison);
    QString resoudreReferentiels(int ligne, QString &parametre, QString &unite);
    // A referential column of the rows, its codes as read and what they resolved to.
    struct Referentiel
    {
        ColonneImport colonne;
        QHash<QString, QString> &resolus;
        QString (*resoudre)(CacheResolution &, const QString &, bool);
        const char *nom, *inconnu; // for the reason of an unknown code
    };
    // The row's code of the referential, or why there is none.
    QString resoudreCode(const Referentiel &r, int ligne, QString &code);
    // The row's producer, laboratory and sampler, left in m_derniersIntervenants.
    bool resoudreIntervenants(int ligne, QString &raison);
    qint64 operationDe(qint64 point, const QDate &date, int ligne, const QVariant &producteur,
                       const QVariant &preleveur, QString &raison);
    PrelevementImport *prelevementDe(qint64 operation, const QDateTime &date, bool heureDonnee,
                                     QString &raison);
    PrelevementImport *prelevementTrouveOuCree(qint64 operation, const QDateTime &date,
                                               bool heureDonnee);
    QVariant echantillonDe(PrelevementImport &p, const QString &reference,
                           const QVariant &preleveur, const QDateTime &quand, bool heureDonnee,
                           QString &raison);
    qint64 ajouterAnalyse(PrelevementImport &p, const QString &identite, int ligne,
                          QVector<QVariant> valeurs);
    void lireAnalyses();
    QString valeursAnalyse(int ligne, QVector<QVariant> &valeurs);

    // --- writing and closing (ClotureIntegration.cpp)
    bool ecrireAnalyses(QString &raison);
    bool supprimerReecrites(QString &raison);
    // Notes the analysis's values in the agreements of its sample and of its operation.
    void noterAccords(const AnalyseEnAttente &a, Accords &prelevement, Accords &operation);
    bool ecrireNouveaux(QString &raison);
    bool majPrelevementsExistants();
    bool majOperationsExistantes();
    bool complet(qint64 prelevement) const;
    void majPrelevement(MajGroupees &majs, qint64 numero, const QVector<QVariant> &uniques);
    void majOperation(MajGroupees &majs, qint64 code, const QVector<QVariant> &uniques);
    bool clotureStation();
    void clotureRun();

    const LignesImport &m_lignes;
    // The row last read, kept to read its cells without asking again.
    mutable const QStringList *m_ligneLue = nullptr;
    mutable int m_numeroLu = -1;
    const QString m_vide;
    OptionsIntegration &m_options;
    Progression &m_progression;
    const ReponsesIntegration &m_reponses;
    const bool m_creerSansDemanderAuDebut;
    ReglagesIntegration m_reglages;
    BilanAnalyses m_bilan;
    CacheResolution m_referentiels;
    std::unique_ptr<Lot> m_lot;
    std::unique_ptr<Transaction> m_transactionStation;
    BilanAnalyses m_bilanAvantStation; // counts before the station's transaction
    bool m_verrouille = false;
    bool m_arret = false;

    StationImport m_station;
    QSet<qint64> m_stationsPurgees;
    QHash<QString, StationImport> m_stations;        // by key
    QHash<QString, qint64> m_points;                 // identifier [+ date] -> codePoint
    QHash<CleJour, qint64> m_operations;             // (point, day) -> codeOperation
    QPair<QString, QDateTime> m_derniereDate;        // the last sample date text and its reading
    QPair<QString, QDateTime> m_derniereDateAnalyse; // the same for the analysis date
    QVector<int> m_luesPossibles;                    // the read columns the rows may fill
    QString m_indexAFaire; // the station whose new analysis table still has no index
    // Value rows of analyses already written, taken again by the next rows: a row emptied of
    // its dozen values costs less than a row freed and another made.
    QVector<QVector<QVariant>> m_lignesLibres;
    void libererAttente();
    qint64 m_maxOperation = -1;
    QSet<qint64> m_operationsTouchees;
    QHash<CleJour, QVector<qint64>> m_prelevementsParJour; // (operation, day) -> samples
    QHash<qint64, PrelevementImport> m_prelevements;
    QHash<qint64, int> m_nbPrelevementsOperation; // samples of each operation of the station
    QVector<qint64> m_prelevementsRencontres;     // of the current station, in order
    QSet<qint64> m_rencontres;
    QSet<qint64> m_nouveauxEcrits; // samples written whole at the station's end
    std::optional<qint64> m_maxPrelevement;
    QVector<AnalyseEnAttente> m_attente;
    QHash<qint64, QVector<qint64>> m_aRemplacer; // prelevement -> numbers to delete
    bool m_analysesStationLues = false;

    ResolutionIntervenants m_intervenants;
    // Parameter and unit codes as read -> what they resolved to, with no cleaning per row.
    QHash<QString, QString> m_parametresLus, m_unitesLus;
    DernierIntervenant m_derniersIntervenants[3]; // producer, laboratory, sampler
    DerniersDeStation m_derniers;                 // forgotten when a station is opened
    InstructionPreparee m_insEchantillon;
    // New operations of the station, in the order of colonnesOperation(), written at its end.
    QVector<QVector<QVariant>> m_nouvellesOperations;
    // Agreement of the analyses written, per sample and per operation, for the closing columns.
    QHash<qint64, Accords> m_accordsPrelevements, m_accordsOperations;
};

} // namespace vyk
