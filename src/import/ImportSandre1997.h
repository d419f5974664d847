#pragma once

// The SANDRE 1997 hydrobiology frames ("SANDRE_TRAME_1997"): a text file of records, one per
// line, fields separated by "|", the first field naming the record's type. Records are read into
// the import records (monitoring/ObjetsImport.h) and written by EcritureObjets, station by
// station.
//
// A field holding "|" or "\" has a backslash written before it (import/ChampsTrame.h).
// Field positions (1 = the type; a field left empty or missing at the end is not given; dates
// DD/MM/YYYY, DD/MM/YY (the century pivoting on the current year) or YYYY-MM-DD, times hh:mm[:ss],
// decimal "." or ","). The same layout is described in docs/sandre-1997.md.
//   RSX  2 network SANDRE code, 3 label
//   STQ  2 station code, 3 name, 4 X, 5 Y, 6 projection, 7 commune code, 8 hydrographic code,
//        9 creation date, 10 purpose, 11 HER level 1, 12 Strahler rank, 13 catchment area,
//        14 French river type, 15 canal flag, 16 altitude, 17 precise location
//   HBR, STM  2 station, 3 network SANDRE code, 4 start, 5 end (31/12/2020 stands for open)
//   ETH  2 station, 3 new name
//   COM  2 commune code, 3 name
//   OPH  2 station, 3 point identifier ("131"), 4 start date, 5 start time, 6 biological
//        protocol, 7 end date, 8 end time, 9 method (METHODES code), 10 sampler and 11 determiner
//        (SANDRE codes of organisations, or SIRET numbers of 14 digits; created when missing as
//        every import does), 12 comment, 13 producer (as 10 and 11)
//   LIF, TXD, PRE, RHB  2 to 6: the operation (station, point, start date, start time, protocol)
//   LIF  7 list number, 8 list name
//   TXD  7 list number, 8 taxon code, 9 to 32 counts A, % A, B, % B, C, % C, unit, development
//        stage, remark, confidence, density, index calculation, P1 to P12
//   PRE  7 elementary sample number (1 to 12), 8 code, 9 phase, 10 substrate, 11 velocity class,
//        12 water height, 13 comment
//   RHB  7 parameter code, 8 result, 9 unit code, 10 remark code
//   DEC, DEB, FIN: the exchange's envelope, passed over; TRO, ELH, DEP, RGN: referential
//   records, not integrated (reported as left aside). Any other type is reported.

#include "import/EcritureObjets.h"
#include "import/LectureSandre.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;
class ResolutionIntervenants;

namespace texteSandre1997 {
inline const QString STATIONS = QStringLiteral("Intégration des informations stations");
inline const QString STATION = QStringLiteral("Intégration de ");
inline const QString RESEAUX = QStringLiteral("Intégration des réseaux ");
inline const QString FIN_RESEAUX = QStringLiteral("Fin intégration des réseaux ");
inline const QString FERMETURE_RESEAUX = QStringLiteral("Fermeture du fichier réseau ");
inline const QString MAJ_STATION = QStringLiteral(" Mise à jour de la station: ");
inline const QString NOMS = QStringLiteral("Intégration des nouveaux noms de stations ");
inline const QString COMMUNES = QStringLiteral("Intégration des nouvelles communes ");
inline const QString OPERATIONS = QStringLiteral("Récupération des opérations de prélèvements");
inline const QString LIGNE = QStringLiteral(" Ligne: ");
inline const QString PRELEVEMENTS = QStringLiteral("Intégration des prélèvements");
inline const QString MAJ_PRELEVEMENTS = QStringLiteral("Mise à jour des prélèvements");
inline const QString PARAMETRES = QStringLiteral("Mise à jour des paramètres utilisés: ");
inline const QString LISTE_STATIONS =
    QStringLiteral("Mise à jour des stations sur liste des qualitomètres");
inline const QString TERMINE = QStringLiteral("Intégration terminée.");
} // namespace texteSandre1997

class ImportSandre1997
{
  public:
    // intervenants resolves the operations' organisations (none: the preview, which writes
    // nothing).
    ImportSandre1997(EcritureObjets &ecriture, Progression &progression,
                     ResolutionIntervenants *intervenants = nullptr);

    // Reads the file (decoded once) into its records; the loader's refusal, "" when read.
    QString init(const QString &chemin);
    // The distinct station codes of the file, in the order met.
    QStringList getTabSites() const { return m_sites; }

    // Each returns false when one of the station's records was refused (erreurs() says which
    // and why); the others are written.
    bool extractReseau(const QString &station);
    bool extractPointEauQualite(const QString &station);
    bool extractPointEau(const QString &station);
    bool extractOperationsPrelevement(const QString &station);
    bool extractListeFaunistiques(const QString &station);
    // The parameters of the operations' results made active.
    bool MiseAJourParametres();

    // The records refused (origin "ligne N", 0 for what is not one record's), by line.
    QVector<LigneEnErreur> erreurs() const;
    // The same as text, one "ligne N : why" per line.
    QString texteErreurs() const;
    // Record types and fields read but not integrated.
    const ElementsIgnores &ignores() const { return m_ignores; }
    int enregistrements() const { return m_lus; }
    // The user refused to create a missing organisation: the run stops.
    bool arret() const { return m_arret; }

    struct Enregistrement
    {
        int ligne = 0;
        QStringList champs; // champs[0] is the type
        QString champ(int position) const { return champs.value(position - 1); }
    };

  private:
    const QVector<Enregistrement> &de(const QString &type, const QString &station) const;
    bool refuser(const Enregistrement &e, const QString &raison);
    void signaler(const QString &raison) { m_erreurs.append({0, {}, raison}); }
    bool lireOperation(const Enregistrement &e, CleOperation &cle);
    bool intervenant(const Enregistrement &e, int position, EntierLu &code);

    EcritureObjets &m_ecriture;
    Progression &m_progression;
    ResolutionIntervenants *m_intervenants;
    // type -> station (field 2) -> records
    QHash<QString, QHash<QString, QVector<Enregistrement>>> m_parType;
    QStringList m_sites;
    QVector<LigneEnErreur> m_erreurs;
    ElementsIgnores m_ignores;
    QSet<QString> m_parametres;
    bool m_reseauxLus = false;
    bool m_communesLues = false;
    bool m_arret = false;
    int m_lus = 0;
};

// The whole road on one file: init, then per station (one transaction each) the extractions in
// their order, the samples attached to operations, the parameters made active. In replace mode
// the first refused record undoes its station and stops the run. The error text ("" when every
// record went in); the bilan's counts and the ignored records are filled.
// Missing organisations are created as integrerAnalyses creates them (options.creerIntervenants
// comes back true when the user said Yes to all).
QString integrerSandre1997(const QString &chemin, OptionsIntegration &options,
                           Progression &progression, const ReponsesIntegration &reponses,
                           BilanAnalyses &bilan, ElementsIgnores &ignores);

// The station codes the screen previews, one per row; the loader's refusal, "" when read.
QString listerSitesSandre1997(const QString &chemin, QVector<QStringList> &sites);

} // namespace vyk
