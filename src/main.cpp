// vyk: the GUI program.

#include "ui/app/FenetrePrincipale.h"
#include "ui/widgets/MessagesGui.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VYK"));
    QApplication::setApplicationDisplayName(QStringLiteral("VYK"));
    QApplication::setApplicationVersion(QStringLiteral(VYK_VERSION));
    QApplication::setOrganizationName(QStringLiteral("NORVALE"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    // French texts for Qt's own dialogs (file choosers, standard buttons).
    QTranslator traductionQt;
    if (traductionQt.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traductionQt);

    vyk::MessagesGui messages;
    vyk::installerSortieMessages(&messages);

    vyk::FenetrePrincipale fenetre;
    fenetre.show();
    const int code = QApplication::exec();
    vyk::installerSortieMessages(nullptr);
    return code;
}
