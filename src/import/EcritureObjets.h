#pragma once

// The writer of the importers' records (monitoring/ObjetsImport.h, built with Factory): the
// class-based text roads read their files into records and hand them here, station by station.
//
// Identity rules, so that the same records given twice leave the same rows:
// - station: by public code (the part before "/"); created when missing (type of the record,
//   else river); in replace mode its measurement data are purged once per run, at its first
//   water point (supprimerQualitometre, data only), the description staying;
// - sampling point: trouverPointPrelevement (identifier valid at the date);
// - operation: station, point, start date, start time and biological protocol compared one by
//   one (an absent time or protocol matches only an absent one); otherwise the station's next
//   codeOperation;
// - samples and analyses: integrerAnalyses itself (sample by station, operation and date, the
//   analysis by sample, parameter, unit and fraction), always in add mode: the replace purge is
//   the water point's;
// - counted taxon: operation, list and codeTaxon, else the list's next indice; operation result:
//   operation and codeParametre, else the next indice; elementary sampling: operation and indice;
//   environment measure: operation and parametre, else the next codeCondition;
// - event: station, date and time, else the station's next Numero;
// - network: by SANDRE code, created when missing; the link by station and network;
// - commune: by code, added when missing; water body: code, European code or "FR" + code.
// A value the record does not give never overwrites a stored one; numbers not given stay NULL.
//
// Statements go through prepared statements. The caller opens one transaction per station
// (ecrirePointEau needs one: the station table is locked while its largest code is read).

#include "import/IntegrationAnalyses.h"
#include "monitoring/ObjetsImport.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;

// What a run of the writer did (the analyses have their own BilanAnalyses).
struct BilanObjets
{
    QStringList stationsCreees;
    int stationsPurgees = 0;
    int stationsCompletees = 0;
    int pointsCrees = 0;
    int operationsCreees = 0;
    int prelevementsCrees = 0;
    int taxonsAjoutes = 0;
    int taxonsReecrits = 0;
    int resultatsOperation = 0;
    int prelevementsElementaires = 0;
    int mesuresEnvironnement = 0;
    int evenements = 0;
    int reseauxCrees = 0;
    int communesAjoutees = 0;
    // What was read but not written (a sample without analysis...), one line each.
    QStringList avertissements;
};

class EcritureObjets
{
  public:
    // execution: the job execution written on the operations (-1: none).
    explicit EcritureObjets(bool remplacer, qint64 execution = -1);

    // The station of the water point, found by public code or created, then described by every
    // value the record gives (commune added when missing). Its CodeQualitometre, -1 with why.
    qint64 ecrirePointEau(const PointEau &p, QString &erreur);
    // Only the stored station's empty values take the record's; a station not stored is refused
    // (nothing created). False with why.
    bool commpletePointEau(const PointEau &p, QString &erreur);
    // The point's code, -1 with why.
    qint64 ecrirePointPrelevement(const PointPrelevement &p, QString &erreur);
    // The operation's code, found or created then given the record's values; -1 with why.
    qint64 ecrireOperation(const Operation &o, QString &erreur);
    // The sample of a hydrobiological operation: the operation's sample of that date, else a new
    // one numbered over the whole table (the largest + 1, 0 for the first). Its NumPrelevement,
    // -1 with why.
    qint64 ecrirePrelevementOperation(const CleOperation &cle, QString &erreur);
    // The list's header (QUALITOMETRES_OPERATIONS_LISTE, named when nom is given), the station's
    // taxa table created when missing, and microPrelevement = '1' on the operation.
    bool ecrireEnteteListe(const CleOperation &cle, int codeListe, const QString &nom,
                           QString &erreur);
    // A taxon of a list whose header was not written gets it first.
    bool ecrireTaxon(const TaxonDenombre &t, QString &erreur);
    bool ecrireResultatOperation(const ResultatOperation &r, QString &erreur);
    bool ecrirePrelevementElementaire(const PrelevementElementaire &p, QString &erreur);
    // Found by operation and parametre, else the operation's next codeCondition.
    bool ecrireMesureEnvironnement(const MesureEnvironnement &m, QString &erreur);
    bool ecrireEvenement(const Evenement &e, QString &erreur);
    // The network's CodeReseau (found by SANDRE code or created), the station linked when the
    // record names one; -1 with why.
    qint64 ecrireReseau(const Reseau &r, QString &erreur);
    bool ecrireCommune(const Commune &c, QString &erreur);
    bool ecrireMasseEau(const MasseEau &m, QString &erreur);
    // Removes the operation's environmental conditions and, with `prelevements`, its elementary
    // samplings: a file that describes them whole replaces them. False with why.
    bool effacerConditions(const CleOperation &cle, bool prelevements, QString &erreur);

    // The samples and analyses through integrerAnalyses (add mode, see above); each analysis
    // takes the values of its sample (same key). A sample without analysis is reported in
    // bilan().avertissements.
    BilanAnalyses ecrireAnalyses(const QVector<Prelevement> &prelevements,
                                 const QVector<Analyse> &analyses, OptionsIntegration options,
                                 Progression &progression,
                                 const ReponsesIntegration &reponses = {});

    // The CodeQualitometre of a stored station, -1 when none (cached for the run).
    qint64 station(const QString &code);
    // After the caller undid a station's transaction: what the run remembers of it (its code,
    // its purge, its operations and lists) is forgotten, so that it is read again.
    void oublierStation(const QString &code);
    const BilanObjets &bilan() const { return m_bilan; }

  private:
    qint64 stationConnue(const QString &code, QString &erreur);
    qint64 operationDe(const CleOperation &cle, bool creer, QString &erreur);
    qint64 pointDe(qint64 station, const QString &identifiant, const QDate &date, QString &erreur);
    bool decrireStation(qint64 id, const PointEau &p, QString &erreur);

    bool m_remplacer;
    qint64 m_execution;
    BilanObjets m_bilan;
    QHash<QString, qint64> m_stations;
    QSet<qint64> m_purgees;
    QHash<QString, qint64> m_operations; // key text -> codeOperation
    QSet<QString> m_listes;              // station|operation|list given their header
};

// The grid row of an analysis (the 42 columns integrerAnalyses reads), its sample's values
// filled in when one is given.
QStringList ligneAnalyse(const Analyse &a, const Prelevement *p);

} // namespace vyk
