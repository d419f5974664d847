#include "ui/widgets/MessagesGui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vyk {

int MessagesGui::afficher(const QString &genre, const QString &texte)
{
    QMessageBox boite(QApplication::activeWindow());
    boite.setWindowTitle(QApplication::applicationDisplayName());
    boite.setText(texte);
    if (genre == GENRE_QUESTION) {
        boite.setIcon(QMessageBox::Question);
        QPushButton *oui = boite.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton *non = boite.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        boite.setDefaultButton(non);
        boite.setEscapeButton(non);
        boite.exec();
        return boite.clickedButton() == oui ? BoutonOui : BoutonNon;
    }
    if (genre == GENRE_QUESTION_ANNULER) {
        boite.setIcon(QMessageBox::Question);
        QPushButton *oui = boite.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton *non = boite.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        QPushButton *annuler = boite.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
        boite.setDefaultButton(oui);
        boite.setEscapeButton(annuler);
        boite.exec();
        return boite.clickedButton() == oui   ? BoutonOui
               : boite.clickedButton() == non ? BoutonNon
                                              : BoutonAnnuler;
    }
    if (genre == GENRE_ERREUR)
        boite.setIcon(QMessageBox::Critical);
    else if (genre == GENRE_AIDE)
        boite.setIcon(QMessageBox::Information);
    else
        boite.setIcon(QMessageBox::NoIcon);
    boite.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    boite.exec();
    return BoutonOK;
}

} // namespace vyk
