// The main window with large documents, offscreen: start-up to the first painted window, the time
// from "Öppna fil" on an order file to its lists being populated and painted, peak memory, and what
// UpdateView, selecting and scrolling cost at each size. Then every editing action on the payment
// orders, each run several times (median and best): opening, sorting by each column, searching and
// clearing the search, selecting all, deleting 10 000 selected rows, undo and redo, the totals and
// adding one row through its dialog. The order files are written first by the save command; the
// settings live in a temporary folder.
//
//   MainWindowBench [record counts...]     (default: 100000 1000000)
//   VALMO_BENCH_RUNS=n                      runs per action (default 5)

#include "BenchSupport.h"

#include "../tests/support/FakePrompt.h"

#include "app/ListTotals.h"
#include "app/MainForm.h"
#include "app/RowListModel.h"
#include "app/SwedishTranslations.h"
#include "app/WidgetPrompt.h"
#include "dialogs/BtuUnit.h"
#include "rules/NumberEdit.h"
#include "settings/SettingsStore.h"
#include "settings/hh.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

int runsPerAction()
{
    const int runs = qEnvironmentVariableIntValue("VALMO_BENCH_RUNS");
    return runs > 0 ? runs : 5;
}

// An action too slow to repeat within reason is run once.
constexpr double RepeatBelowMs = 20000.0;

// Runs `prepare` (untimed) and then `action` (timed, returned in ms) several times and prints
// the median and the best run.
void measureAction(const char* label, const std::function<void()>& prepare,
                   const std::function<double()>& action)
{
    std::vector<double> runs;
    std::vector<double> processor; // the process's processor time: what a quiet machine would take
    for (int run = 0; run < runsPerAction(); ++run) {
        if (prepare)
            prepare();
        const std::clock_t start = std::clock();
        runs.push_back(action());
        processor.push_back(1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC);
        if (runs.back() > RepeatBelowMs)
            break;
    }
    std::sort(runs.begin(), runs.end());
    std::sort(processor.begin(), processor.end());
    std::printf("  %-44s median %9.2f ms   best %9.2f ms   processor median %9.2f ms   (%zu runs)\n", label,
                runs[runs.size() / 2], runs.front(), processor[processor.size() / 2], runs.size());
    std::fflush(stdout);
}

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
    // A weekday two months ahead: the check before saving finds the dates in time, as in a file
    // put together for delivery.
    QDate day = QDate::currentDate().addMonths(2);
    while (day.dayOfWeek() > 5)
        day = day.addDays(1);
    const QString paymentDate = day.toString(QStringLiteral("yyyy-MM-dd"));
    for (int i = 0; i < records; ++i) {
        const QString payer = QString::number(1000000 + i);
        switch (i % 10) {
        case 8:
            doc.MdgList.append(paper,
                               {payer, QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
            break;
        case 9:
            doc.MakList.append(QStringLiteral("25"), makText,
                               {payer, paymentDate, QString(), QStringLiteral("125.00"), debit});
            break;
        default:
            doc.BtuList.append(debit,
                               {period, paymentDate, QString::number(100 + i % 900) + QStringLiteral(".00"),
                                QStringLiteral("12"), payer, QStringLiteral("Faktura ") + payer});
        }
    }
    doc.Loading = false;
    doc.DocModified = true;
    const QString path = folder + QStringLiteral("/order-%1.ag").arg(records);
    benchPrompt().saveFileNames = {path};
    // Should the check before saving ask all the same (a holiday), "Spara ändå" saves.
    benchPrompt().answers = {UserPrompt::Answer::Yes};
    QElapsedTimer timer;
    timer.start();
    const std::clock_t processorStart = std::clock();
    const bool saved = form.SparaBtnClick();
    std::printf("%d records: saved (checked and written) in %.1f ms, processor %.1f ms\n", records,
                milliseconds(timer), 1000.0 * double(std::clock() - processorStart) / CLOCKS_PER_SEC);
    std::fflush(stdout);
    if (!saved) {
        for (const QString& text : benchPrompt().texts())
            std::printf("  %s\n", qPrintable(text));
        return QString();
    }
    benchPrompt().clear();
    form.NewBtnClick();
    return path;
}

// At most `calls` calls, and no more than a few seconds of them.
double timeUpdateView(TMainForm& form, int calls)
{
    QElapsedTimer timer;
    timer.start();
    int made = 0;
    while (made < calls && (made < 10 || timer.elapsed() < 3000)) {
        form.UpdateView(false);
        ++made;
    }
    return milliseconds(timer) * 1000.0 / made;
}

// Sorts the payment orders by each column in turn, from the document's order.
void measureSorting(TMainForm& form, PaintWatcher& paints)
{
    QTreeView* list = form.BtuList;
    const QAbstractItemModel* rows = list->model();
    for (int column = 0; column < rows->columnCount(); ++column) {
        const QString label =
            QStringLiteral("sort by %1").arg(rows->headerData(column, Qt::Horizontal).toString());
        measureAction(
            label.toUtf8().constData(), [list] { list->sortByColumn(-1, Qt::AscendingOrder); },
            [&] {
                QElapsedTimer timer;
                timer.start();
                list->sortByColumn(column, Qt::AscendingOrder);
                waitUntilPainted(&form, paints);
                return milliseconds(timer);
            });
    }
    list->sortByColumn(-1, Qt::AscendingOrder);
}

void measureSearch(TMainForm& form, PaintWatcher& paints)
{
    const QString text = QStringLiteral("Faktura 1000017");
    measureAction(
        "type one more character of a search", [&] { form.SearchEdit->setText(text.left(text.size() - 1)); },
        [&] {
            QElapsedTimer timer;
            timer.start();
            form.SearchEdit->setText(text);
            return milliseconds(timer);
        });
    form.SearchEdit->clear();
    measureAction(
        "search all lists and paint", [&] { form.SearchEdit->clear(); },
        [&] {
            QElapsedTimer timer;
            timer.start();
            form.SearchEdit->setText(text);
            form.searchNow();
            waitUntilPainted(&form, paints);
            return milliseconds(timer);
        });
    measureAction(
        "clear the search and paint",
        [&] {
            form.SearchEdit->setText(text);
            form.searchNow();
        },
        [&] {
            QElapsedTimer timer;
            timer.start();
            form.SearchEdit->clear();
            waitUntilPainted(&form, paints);
            return milliseconds(timer);
        });
}

void selectFirstRows(QTreeView* list, int count)
{
    const QAbstractItemModel* rows = list->model();
    const int last = qMin(count, rows->rowCount()) - 1;
    list->selectionModel()->select(
        QItemSelection(rows->index(0, 0), rows->index(last, rows->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->selectionModel()->setCurrentIndex(rows->index(0, 0), QItemSelectionModel::NoUpdate);
}

// Deletes the first 10 000 rows shown while the list is sorted by amount, so they lie scattered
// through the document; then undoes and redoes the deletion.
void measureDeleteUndoRedo(TMainForm& form, PaintWatcher& paints)
{
    constexpr int Deleted = 10000;
    QTreeView* list = form.BtuList;
    list->sortByColumn(3, Qt::AscendingOrder);
    const int before = form.document().BtuList.count();
    const auto timed = [&](const std::function<void()>& action) {
        QElapsedTimer timer;
        timer.start();
        action();
        waitUntilPainted(&form, paints);
        return milliseconds(timer);
    };
    measureAction(
        "select all and paint", [list] { list->clearSelection(); },
        [&] { return timed([list] { list->selectAll(); }); });
    measureAction(
        "delete 10 000 selected rows and paint",
        [&] {
            form.activateWindow();
            list->setFocus();
            QApplication::processEvents();
            selectFirstRows(list, Deleted);
        },
        [&] {
            const double ms = timed([&] { form.DelBtnClick(); });
            if (form.document().BtuList.count() != before - qMin(Deleted, before))
                std::printf("  (the rows were not deleted)\n");
            form.undoStack()->undo();
            return ms;
        });
    form.DelBtnClick();
    measureAction("undo the deletion and paint", nullptr, [&] {
        const double ms = timed([&] { form.UndoAction->trigger(); });
        if (form.document().BtuList.count() != before)
            std::printf("  (the rows were not restored)\n");
        form.undoStack()->redo();
        return ms;
    });
    measureAction(
        "redo the deletion and paint", [&] { form.undoStack()->undo(); },
        [&] { return timed([&] { form.RedoAction->trigger(); }); });
    form.undoStack()->undo();
    list->sortByColumn(-1, Qt::AscendingOrder);
}

void measureTotals(TMainForm& form)
{
    const OrderDocument& doc = form.document();
    measureAction("the totals of the payment orders", nullptr, [&] {
        QElapsedTimer timer;
        timer.start();
        const QString text = ListTotals::of(doc.BtuList, 0, 3).text();
        const double ms = milliseconds(timer);
        return text.isEmpty() ? -1.0 : ms;
    });
}

// One payment order through its dialog; timed from OK to the painted list.
void measureAddRow(TMainForm& form, PaintWatcher& paints)
{
    measureAction("add one row (OK in its dialog) and paint", nullptr, [&] {
        QElapsedTimer timer;
        QTimer::singleShot(0, form.BtuForm, [&] {
            form.BtuForm->BetalarEdit->setText(QStringLiteral("4711"));
            form.BtuForm->BeloppEdit->setValue(100);
            timer.start();
            form.BtuForm->SaveBtnClick();
            if (form.BtuForm->isVisible()) {
                std::printf("  (the dialog refused the row)\n");
                form.BtuForm->reject();
            }
        });
        form.BtuBtnClick();
        waitUntilPainted(&form, paints);
        return timer.isValid() ? milliseconds(timer) : -1.0;
    });
}

void measureReopen(TMainForm& form, const QString& path, PaintWatcher& paints)
{
    measureAction("open the file, lists populated and painted", nullptr, [&] {
        form.document().DocModified = false;
        QElapsedTimer timer;
        timer.start();
        benchPrompt().openFileNames = {path};
        form.OpenBtnClick();
        waitUntilPainted(&form, paints);
        return milliseconds(timer);
    });
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
    const std::clock_t processorStart = std::clock();
    benchPrompt().openFileNames = {path};
    form->OpenBtnClick();
    const double opened = milliseconds(timer);
    const double openedProcessor = 1000.0 * double(std::clock() - processorStart) / CLOCKS_PER_SEC;
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
    std::printf("  open command (read, fill, UpdateView): %8.1f ms, processor %.1f ms\n", opened,
                openedProcessor);
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
    form->searchNow(); // not waiting for the pause in typing
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

    std::printf("  every action, %d runs each (the machine may be shared: medians, not single runs)\n",
                runsPerAction());
    measureReopen(*form, path, windowPaints);
    measureSorting(*form, windowPaints);
    measureSearch(*form, windowPaints);
    measureDeleteUndoRedo(*form, windowPaints);
    measureTotals(*form);
    measureAddRow(*form, windowPaints);
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
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::printf("measuring %s failed\n", qPrintable(path));
            return 1;
        }
        std::fflush(stdout);
        std::printf("\n");
    }
    return 0;
}
