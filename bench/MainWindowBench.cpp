// The main window with large documents, offscreen: start-up to the first painted window, the time
// from "Öppna fil" on an order file to its lists being populated and painted, peak memory, and what
// UpdateView, selecting and scrolling cost at each size. The order files are written first by the
// save command; the settings live in a temporary folder.
//
//   MainWindowBench [record counts...]     (default: 100000 1000000)

#include "BenchSupport.h"

#include "../tests/support/FakePrompt.h"

#include "app/MainForm.h"
#include "app/RowListModel.h"
#include "app/SwedishTranslations.h"
#include "app/WidgetPrompt.h"
#include "settings/SettingsStore.h"
#include "settings/hh.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Answers the file dialogs; no message box waits for a click.
FakePrompt& benchPrompt()
{
    static FakePrompt prompt;
    return prompt;
}

double milliseconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double megabytes(std::size_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// Seconds since the process started, from the kernel's own accounting (10 ms resolution).
double secondsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 22) {
            startTicks = std::stoull(field);
            break;
        }
    }
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - double(startTicks) / double(sysconf(_SC_CLK_TCK));
}

// Counts the paint events of the visible lists, so a run can wait until they really painted.
class PaintWatcher : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void waitUntilPainted(QWidget* window, PaintWatcher& watcher)
{
    watcher.paints = 0;
    window->update();
    QElapsedTimer limit;
    limit.start();
    while (watcher.paints == 0 && limit.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Writes an order file of `records` records through the window's own save command: mostly
// payment orders, with mandates and cancellations.
QString writeOrderFile(TMainForm& form, int records, const QString& folder)
{
    OrderDocument& doc = form.document();
    doc.Loading = true;
    doc.clearLists();
    const QString debit = QStringLiteral("Debitering");
    const QString period = QStringLiteral("Varje månad med start enligt betaldatum");
    const QString paper = QStringLiteral("Medgivande på papper");
    const QString makText = doc.MakText(25);
    for (int i = 0; i < records; ++i) {
        const QString payer = QString::number(1000000 + i);
        switch (i % 10) {
        case 8:
            doc.MdgList.append(paper,
                               {payer, QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
            break;
        case 9:
            doc.MakList.append(
                QStringLiteral("25"), makText,
                {payer, QStringLiteral("2024-03-05"), QString(), QStringLiteral("125.00"), debit});
            break;
        default:
            doc.BtuList.append(debit, {period, QStringLiteral("2024-03-05"),
                                       QString::number(100 + i % 900) + QStringLiteral(".00"),
                                       QStringLiteral("12"), payer, QStringLiteral("Faktura ") + payer});
        }
    }
    doc.Loading = false;
    doc.DocModified = true;
    const QString path = folder + QStringLiteral("/order-%1.ag").arg(records);
    benchPrompt().saveFileNames = {path};
    if (!form.SparaBtnClick())
        return QString();
    form.NewBtnClick();
    return path;
}

double timeUpdateView(TMainForm& form, int calls)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        form.UpdateView(false);
    return milliseconds(timer) * 1000.0 / calls;
}

struct StartedWindow
{
    double sinceMain;
    double sinceProcessStart;
};

// Starts up as the program does and waits for the first painted window.
StartedWindow startWindow(QApplication& application, TMainForm*& form, PaintWatcher& windowPaints,
                          const QElapsedTimer& sinceMain)
{
    InstallSwedishTranslations(application);
    LoadHelpViewer();
    QApplication::setApplicationName(QStringLiteral("Lumora Valmo"));
    form = new TMainForm;
    form->createWindows();
    form->installEventFilter(&windowPaints);
    form->show();
    waitUntilPainted(form, windowPaints);
    return {milliseconds(sinceMain), secondsSinceProcessStart() * 1000.0};
}

void useTemporarySettings(const QString& folder)
{
    SettingsStore::setTestFolder(folder);
    SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
    WidgetPrompt::setStandIn(&benchPrompt());
}

// One measurement in a fresh process, so peak memory is this file's alone:
// start the window, open the file, wait for the painted lists, then select and scroll.
int measureOpen(QApplication& application, const QString& path, const QString& settings,
                const QElapsedTimer& sinceMain)
{
    useTemporarySettings(settings);
    TMainForm* form = nullptr;
    PaintWatcher windowPaints;
    const StartedWindow started = startWindow(application, form, windowPaints, sinceMain);
    const std::size_t afterStart = CurrentResidentBytes();
    const double emptyUpdate = timeUpdateView(*form, 20000);
    PaintWatcher listPaints;
    for (QTreeView* list : {form->BtuList, form->MdgList, form->MakList})
        list->viewport()->installEventFilter(&listPaints);

    QElapsedTimer timer;
    timer.start();
    benchPrompt().openFileNames = {path};
    form->OpenBtnClick();
    const double opened = milliseconds(timer);
    waitUntilPainted(form, listPaints);
    const double painted = milliseconds(timer);
    const OrderDocument& doc = form->document();
    const int rows = doc.BtuList.count() + doc.MdgList.count() + doc.MakList.count();
    if (rows == 0) {
        std::printf("  the file was not loaded\n");
        return 1;
    }

    std::printf("%d records (%.1f MB file)\n", rows, double(QFileInfo(path).size()) / (1024.0 * 1024.0));
    std::printf("  start-up to first painted window:      %8.1f ms since main, %.0f ms since process start\n",
                started.sinceMain, started.sinceProcessStart);
    std::printf("  open command (read, fill, UpdateView): %8.1f ms\n", opened);
    std::printf("  lists populated and painted:           %8.1f ms (the window's share %.1f ms)\n", painted,
                painted - opened);
    std::printf("  peak resident: %.1f MB, %.1f MB after start-up (%.0f bytes a record above it)\n",
                megabytes(PeakResidentBytes()), megabytes(afterStart),
                double(PeakResidentBytes() - afterStart) / rows);
    std::printf("  UpdateView: %.2f us per call (empty document: %.2f us)\n", timeUpdateView(*form, 20000),
                emptyUpdate);

    timer.restart();
    form->BtuList->setFocus();
    form->selectRow(ListId::Btu, doc.BtuList.count() - 1);
    waitUntilPainted(form, listPaints);
    std::printf("  select the last row and paint:         %8.2f ms\n", milliseconds(timer));
    timer.restart();
    QScrollBar* bar = form->BtuList->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    waitUntilPainted(form, listPaints);
    std::printf("  scroll to the middle and paint:        %8.2f ms\n", milliseconds(timer));
    timer.restart();
    form->BtuList->sortByColumn(3, Qt::AscendingOrder);
    waitUntilPainted(form, listPaints);
    std::printf("  sort the payment orders by amount:     %8.2f ms\n", milliseconds(timer));
    timer.restart();
    form->SearchEdit->setText(QStringLiteral("Faktura 1000017"));
    waitUntilPainted(form, windowPaints);
    std::printf("  search all lists and paint:            %8.2f ms\n", milliseconds(timer));
    timer.restart();
    form->SearchEdit->clear();
    waitUntilPainted(form, windowPaints);
    std::printf("  clear the search and paint:            %8.2f ms\n", milliseconds(timer));
    timer.restart();
    form->NewBtnClick();
    waitUntilPainted(form, windowPaints);
    std::printf("  new file (empty the lists) and paint:  %8.2f ms\n", milliseconds(timer));
    delete form;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QStringLiteral("--open"))
        return measureOpen(application, arguments[2], arguments[3], sinceMain);

    QList<int> sizes;
    for (int i = 1; i < arguments.size(); ++i)
        sizes.append(arguments[i].toInt());
    if (sizes.isEmpty())
        sizes = {100000, 1000000};

    QTemporaryDir folder;
    useTemporarySettings(folder.path());
    TMainForm* form = nullptr;
    PaintWatcher windowPaints;
    startWindow(application, form, windowPaints, sinceMain);
    QStringList files;
    for (int records : sizes) {
        const QString path = writeOrderFile(*form, records, folder.path());
        if (path.isEmpty()) {
            std::printf("%d records: the order file could not be written\n", records);
            return 1;
        }
        files.append(path);
    }
    delete form;

    for (const QString& path : files) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        child.start(QApplication::applicationFilePath(), {QStringLiteral("--open"), path, folder.path()});
        if (!child.waitForFinished(300000) || child.exitCode() != 0) {
            std::printf("measuring %s failed\n", qPrintable(path));
            return 1;
        }
        std::fflush(stdout);
        std::printf("\n");
    }
    return 0;
}
