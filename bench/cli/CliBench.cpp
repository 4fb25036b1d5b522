// Times `valmo-cli write` and `valmo-cli read` on documents of 1 000 000 records, as whole
// programs (start-up, JSON, the core writer or reader, output), and prints their peak memory.

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

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
                                    {QStringLiteral("Sista bankdagen varje månad"),
                                     QStringLiteral("2024-03-05"), QStringLiteral("1234,50"),
                                     QStringLiteral("12"), payer, QStringLiteral("Faktura %1").arg(i)});
        }
    }
}

struct Measured
{
    double seconds = 0;
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
    measured.peakKiB = usage.ru_maxrss;
    return measured;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    // The settings of the runs: a folder of the bench's own, never the user's store.
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
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
        const Measured write =
            runCli({QStringLiteral("write"), json, QStringLiteral("-o"), file, QStringLiteral("--customer"),
                    QStringLiteral("123456"), QStringLiteral("--bankgiro"), QStringLiteral("12345674"),
                    QStringLiteral("--date"), QStringLiteral("2024-03-01")},
                   QString());
        const Measured read =
            runCli({QStringLiteral("read"), file, QStringLiteral("--service"), QStringLiteral("Privat")},
                   folder.filePath(QStringLiteral("read.json")));
        for (const auto& [name, m] : {std::pair{"write", write}, std::pair{"read", read}}) {
            std::printf("%-10d %-6s %10.3f %14.0f %12.1f%s\n", records, name, m.seconds, records / m.seconds,
                        m.peakKiB / 1024.0, m.status == 0 ? "" : "  (failed)");
        }
    }
    return 0;
}
