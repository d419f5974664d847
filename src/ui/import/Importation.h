#pragma once

// "Importation de données": an import model, a file (manual integration) or a folder
// (automatic integration), the options, the preview or the folder's file list, then the
// integration or its check without writing.

#include "import/Importation.h"
#include "import/ProprietesIntegration.h"
#include "ui/widgets/Ecran.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vyk {

class GrilleDonnees;

class Importation : public Ecran
{
    Q_OBJECT
  public:
    explicit Importation(QWidget *parent = nullptr);
    // Room for the preview's columns.
    QSize sizeHint() const override { return {1040, 680}; }

    // The model chosen ("" when none).
    QString modele() const;
    void choisirModele(const QString &code);
    bool integrationAutomatique() const;
    void choisirIntegrationAutomatique(bool automatique);
    void choisirRemplacement(bool remplacer);
    void choisirEntete(bool entete);

    // Manual integration: reads the file into the preview. False (message shown) when refused.
    bool choisirFichier(const QString &chemin);
    // Automatic integration: lists the folder's files (after its properties file when there is
    // one, which may choose the model and the campaign).
    void choisirDossier(const QString &dossier);

    // "Démarrer l'importation" and "Contrôler le fichier".
    void demarrer();
    void controler();

    const ResultatImport &dernierResultat() const { return m_resultat; }
    // The text of the last check's report.
    const QString &rapportControle() const { return m_rapport; }
    GrilleDonnees *apercu() const { return m_apercu; }
    GrilleDonnees *listeFichiers() const { return m_fichiers; }
    QLabel *information() const { return m_information; }
    QComboBox *campagnes() const { return m_campagne; }

  signals:
    // Stations may have been created or changed: the station lists reload.
    void donneesImportees();

  private:
    void construire();
    void remplirCampagnes();
    void parcourir();
    void majEtat();
    OptionsImport options(bool controle) const;
    // The file, or the folder's listed files; empty with a message shown when nothing to run.
    QStringList cibles() const;
    void lancer(bool controle);
    void afficherResultat(const ResultatImport &r);
    void montrerControle(const ResultatImport &r);
    bool rapportSeuilsApresImport(const ResultatImport &r);
    void montrerRapport(const QString &titre, const QString &nom);

    QComboBox *m_modele = nullptr;
    QRadioButton *m_manuelle = nullptr;
    QRadioButton *m_automatique = nullptr;
    QRadioButton *m_remplacer = nullptr;
    QRadioButton *m_ajouter = nullptr;
    QCheckBox *m_entete = nullptr;
    QComboBox *m_campagne = nullptr;
    QLineEdit *m_chemin = nullptr;
    QPushButton *m_parcourir = nullptr;
    GrilleDonnees *m_apercu = nullptr;
    GrilleDonnees *m_fichiers = nullptr;
    QLabel *m_information = nullptr;
    QPushButton *m_controler = nullptr;
    QPushButton *m_demarrer = nullptr;
    QPushButton *m_fermer = nullptr;

    QString m_dossier;
    QVector<FichierIntegration> m_liste;
    ProprietesIntegration m_proprietes;
    ResultatImport m_resultat;
    QString m_rapport;
};

} // namespace vyk
