// valmo-screenshots FOLDER [--scaled]: builds the editor's real windows under the offscreen
// platform, with settings in a temporary folder and a fixed date, fills a document with all three
// sections and writes a PNG file of every window into FOLDER, then the main window and the
// payment-order dialog once more under a dark palette. With --scaled (run under QT_SCALE_FACTOR=2)
// it writes only the main window and the payment-order dialog, named "-200".
#include "../../tests/support/FakePrompt.h"

#include "app/Clock.h"
#include "calendar/DeliveryCheckView.h"
#include "calendar/FindingsWindow.h"
#include "app/MainForm.h"
#include "app/WidgetPrompt.h"
#include "app/SwedishTranslations.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/OrderFileWriter.h"
#include "rules/Extra.h"
#include "settings/HelpFile.h"
#include "settings/HelpWindow.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"
#include "settings/hh.h"
#include "tools/screenshots/RegisterPicture.h"
#include "tools/screenshots/SampleOrderFile.h"
#include "viewer/ViewerUnit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

const QDate Today(2026, 3, 2);

void settle()
{
    for (int round = 0; round < 3; ++round) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

class Shooter
{
public:
    explicit Shooter(const QString& folder) : m_folder(QDir(folder).absolutePath()) {}

    // Shows the window (never modally), writes its picture and hides it again.
    void shoot(QWidget& window, const QString& name)
    {
        window.show();
        settle();
        const QString path = m_folder.filePath(name);
        if (window.grab().save(path, "PNG")) {
            std::printf("%s (%dx%d)\n", qPrintable(name), window.width(), window.height());
        } else {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(path));
            m_failed = true;
        }
    }

    void fail(const char* reason)
    {
        std::fprintf(stderr, "%s\n", reason);
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    QDir m_folder;
    bool m_failed = false;
};

void storeSettings()
{
    SettingsStore::setPayeeNumbers({SampleOrderFile::customerNumber(), SampleOrderFile::bankgiroNumber()});
    SettingsStore::writePrivateService(true);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

void shootEntryDialogs(Shooter& shooter, TMainForm& mainForm)
{
    OrderDocument& document = mainForm.document();
    mainForm.BtuForm->LoadRow(document.BtuList.row(1), document.PrivateService);
    mainForm.BtuForm->PrivatePayer = document.PrivateService;
    shooter.shoot(*mainForm.BtuForm, QStringLiteral("payment-order-dialog.png"));
    mainForm.BtuForm->hide();

    mainForm.MdgForm->LoadRow(document.MdgList.row(0));
    shooter.shoot(*mainForm.MdgForm, QStringLiteral("mandate-dialog.png"));
    mainForm.MdgForm->hide();

    mainForm.MdgCompForm->LoadRow(ListRow(FormatBankgiroNumber(QStringLiteral("9101011")), {}));
    shooter.shoot(*mainForm.MdgCompForm, QStringLiteral("company-mandate-dialog.png"));
    mainForm.MdgCompForm->hide();

    // The change of a payment order: it shows the most fields.
    const int change = document.MakList.count() - 1;
    mainForm.MakForm->LoadRow(document.MakList.row(change), document.MakList.code(change),
                              document.PrivateService);
    mainForm.MakForm->PrivatePayer = document.PrivateService;
    shooter.shoot(*mainForm.MakForm, QStringLiteral("cancellation-dialog.png"));
    mainForm.MakForm->hide();
}

QPalette darkPalette()
{
    QPalette dark(QColor(53, 53, 57), QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(232, 232, 232));
    dark.setColor(QPalette::Base, QColor(32, 32, 35));
    dark.setColor(QPalette::AlternateBase, QColor(44, 44, 48));
    dark.setColor(QPalette::Text, QColor(232, 232, 232));
    dark.setColor(QPalette::ButtonText, QColor(232, 232, 232));
    dark.setColor(QPalette::Highlight, QColor(64, 110, 190));
    dark.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    return dark;
}

// The main window and the payment-order dialog, their names ending in the given suffix.
void shootMainAndPaymentOrder(Shooter& shooter, TMainForm& mainForm, const QString& suffix)
{
    shooter.shoot(mainForm, QStringLiteral("main-window%1.png").arg(suffix));
    OrderDocument& document = mainForm.document();
    mainForm.BtuForm->LoadRow(document.BtuList.row(1), document.PrivateService);
    mainForm.BtuForm->PrivatePayer = document.PrivateService;
    shooter.shoot(*mainForm.BtuForm, QStringLiteral("payment-order-dialog%1.png").arg(suffix));
    mainForm.BtuForm->hide();
}

void shootSettings(Shooter& shooter, TMainForm& mainForm)
{
    TSettingsForm& form = *mainForm.SettingsForm;
    const PayeeNumbers payee = SettingsStore::payeeNumbers();
    form.KundNrEdit->setText(payee.customerNumber);
    form.BgNrEdit->setText(FormatBankgiroNumber(payee.bankgiroNumber));
    form.ChkPrivat->setChecked(mainForm.document().PrivateService);
    form.ChkComp->setChecked(!mainForm.document().PrivateService);
    shooter.shoot(form, QStringLiteral("settings-dialog.png"));
    form.hide();
}

void shootHelp(Shooter& shooter)
{
    if (!HelpFile::load()) {
        shooter.fail("The help file was not found: build the target valmo_help first.");
        return;
    }
    HelpWindow* help = HelpWindow::open();
    help->showTopic(HelpFile::welcomePage());
    shooter.shoot(*help, QStringLiteral("help-window.png"));
    help->hide();
}

void shootViewer(Shooter& shooter, TMainForm& mainForm, const QString& savedFile)
{
    TViewer& viewer = *mainForm.Viewer;
    if (!viewer.LoadFile(savedFile)) {
        shooter.fail("The viewer could not read the saved file.");
        return;
    }
    shooter.shoot(viewer, QStringLiteral("viewer.png"));
    viewer.hide();
}

// The viewer with one of the bank's example payment specifications, on its structured tab.
// "Kontrollera" on the sample document: what the bank will make of it, seen from the fixed date.
void shootFindings(Shooter& shooter, TMainForm& mainForm)
{
    mainForm.DeliveryCheck->action()->trigger();
    FindingsWindow* window = mainForm.DeliveryCheck->findingsWindow();
    if (!window) {
        shooter.fail("The findings window did not open.");
        return;
    }
    shooter.shoot(*window, QStringLiteral("findings-window.png"));
}

void shootReportViewer(Shooter& shooter, TMainForm& mainForm)
{
    const QString reportFile = QStringLiteral("Betalningsspecifikation 2009-11-10.txt");
    QFile example(QStringLiteral(VALMO_BANK_EXAMPLES "/autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt"));
    if (!example.open(QIODevice::ReadOnly) || !writeFile(reportFile, example.readAll())) {
        shooter.fail("The example report could not be copied.");
        return;
    }
    TViewer& viewer = *mainForm.Viewer;
    if (!viewer.LoadFile(reportFile)) {
        shooter.fail("The viewer could not read the example report.");
        return;
    }
    const QSize size = viewer.size();
    viewer.resize(1100, 620);
    shooter.shoot(viewer, QStringLiteral("report-viewer.png"));
    viewer.hide();
    viewer.resize(size);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Swedish amounts and dates whatever the machine's own locale is.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    QApplication::setApplicationVersion(QStringLiteral(VALMO_VERSION_TEXT));
    InstallSwedishTranslations(application);
    const QStringList arguments = QApplication::arguments();
    const bool scaled = arguments.size() == 3 && arguments[2] == QLatin1String("--scaled");
    if (arguments.size() != 2 && !scaled) {
        std::fprintf(stderr, "usage: valmo-screenshots FOLDER [--scaled]\n");
        return 2;
    }
    QDir().mkpath(arguments[1]);
    Shooter shooter(arguments[1]);

    // Nothing of the user's own settings is read or changed.
    QTemporaryDir settingsFolder;
    QTemporaryDir files;
    SettingsStore::setTestFolder(settingsFolder.path());
    storeSettings();
    // No message box may wait for a click: every one is answered and counts as a failure.
    FakePrompt prompt;
    WidgetPrompt::setStandIn(&prompt);

    // As at the editor's start: the help file, the title, then every window once.
    HelpFile::setSearchFolders({QStringLiteral(VALMO_HELP_FOLDER)});
    LoadHelpViewer();
    QApplication::setApplicationName(QStringLiteral("Lumora Valmo"));
    // The fixed date, ten in the morning: the deadlines in the status bar and the findings lie ahead.
    const FixedClock clock(QDateTime(Today, QTime(10, 0)));
    TMainForm mainForm;
    mainForm.setClock(clock);
    mainForm.createWindows();
    mainForm.resize(1040, 700);
    mainForm.show();
    settle();

    const QString orderFile = files.filePath(QStringLiteral("Valmo 2026-03-02.ag"));
    if (!writeFile(orderFile, SampleOrderFile::bytes(Today))) {
        std::fprintf(stderr, "Could not write the sample order file\n");
        return 1;
    }
    mainForm.openFileAtStart(orderFile);
    settle();
    const OrderDocument& document = mainForm.document();
    if (!prompt.messages.isEmpty() || document.BtuList.count() == 0 || document.MdgList.count() == 0 ||
        document.MakList.count() == 0) {
        for (const FakePrompt::Message& shown : prompt.messages)
            std::fprintf(stderr, "Message: %s\n", qPrintable(shown.text));
        std::fprintf(stderr, "The sample order file did not load into all three sections\n");
        return 1;
    }
    mainForm.selectRow(ListId::Btu, 0);
    if (scaled) {
        shootMainAndPaymentOrder(shooter, mainForm, QStringLiteral("-200"));
        return shooter.failed() || !prompt.messages.isEmpty() ? 1 : 0;
    }
    shooter.shoot(mainForm, QStringLiteral("main-window.png"));

    shootEntryDialogs(shooter, mainForm);
    shootSettings(shooter, mainForm);
    shootHelp(shooter);

    // The viewer shows the document as the editor saves it, dated by the fixed clock. The name is
    // relative to the temporary folder, so the status line shows no folder of this machine.
    QDir::setCurrent(files.path());
    const QString savedFile = QStringLiteral("Valmo 2026-03-02 sparad.ag");
    try {
        SaveOrderFile(savedFile, mainForm.document(), ReadPayeeNumbers(), clock);
    } catch (const std::exception&) {
        shooter.fail("The document could not be saved.");
    }
    shootFindings(shooter, mainForm);
    shootViewer(shooter, mainForm, savedFile);
    shootReportViewer(shooter, mainForm);
    if (!ShootRegisterWindow(files.path(), prompt,
                             [&shooter](QWidget& window, const QString& name) { shooter.shoot(window, name); }))
        shooter.fail("The register window could not be drawn.");

    HelpWindow::closeAll();
    QApplication::setPalette(darkPalette());
    settle();
    shootMainAndPaymentOrder(shooter, mainForm, QStringLiteral("-dark"));
    if (!prompt.messages.isEmpty())
        shooter.fail("A message box came up while the windows were drawn.");
    return shooter.failed() ? 1 : 0;
}
