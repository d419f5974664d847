#pragma once

// The COM_LABO message of a request (the "EDILABO" request file): the checks before generation,
// the document, its file in the output folder, the history row and the mail to the laboratory.

#include "db/CompteRendu.h"
#include "demandes/Demandes.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

namespace vyk {

class Messagerie;

namespace texteComLabo {
inline const QString NOM_ABSENT = QStringLiteral("Le nom de la demande n'est pas renseigné.");
inline const QString DATE_DEMANDE = QStringLiteral("La date de la demande n'est pas correcte.");
inline const QString DATES_RELANCE =
    QStringLiteral("La date de début ou de fin de la relance n'est pas correcte.");
inline const QString TYPE_ABSENT = QStringLiteral("Le type de demande n'est pas renseingé.");
inline const QString LABO_ABSENT = QStringLiteral("Le laboratoire n'est pas renseingé.");
inline const QString EMETTEUR_ABSENT =
    QStringLiteral("L'émetteur de la demande n'est pas renseingé.");
inline const QString SUPPORT_ABSENT = QStringLiteral("Le support n'est pas renseingé.");
inline const QString AUCUNE_STATION =
    QStringLiteral("Aucune station n'a été ajoutée à la demande.");
inline const QString AUCUN_PARAMETRE =
    QStringLiteral("Aucun paramètre n'est demandé pour la demande.");
// A request that samples needs its sampler: the element is mandatory in the message.
inline const QString PRELEVEUR_ABSENT = QStringLiteral("Le préleveur n'est pas renseigné.");
inline const QString MIXTE = QStringLiteral("Lors d'une demande mixte, le preleveur et le "
                                            "laboratoire doivent être le même organisme.");
// %1 the organisation's name or code.
inline const QString SANS_CODE =
    QStringLiteral("L'intervenant %1 ne possède ni SIRET ni code Sandre : il ne peut pas être "
                   "désigné dans le fichier.");
// %1 the station's code.
inline const QString STATION_ABSENTE = QStringLiteral("La station %1 de la demande n'existe pas.");
inline const QString GENERE = QStringLiteral("Génération du fichier terminé");
// %1 the folder.
inline const QString DOSSIER_ABSENT = QStringLiteral("Le répertoire %1 n'existe pas.");
// %1 the file, %2 the reason.
inline const QString ECRITURE = QStringLiteral("Le fichier %1 n'a pas pu être écrit : %2");
// %1 the parser's message.
inline const QString MAL_FORME =
    QStringLiteral("Le fichier généré n'est pas un document XML valide (%1) : il n'a pas été "
                   "écrit.");
inline const QString HISTORIQUE =
    QStringLiteral("Le fichier a été écrit mais l'historique de la demande n'a pas été mis à "
                   "jour : %1");
inline const QString MESSAGERIE =
    QStringLiteral("Le programme de messagerie n'a pas pu être lancé.");
} // namespace texteComLabo

// The first check that refuses the generation, "" when the request can be written.
QString verifierGeneration(const FicheDemande &fiche);

// The file name of a request: its name with every character that could leave the folder or is
// refused by a file system replaced by "_", then ".xml".
QString nomFichierDemande(const QString &libelle);

struct OptionsComLabo
{
    QString dossier; // output folder
    bool idStationAvecDesignation = false;
    QDate aujourdhui = QDate::currentDate();
    QTime maintenant = QTime::currentTime();
};
// The output folder and station option from the user's settings.
OptionsComLabo optionsComLaboReglages();

// The document of a checked request, every line ended by a carriage return.
QByteArray contenuComLabo(const FicheDemande &fiche, const OptionsComLabo &options);

// "" when the document is well-formed XML, the parser's message otherwise.
QString defautXml(const QByteArray &document);

struct ResultatComLabo
{
    CompteRendu compteRendu;
    QString chemin;   // the file written
    QString courriel; // the laboratory's address, "" when none
};
// Checks, writes the file (replacing one of that name) only once the document is well-formed,
// and adds the history row of a saved request.
ResultatComLabo genererComLabo(const FicheDemande &fiche, const OptionsComLabo &options);

// After a generation: the laboratory's mail through the desktop's mail program when it has an
// address, else the notice "Génération du fichier terminé".
CompteRendu envoyerComLabo(const ResultatComLabo &resultat, const FicheDemande &fiche,
                           Messagerie &messagerie);

} // namespace vyk
