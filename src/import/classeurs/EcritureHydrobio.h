#pragma once

// What the hydrobiology workbooks add to the import writer (EcritureObjets): a station described
// by a sending sheet, the operation's defaults from the settings, the counts of a run.

#include "import/EcritureObjets.h"
#include "import/IntegrationAnalyses.h"
#include "monitoring/ObjetsImport.h"

#include <QString>
#include <QVector>

#include <functional>

#include <optional>

namespace vyk {

class Progression;

// A station as a sending sheet describes it; empty texts for what it does not give.
struct StationClasseur
{
    QString code; // CodeBSS
    QString nom;
    QString coursEau;
    QString codeInsee;
    QString commune;
    QString masseEau;
    std::optional<double> x, y, z;
    int projection = 26; // Lambert 93
};

// The operation's fields the sheets leave out: the names of the settings that give them (every
// model reads "Accreditation"; the invertebrate sending sheets also the season and the
// conservation mode).
struct DefautsOperation
{
    QString qualification, statut, determinateur, producteur, preleveur, accreditation;
    QString saisonnalite, modeConservation;
    static DefautsOperation lire(bool saisonEtConservation = false);
    // An operation of that key with these defaults and the biological support.
    Operation operation(const CleOperation &cle, int support) const;
};

// The station of that code; created when missing with the sheet's description (commune by INSEE
// code, else by name; water body by label: values bound, never pasted). The coordinates go to
// QUALITOMETRE_LOCALISATIONS. The writer purges an existing station once in replace mode. Its
// CodeQualitometre, -1 with why.
qint64 ecrireStationClasseur(EcritureObjets &ecriture, const StationClasseur &s, QString &erreur);

// The openness of the site as the sheets write it, without case, accents or blanks: "OUVERT" 1,
// "SEMI-OUVERT" ("SEMI OUVERT", "SEMIOUVERT") 2, "FERMÉ" 3 (codes of "PRELEVEMENTS.OMBRAGE"); an
// empty text gives nothing. False for any other text.
bool lireOuverture(const QString &texte, EntierLu &code);
// Why such a text is refused: "« texte » n'est ni OUVERT, ni SEMI-OUVERT, ni FERMÉ.".
QString ouvertureInconnue(const QString &texte);

// The environmental parameters of the sheets: hydrological situation, weather, visibility of the
// bottom, turbidity, periphyton.
namespace parametreEnv {
inline constexpr int SITUATION = 1725;
inline constexpr int METEO = 1425;
inline constexpr int VISIBILITE = 5473;
inline constexpr int TURBIDITE = 6498;
inline constexpr int PERIPHYTON = 6499;
} // namespace parametreEnv
bool estParametreEnvironnement(qint64 parametre);

// A condition of the operation (dated as the operation), with its qualification and status.
bool ecrireCondition(EcritureObjets &ecriture, const Operation &o, MesureEnvironnement m,
                     QString &erreur);
// The operation's environmental conditions replaced by `mesures` (written by ecrireCondition);
// with `prelevements` (not null) its elementary samplings replaced too. False with why.
bool remplacerConditions(EcritureObjets &ecriture, const Operation &o,
                         const QVector<MesureEnvironnement> &mesures,
                         const QVector<PrelevementElementaire> *prelevements, QString &erreur);

// Removes the operation's results of these parameters.
bool effacerResultats(qint64 station, qint64 operation, const QVector<int> &parametres,
                      QString &erreur);

// What the run says of an item (a row, a sheet) that fails.
struct ElementHydrobio
{
    QString origine, station, date;
};
// Integrates `nombre` items in turn (`integrer` gives "" or why it failed), asking the progression
// before each. A failed item is counted in the summary; with `arret` the run stops there. False
// when stopped or cancelled.
bool integrerElements(int nombre, Progression &progression, bool arret, BilanAnalyses &bilan,
                      const std::function<ElementHydrobio(int)> &decrire,
                      const std::function<QString(int)> &integrer);

// The writer's counts added to the run's summary.
void ajouterBilan(const BilanObjets &objets, BilanAnalyses &bilan);

} // namespace vyk
