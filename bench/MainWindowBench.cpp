// The main window with large documents, offscreen: start-up to the first painted window, the time
// from reading a document to its lists being populated and painted, peak memory, and what
// UpdateView, selecting and scrolling cost at each size.
//
//   MainWindowBench [record counts...]     (default: 100000 1000000)

#include "BenchSupport.h"

#include "app/MainForm.h"
#include "app/RowListModel.h"
#include "app/SwedishTranslations.h"
#include "settings/hh.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTreeView>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

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

// A document like one read from an order file of `records` records: mostly payment orders, with
// mandates and cancellations, filled the way the open command fills it.
void fillDocument(TMainForm& form, int records)
{
    OrderDocument& doc = form.document();
    doc.Loading = true;
    form.showStartSection();
    doc.clearLists();
    const QString debit = QStringLiteral("Debitering");
    const QString period = QStringLiteral("Varje månad med start enligt betaldatum");
    const QString paper = QStringLiteral("Medgivande på papper");
    const QString makText = doc.MakText(25);
    for (int i = 0; i < records; ++i) {
        const QString payer = QString::number(1000000 + i);
        switch (i % 10) {
        case 8:
            doc.MdgList.append(paper, {payer, QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
            break;
        case 9:
            doc.MakList.append(QStringLiteral("25"), makText,
                               {payer, QStringLiteral("2024-03-05"), QString(), QStringLiteral("125.00"), debit});
            break;
        default:
            doc.BtuList.append(debit, {period, QStringLiteral("2024-03-05"), QString::number(100 + i % 900) +
                                                                                 QStringLiteral(".00"),
                                       QStringLiteral("12"), payer, QStringLiteral("Faktura ") + payer});
        }
    }
    doc.Loading = false;
    doc.CurrentFile = QStringLiteral("order.ag");
    form.UpdateView(true);
    form.UpdateView(true);
}

double timeUpdateView(TMainForm& form, int calls)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < calls; ++i)
        form.UpdateView(false);
    return milliseconds(timer) * 1000.0 / calls;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {100000, 1000000};

    // The same start-up as the program's own.
    InstallSwedishTranslations(application);
    LoadHelpViewer();
    QApplication::setApplicationName(QStringLiteral("Lumora Valmo"));
    TMainForm form;
    form.createWindows();
    PaintWatcher windowPaints;
    form.installEventFilter(&windowPaints);
    form.show();
    waitUntilPainted(&form, windowPaints);
    std::printf("start-up to first painted window: %.1f ms since main (%.0f ms since process start)\n",
                milliseconds(sinceMain), secondsSinceProcessStart() * 1000.0);
    std::printf("resident after start-up: %.1f MB\n", megabytes(CurrentResidentBytes()));
    const double emptyUpdate = timeUpdateView(form, 20000);
    std::printf("UpdateView, empty document: %.2f us per call\n\n", emptyUpdate);

    PaintWatcher listPaints;
    for (QTreeView* list : {form.BtuList, form.MdgList, form.MakList})
        list->viewport()->installEventFilter(&listPaints);

    for (int records : sizes) {
        ResetPeakResident();
        const std::size_t before = CurrentResidentBytes();
        QElapsedTimer timer;
        timer.start();
        fillDocument(form, records);
        const double filled = milliseconds(timer);
        const std::size_t rowsOnly = CurrentResidentBytes();
        waitUntilPainted(&form, listPaints);
        const double painted = milliseconds(timer);

        std::printf("%d records\n", records);
        std::printf("  rows appended with Loading set:        %8.1f ms\n", filled);
        std::printf("  lists populated and painted:           %8.1f ms (window share %.1f ms)\n", painted,
                    painted - filled);
        std::printf("  peak resident: %.1f MB (%.1f MB above the window before; %.0f bytes a record)\n",
                    megabytes(PeakResidentBytes()), megabytes(PeakResidentBytes() - before),
                    double(PeakResidentBytes() - before) / records);
        std::printf("  the window's own share: %.1f MB (%.0f bytes a record)\n",
                    megabytes(CurrentResidentBytes() - rowsOnly), double(CurrentResidentBytes() - rowsOnly) / records);
        std::printf("  UpdateView: %.2f us per call (empty document: %.2f us)\n", timeUpdateView(form, 20000),
                    emptyUpdate);

        timer.restart();
        form.BtuList->setFocus();
        form.selectRow(ListId::Btu, form.document().BtuList.count() - 1);
        waitUntilPainted(&form, listPaints);
        std::printf("  select the last row and paint:         %8.2f ms\n", milliseconds(timer));
        timer.restart();
        QScrollBar* bar = form.BtuList->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        waitUntilPainted(&form, listPaints);
        std::printf("  scroll to the middle and paint:        %8.2f ms\n", milliseconds(timer));
        timer.restart();
        form.BtuList->model()->index(0, 0);
        form.NewBtnClick();
        waitUntilPainted(&form, windowPaints);
        std::printf("  new file (empty the lists) and paint:  %8.2f ms\n\n", milliseconds(timer));
    }
    return 0;
}
