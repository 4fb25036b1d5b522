#include "format/ReportParser.h"
#include "support/BankExamples.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ReportRun
{
    int status = -1;
    QByteArray out;
    QString err;
};

ReportRun RunReport(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(VALMO_CLI_PATH), QStringList{QStringLiteral("report")} + args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

QString Bank(const char* name)
{
    return QStringLiteral(VALMO_TEST_DATA "/bank/") + QString::fromLatin1(name);
}

TEST(ReportCommandTest, ReportAsJsonWithEveryKey)
{
    const ReportRun run = RunReport({Bank("autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject report =
        QJsonDocument::fromJson(run.out, &error).object()[QStringLiteral("reports")][0].toObject();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    for (const char* key :
         {"kind", "layout", "date", "bankgiro", "customerNumber", "items", "totals", "unknownLines"})
        EXPECT_TRUE(report.contains(QLatin1String(key))) << key;
    EXPECT_EQ(report[QStringLiteral("kind")].toString(), QStringLiteral("Avvisade betalningsuppdrag"));
    EXPECT_EQ(report[QStringLiteral("layout")].toString(), QStringLiteral("ny"));
    const QJsonObject item = report[QStringLiteral("items")][0].toObject();
    EXPECT_EQ(item[QStringLiteral("line")].toInt(), 2);
    EXPECT_EQ(item[QStringLiteral("record")].toString(), QStringLiteral("82"));
    EXPECT_EQ(item[QStringLiteral("payerNumber")].toString(), QStringLiteral("3333"));
    EXPECT_EQ(item[QStringLiteral("amount")].toString(), QStringLiteral("75.00"));
    EXPECT_EQ(item[QStringLiteral("reference")].toString(), QStringLiteral("RIDLEKTION"));
    EXPECT_EQ(item[QStringLiteral("codes")][0][QStringLiteral("code")].toString(), QStringLiteral("02"));
    const QJsonObject totals = report[QStringLiteral("totals")].toObject();
    EXPECT_EQ(totals[QStringLiteral("stated")][QStringLiteral("count")].toInt(), 8);
    EXPECT_EQ(totals[QStringLiteral("counted")][QStringLiteral("amount")].toString(),
              QStringLiteral("2157.51"));
    EXPECT_TRUE(totals[QStringLiteral("agree")].toBool());
}

// Two sections, the second with a changed count: still a report, with the disagreement named.
TEST(ReportCommandTest, SeveralSectionsAndADamagedOne)
{
    QTemporaryDir folder;
    QByteArray advice = ReadFileBytes(Bank("autogiro_exempelfiler_medgivandeavisering_sv.txt"));
    advice.replace("092008061199000000010", "092008061199000000011");
    const QString path = folder.filePath(QStringLiteral("två.txt"));
    WriteFileBytes(path,
                   ReadFileBytes(Bank("autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt")) + advice);
    const ReportRun run = RunReport({path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray reports = QJsonDocument::fromJson(run.out).object()[QStringLiteral("reports")].toArray();
    ASSERT_EQ(reports.size(), 2);
    EXPECT_TRUE(reports[0][QStringLiteral("totals")][QStringLiteral("agree")].toBool());
    const QJsonObject totals = reports[1][QStringLiteral("totals")].toObject();
    EXPECT_FALSE(totals[QStringLiteral("agree")].toBool());
    EXPECT_EQ(totals[QStringLiteral("stated")][QStringLiteral("count")].toInt(), 11);
    EXPECT_EQ(totals[QStringLiteral("counted")][QStringLiteral("count")].toInt(), 10);
    EXPECT_TRUE(totals[QStringLiteral("disagreements")][0].toString().contains(QStringLiteral("rad 22")));
}

// A report saved with the title line the bank prints above it: the title is listed, the report
// follows from its opening record, and a retired code says so.
TEST(ReportCommandTest, TitleLinesBeforeTheFirstRecordAreListed)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("avvisade.txt"));
    WriteFileBytes(path, "Avvisade betalningar\r\n\r\n" +
                             ReadFileBytes(Bank("autogiro_gl_exempelfil_avvisadebetalningar_fran-bankgirot-"
                                                "medgivanden-kontonummer_exemeplfil_sv.txt")));
    const ReportRun run = RunReport({path});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject report =
        QJsonDocument::fromJson(run.out).object()[QStringLiteral("reports")][0].toObject();
    EXPECT_EQ(report[QStringLiteral("unknownLines")][0][QStringLiteral("line")].toInt(), 1);
    EXPECT_EQ(report[QStringLiteral("unknownLines")][0][QStringLiteral("text")].toString(),
              QStringLiteral("Avvisade betalningar"));
    EXPECT_TRUE(report[QStringLiteral("totals")][QStringLiteral("agree")].toBool());
    const QJsonArray items = report[QStringLiteral("items")].toArray();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0][QStringLiteral("line")].toInt(), 4);
    const QJsonObject retired = items[3][QStringLiteral("codes")][0].toObject();
    EXPECT_EQ(retired[QStringLiteral("code")].toString(), QStringLiteral("07"));
    EXPECT_TRUE(retired[QStringLiteral("retired")].toBool());
    EXPECT_FALSE(items[0][QStringLiteral("codes")][0].toObject().contains(QStringLiteral("retired")));
}

// Every example report of the bank, as sent and saved with its title lines, is written complete:
// its title listed as an unknown line, nothing called faulty, the totals agreeing.
TEST(ReportCommandTest, EveryBankExampleReportWithAndWithoutItsTitle)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("rapport.txt"));
    const QStringList reports = BankExampleReports();
    ASSERT_EQ(reports.size(), 15);
    for (const QString& report : reports) {
        const QByteArray bytes = ReadFileBytes(report);
        const int items = ReportParser::parse(bytes).reports.value(0).items.size();
        for (const QByteArray& title : BankExampleTitles()) {
            SCOPED_TRACE(report.toStdString() + " with the title " + title.toStdString());
            WriteFileBytes(path, title + bytes);
            const ReportRun run = RunReport({path});
            ASSERT_EQ(run.status, 0) << run.err.toStdString();
            const QJsonArray sections =
                QJsonDocument::fromJson(run.out).object()[QStringLiteral("reports")].toArray();
            ASSERT_EQ(sections.size(), 1);
            const QJsonObject shown = sections[0].toObject();
            EXPECT_EQ(shown[QStringLiteral("items")].toArray().size(), items);
            EXPECT_EQ(shown[QStringLiteral("unknownLines")].toArray().size(), title.isEmpty() ? 0 : 1);
            EXPECT_TRUE(shown[QStringLiteral("warnings")].toArray().isEmpty());
            const QJsonValue totals = shown[QStringLiteral("totals")];
            EXPECT_TRUE(totals.isUndefined() || totals[QStringLiteral("agree")].toBool());
        }
    }
}

TEST(ReportCommandTest, ExitStatusesAndCsv)
{
    QTemporaryDir folder;
    const QString text = folder.filePath(QStringLiteral("text.txt"));
    WriteFileBytes(text, "Inget här\r\n");
    const struct
    {
        QStringList args;
        int status;
        const char* said; // in standard error, or at the start of standard output
    } cases[] = {
        {{Bank("autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt"), QStringLiteral("--csv")},
         0,
         "\xEF\xBB\xBFRad;Post;Beskrivning;Betalarnummer;Datum;Belopp;"},
        {{Bank("autogiro_exempelfil-betalningsunderlag_sv.txt")}, 3, "valmo-cli read"},
        {{Bank("autogiro_exempelfil_bg-max-forma_sv.txt")}, 2, "BgMax"},
        {{text}, 2, "varken en rapport"},
        {{folder.filePath(QStringLiteral("saknas.txt"))}, 2, "finns inte"},
        {{text, QStringLiteral("--json")}, 2, "Okänd flagga --json"},
        {{}, 2, "Ange en fil"},
    };
    for (const auto& c : cases) {
        const ReportRun run = RunReport(c.args);
        EXPECT_EQ(run.status, c.status) << c.said;
        const QString said = QString::fromUtf8(c.said);
        EXPECT_TRUE(run.err.contains(said) || QString::fromUtf8(run.out).startsWith(said))
            << c.said << ": " << run.err.toStdString();
    }
}

} // namespace
