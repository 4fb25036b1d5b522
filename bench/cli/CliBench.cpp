// Times `valmo-cli write` and `valmo-cli read` on documents of 1 000 000 records, as whole
// programs (start-up, JSON, the core writer or reader, output), and prints their peak memory.

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>

namespace {

// A mixed document: payment orders, mandates and changes in the proportions of a real file.
void fillDocument(OrderDocument& document, int records)
{
    document.FillMakTexts();
    for (int i = 0; i < records; ++i) {
        const QString payer = QString::number(100000 + i);
        switch (i % 10) {
        case 0:
            document.MdgList.append(QStringLiteral("Medgivande på papper"),
                                    {payer, QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
            break;
        case 1:
            document.MakList.append(QStringLiteral("25"), document.MakText(25),
                                    {payer, QStringLiteral("2024-03-05"), QString(), QStringLiteral("99,50"),
                                     QStringLiteral("Debitering")});
            break;
        default:
            document.BtuList.append(QStringLiteral("Debitering"),
                                    {QStringLiteral("Sista bankdagen varje månad"), QStringLiteral("2024-03-05"),
                                     QStringLiteral("1234,50"), QStringLiteral("12"), payer,
                                     QStringLiteral("Faktura %1").arg(i)});
        }
    }
}

struct Measured
{
    double seconds = 0;
    long peakKiB = 0;
    int status = -1;
};

Measured runCli(const QStringList& args, const QString& config, const QString& stdoutFile)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(stdoutFile.isEmpty() ? QProcess::nullDevice() : stdoutFile);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(VALMO_CLI_PATH), args);
    process.waitForFinished(-1);
    Measured measured;
    measured.seconds = timer.nsecsElapsed() / 1e9;
    measured.status = process.exitCode();
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage); // the largest child so far: runs go from small to large
    measured.peakKiB = usage.ru_maxrss;
    return measured;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const QString config = folder.filePath(QStringLiteral("config"));
    std::printf("%-10s %-6s %10s %14s %12s\n", "records", "cmd", "seconds", "records/s", "peak MiB");
    for (const int records : {100000, 1000000}) {
        OrderDocument document;
        fillDocument(document, records);
        const QString json = folder.filePath(QStringLiteral("doc.json"));
        QFile out(json);
        out.open(QIODevice::WriteOnly);
        out.write(DocumentToJson(document, {}));
        out.close();

        const QString file = folder.filePath(QStringLiteral("orders.ag"));
        const Measured write = runCli({QStringLiteral("write"), json, QStringLiteral("-o"), file,
                                       QStringLiteral("--customer"), QStringLiteral("123456"),
                                       QStringLiteral("--bankgiro"), QStringLiteral("12345674"),
                                       QStringLiteral("--date"), QStringLiteral("2024-03-01")},
                                      config, QString());
        const Measured read = runCli({QStringLiteral("read"), file, QStringLiteral("--service"),
                                      QStringLiteral("Privat")},
                                     config, folder.filePath(QStringLiteral("read.json")));
        for (const auto& [name, m] : {std::pair{"write", write}, std::pair{"read", read}}) {
            std::printf("%-10d %-6s %10.3f %14.0f %12.1f%s\n", records, name, m.seconds, records / m.seconds,
                        m.peakKiB / 1024.0, m.status == 0 ? "" : "  (failed)");
        }
    }
    return 0;
}
