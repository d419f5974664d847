#pragma once

// What the administration screen edits: the profile grid written to databases.properties and
// the program's settings, each described once here (name, label, kind, entries) and written
// as soon as its control changes.

#include "app/Profils.h"
#include "db/CompteRendu.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

// An entry of a choice list: the label shown and the code stored.
struct EntreeListe
{
    QString libelle, code;
    bool operator==(const EntreeListe &) const = default;
};

enum class GenreReglage
{
    Case,       // check box, "1"/"0"
    CaseOuiNon, // check box, "OUI"/"NON"
    Dossier,    // folder, stored with a final separator
    Fichier,
    Texte,
    Nombre, // text read by enNombre; refused when it is not a number
    MotDePasse,
    Liste // the code of the chosen entry
};

struct DefinitionReglage
{
    QString nom;     // app/Reglages.h
    QString libelle; // label of the control
    QString onglet;  // tab of the screen
    GenreReglage genre = GenreReglage::Texte;
    QVector<EntreeListe> entrees; // fixed entries of a list
    QString champ;                // code list (CODES_SANDRE champ) giving the entries, if any
    bool listeExterne = false;    // entries come from the data (code lists, organisations...)
};

// Every setting of the screen, tab by tab.
const QVector<DefinitionReglage> &reglagesAdministration();
QStringList ongletsAdministration();
const DefinitionReglage *definitionReglage(const QString &nom);

// Source of a list's entries, for lists filled from data that other modules own
// (organisations, contacts, protocols, supports). A source replaces the code-list reading.
using SourceListe = std::function<QVector<EntreeListe>()>;
void definirSourceListe(const QString &nomReglage, SourceListe source);

// Entries of a list: fixed ones; or, for a list from the data, a first empty entry ("no
// default") followed by the source's or the code list's entries. A stored code that none of
// them holds is added as "[code]" so that it stays visible.
QVector<EntreeListe> entreesListe(const DefinitionReglage &definition);

// The stored text of the setting, case kept.
QString valeurReglage(const DefinitionReglage &definition);
// Writes the value of the control: a folder gets its final separator, a number is checked,
// LogLevel also sets the journal level of the run. False when refused or not written.
bool ecrireReglage(const DefinitionReglage &definition, const QString &valeur);
QString valeurCase(const DefinitionReglage &definition, bool cochee);
bool caseCochee(const QString &valeur);

// The profile grid (sprBases).
class ProfilsAdministration
{
  public:
    static inline const QString AUCUN_FICHIER =
        QStringLiteral("Aucun fichier de configuration databases.properties n'a pu être trouvé. "
                       "Merci de sélectionner un "
                       "répertoire pour le stocker.");
    static inline const QString ENREGISTRE =
        QStringLiteral("Vos bases par défaut ont bien été enregistrées.");
    static inline const QString ECHEC_ECRITURE = QStringLiteral(
        "Le fichier n'a pas pu être enregistré. Merci de vérifier vos droits d'écriture");

    // Rows of the stored profile file.
    static QVector<LigneProfil> charger();
    static QStringList typesBase()
    {
        return {QStringLiteral("ACCESS"), QStringLiteral("POSTGRESQL"), QStringLiteral("ORACLE")};
    }

    // Writes the rows. Without a stored file, choisirDossier is asked for a folder (the screen
    // tells the user why, AUCUN_FICHIER; "" cancels: nothing done, no text) and
    // databases.properties in it becomes the stored file. A row that would not read back as
    // itself is refused with its reason, and nothing is written. Nothing is shown: the report
    // holds the refusal, ECHEC_ECRITURE or ENREGISTRE.
    static CompteRendu enregistrer(const QVector<LigneProfil> &lignes,
                                   const std::function<QString()> &choisirDossier);
};

} // namespace vyk
