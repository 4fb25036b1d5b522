// Reads payment specifications of growing size and shows them in the viewer; prints the time the
// parser takes, the time from LoadFile to a painted window, and the memory added. Offscreen.
#include "BenchSupport.h"
#include "format/ReportParser.h"
#include "viewer/ReportView.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray Line(QByteArray text)
{
    return text.leftJustified(80, ' ') + "\r\n";
}

// A new-layout Betalningsspecifikation: one deposit, `items` paid debits, the totals record.
QByteArray PaymentReport(int items)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(items + 3) * 82);
    bytes += Line("01AUTOGIRO              20261208101010123456BET. SPEC & STOPP TK4711170009912346");
    bytes += Line("150000000000000000000890100323232323220261208000010000000" +
                  QByteArray::number(qint64(items) * 12500).rightJustified(11, '0') + "   " +
                  QByteArray::number(items).rightJustified(8, '0'));
    for (int i = 0; i < items; ++i)
        bytes += Line("82202612080    " + QByteArray::number(100000 + i).rightJustified(16, '0') +
                      "0000000125000009912346FAKTURA" + QByteArray::number(i).rightJustified(9, '0') +
                      "          0");
    bytes += Line("0920261208990000000100000" + QByteArray::number(items).rightJustified(7, '0') +
                  "000000000000000000000000000000000000");
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    TViewer viewer;

    std::printf("%10s %12s %10s %16s %14s %8s\n", "items", "file bytes", "parse ms", "load+show ms",
                "peak MB added", "agree");
    for (const int items : {1000, 10000, 100000}) {
        const QByteArray bytes = PaymentReport(items);
        const QString path = folder.filePath(QStringLiteral("rapport.txt"));
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return 1;
            file.write(bytes);
        }
        QElapsedTimer parseTimer;
        parseTimer.start();
        const ReportFile parsed = ReportParser::parse(bytes);
        const qint64 parseMs = parseTimer.elapsed();
        const bool agree = !parsed.reports.isEmpty() && parsed.reports.first().totals &&
                           parsed.reports.first().totals->agree() &&
                           parsed.reports.first().warnings.isEmpty();

        viewer.hide();
        viewer.LoadFile(QString());
        ResetPeakResident();
        const std::size_t before = CurrentResidentBytes();
        QElapsedTimer timer;
        timer.start();
        if (!viewer.LoadFile(path))
            return 1;
        viewer.show();
        viewer.reportView()->table()->repaint();
        QApplication::processEvents();
        const qint64 shownMs = timer.elapsed();
        std::printf("%10d %12lld %10lld %16lld %14.1f %8s\n", items, static_cast<long long>(bytes.size()),
                    static_cast<long long>(parseMs), static_cast<long long>(shownMs),
                    double(PeakResidentBytes() - before) / (1024.0 * 1024.0), agree ? "ja" : "NEJ");
    }
    return 0;
}
