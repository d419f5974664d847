#pragma once

// Import of the taxa referential: a ";"-separated CSV file or a SANDRE XML referential file
// (AppelTaxon elements), read into a preview, then integrated into TAXONS.

#include "db/Progression.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

// One taxon of a file, in the order of the preview's columns.
struct LigneImportTaxon
{
    qsizetype ligneFichier = 0; // line of the file where the row starts
    QString code;
    QString nomLatin;
    QString statut;       // "0".."3", or the file's text when it is none of them
    QString dateCreation; // DD/MM/YYYY
    QString dateMiseAJour;
    QString redacteur;
    QString nomCommun;
    QString auteur;
    QString niveau; // "Arbre taxonomique": code of TAXONS.NIVEAUX
    QString theme;
    QString parent;
    QString omnidia;
    QString museum;
    QString commentaire;
    QString libelleTheme;
    QString macrophytes;

    QStringList textes() const;
};

struct FichierTaxons
{
    QString chemin;
    QVector<LigneImportTaxon> lignes;
};

// "Code", "Nom latin", "Statut", ... "Macrophytes".
const QStringList &entetesImportTaxons();

// Reads a file after its extension (.csv or .xml); false with the message to show otherwise.
bool lireFichierTaxons(const QString &chemin, FichierTaxons &fichier, QString &erreur,
                       Progression &progression = progressionNulle());
bool lireTaxonsCsv(const QString &chemin, FichierTaxons &fichier, QString &erreur,
                   Progression &progression = progressionNulle());
bool lireTaxonsXml(const QString &chemin, FichierTaxons &fichier, QString &erreur,
                   Progression &progression = progressionNulle());

// Status of an XML status text: a text holding "VALID" gives "2", else "PROPOSITION" "0",
// "PROVISOIRE" "1", "GEL" "3" (any case, anywhere); anything else (a number) stays as it is.
QString statutAppelTaxon(const QString &texte);
// Repairs accented letters that arrive as two characters (UTF-8 bytes read one by one):
// "Ã©" becomes "é", "Âµ" "µ", "Â°" "°". Only sequences giving a Latin letter or a typographic
// sign are taken: text read right ("protégé »" with a non-breaking space) stays as it is.
QString reparerAccents(const QString &texte);

enum class ModeImportTaxons
{
    MiseAJour, // "Mise à jour des taxons existants": only existing taxa are updated
    Complet    // "Import complet du fichier": missing taxa are added too
};

// What to do when a row cannot be written (the row's text is given) and, once stopped, whether
// to undo what was written. By default the user is asked Yes / No (confirmerParMessage), as the
// other questions of the core.
struct DecisionsImportTaxons
{
    std::function<bool(const QString &ligne)> continuer;
    std::function<bool()> annulerTout;
};
DecisionsImportTaxons decisionsUtilisateur();

struct BilanImportTaxons
{
    int ajoutes = 0;
    int modifies = 0;
    int ignores = 0; // absent from the referential in update mode
    int rejetes = 0;
    int themesAjoutes = 0;
    int activesUtilises = 0; // taxa of the lists activated after the import
    bool interrompu = false; // stopped by the user or by a refused row
    bool defait = false;     // everything written was undone
    QStringList erreurs;
};

// "Intégration taxons": writes the rows into TAXONS in one transaction (undone on request),
// adds the missing themes to the code list, and with activer makes the imported taxa and every
// taxon a list holds active. Existing taxa keep their activity unless activer.
BilanImportTaxons integrerTaxons(const FichierTaxons &fichier, ModeImportTaxons mode, bool activer,
                                 Progression &progression = progressionNulle(),
                                 const DecisionsImportTaxons &decisions = decisionsUtilisateur());

namespace texteImportTaxons {
inline const QString AUCUNE_DONNEE =
    QStringLiteral("Aucune donnée ne peut être importée de ce fichier");
inline const QString ENTETES = QStringLiteral("Le fichier doit contenir les entêtes de colonnes.");
inline const QString FORMAT_CSV =
    QStringLiteral("Les fichiers à importer doivent être des fichiers textes de type CSV "
                   "(extension .csv) utilisant "
                   "le caractère ; comme séparateur.");
inline const QString LIGNE_IMPOSSIBLE =
    QStringLiteral("Impossible d'importer la ligne contenant les informations suivantes:");
inline const QString CONTINUER = QStringLiteral("Désirez vous continuer l'importation ?");
inline const QString ANNULER_TOUT =
    QStringLiteral("Voulez vous annuler l'importation de toutes les lignes éventuellement "
                   "importées pendant le traitement ?");
inline const QString NB_LIGNES = QStringLiteral("Nb Lignes : ");
inline const QString CHARGEMENT_INTERROMPU =
    QStringLiteral("Chargement du fichier interrompu : aucune ligne n'est retenue.");
} // namespace texteImportTaxons

} // namespace vyk
