// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <thread>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray Key = "1234567890abcdef1234567890abcdef\n";
const QByteArray Document =
    R"({"service": "Privat", "BtuList": [["Debitering", "Engångsbetalning", "2027-03-25", "1250.00", "", "1001",
    "Faktura"]], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})";

// Runs the real program; fileSizeLimit, when given, is the child's limit on the size of a file it
// writes (ulimit -f).
class CliHostileInput : public ::testing::Test
{
protected:
    CliRun run(const QStringList& args, rlim_t fileSizeLimit = RLIM_INFINITY)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_files.path());
        process.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(VALMO_CLI_PATH, args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QString path(const QString& name) const { return m_files.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        WriteFileBytes(path(name), bytes);
        return path(name);
    }
    QByteArray orderFile()
    {
        writeFile("doc.json", Document);
        const CliRun written = run({"write", "doc.json", "-o", "order.ag", "--customer", "471100",
                                    "--bankgiro", "5050-1055", "--date", "2026-12-01"});
        EXPECT_EQ(written.status, 0) << written.err.constData();
        return ReadFileBytes(path("order.ag"));
    }

    QTemporaryDir m_config;
    QTemporaryDir m_files;
};

TEST_F(CliHostileInput, MessagesNeverCarryControlCharactersOrLongValues)
{
    QByteArray hostile = orderFile();
    // A payer number holding an escape sequence, a NUL and a bell.
    hostile.replace("0000000000001001", QByteArrayLiteral("\x1b[2J\x00\x07"
                                                          "0000000001"));
    writeFile("hostile.ag", hostile);
    writeFile("key", Key);
    run({"seal", "order.ag", "-o", "sealed.ag", "--key-file", "key"});
    writeFile("appended.ag", ReadFileBytes(path("sealed.ag")) + QByteArrayLiteral("82\x1b]0;title\x07\r\n"));
    QByteArray longService = Document;
    longService.replace("Privat", "\\u001b" + QByteArray(100000, 'x'));
    writeFile("long.json", longService);

    const struct
    {
        QStringList args;
        int status;
        QByteArray shown; // in standard output and standard error together
    } cases[] = {
        {{"check", "hostile.ag"}, 3, "'\\u001b[2J\\u0000\\u00070000000001'"},
        {{"verify", "appended.ag", "--key-file", "key"}, 1, "\"82\\u001b]0;title\\u0007\""},
        {{"write", "long.json", "-o", "out.ag", "--customer", "1", "--bankgiro", "5050-1055"},
         2,
         "Okänd tjänst \"\\u001b" + QByteArray(59, 'x') + "… (100001 tecken)\""},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args);
        const QByteArray printed = result.out + result.err;
        EXPECT_EQ(result.status, c.status) << printed.constData();
        EXPECT_TRUE(printed.contains(c.shown)) << printed.constData();
        EXPECT_LT(printed.size(), 1000);
        for (const char control : {'\x1b', '\x00', '\x07'})
            EXPECT_FALSE(printed.contains(control)) << c.args.join(' ').toStdString();
    }
}

TEST_F(CliHostileInput, InputsThatAreNoFilesGetTheirTrueReasonAndPipesAreRead)
{
    const QByteArray order = orderFile();
    QDir(m_files.path()).mkdir("folder");
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    writeFile("empty.ag", "");
    writeFile("blank.ag", "\r\n  \r\n\n");
    const QByteArray noRecords = "Filen innehåller inga poster";
    const struct
    {
        QStringList args;
        int status;
        QByteArray said;
        bool feedFifo;
    } cases[] = {
        {{"report", "folder"}, 2, "folder är en mapp, inte en fil", false},
        {{"read", "folder"}, 2, "folder är en mapp, inte en fil", false},
        {{"report", "missing"}, 2, "Filen missing finns inte", false},
        {{"report", "fifo"}, 3, "fifo är en Autogirofil", true},
        {{"check", "fifo"}, 0, "", true},
        {{"check", "empty.ag"}, 1, "empty.ag: " + noRecords, false},
        {{"check", "blank.ag"}, 1, "blank.ag: " + noRecords, false},
    };
    for (const auto& c : cases) {
        std::thread writer;
        if (c.feedFifo)
            writer = std::thread([&] { WriteFileBytes(path("fifo"), order); });
        const CliRun result = run(c.args);
        if (writer.joinable())
            writer.join();
        const QByteArray printed = result.out + result.err;
        EXPECT_EQ(result.status, c.status) << printed.constData();
        EXPECT_TRUE(printed.contains(c.said)) << printed.constData();
    }
}

TEST_F(CliHostileInput, AFileSizeLimitIsReportedLikeAFullDiskAndTheOldFileStays)
{
    const QByteArray order = orderFile();
    writeFile("key", Key);
    QByteArray large;
    for (int i = 0; i < 100; ++i)
        large += order;
    writeFile("large.ag", large);
    QByteArray manyRows = Document;
    const QByteArray row =
        R"(["Debitering", "Engångsbetalning", "2027-03-25", "1250.00", "", "1001", "Faktura"])";
    for (int i = 0; i < 200; ++i)
        manyRows.replace("\"BtuList\": [", "\"BtuList\": [" + row + ", ");
    writeFile("many.json", manyRows);
    const QByteArray earlier = "01 the earlier file\r\n";
    const QStringList commands[] = {
        {"seal", "large.ag", "-o", "target.ag", "--key-file", "key"},
        {"write", "many.json", "-o", "target.ag", "--customer", "471100", "--bankgiro", "5050-1055"},
    };
    for (const QStringList& args : commands) {
        writeFile("target.ag", earlier);
        const CliRun result = run(args, 4096);
        EXPECT_EQ(result.status, 2) << args[0].toStdString();
        EXPECT_TRUE(result.err.contains("File too large")) << result.err.constData();
        EXPECT_TRUE(result.err.contains("Den tidigare filen är oförändrad")) << result.err.constData();
        EXPECT_EQ(ReadFileBytes(path("target.ag")), earlier);
        const QStringList leftovers =
            QDir(m_files.path()).entryList({".target.ag.*"}, QDir::Files | QDir::Hidden);
        EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(' ').toStdString();
    }
}

} // namespace
