#pragma once

#include "app/ParametresAdministration.h"

#include <QWidget>

#include <functional>

class QPushButton;
class QTableWidget;
class QTabWidget;

namespace vyk {

// The administration screen: the predefined databases (grid sprBases, written to
// databases.properties) and the program's settings, each written as soon as its control
// changes. Controls are named after their setting ("Chk" + name, "Txt" + name, "Cbo" + name).
class Administration : public QWidget
{
    Q_OBJECT
  public:
    explicit Administration(QWidget *parent = nullptr);

    // Folder chosen for a new databases.properties (tests replace it); "" cancels.
    std::function<QString()> choisirDossierProfils;

    QTabWidget *Onglets;
    QTableWidget *sprBases;
    QPushButton *CmdAjouterBase;
    QPushButton *CmdSupprimerBase;
    QPushButton *CmdEnregistrerBases;

    // The grid's rows as they will be written.
    QVector<LigneProfil> lignesBases() const;
    QSize sizeHint() const override { return {960, 600}; }
    void ajouterLigneBase(const LigneProfil &ligne = {});

  private:
    QWidget *creerOngletBases();
    QWidget *creerOnglet(const QString &onglet);
    QWidget *creerControle(const DefinitionReglage &definition, QWidget *parent);
    void enregistrerBases();
};

} // namespace vyk
