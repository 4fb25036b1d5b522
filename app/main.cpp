#include "app/MainForm.h"
#include "app/StartupFile.h"
#include "app/SwedishTranslations.h"
#include "format/SealKeys.h"
#include "settings/KeychainKeyStore.h"
#include "settings/hh.h"

#include <QApplication>
#include <QCommandLineParser>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Qt aborts with an English message when there is no display to open a window on; say it in
// Swedish, and how to run the editor anyway, before Qt gets that far.
bool displayMissing(int argc, char* argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return false;
    }
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return !isSet("QT_QPA_PLATFORM") && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    // Under a file-size limit a write is refused with its reason (EFBIG) instead of ending the
    // process: the save then reports it like a full disk, and the old file stays as it was.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (displayMissing(argc, argv)) {
        std::fputs("Lumora Valmo behöver en grafisk skärm, men ingen hittades (DISPLAY är inte satt).\n"
                   "Starta programmet i en skrivbordsmiljö, eller med en virtuell skärm: xvfb-run -a valmo\n",
                   stderr);
        return 1;
    }
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

    // The seal key lives in the system's keyring.
    KeychainKeyStore keyStore;
    SealKeys::setKeyStore(&keyStore);

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
