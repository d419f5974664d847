#pragma once

// The two regional archive formats over ImportParFichiers: how their files are named and in
// which order each station's files are extracted.

#include "import/ImportParFichiers.h"

namespace vyk {

// "OSUR WEB CSV": a ZIP of "EXPOSUR_*.txt" files unpacked in "OSUR_CSV" under the working
// folder; "OSUR XLS": the same files as the sheets of a workbook, each named like its file.
// Files told apart by the text in their names: "STATION" (the station file, "EXPOSUR_STATION*"
// in an archive), "RESO", "SITE", "CEBIO", "CEPC", "_BIO_", "_PC_".
class ImportOsur : public ImportParFichiers
{
  public:
    using ImportParFichiers::ImportParFichiers;
    using ImportParFichiers::init;
    // A workbook's sheets, each read by its first row's names. "" or why not.
    QString initClasseur(const QString &chemin);
    // extractReseau, extractPointEauQualite, extractPointEau, extractConditions (CEBIO then
    // CEPC), extractHydroBio, extractAnalyse.
    bool extraireStation(const QString &station) override;

  protected:
    std::optional<FichierRegional> typeDe(const QString &nom) const override;
    bool estFichierStations(const QString &nom) const override;
    QStringList masquesTravail() const override { return {QStringLiteral("*.txt")}; }

  private:
    bool m_classeur = false;
};

// "SANDRE_ADOUR_GARONNE": a ZIP of ";"-separated files unpacked in "AG" under the working
// folder, told apart by the start of their names: "station" (the station file
// "stations_STQ*"), "physicochimie" and "analyse_", "etats_", "hydrobio_", "cep_",
// "mesure_environnementale_". The states are written once the samples are linked.
class ImportAdourGaronne : public ImportParFichiers
{
  public:
    using ImportParFichiers::ImportParFichiers;
    // extractPointEauQualite, extractAnalyse, extractResultats (hydrobio_), extractConditions
    // (cep_, mesure_environnementale_).
    bool extraireStation(const QString &station) override;
    // extractEtats.
    bool extraireApresPrelevements(const QString &station) override;

  protected:
    std::optional<FichierRegional> typeDe(const QString &nom) const override;
    bool estFichierStations(const QString &nom) const override;
    QStringList masquesTravail() const override { return {QStringLiteral("*.csv")}; }
};

// The road of a model ("OSUR WEB CSV", "OSUR XLS", "SANDRE_ADOUR_GARONNE") on one archive,
// folder or workbook: unpacked in the format's working folder (a temporary one when the setting
// "CheminExport" is unset), then integrerRegional.
QString integrerArchiveRegionale(const QString &modele, const QString &chemin,
                                 OptionsIntegration &options, Progression &progression,
                                 const ReponsesIntegration &reponses, BilanAnalyses &bilan,
                                 ElementsIgnores &ignores);
// The station codes the screen previews, one per row.
QString listerSitesRegionaux(const QString &modele, const QString &chemin,
                             QVector<QStringList> &sites);

} // namespace vyk
