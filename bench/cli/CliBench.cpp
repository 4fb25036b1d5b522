// Times `valmo-cli write`, `read` and `check` on documents of 100 000 and 1 000 000 records, as
// whole programs (start-up, JSON, the core writer or reader, output), and prints their peak memory.
// On a busy machine the wall-clock time waits for the processor; the processor time does not.
// Each command runs five times: the median and the best of the runs are printed, since a virtual
// machine's neighbours make single runs vary by half.
// Given a folder, the bench leaves its documents there (doc.json, orders.ag) for a profiler.

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;

// A mixed document: payment orders, mandates and changes in the proportions of a real file.
void fillDocument(OrderDocument& document, int records)
{
    document.FillMakTexts();
    for (int i = 0; i < records; ++i) {
        const QString payer = QString::number(100000 + i);
        switch (i % 10) {
        case 0:
            document.MdgList.append(QStringLiteral("Medgivande på papper"),
                                    {payer, QStringLiteral("5000-1234560"), QStringLiteral("19800101-1231")});
            break;
        case 1:
            document.MakList.append(QStringLiteral("25"), document.MakText(25),
                                    {payer, QStringLiteral("2024-03-05"), QString(), QStringLiteral("99,50"),
                                     QStringLiteral("Debitering")});
            break;
        default:
            document.BtuList.append(QStringLiteral("Debitering"),
                                    {QStringLiteral("Sista bankdagen varje månad"),
                                     QStringLiteral("2024-03-05"), QStringLiteral("1234,50"),
                                     QStringLiteral("12"), payer, QStringLiteral("Faktura %1").arg(i)});
        }
    }
}

struct Measured
{
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
    int status = -1;
};

// Runs the program with standard output into stdoutFile (or nowhere), and takes its own peak
// memory from wait4: the figures of one run never mix with those of another.
Measured runCli(const QStringList& args, const QString& stdoutFile)
{
    QByteArrayList storage{QByteArray(VALMO_CLI_PATH)};
    for (const QString& arg : args)
        storage.append(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : storage)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const QByteArray output = stdoutFile.isEmpty() ? QByteArray("/dev/null") : stdoutFile.toLocal8Bit();

    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0)
            _exit(127);
        close(fd);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Measured measured;
    int status = 0;
    struct rusage usage
    {
    };
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return measured;
    measured.seconds = timer.nsecsElapsed() / 1e9;
    measured.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    measured.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                          double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    measured.peakKiB = usage.ru_maxrss;
    return measured;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir temporary;
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path());
    // The settings of the runs: a folder of the bench's own, never the user's store.
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    std::printf("%-10s %-6s %10s %10s %10s %14s %10s %10s\n", "records", "cmd", "median s", "best s", "cpu s",
                "records/s", "peak MiB", "bytes/row");
    for (const int records : {100000, 1000000}) {
        OrderDocument document;
        fillDocument(document, records);
        const QString json = folder.filePath(QStringLiteral("doc.json"));
        QFile out(json);
        out.open(QIODevice::WriteOnly);
        out.write(DocumentToJson(document, {}));
        out.close();

        const QString file = folder.filePath(QStringLiteral("orders.ag"));
        const QList<std::pair<const char*, QStringList>> commands = {
            {"write",
             {QStringLiteral("write"), json, QStringLiteral("-o"), file, QStringLiteral("--customer"),
              QStringLiteral("123456"), QStringLiteral("--bankgiro"), QStringLiteral("12345674"),
              QStringLiteral("--date"), QStringLiteral("2024-03-01")}},
            {"read", {QStringLiteral("read"), file, QStringLiteral("--service"), QStringLiteral("Privat")}},
            // The moment is fixed before the payment dates, so the check meets a file the bank would take.
            {"check",
             {QStringLiteral("check"), file, QStringLiteral("--service"), QStringLiteral("Privat"),
              QStringLiteral("--now"), QStringLiteral("2024-03-01T12:00")}},
        };
        for (const auto& [name, args] : commands) {
            const QString output = QLatin1String(name) == QLatin1String("read")
                                       ? folder.filePath(QStringLiteral("read.json"))
                                       : QString();
            std::vector<Measured> runs;
            for (int run = 0; run < Runs; ++run)
                runs.push_back(runCli(args, output));
            std::sort(runs.begin(), runs.end(),
                      [](const Measured& a, const Measured& b) { return a.seconds < b.seconds; });
            const Measured& median = runs[runs.size() / 2];
            const Measured& best = runs.front();
            long peakKiB = 0;
            bool failed = false;
            for (const Measured& m : runs) {
                peakKiB = std::max(peakKiB, m.peakKiB);
                failed |= m.status != 0;
            }
            std::printf("%-10d %-6s %10.3f %10.3f %10.3f %14.0f %10.1f %10.0f%s\n", records, name,
                        median.seconds, best.seconds, median.cpuSeconds, records / median.seconds,
                        peakKiB / 1024.0, peakKiB * 1024.0 / records, failed ? "  (failed)" : "");
        }
    }
    return 0;
}
