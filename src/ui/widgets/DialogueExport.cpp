#include "ui/widgets/DialogueExport.h"

#include <QFileDialog>
#include <QStringList>

namespace vyk {

namespace {

const QStringList FILTRES = {QStringLiteral("Fichiers CSV (*.csv)"),
                             QStringLiteral("Classeurs Excel (*.xlsx)"),
                             QStringLiteral("Classeurs OpenDocument (*.ods)")};
const QStringList EXTENSIONS = {QStringLiteral(".csv"), QStringLiteral(".xlsx"),
                                QStringLiteral(".ods")};

} // namespace

QString cheminSelonFiltre(const QString &chemin, const QString &filtre)
{
    const qsizetype choisi = std::max<qsizetype>(FILTRES.indexOf(filtre), 0);
    QString r = chemin;
    for (qsizetype i = 0; i < EXTENSIONS.size(); ++i) {
        if (!r.endsWith(EXTENSIONS[i], Qt::CaseInsensitive)) continue;
        // The name first offered ends in .csv: another filter chosen means another format.
        if (i != 0 || choisi == 0) return r;
        r.chop(EXTENSIONS[i].size());
    }
    return r + EXTENSIONS[choisi];
}

QString demanderCheminExport(QWidget *parent, const QString &titre, const QString &sansExtension)
{
    QString filtre = FILTRES.first();
    const QString chemin =
        QFileDialog::getSaveFileName(parent, titre, sansExtension + EXTENSIONS.first(),
                                     FILTRES.join(QStringLiteral(";;")), &filtre);
    return chemin.isEmpty() ? QString() : cheminSelonFiltre(chemin, filtre);
}

QString demanderClasseurOuTexte(QWidget *parent, const QString &titre)
{
    return QFileDialog::getOpenFileName(
        parent, titre, {},
        QStringLiteral("Classeurs et textes (*.xlsx *.xlsm *.ods *.xls *.csv *.txt);;Tous les "
                       "fichiers (*)"));
}

} // namespace vyk
