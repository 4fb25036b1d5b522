// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "support/CliRun.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CliImportTest : public ::testing::Test
{
protected:
    CliRun run(const QStringList& args)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", m_config.path());
        environment.insert("LC_ALL", "sv_SE.UTF-8");
        return RunCli(args, environment);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_files.filePath(name);
        WriteFileBytes(path, bytes);
        return path;
    }
    static QString data(const char* name) { return QStringLiteral(VALMO_TEST_DATA "/csv/") + name; }

    QTemporaryDir m_config;
    QTemporaryDir m_files;
};

TEST_F(CliImportTest, ExitStatusAndOutputFollowTheFile)
{
    struct Case
    {
        QStringList args;
        int status;
        const char* out; // in standard output, or nothing there when empty
        const char* err; // in standard error, or nothing there when empty
    } cases[] = {
        {{"import", data("betaluppdrag-utf8-bom.csv")},
         0,
         "[\"Debitering\", \"Engångsbetalning\", \"2027-01-25\", \"1250.50\", \"1\", \"815\", \"Faktura "
         "17\"]",
         ""},
        {{"import", data("foretagsmedgivanden.csv"), "--service", "Företag"},
         0,
         "\"MdgListComp\": [\n    [\"1234-5674\"]",
         ""},
        {{"import", data("betaluppdrag-felaktiga.csv")},
         1,
         "",
         "betaluppdrag-felaktiga.csv:3: Betalarnummer: Felaktigt betalarnummer\n"},
        {{"import", data("foretagsmedgivanden.csv"), "--service", "Privat"}, 2, "", "tjänsten Företag"},
        {{"import", data("saknas.csv")}, 2, "", "finns inte"},
        {{"import", data("betaluppdrag-utf8-bom.csv"), "--customer", "1"}, 2, "", "hör inte till import"},
    };
    for (const Case& c : cases) {
        const CliRun result = run(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(result.status, c.status) << what << result.err.constData();
        if (*c.out)
            EXPECT_TRUE(QString::fromUtf8(result.out).contains(QString::fromUtf8(c.out)))
                << what << result.out.constData();
        else
            EXPECT_TRUE(result.out.isEmpty()) << what;
        if (*c.err)
            EXPECT_TRUE(QString::fromUtf8(result.err).contains(QString::fromUtf8(c.err)))
                << what << result.err.constData();
        else
            EXPECT_TRUE(result.err.isEmpty()) << what << result.err.constData();
    }
    const CliRun failing = run({"import", data("betaluppdrag-felaktiga.csv")});
    EXPECT_EQ(failing.err.count('\n'), 9);
}

TEST_F(CliImportTest, ImportThenWriteTurnsASpreadsheetIntoAnOrderFile)
{
    const QString csv =
        file("betalare.csv", "Betalarnummer;Belopp;Betalningsdatum;Periodicitet;Antal;Referens\n"
                             "4711;1 250,00;2027-01-25;Varje år med start enligt betaldatum;3;Hyra\n"
                             "815;99,5;2027-01-25;Sista bankdagen varje månad;12;\n");
    const CliRun imported = run({"import", csv});
    ASSERT_EQ(imported.status, 0) << imported.err.constData();
    const QString json = file("doc.json", imported.out);
    const QString order = m_files.filePath("betalare.ag");
    const CliRun written = run({"write", json, "-o", order, "--customer", "123456", "--bankgiro", "1234-5674",
                                "--date", "2027-01-20", "--service", "Privat"});
    ASSERT_EQ(written.status, 0) << written.err.constData();
    const CliRun read = run({"read", order, "--service", "Privat"});
    ASSERT_EQ(read.status, 0) << read.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(read.out)["BtuList"], QJsonDocument::fromJson(imported.out)["BtuList"]);
}

} // namespace
