#pragma once

#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vyk {

class GrilleDonnees;

// The journal of the database, read only: newest entries first, from a date on, narrowed by a
// text found in any column.
class ConsultationJournal : public QWidget
{
    Q_OBJECT
  public:
    explicit ConsultationJournal(QWidget *parent = nullptr);

    // Reads the entries again from the date of the screen.
    void charger();

    QDateEdit *DtpDepuis;
    QLineEdit *TxtFiltre;
    QPushButton *CmdActualiser;
    QPushButton *CmdFermer;
    GrilleDonnees *SprJournal;
    QLabel *LblCompte;

  private:
    void filtrer();

    QVector<QStringList> m_lignes;
};

} // namespace vyk
