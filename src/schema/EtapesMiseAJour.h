#pragma once

// The upgrade run: its state and its steps, shared by the files of schema/ that implement them.

#include "db/BaseDonnees.h"
#include "db/Progression.h"
#include "schema/Catalogue.h"
#include "schema/EtatSchema.h"

#include <QSet>

namespace vyk {

class MiseAJour
{
  public:
    // moisDebutHydro: first month of the hydrological year for the seed of PERIODES.
    MiseAJour(BaseDonnees &base, Progression &progression, QString version, int moisDebutHydro = 9);

    // Every step in order, then the version row. False when cancelled or the row was not written.
    bool executer();

    // ---- helpers of the steps
    BaseDonnees &base() { return m_bd; }
    EtatSchema &etat() { return m_etat; }
    Progression &progression() { return m_progression; }
    int moisDebutHydro() const { return m_moisDebutHydro; }
    bool annule();
    // Sends a statement; a failure is journaled at the debugging level and counted.
    bool sql(const QString &instruction);
    // Reads rows; an empty table on failure, without reporting it.
    Tableau lire(const QString &requete);
    int nbEchecs() const { return m_echecs; }
    void noterEchec(const QString &instruction);
    // A migration carrying data or a rebuild that did not complete: the version row is not
    // written, so that the next run tries again.
    void noterInacheve(const QString &quoi);
    // Why executer() returned false ("" after a success).
    const QString &raison() const { return m_raison; }

    // Creates the table from the catalogue when missing, otherwise adds its missing columns
    // (except those that a migration adds with their data) and widens its floating columns.
    void completerTable(const DefinitionTable &table);
    void completerTables(EtapeSchema etape);
    // Rebuilds a table in the catalogue layout, keeping its rows column by column; atomic.
    bool reconstruireTable(const DefinitionTable &table);
    // Brings back the rows of a copy left by an interrupted rebuild (table + "_SAV").
    void recupererCopie(const DefinitionTable &table);
    bool ajouterColonne(const QString &table, const DefinitionColonne &colonne);

    bool marqueurPresent(const QString &module, const QString &identifiant);
    bool ecrireMarqueur(const QString &module, const QString &identifiant, bool avecDate);
    // Distinct station codes, read once.
    const QStringList &codesBSS();

  private:
    // Steps, in the order they run.
    void etapePreparation();
    void etapeSchemaCommun();
    void etapeIndex();
    bool indexUniquePossible(const DefinitionIndex &index);
    void etapeQualite();
    void etapeTablesStations();
    void etapeVues();
    void etapeUnites();
    void etapeReferentiels();
    void marquerSelections();
    void etapeJobs();
    void etapeRecherche();
    void convertirCodesListes();
    void etapeDonneesInitiales();
    bool ecrireVersion();

    // Quality step migrations.
    void migrerEtats();
    void migrerSatellitesPrelevements();
    void migrerOperationsPrelevements();
    void migrerCodeDemande();
    void migrerOmbrage();
    void migrerParametrageData();
    void ajouterColonneRemplie(const QString &table, const QString &colonne,
                               const QString &remplissage);
    void elargirFractions();
    void ajouterProfondeursAnalyses();
    void indexerTablesAnalyses();

    void message(const QString &texte);

    BaseDonnees &m_bd;
    Progression &m_progression;
    QString m_version;
    int m_moisDebutHydro;
    EtatSchema m_etat;
    int m_echecs = 0;
    QStringList m_inacheves;
    QString m_raison;
    bool m_annule = false;
    int m_etape = 0;
    bool m_marqueursLus = false;
    QSet<QString> m_marqueurs; // "module|identifiant", lower case
    bool m_codesLus = false;
    QStringList m_codesBSS;
};

// Columns that a migration adds together with their data: the generic completion leaves them.
bool colonneMigree(const QString &table, const QString &colonne);

} // namespace vyk
