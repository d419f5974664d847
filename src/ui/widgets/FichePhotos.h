#pragma once

// Photos of a sampling point or of a taxon: the files found, one shown at a time.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vyk {

class FichePhotos : public QDialog
{
    Q_OBJECT
  public:
    FichePhotos(const QStringList &fichiers, const QString &titre, QWidget *parent = nullptr);

    void montrer(int ligne);

    QListWidget *LstPhotos;
    QLabel *LblPhoto;
    QPushButton *CmdOuvrir;

  protected:
    void resizeEvent(QResizeEvent *evenement) override;

  private:
    QStringList m_fichiers;
};

} // namespace vyk
