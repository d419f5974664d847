#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// The file a folder may hold to drive an automatic integration: the model, the threshold report,
// the campaign, a file transfer, file masks, and files paired with the station they belong to.
inline const QString FICHIER_PROPRIETES_INTEGRATION = QStringLiteral("integrationVYK.properties");

struct FichierIntegration
{
    QString fichier;
    QString station; // code given beside the file, "" when none
    QString nomStation;
};

struct ProprietesIntegration
{
    QString modele;
    QString typeSeuil;
    bool invalideSiSuperieurMax = false;    // ">"
    bool invalideSiInferieurSeuil1 = false; // "<"
    QString campagne;
    QStringList transfert; // values of "#FTP=", in order
    QStringList masques;   // "*.csv", …
    QVector<FichierIntegration> fichiers;
    // "ligne n : texte" for each line read as nothing (a key without value, an unknown "#" key)
    QStringList lignesIgnorees;
};

// Reads the text of a properties file (decoded already). Keys are compared without regard to
// case; blank lines are skipped.
ProprietesIntegration lireProprietesIntegration(const QString &texte);

// Reads `dossier/integrationVYK.properties` when the folder holds it. False when there is no
// such file; `erreur` says why a file present could not be read.
bool chargerProprietesIntegration(const QString &dossier, ProprietesIntegration &proprietes,
                                  QString *erreur = nullptr);

// The files of an automatic run: the ones the properties name, then those matching its masks;
// without properties, every file of the folder with the extension ("csv", "*.csv" or ".csv";
// empty: every file). Sorted by name, the properties file itself never listed.
QVector<FichierIntegration> listerFichiersIntegration(const QString &dossier,
                                                      const QString &extension,
                                                      const ProprietesIntegration *proprietes);

// Fills nomStation from QUALITOMETRES for the files paired with a station code.
void completerNomsStations(QVector<FichierIntegration> &fichiers);

} // namespace vyk
