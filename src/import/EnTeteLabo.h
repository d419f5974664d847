#pragma once

// The head of a laboratory message: its organisations (sender, recipient, every other party)
// and its stations, written before the results are integrated.

#include <QString>
#include <QStringView>

namespace vyk {

struct NoeudXml;
class ElementsIgnores;
class Progression;

// An organisation as a message gives it; `schema` is the scheme attribute of CdIntervenant.
struct IntervenantXml
{
    QString code, schema, nom, ville, codePostal;
};

// A sampling station of the message: "code" or "code/designation", and its label.
struct StationLabo
{
    QString cle, libelle;
};

// Elements of the head read as a whole: Emetteur, Destinataire, Intervenant, StationPrelevement.
bool estElementEnTeteLabo(QStringView nom);
IntervenantXml lireIntervenant(const NoeudXml &n);
StationLabo lireStationPrelevement(const NoeudXml &n);
// Reads an element of the head as the integration does and counts what it leaves aside.
void lireElementEnTeteLabo(const NoeudXml &n, ElementsIgnores &ignores);

// Finds the organisation by its SIRET (scheme "SIRET") or SANDRE code (any other scheme) and
// writes its name and town when the message gives them (a stored name is never blanked); a new
// one gets the next CodeIntervenant and, without a name, its code as name. The CodeIntervenant,
// or -1 with the reason in erreur (-1 and no reason for an organisation without code).
qint64 integrerIntervenant(const IntervenantXml &intervenant, QString &erreur);

// The station of a key: by CodeBSS, then as an organisation's internal reference, else created
// (river station, named after the label). -1 with the reason when it cannot be.
qint64 integrerStationLabo(const StationLabo &station, QString &erreur);

// Organisations, then stations of the message. "" when all went well; otherwise the load
// message of an unreadable file (nothing written) or one line per element refused (the others
// are written).
QString integrerEnTeteLabo(const QString &chemin, Progression *progression = nullptr);

namespace texteImportLabo {
inline const QString EMETTEUR = QStringLiteral("Intégration de l'émetteur");
inline const QString DESTINATAIRE = QStringLiteral("Intégration du destinataire");
inline const QString INTERVENANTS = QStringLiteral("Intégration des intervenants");
inline const QString STATIONS = QStringLiteral("Intégration des stations");
inline const QString ERREUR_INTERVENANT = QStringLiteral("Erreur intégration intervenant ");
inline const QString ERREUR_STATION = QStringLiteral("Erreur intégration station ");
} // namespace texteImportLabo

} // namespace vyk
