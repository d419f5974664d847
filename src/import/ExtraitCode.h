#pragma once

// The national extracts whose columns are named by SANDRE 1997 data-dictionary codes
// ("<ALQ.12.1997-1>"): their loader, the value of a code on a row, and their integration through
// the import table of the analyses.

#include "import/IntegrationAnalyses.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;

// Which header a coded extract is read with: a fixed one put in place of the file's first line,
// or the file's own codes (first line; the second is passed over).
enum class EnTeteCode
{
    Naiades,
    QualiteauExtraction, // "DB_Extraction*.csv"
    QualiteauCourt,      // the other "DB_*.csv"
    Fichier,
};

// A row of an extract: its kept values by column.
class LigneCode
{
  public:
    LigneCode(const QString *textes, const quint32 *cellules)
        : m_textes(textes), m_cellules(cellules)
    {
    }
    const QString &operator[](int colonne) const { return m_textes[m_cellules[colonne]]; }

  private:
    const QString *m_textes;
    const quint32 *m_cellules;
};

// Rows keep only the columns that carry a code, as indexes into the extract's texts, one row
// after another in one array: a file of many columns and many rows holds no text for what is
// never read, and a value repeated from the row above is held once.
struct ExtraitCode
{
    QStringList codes; // per file column: "ALQ.12", "" for a column that is not read
    // Lines whose field count differs from the header's: kept out, reported as rows in error.
    QVector<LigneEnErreur> rejets;

    void vider();
    int nombreLignes() const { return int(m_lignesFichier.size()); }
    // Columns kept per row: the coded ones, in file order.
    int largeur() const { return m_largeur; }
    // Kept column of a code ("ALQ.12"), -1 when the extract has none.
    int colonne(const QString &code) const;
    // Kept column of a file column, -1 when it carries no code.
    int colonneLue(qsizetype colonneFichier) const
    {
        return colonneFichier < m_lues.size() ? m_lues[colonneFichier] : -1;
    }
    LigneCode ligne(int l) const
    {
        return {m_textes.constData(), m_cellules.constData() + qsizetype(l) * m_largeur};
    }
    // A kept column's value on a row; "" for column -1.
    const QString &valeur(int l, int colonne) const
    {
        static const QString vide;
        return colonne < 0 ? vide : ligne(l)[colonne];
    }
    // "ligne N" of the file.
    QString origine(int ligne) const;
    // Index of `codes`; empties the rows.
    void indexer();
    // A row of empty values, appended; its cells, valid until the next row is added.
    quint32 *ajouterLigne(qsizetype ligneFichier);
    // A text for the rows' cells, and its index.
    quint32 ajouterTexte(QString texte)
    {
        m_textes.append(std::move(texte));
        return quint32(m_textes.size() - 1);
    }
    const QString &texte(quint32 i) const { return m_textes[i]; }

  private:
    QVector<quint32> m_cellules;
    QStringList m_textes{QString()}; // 0: the empty value
    QVector<qsizetype> m_lignesFichier;
    QVector<int> m_lues;
    QHash<QString, int> m_index;
    int m_largeur = 0;
};

namespace texteExtraitCode {
inline const QString STATIONS_ABSENTES = QStringLiteral(
    "Impossible de récupérer le fichier contenant la description des stations dans le fichier "
    "ZIP.");
inline const QString NOM_ZIP =
    QStringLiteral("Le nom de fichier extrait ne correspond pas au nom du zip. Vérifiez le nom du "
                   "zip notamment au niveau des accents.");
inline QString nombreColonnes(int lues, int attendues)
{
    return QStringLiteral("La ligne d'en-tête du fichier compte %1 colonnes alors que le format "
                          "en attend %2 : le fichier n'a pas été chargé.")
        .arg(lues)
        .arg(attendues);
}
inline QString champsLigne(int lus, int attendus)
{
    return QStringLiteral("la ligne compte %1 champs au lieu des %2 de l'en-tête")
        .arg(lus)
        .arg(attendus);
}
} // namespace texteExtraitCode

// The fixed header of a layout ("" for EnTeteCode::Fichier).
QString enTeteCode(EnTeteCode entete);

// Loads a ";"-separated coded extract. Records, not lines, are read (quoted fields may hold ";"
// and line breaks); values are trimmed and lose a leading or trailing double quote. A fixed
// header refuses a file whose first line has another number of fields. Reaching
// LIGNES_IMPORT_MAX rows refuses the file (wording of the layout's loader). On any error, or
// when cancelled, the extract is emptied. Returns "" or the error text.
QString chargerExtraitCode(const QString &chemin, ExtraitCode &extrait, Progression &progression,
                           EnTeteCode entete);
// The same over bytes already read; `limite` lowers the row limit (tests, fuzzing).
QString chargerExtraitCodeOctets(const QByteArray &octets, ExtraitCode &extrait,
                                 Progression &progression, EnTeteCode entete,
                                 int limite = LIGNES_IMPORT_MAX);

// The value of a dictionary code on a row ("" when the extract has no such column).
QString valeurCode(const QString &entite, int numero, const ExtraitCode &extrait, int ligne);

// Station key as the extracts write it: a key holding "X-" (any case) loses its hyphens.
QString cleStationCode(const QString &cle);
// A coded date: YYYYMMDD, DD/MM/YY (the two-digit year pivots on the current year),
// DD/MM/YYYY or YYYY-MM-DD, an optional time after it. Invalid when none of these.
QDateTime dateCode(const QString &texte, bool *heureDonnee = nullptr);

struct QualificationCode
{
    QString qualification, statut; // "" when the label is not known
};
// "BRUTE" 4 and 1, "CORRECTE" 1 and 2, ...; a number is a qualification as it is.
QualificationCode qualificationCode(const QString &libelle);

struct SupportCode
{
    QString identifiant, libelle;
};
// Sampling point of a SUP.2 value: "6" "061" "Sédiment", "15" "151" "Eaux interstitielles",
// anything else "031" "Eau".
SupportCode supportCode(const QString &sup2);

// Integrates the extract: rows brought into the import table and integrated by
// integrerAnalyses, then what that table does not carry (station description, communes, water
// bodies, networks, operation end and networks, sample values, sample parts, analysis time).
// The loader's rejected lines are counted as rows in error.
BilanAnalyses integrerExtraitCode(const ExtraitCode &extrait, OptionsIntegration &options,
                                  Progression &progression,
                                  const ReponsesIntegration &reponses = {});

// The header a file of these models is read with, by its name: "Analyses.CSV" the NAIADES one,
// "DB_Extraction*" and the other "DB_*" the QUALIT'EAU ones, any other its own first line.
EnTeteCode enTeteParNom(const QString &nomFichier);

// What the import screen previews of a file of these models: its coded columns and their values
// (the station file of a NAIADES archive adds nothing: its analyses name the stations).
QString apercuExtraitCode(const QString &chemin, QStringList &colonnes,
                          QVector<QStringList> &lignes, Progression &progression);

// The road of the models "NAIADES_PC", "QUALITEAU_SN" and "ADES SEQEAU" for one chosen file.
QString importerExtraitCode(const QString &modele, const QString &fichier,
                            OptionsIntegration &options, Progression &progression,
                            const ReponsesIntegration &reponses, BilanAnalyses &bilan);

// A NAIADES archive: unpacked into the working folder, "Stations.CSV" integrated, then
// "Analyses.CSV" loaded and integrated.
QString importerNaiades(const QString &archive, OptionsIntegration &options,
                        Progression &progression, const ReponsesIntegration &reponses,
                        BilanAnalyses &bilan);

// A QUALIT'EAU file: "DB_Extraction*.csv" (or a ZIP holding it, whose name it must bear), or
// another "DB_*.csv".
QString importerQualiteau(const QString &fichier, OptionsIntegration &options,
                          Progression &progression, const ReponsesIntegration &reponses,
                          BilanAnalyses &bilan);

} // namespace vyk
