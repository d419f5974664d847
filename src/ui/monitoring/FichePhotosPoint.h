#pragma once

// The photos of a sampling point: the files found, one shown at a time.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace vyk {

class FichePhotosPoint : public QDialog
{
    Q_OBJECT
  public:
    FichePhotosPoint(const QStringList &fichiers, QWidget *parent = nullptr);

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
