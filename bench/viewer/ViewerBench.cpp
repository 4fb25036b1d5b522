// Loads report files of growing size into the viewer and prints the time and memory it takes.
// Runs without a display (offscreen).
#include "BenchSupport.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray ReportBytes(int lines)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 82);
    for (int i = 0; i < lines; ++i) {
        QByteArray line = "82" + QByteArray::number(20261208) + "    " + QByteArray::number(1000000 + i) +
                          " Betalning \xe5terrapport";
        line = line.leftJustified(80, ' ');
        bytes += line + "\r\n";
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    TViewer viewer;

    std::printf("%10s %12s %10s %14s\n", "lines", "file bytes", "load ms", "peak MB added");
    for (const int lines : {1000, 10000, 100000, 300000}) {
        const QString path = folder.filePath(QStringLiteral("report.txt"));
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return 1;
            file.write(ReportBytes(lines));
        }
        viewer.LoadFile(QString());
        viewer.memo()->clear();
        ResetPeakResident();
        const std::size_t before = CurrentResidentBytes();
        QElapsedTimer timer;
        timer.start();
        if (!viewer.LoadFile(path))
            return 1;
        const qint64 elapsed = timer.elapsed();
        std::printf("%10d %12lld %10lld %14.1f\n", lines, static_cast<long long>(QFile(path).size()),
                    static_cast<long long>(elapsed),
                    double(PeakResidentBytes() - before) / (1024.0 * 1024.0));
    }
    return 0;
}
