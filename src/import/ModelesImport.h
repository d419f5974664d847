#pragma once

// The import models: their code, the label shown and the road a file of the model takes.

#include <QString>
#include <QVector>

namespace vyk {

enum class RouteImport
{
    AnalysesTexte,   // the 42-column text file, then the integration of analyses
    AnalysesNommees, // a CSV whose columns are named, then the integration of analyses
    LaboXml,         // laboratory result messages, then the integration of analyses
    StationsXml,     // station description messages
    PointsEauXml,    // water-point description messages
    ExtraitCode,     // national extracts with columns named by dictionary codes
    Sandre1997,      // SANDRE 1997 hydrobiology frames ("|"-separated records)
    Regional,        // the OSUR and Adour-Garonne archives (files told apart by name)
    ComposantFerme,  // handed to a closed component of the suite that VYK does not provide
    Classeur,        // a workbook template (import/classeurs)
    Paquet,          // an exchange package: a desktop database of the same schema, zipped
    AutreFormat      // a format this version does not read yet
};

struct ModeleImport
{
    QString code;
    QString libelle; // "" for a model reached by its code only
    RouteImport route = RouteImport::AutreFormat;

    // How the model is shown in a list: the label, blanks, then "[" code "]".
    QString libelleListe() const;
    // Why a file of this model cannot be integrated ("" when it can).
    QString refus() const;
};

// Every model, in the order of the list.
const QVector<ModeleImport> &modelesImport();
// The model of that code (compared without case); nullptr when unknown.
const ModeleImport *modeleImport(const QString &code);

namespace texteModeles {
inline const QString AUCUN =
    QStringLiteral("Sélectionnez un modèle avant de démarrer l'importation automatique.");
inline QString inconnu(const QString &code)
{
    return QStringLiteral("Le modèle d'import « ") + code +
           QStringLiteral(" » n'existe pas (vyk-cli import --modeles donne la liste).");
}
} // namespace texteModeles

} // namespace vyk
