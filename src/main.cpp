// vyk: the GUI program. It starts on the login screen.

#include "db/BaseDonnees.h"
#include "ui/app/Application.h"
#include "ui/widgets/MessagesGui.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VYK"));
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

    // The windows come and go (login, main window, login again); the program ends when
    // the application says so, not when the last window hides.
    QApplication::setQuitOnLastWindowClosed(false);
    int code = 0;
    {
        vyk::Application application;
        QObject::connect(&application, &vyk::Application::fin, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        application.demarrer();
        code = QApplication::exec();
    }
    // Closed while the drivers are still there (leaving from the login screen keeps it open).
    vyk::bd().fermerBase();
    vyk::installerSortieMessages(nullptr);
    return code;
}
