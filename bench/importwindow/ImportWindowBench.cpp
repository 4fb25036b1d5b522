// "Importera..." in the main window, offscreen: a CSV file of payment orders read, checked (with the
// progress bar from 2 000 rows), appended and the window painted again.
//
//   ImportWindowBench [row counts...]     (default: 10000 100000)

#include "BenchSupport.h"

#include "app/ImportCommand.h"
#include "app/MainForm.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>

#include <QFile>
#include <QTemporaryDir>
#include <ctime>

#include <cstdio>

namespace {

void writeCsv(const QString& path, int rows)
{
    QByteArray csv = "\xEF\xBB\xBFKund;Betalarnummer;Belopp;Betalningsdatum;Periodicitet;Antal;Referens\r\n";
    for (int i = 0; i < rows; ++i)
        csv += "\"Kund " + QByteArray::number(i) + "\";" + QByteArray::number(100000 + i) + ";" +
               QByteArray::number(1 + i % 20000) + " 250,50;2027-03-15;Engångsbetalning;1;Faktura " +
               QByteArray::number(i) + "\r\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(csv);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    QTemporaryDir folder;
    SettingsStore::setTestFolder(folder.path());
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QByteArray(argv[i]).toInt();
    if (counts.isEmpty())
        counts = {10000, 100000};
    std::printf("Importera... into an empty main window (offscreen), to the window painted again\n");
    for (const int rows : counts) {
        const QString path = folder.filePath(QStringLiteral("import.csv"));
        writeCsv(path, rows);
        TMainForm form;
        form.show();
        QApplication::processEvents();
        ResetPeakResident();
        const std::size_t before = CurrentResidentBytes();
        ImportCommand command(form.document(), form, form.prompt(), &form);
        QElapsedTimer timer;
        timer.start();
        timespec cpuStart{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
        const bool imported = command.importFile(path);
        form.repaint();
        QApplication::processEvents();
        const double seconds = timer.nsecsElapsed() / 1e9;
        timespec cpuEnd{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
        const double cpu = (cpuEnd.tv_sec - cpuStart.tv_sec) + (cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e9;
        std::printf("%8d rows  %s  %6.3f s (cpu %6.3f s)  %9.0f rows/s  peak +%6.1f MB\n", rows,
                    imported ? "imported" : "FAILED  ", seconds, cpu, rows / seconds,
                    (PeakResidentBytes() > before ? PeakResidentBytes() - before : 0) / 1e6);
        form.document().DocModified = false;
    }
    return 0;
}
