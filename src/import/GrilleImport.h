#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// The table every analysis format is brought into before integration: one row per result,
// 42 text columns in a fixed order. A loader reading a file with a header line keeps the file's
// own names in `colonnes`; readers address the fixed columns through ColonneImport.
enum class ColonneImport : int
{
    CodeStation,
    TypeQualito,
    DatePrelvt,
    NumeroAnalyse,
    CodeProducteur,
    OrigineInterv,
    CodeParam,
    Resultat,
    CodeUnite,
    RemarqueAnalyse,
    CodeLabo,
    OrigineLabo,
    ReferenceLabo,
    DateAnalyse,
    LieuAnalyse,
    ResultatReference,
    Reference,
    Difficulte,
    Qualification,
    CodeMethode,
    CodeFraction,
    CodeSupport,
    StatutMesure,
    CommentAnalyse,
    CommentResult,
    ReferenceEch,
    CodeProducteurEch,
    OrigineProducteurEch,
    CodeMethFr,
    ProfDeb,
    ProfFin,
    LimiteQuantification,
    LimiteDetection,
    SeuilSaturation,
    AccreditationResultat,
    IncertitudeAnalytique,
    CodeParamSolvant,
    CodeMethExtraction,
    RendementExtraction,
    VolumeFiltre,
    LocalisationPrecise,
    CommentaireOperation,
};

inline constexpr int NB_COLONNES_IMPORT = 42;

// Rows a loader keeps at most; beyond, the file is refused and the table emptied.
inline constexpr int LIGNES_IMPORT_MAX = 250000;

// The 42 column names, in order, as a file without a header line receives them.
const QStringList &nomsColonnesImport();

struct GrilleImport
{
    QStringList colonnes = nomsColonnesImport();
    QVector<QStringList> lignes;
    // Where each row came from ("fichier.xml, élément 12", "ligne 40"), for the error report;
    // empty or parallel to `lignes`.
    QStringList origines;

    // A blank row of 42 fields, appended; returns it for filling.
    QStringList &ajouterLigne(const QString &origine = {});
    // A row already filled (42 fields), appended.
    QStringList &ajouterLigne(QStringList ligne, const QString &origine);
    QString valeur(int ligne, ColonneImport c) const;
    void vider();
    int nombreLignes() const { return int(lignes.size()); }
};

// The rows integration reads: a table held whole, or rows made on demand from another form.
class LignesImport
{
  public:
    virtual ~LignesImport() = default;
    virtual int nombreLignes() const = 0;
    // The row's cells in ColonneImport order (a shorter row reads empty past its end); valid
    // until another row is asked.
    virtual const QStringList &ligne(int l) const = 0;
    // Where the row came from, "" when unknown.
    virtual QString origine(int l) const = 0;
    // Whether no row can fill the column: its values need not be looked at.
    virtual bool toujoursVide(ColonneImport) const { return false; }
};

// A table held whole, read as it is.
class LignesTable : public LignesImport
{
  public:
    explicit LignesTable(const GrilleImport &grille) : m_grille(grille) {}
    int nombreLignes() const override { return m_grille.nombreLignes(); }
    const QStringList &ligne(int l) const override { return m_grille.lignes.at(l); }
    QString origine(int l) const override
    {
        return l < m_grille.origines.size() ? m_grille.origines.at(l) : QString();
    }

  private:
    const GrilleImport &m_grille;
};

} // namespace vyk
