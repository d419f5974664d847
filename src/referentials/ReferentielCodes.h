#pragma once

// National referential files (XML nomenclatures) read into memory and integrated into the
// code lists. A nomenclature feeds every list whose CODES_SANDRE_REFERENTIEL row has its number.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;

// The web site of the national referential, and the page of one nomenclature in one version.
QString adresseSiteReferentiel();
QString adresseReferentiel(const QString &numero, const QString &version);

// One entry of a nomenclature, texts as found in the file.
struct EntreeReferentiel
{
    QString numero; // number of the nomenclature (the "Référentiel" column)
    QString code;
    QString libelle;
    QString mnemonique;
    QString statut;
    QString definition;
    QString creation;
    QString miseAJour;
};

struct FichierReferentiel
{
    QString chemin;
    QVector<EntreeReferentiel> entrees;
};

// The XML files of a folder, sorted by name (full paths).
QStringList fichiersReferentiel(const QString &dossier);

// Reads a file. Elements are found by name wherever they stand (see README): the number of the
// nomenclature, then each entry with its code; every other field may be missing. False, with a
// French message, when the file cannot be read, is not XML or holds no entry.
bool lireFichierReferentiel(const QString &chemin, FichierReferentiel &fichier, QString &erreur);

// The preview grid of the import screen.
QStringList entetesReferentiel();
QStringList ligneReferentiel(const EntreeReferentiel &entree);

// What an integration did.
struct BilanIntegration
{
    int ajoutes = 0;
    int modifies = 0;
    int rejetes = 0;
    QStringList listes;  // keys of the lists updated
    QStringList erreurs; // one line per rejected entry or unknown nomenclature
    bool annule = false;
    QString echec; // the batch could not be written: nothing was kept (French reason)
};

// Integrates entries into CODES_SANDRE: a numeric code (digits only) is the entry's Code; any
// other is kept in codeReference and gets a local code from 1000 up. Found entries are updated
// with the file's non-empty fields; each list where a code was written gets today and the login
// in its CODES_SANDRE_REFERENTIEL row. Journaled as "Intégration des codes Sandre".
BilanIntegration integrerReferentiel(const QVector<EntreeReferentiel> &entrees,
                                     Progression &progression, const QString &source = {});

// First local code of the entries whose national code is not a number.
inline constexpr int PREMIER_CODE_LOCAL = 1000;

// Lists tied to a national nomenclature that hold no entry yet, as a new database leaves them
// until the nomenclatures are imported: their keys, in order.
QStringList listesNomenclatureVides();
// The lists of places a station card offers (communes, countries, catchments) that hold no row
// yet, by their French names, in that order.
QStringList listesLieuxVides();

} // namespace vyk
