#include "app/MainForm.h"
#include "app/StartupFile.h"
#include "app/SwedishTranslations.h"
#include "settings/hh.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(VALMO_VERSION_TEXT));
    InstallSwedishTranslations(application);

    // The help file first, then the application title, which the task bar shows and which
    // names message boxes that have no caption of their own.
    LoadHelpViewer();
    QApplication::setApplicationName(QStringLiteral("Lumora Valmo"));
    // Lets the desktop match the window with the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("se.orvida.valmo"));

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Redigerare för Autogirofiler."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("fil"), QStringLiteral("Orderfil som öppnas vid start."),
                                    QStringLiteral("[fil]"));
    arguments.process(application);

    // Every window is created once, the main window first, and lives until the program ends.
    TMainForm mainForm;
    mainForm.createWindows();

    // The program ends with the main window, even while a help window is still open.
    QObject::connect(&mainForm, &TMainForm::closed, &application, [] { QCoreApplication::exit(0); });
    mainForm.show();
    // Queued, so the window is painted before the file is read.
    OpenStartupFileLater(mainForm, arguments.positionalArguments());
    return application.exec();
}
