// Reads order files of 10 000, 100 000 and 1 000 000 records (every record kind, both mandate
// forms, all cancellation codes) into the document and prints records per second, peak memory and
// memory per row.

#include "BenchSupport.h"

#include "app/OrderDocument.h"
#include "format/OpeningRecordLog.h"
#include "format/OrderFileReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray field(qint64 value, int width)
{
    return QByteArray::number(value).rightJustified(width, '0', true);
}

QByteArray padded(QByteArray line)
{
    return line.leftJustified(80, ' ', true) + "\r\n";
}

QByteArray opening()
{
    return padded("0120240305AUTOGIRO" + QByteArray(44, ' ') + "123456" + "0055555555");
}

QByteArray date(int i)
{
    return "2024" + field(1 + i % 12, 2) + field(1 + i % 28, 2);
}

QByteArray mandate(int i)
{
    QByteArray account;
    switch (i % 3) {
    case 0:
        account = field(5000, 4) + field(1234567 + i, 12); // paper
        break;
    case 1:
        account = "000" + field(9918000000000LL + i, 13); // electronic
        break;
    default:
        account = field(i, 16); // electronic, leading zero
        break;
    }
    QByteArray line = "04" + field(55555555, 10) + field(100000 + i, 16) + account + "19" +
                      field(50 + i % 50, 2) + field(1 + i % 12, 2) + field(1 + i % 28, 2) +
                      field(i % 10000, 4);
    line = line.leftJustified(76, ' ');
    if (i % 7 == 0)
        line += "AV";
    return padded(line);
}

QByteArray mandateCancellation(int i)
{
    return padded("03" + field(55555555, 10) + field(200000 + i, 16));
}

QByteArray payment(int i)
{
    const bool oneOff = i % 4 == 0;
    return padded((i % 5 == 0 ? "32" : "82") + date(i) + field(i % 9, 1) +
                  (oneOff ? QByteArray("    ") : field(1 + i % 120, 3) + " ") + field(300000 + i, 16) +
                  field(100 + i * 37LL % 10000000, 12) + field(55555555, 10) + QByteArray("Faktura ") +
                  QByteArray::number(i % 100000));
}

QByteArray change(int i)
{
    const int code = 23 + i % 7;
    const bool hasDate = code != 23 && code != 26;
    const bool hasNewDate = code >= 26;
    const bool hasAmount = code == 25 || code == 29;
    return padded(field(code, 2) + field(55555555, 10) +
                  (code == 26 || code == 27 ? field(0, 16) : field(400000 + i, 16)) +
                  (hasDate ? date(i) : QByteArray(8, ' ')) +
                  (hasAmount ? field(9950 + i, 12) : QByteArray(12, ' ')) +
                  (hasAmount ? QByteArray(i % 2 ? "82" : "32") : QByteArray("  ")) +
                  (hasNewDate ? date(i + 3) : QByteArray(8, ' ')));
}

// A file of about `records` records in three sections: a quarter mandates (one in ten of them a
// cancellation), half payment orders, a quarter cancellations and changes.
int writeFile(const QString& path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    const int mandates = records / 4;
    const int payments = records / 2;
    const int changes = records - mandates - payments - 3;
    int written = 0;
    QByteArray chunk;
    auto flush = [&](bool force) {
        if (force || chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    };
    chunk += opening();
    for (int i = 0; i < mandates; ++i, ++written, flush(false))
        chunk += i % 10 == 9 ? mandateCancellation(i) : mandate(i);
    chunk += opening();
    for (int i = 0; i < payments; ++i, ++written, flush(false))
        chunk += payment(i);
    chunk += opening();
    for (int i = 0; i < changes; ++i, ++written, flush(false))
        chunk += change(i);
    flush(true);
    return written + 3;
}

void measure(const QString& path, int records)
{
    malloc_trim(0);
    const std::size_t before = CurrentResidentBytes();
    ResetPeakResident();

    double best = 1e9;
    double bestCpu = 1e9;
    int rows = 0;
    std::size_t peak = 0;
    std::size_t held = 0;
    for (int round = 0; round < 3; ++round) {
        auto document = std::make_unique<OrderDocument>();
        document->FillMakTexts();
        OpeningRecordLog log;
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QElapsedTimer timer;
        const double cpuStart = cpuSeconds();
        timer.start();
        const ReadVerdict verdict = OrderFileReader(*document, log).read(file);
        const double seconds = timer.nsecsElapsed() / 1e9;
        bestCpu = std::min(bestCpu, cpuSeconds() - cpuStart);
        if (!verdict.loaded()) {
            std::printf("reading failed at line %d: %s\n", verdict.lineNumber, qPrintable(verdict.message));
            return;
        }
        best = std::min(best, seconds);
        if (round == 0) {
            peak = PeakResidentBytes() - before;
            held = CurrentResidentBytes() - before;
            rows = document->BtuList.count() + document->MdgList.count() + document->MakList.count();
        }
        document.reset();
        malloc_trim(0);
    }
    std::printf("%9d records  %6.3f s (cpu %6.3f s)  %9.0f records/s  peak +%6.1f MB  %4.0f bytes/row peak  "
                "%4.0f bytes/row held\n",
                records, best, bestCpu, records / best, peak / 1e6, double(peak) / rows, double(held) / rows);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    QTemporaryDir folder;
    std::printf("Reading order files into the document (best of 3; memory of the first read)\n");
    for (const int size : {10000, 100000, 1000000}) {
        const QString path = folder.filePath(QStringLiteral("bench.ag"));
        const int records = writeFile(path, size);
        measure(path, records);
    }
    return 0;
}
