#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"
#include "cli/JsonAmount.h"
#include "rules/Check.h"
#include "format/OrderFileReader.h"
#include "format/OrderFileWriter.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the real program with its settings in a folder of the test's own.
class CliProgram : public ::testing::Test
{
protected:
    // stdoutFile, when given, receives standard output instead of the test ("/dev/full": a full disk).
    CliRun run(const QStringList& args, const QString& settings = QString(), const QString& stdoutFile = QString())
    {
        QDir().mkpath(m_config.filePath(QStringLiteral("Orvida")));
        WriteFileBytes(m_config.filePath(QStringLiteral("Orvida/Valmo.ini")), settings.toUtf8());
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        environment.insert(QStringLiteral("LC_ALL"), m_locale);
        process.setProcessEnvironment(environment);
        if (!stdoutFile.isEmpty())
            process.setStandardOutputFile(stdoutFile, QIODevice::Append);
        process.start(QStringLiteral(VALMO_CLI_PATH), args);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    QString path(const QString& name) const { return m_files.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        WriteFileBytes(path(name), bytes);
        return path(name);
    }

    QTemporaryDir m_config;
    QTemporaryDir m_files;
    QString m_locale = QStringLiteral("sv_SE.UTF-8");
};

const char* const EveryKindPrivate = R"({
  "service": "Privat",
  "BtuList": [["Debitering", "Engångsbetalning", "2024-03-05", "250,00", "", "4711", "Faktura 12"],
              ["Kreditering", "Varje månad med start enligt betaldatum", "2024-04-30", "1234,50", "12", "99", "Återbetalning"]],
  "MdgList": [["Medgivande på papper", "123-4567", "5000-1234560", "19800101-1231"],
              ["Autogiro elektroniskt medgivande", "4711", "99181234567", "19650101-1230"],
              ["Avvisad - Autogiro elektroniskt medgivande", "4712", "12345", "20001231-0009"]],
  "MdgListComp": [["1234-5674"]],
  "MakList": [["Makulering av ett medgivande", "4711", "", "", "", ""],
              ["Makulering av en transaktion", "4711", "2024-03-05", "", "99,50", "Debitering"],
              ["Ändring av alla transaktioner", "", "", "2024-04-25", "", ""]],
  "MakCodes": ["3", "25", "26"]
})";

QJsonObject parse(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

} // namespace

TEST_F(CliProgram, WriteThenReadGivesTheSameRows)
{
    for (const QString service : {QStringLiteral("Privat"), QStringLiteral("Företag")}) {
        // Under the company service the payers are bankgiro numbers, as the dialogs require.
        QByteArray json = EveryKindPrivate;
        if (service == QStringLiteral("Företag"))
            json.replace("\"4711\"", "\"1234-5674\"").replace("\"99\"", "\"123-4566\"");
        const QString doc = writeFile(QStringLiteral("doc.json"), json);
        const QString target = path(QStringLiteral("Valmo 2024-03-01.ag"));
        const CliRun written = run({QStringLiteral("write"), doc, QStringLiteral("-o"), target, QStringLiteral("--customer"),
                               QStringLiteral("123456"), QStringLiteral("--bankgiro"), QStringLiteral("12345674"),
                               QStringLiteral("--date"), QStringLiteral("2024-03-01"), QStringLiteral("--service"), service});
        ASSERT_EQ(written.status, 0) << written.err.constData();
        const CliRun read = run({QStringLiteral("read"), target, QStringLiteral("--service"), service});
        ASSERT_EQ(read.status, 0) << read.err.constData();

        const QJsonObject in = parse(json);
        const QJsonObject out = parse(read.out);
        EXPECT_EQ(out.value(QStringLiteral("service")).toString(), service);
        const QString mandates = service == QLatin1String("Privat") ? QStringLiteral("MdgList") : QStringLiteral("MdgListComp");
        EXPECT_EQ(out.value(mandates), in.value(mandates)) << qPrintable(service);
        EXPECT_EQ(out.value(QStringLiteral("MakCodes")), in.value(QStringLiteral("MakCodes")));
        const QJsonArray payments = out.value(QStringLiteral("BtuList")).toArray();
        ASSERT_EQ(payments.size(), 2);
        // Read back in the reader's form: a one-off payment's blank count is empty, payers of the
        // company service are in bankgiro display form, amounts in the JSON form.
        EXPECT_EQ(payments[1].toArray()[3].toString(), QStringLiteral("1234.50"));
        EXPECT_EQ(payments[1].toArray()[4].toString(), QStringLiteral("12"));
        const QJsonArray opening = out.value(QStringLiteral("openingRecords")).toArray();
        ASSERT_EQ(opening.size(), 3);
        EXPECT_EQ(opening[0].toObject().value(QStringLiteral("line")).toInt(), 1);
        EXPECT_EQ(opening[0].toObject().value(QStringLiteral("bankgiro")).toString(), QStringLiteral("12345674"));
    }
}

TEST_F(CliProgram, WriteGivesTheBytesOfTheSaveCommand)
{
    const QString doc = writeFile(QStringLiteral("doc.json"), EveryKindPrivate);
    const QString target = path(QStringLiteral("out.ag"));
    const CliRun written = run({QStringLiteral("write"), doc, QStringLiteral("-o"), target, QStringLiteral("--date"),
                           QStringLiteral("2024-03-01")},
                          QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=012345\n"));
    ASSERT_EQ(written.status, 0) << written.err.constData();

    OrderDocument document;
    DocumentFromJson(EveryKindPrivate, document);
    QBuffer expected;
    expected.open(QIODevice::WriteOnly);
    WriteOrderFile(expected, document, {QStringLiteral("012345"), QStringLiteral("12345674")},
                   FixedClock(QDate(2024, 3, 1)));
    EXPECT_EQ(ReadFileBytes(target), expected.data());
    EXPECT_TRUE(ReadFileBytes(target).startsWith("0120240301AUTOGIRO"));
}

TEST_F(CliProgram, CheckReportsOneLinePerProblem)
{
    QByteArray file;
    auto record = [&](const QByteArray& text) { file += text.leftJustified(80, ' ') + "\r\n"; };
    const QByteArray payee = "0012345674";
    record("0120240301AUTOGIRO" + QByteArray(44, ' ') + "123456" + "0012345675"); // wrong check digit
    record("04" + payee + "0000000000004711" + "5000000001234560" + "196513011234"); // month 13
    record("25" + payee + QByteArray(16, '0') + "20240305" + "000000009950" + "82");  // no payer
    record("82" + QByteArray("20240305") + "0" + "    " + QByteArray(16, '0') + "000000025000" + payee);
    record("04" + payee + "0000000000004712" + "5000000001234560" + "196501011230"); // a clean mandate
    const QString target = writeFile(QStringLiteral("check me.ag"), file);
    const CliRun check = run({QStringLiteral("check"), target, QStringLiteral("--service"), QStringLiteral("Privat"),
                              QStringLiteral("--now"), QStringLiteral("2024-03-01T12:00")});
    EXPECT_EQ(check.status, 1) << check.err.constData();
    const QStringList lines = QString::fromUtf8(check.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList expected = {
        target + QStringLiteral(":1: Bankgironummer: Felaktigt Bankgironummer"),
        target + QStringLiteral(":2: Personnummer: Felaktigt personnummer"),
        target + QStringLiteral(":3: Betalarnummer: Felaktigt betalarnummer"),
        target + QStringLiteral(":4: Betalarnummer: Felaktigt betalarnummer"),
    };
    EXPECT_EQ(lines, expected);

    // Under the company service the private mandates are not read: the file needs "Privat".
    const CliRun company = run({QStringLiteral("check"), target, QStringLiteral("--service"), QStringLiteral("Företag")});
    EXPECT_NE(company.status, 0);
    EXPECT_TRUE(company.out.contains("tjänsten \"Privat\"")) << company.out.constData();
}

TEST_F(CliProgram, ExitStatuses)
{
    const QString clean = writeFile(QStringLiteral("clean.ag"),
                                    "0120240301AUTOGIRO" + QByteArray(44, ' ') + "1234560012345674  \r\n");
    const QString report = writeFile(QStringLiteral("report.ag"),
                                      "01AUTOGIRO" + QByteArray(34, ' ') + "AG-MEDAVI" + QByteArray(11, ' ') +
                                          "1234560012345674\r\n");
    const QString badJson = writeFile(QStringLiteral("bad.json"), "{\"BtuList\": [[\"Debitering\"]]}");
    const QString mismatch = writeFile(
        QStringLiteral("codes.json"),
        R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": ["25"]})");
    const QString unwritable = writeFile(
        QStringLiteral("date.json"),
        R"({"BtuList": [["Debitering", "Engångsbetalning", "2024-13-05", "1,00", "1", "1", ""]],
            "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})");
    const QString empty = writeFile(
        QStringLiteral("empty.json"),
        R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})");
    const QString numbers = QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n");

    const struct
    {
        const char* name;
        QStringList args;
        QString settings;
        int status;
        const char* stdoutHas;
        const char* stderrHas;
    } cases[] = {
        {"help", {QStringLiteral("--help")}, {}, 0, "valmo-cli read FILE", ""},
        {"version", {QStringLiteral("--version")}, {}, 0, "valmo-cli 1.0.0.0", ""},
        {"clean check", {QStringLiteral("check"), clean}, numbers, 0, "", ""},
        {"report read", {QStringLiteral("read"), report}, {}, 3, "\"shownInstead\": true", ""},
        {"report check", {QStringLiteral("check"), report}, {}, 3, "återrapporteringsfil", ""},
        {"no such file", {QStringLiteral("read"), path(QStringLiteral("missing.ag"))}, {}, 2, "", "finns inte"},
        {"bad json", {QStringLiteral("write"), badJson, QStringLiteral("-o"), path(QStringLiteral("a.ag"))}, numbers, 2, "", "kolumner"},
        {"codes", {QStringLiteral("write"), mismatch, QStringLiteral("-o"), path(QStringLiteral("b.ag"))}, numbers, 2, "", "MakCodes"},
        {"unwritable row", {QStringLiteral("write"), unwritable, QStringLiteral("-o"), path(QStringLiteral("c.ag"))}, numbers, 2, "", "är inte ett giltigt datum"},
        {"no settings", {QStringLiteral("write"), empty, QStringLiteral("-o"), path(QStringLiteral("d.ag")), QStringLiteral("--customer"), QStringLiteral("1")}, {}, 2, "", "inställningarna inte är godkända"},
        {"unknown command", {QStringLiteral("print"), clean}, {}, 2, "", "Okänt kommando"},
        {"bad service", {QStringLiteral("read"), clean, QStringLiteral("--service"), QStringLiteral("privat")}, {}, 2, "", "Okänd tjänst"},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args, c.settings);
        EXPECT_EQ(result.status, c.status) << c.name << ": " << result.err.constData();
        EXPECT_TRUE(result.out.contains(c.stdoutHas)) << c.name << ": " << result.out.constData();
        EXPECT_TRUE(result.err.contains(c.stderrHas)) << c.name << ": " << result.err.constData();
        if (c.status == 2) {
            EXPECT_EQ(result.err.count('\n'), 1) << c.name << ": one line on standard error";
            EXPECT_TRUE(result.out.isEmpty()) << c.name;
        }
    }
    for (const char* name : {"a.ag", "b.ag", "c.ag", "d.ag"})
        EXPECT_FALSE(QFile::exists(path(QString::fromLatin1(name)))) << name << " must not be written";
}

TEST_F(CliProgram, FailuresGiveOneLineAndLeaveFilesAlone)
{
    const QString numbers = QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n");
    const QString clean = writeFile(QStringLiteral("clean.ag"),
                                    "0120240301AUTOGIRO" + QByteArray(44, ' ') + "1234560012345674  \r\n");
    const QString report = writeFile(QStringLiteral("report.ag"),
                                      "01AUTOGIRO" + QByteArray(34, ' ') + "AG-MEDAVI" + QByteArray(11, ' ') +
                                          "1234560012345674\r\n");
    const QByteArray emptyDocument =
        R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})";
    const QString empty = writeFile(QStringLiteral("empty.json"), emptyDocument);
    const QString deep = writeFile(QStringLiteral("deep.json"),
                                   "{\"extra\": " + QByteArray(2000000, '[') + QByteArray(2000000, ']') + "}");
    const QString lineBreak = writeFile(
        QStringLiteral("break.json"),
        R"({"BtuList": [["Debitering", "Engångsbetalning", "2024\n13", "1,00", "1", "1", ""]],
            "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})");
    const QByteArray keep = "0120240301AUTOGIRO keep me\r\n";
    const QString existing = writeFile(QStringLiteral("existing.ag"), keep);
    const QString missingFolder = path(QStringLiteral("no such folder/out.ag"));
    const QString write = QStringLiteral("write");
    const QString read = QStringLiteral("read");
    const QString check = QStringLiteral("check");
    const QString o = QStringLiteral("-o");
    const QString full = QStringLiteral("/dev/full");

    const struct
    {
        const char* name;
        QStringList args;
        QString stdoutFile;
        const char* stderrHas;
    } cases[] = {
        {"read to a full disk", {read, clean}, full, "Utdata kunde inte skrivas"},
        {"shown instead to a full disk", {read, report}, full, "Utdata kunde inte skrivas"},
        {"check to a full disk", {check, report}, full, "Utdata kunde inte skrivas"},
        {"help to a full disk", {QStringLiteral("--help")}, full, "Utdata kunde inte skrivas"},
        {"missing folder", {write, empty, o, missingFolder}, {}, "Filen kunde inte skapas"},
        {"output is the input", {write, empty, o, empty}, {}, "samma fil"},
        {"deep nesting", {write, deep, o, path(QStringLiteral("deep.ag"))}, {}, "för djupt nästlat"},
        {"line break in a row", {write, lineBreak, o, existing}, {}, "är inte ett giltigt datum"},
        {"output option to read", {read, clean, o, path(QStringLiteral("r.ag"))}, {}, "-o"},
        {"date option to check", {check, clean, QStringLiteral("--date"), QStringLiteral("2024-03-01")}, {}, "--date"},
        {"customer option to read", {read, clean, QStringLiteral("--customer"), QStringLiteral("1")}, {}, "--customer"},
        {"folder to read", {read, m_files.path()}, {}, "kunde inte"},
        // The settings dialog refuses these; the writer would cut or zero-fill them.
        {"long customer number", {write, empty, o, path(QStringLiteral("n1.ag")), QStringLiteral("--customer"),
                                  QStringLiteral("1234567")}, {}, "kundnumret har högst 6 tecken"},
        {"bankgiro check digit", {write, empty, o, path(QStringLiteral("n2.ag")), QStringLiteral("--bankgiro"),
                                  QStringLiteral("1234-5675")}, {}, "Felaktigt Bankgironummer"},
        {"bankgiro of letters", {write, empty, o, path(QStringLiteral("n3.ag")), QStringLiteral("--bankgiro"),
                                 QStringLiteral("abc")}, {}, "Felaktigt Bankgironummer"},
        {"service twice", {read, clean, QStringLiteral("--service"), QStringLiteral("Privat"), QStringLiteral("--service"),
                           QStringLiteral("Företag")}, {}, "två gånger"},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args, numbers, c.stdoutFile);
        EXPECT_EQ(result.status, 2) << c.name << ": " << result.err.constData();
        EXPECT_EQ(result.err.count('\n'), 1) << c.name << ": " << result.err.constData();
        EXPECT_TRUE(result.err.startsWith("valmo-cli: ")) << c.name << ": " << result.err.constData();
        EXPECT_TRUE(result.err.contains(c.stderrHas)) << c.name << ": " << result.err.constData();
        EXPECT_TRUE(result.out.isEmpty()) << c.name;
    }
    EXPECT_EQ(ReadFileBytes(empty), emptyDocument);
    EXPECT_EQ(ReadFileBytes(existing), keep);
    EXPECT_EQ(QDir(m_files.path()).entryList(QDir::Files).size(), 6) << "no file written beside the inputs";
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no such folder"))));
}

TEST_F(CliProgram, WriteAcceptsAByteOrderMark)
{
    const QString doc = writeFile(QStringLiteral("bom.json"), QByteArray("\xef\xbb\xbf") + EveryKindPrivate);
    const QString target = path(QStringLiteral("bom.ag"));
    const CliRun written = run({QStringLiteral("write"), doc, QStringLiteral("-o"), target, QStringLiteral("--date"),
                                QStringLiteral("2024-03-01")},
                               QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n"));
    EXPECT_EQ(written.status, 0) << written.err.constData();
    EXPECT_TRUE(ReadFileBytes(target).startsWith("0120240301AUTOGIRO"));
}

TEST_F(CliProgram, FilesShownInsteadGiveTheEditorsMessage)
{
    const QByteArray opening = "0120240301AUTOGIRO" + QByteArray(44, ' ') + "1234560012345674  \r\n";
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString message;
        int line;
    } cases[] = {
        {"report file", "01AUTOGIRO" + QByteArray(70, ' ') + "\r\n", OrderFileReader::reportFileMessage(), 1},
        {"incoming mandates", opening + "51" + QByteArray(78, '0') + "\r\n", OrderFileReader::incomingMandatesMessage(), 2},
        {"unhandled code", opening + opening + "99" + QByteArray(78, ' ') + "\r\n",
         OrderFileReader::unsupportedContentMessage(), 3},
        {"unconvertible date", opening + "82" + QByteArray("20241305") + "0" + "    " + QByteArray(16, '0') +
                                   "000000025000" + "0012345674\r\n",
         OrderFileReader::unreadableLineMessage(QStringLiteral("'2024-13-05' är inte ett giltigt datum"), 2), 2},
    };
    for (const auto& c : cases) {
        const QString file = writeFile(QStringLiteral("shown.ag"), c.bytes);
        const CliRun read = run({QStringLiteral("read"), file});
        EXPECT_EQ(read.status, 3) << c.name << ": " << read.err.constData();
        EXPECT_TRUE(read.out.startsWith("{\n  \"shownInstead\": true,\n  \"message\": ")) << read.out.constData();
        const QJsonObject shown = parse(read.out);
        EXPECT_EQ(shown.value(QStringLiteral("shownInstead")), QJsonValue(true)) << c.name;
        EXPECT_EQ(shown.value(QStringLiteral("message")).toString(), c.message) << c.name << ": " << read.out.constData();
        EXPECT_EQ(shown.value(QStringLiteral("line")).toInt(), c.line) << c.name;

        // check names the file and line once, on one line however long the message.
        const CliRun check = run({QStringLiteral("check"), file});
        EXPECT_EQ(check.status, 3) << c.name;
        EXPECT_EQ(check.out.count('\n'), 1) << c.name << ": " << check.out.constData();
        EXPECT_TRUE(check.out.startsWith((file + QStringLiteral(":%1: ").arg(c.line)).toUtf8()))
            << c.name << ": " << check.out.constData();
    }
}

TEST_F(CliProgram, ServiceComesFromTheOptionThenTheDocumentThenTheSettings)
{
    const QByteArray privateMandate = "0400123456740000000001234567";
    const QByteArray companyMandate = "0400123456740000000012345674";
    const QString numbers = QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n");
    const QString company = numbers + QStringLiteral("Tjänst=Företag\n");
    auto document = [](const char* service) {
        return QByteArray("{") + service +
               R"("BtuList": [], "MdgList": [["Medgivande på papper", "123-4567", "5000-1234560", "19800101-1231"]],
                   "MdgListComp": [["1234-5674"]], "MakList": [], "MakCodes": []})";
    };
    const struct
    {
        const char* name;
        QByteArray json;
        QStringList options;
        QString settings;
        QByteArray mandate;
    } cases[] = {
        {"stored private", document(""), {}, numbers, privateMandate},
        {"stored company", document(""), {}, company, companyMandate},
        {"document over the store", document(R"("service": "Privat", )"), {}, company, privateMandate},
        {"option over the document", document(R"("service": "Privat", )"),
         {QStringLiteral("--service"), QStringLiteral("Företag")}, numbers, companyMandate},
    };
    for (const auto& c : cases) {
        const QString doc = writeFile(QStringLiteral("service.json"), c.json);
        const QString target = path(QStringLiteral("service.ag"));
        const CliRun written = run(QStringList{QStringLiteral("write"), doc, QStringLiteral("-o"), target} + c.options,
                                   c.settings);
        ASSERT_EQ(written.status, 0) << c.name << ": " << written.err.constData();
        const QList<QByteArray> records = ReadFileBytes(target).split('\n');
        ASSERT_GE(records.size(), 2) << c.name;
        EXPECT_TRUE(records[1].startsWith(c.mandate)) << c.name << ": " << records[1].constData();
    }
}

TEST_F(CliProgram, WriteRefusesEveryRowTheDialogsWouldRefuse)
{
    const QByteArray json = R"({
  "service": "Privat",
  "BtuList": [
    ["XX", "Engångsbetalning", "2024-03-05", "250", "", "4711", ""],
    ["Debitering", "X", "2024-03-05", "250", "", "4711", ""],
    ["Debitering", "Engångsbetalning", "2024-03-05", "1 250,00", "", "4711", ""],
    ["Debitering", "Engångsbetalning", "2024-03-05", "-5", "", "4711", ""],
    ["Debitering", "Varje månad med start enligt betaldatum", "2024-03-05", "5", "1000", "4711", "12345678901234567"],
    ["Debitering", "Engångsbetalning", "2024-03-05", "5", "", "ab", "snö \u2603"]
  ],
  "MdgList": [
    ["Autogiro elektroniskt medgivande", "4711", "12345678901234567", "19800101-1231"],
    ["Avvisad - Autogiro elektroniskt medgivande", "4711", "9918A", "19800101-1231"],
    ["Medgivande", "4711", "5000\u007f1234567", "19800101-1231"],
    ["Medgivande på papper", "4711", "5000-123456x7", "19800101-1231"]
  ],
  "MdgListComp": [],
  "MakList": [["Makulering av en transaktion", "", "2024-03-05", "", "99,5", "Debitering"],
              ["", "4711", "2024-03-05", "2024-03-12", "-5", ""]],
  "MakCodes": ["25", "28"]
})";
    const QString doc = writeFile(QStringLiteral("rows.json"), json);
    const QString target = path(QStringLiteral("rows.ag"));
    const CliRun written = run({QStringLiteral("write"), doc, QStringLiteral("-o"), target},
                               QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n"));
    EXPECT_EQ(written.status, 1);
    const QStringList expected = {
        QStringLiteral(":4: Typ: Okänd typ av betaluppdrag \"XX\": ange Debitering eller Kreditering"),
        QStringLiteral(
            ":5: Period: Okänd periodicitet \"X\": ange en av betaluppdragsdialogens periodiciteter"),
        QStringLiteral(":6: Belopp: ") + JsonAmountFormMessage(QStringLiteral("1 250,00")),
        QStringLiteral(":7: Belopp: Beloppet får inte vara negativt"),
        QStringLiteral(":8: Antal: Antal betalningar ska vara ett heltal från 0 till 999"),
        QStringLiteral(":8: Referens: Referensen har 17 tecken men får ha högst 16"),
        QStringLiteral(":9: Betalarnummer: Felaktigt betalarnummer"),
        QStringLiteral(":9: Referens: ") + CheckEncodable(QStringLiteral("\u2603")),
        QStringLiteral(":12: Konto/id-nummer: Id-numret har 17 tecken men får ha högst 16"),
        QStringLiteral(":13: Konto/id-nummer: Id-numret ska bestå av siffror"),
        QStringLiteral(":14: Typ: Okänd typ av medgivande \"Medgivande\""),
        QStringLiteral(":14: Konto/id-nummer: Tecknet \u201DU+007F\u201D kan inte sparas i en Autogirofil. Skriv texten utan det."),
        QStringLiteral(":15: Konto/id-nummer: Felaktigt kontonummer"),
        QStringLiteral(":18: Betalarnummer: Felaktigt betalarnummer"),
        QStringLiteral(":19: Belopp: Beloppet får inte vara negativt"),
    };
    QStringList lines = QString::fromUtf8(written.err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line.remove(doc);
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(written.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(target));

    // The rows' problems come first, whatever else would stop the save.
    const struct
    {
        const char* name;
        QString target;
        QString settings;
    } others[] = {
        {"no settings", target, QString()},
        {"no such folder", path(QStringLiteral("missing/rows.ag")), QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n")},
    };
    for (const auto& other : others) {
        const CliRun refused = run({QStringLiteral("write"), doc, QStringLiteral("-o"), other.target}, other.settings);
        EXPECT_EQ(refused.status, 1) << other.name;
        EXPECT_EQ(refused.err, written.err) << other.name;
        EXPECT_FALSE(QFileInfo::exists(other.target)) << other.name;
    }
}

// A file that check finds fault with is refused by write after read, and one it passes is written.
TEST_F(CliProgram, CheckAndWriteApplyTheSameRules)
{
    const QString numbers = QStringLiteral("[Settings]\nBgNr=12345674\nKundNr=123456\n");
    const QByteArray opening = "0120240301AUTOGIRO" + QByteArray(44, ' ') + "1234560012345674  \r\n";
    auto payment = [](char period) {
        return "82" + QByteArray("20240305") + period + "    " + "0000000000004711" + "000000025000" +
               "0012345674\r\n";
    };
    const struct
    {
        const char* name;
        QByteArray file;
        int status;
    } cases[] = {
        {"clean", opening + payment('0'), 0},
        {"period outside the table", opening + payment('9'), 1},
        {"change code outside the table",
         opening + "21" + "0012345674" + "0000000000004711" + QByteArray(52, ' ') + "\r\n", 1},
    };
    for (const auto& c : cases) {
        const QString file = writeFile(QStringLiteral("orders.ag"), c.file);
        const CliRun check = run(
            {QStringLiteral("check"), file, QStringLiteral("--service"), QStringLiteral("Privat"),
             QStringLiteral("--now"), QStringLiteral("2024-03-01T12:00")},
            numbers);
        EXPECT_EQ(check.status, c.status) << c.name << ": " << check.out.constData() << check.err.constData();
        const CliRun read = run(
            {QStringLiteral("read"), file, QStringLiteral("--service"), QStringLiteral("Privat")}, numbers);
        ASSERT_EQ(read.status, 0) << c.name << ": " << read.err.constData();
        const QString doc = writeFile(QStringLiteral("orders.json"), read.out);
        const QString target = path(QStringLiteral("again.ag"));
        QFile::remove(target);
        const CliRun written = run({QStringLiteral("write"), doc, QStringLiteral("-o"), target}, numbers);
        EXPECT_EQ(written.status == 0, c.status == 0) << c.name << ": " << written.err.constData();
        EXPECT_EQ(QFileInfo::exists(target), c.status == 0) << c.name;
    }
}

TEST_F(CliProgram, ReadGivesTheSameJsonInEveryLocale)
{
    const QByteArray file = "0120240301AUTOGIRO" + QByteArray(44, ' ') + "1234560012345674  \r\n" + "82" +
                            "20240305" + "0" + "    " + "0000000000004711" + "000000123450" +
                            "0012345674\r\n";
    const QString orders = writeFile(QStringLiteral("locale.ag"), file);
    QByteArray first;
    for (const char* locale : {"sv_SE.UTF-8", "C", "en_US.UTF-8", "de_DE.UTF-8"}) {
        m_locale = QString::fromLatin1(locale);
        const CliRun read = run({QStringLiteral("read"), orders});
        ASSERT_EQ(read.status, 0) << locale;
        EXPECT_TRUE(read.out.contains("\"1234.50\"")) << locale << ": " << read.out.constData();
        if (first.isEmpty())
            first = read.out;
        EXPECT_EQ(read.out, first) << locale;
    }
}

TEST_F(CliProgram, WriteRefusesOutputsThatAreNoRegularFile)
{
    const QString empty =
        writeFile(QStringLiteral("empty.json"),
                  R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})");
    const QString fifo = path(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loop = path(QStringLiteral("loop"));
    QFile::link(loop, loop);
    const QString folder = path(QStringLiteral("folder"));
    QDir().mkpath(folder);
    const struct
    {
        const char* name;
        QString target;
        const char* stderrHas;
    } cases[] = {
        {"folder", folder, "är en mapp"},
        {"fifo", fifo, "FIFO"},
        {"symlink loop", loop, "slinga"},
    };
    for (const auto& c : cases) {
        const CliRun written =
            run({QStringLiteral("write"), empty, QStringLiteral("-o"), c.target, QStringLiteral("--customer"),
                 QStringLiteral("1"), QStringLiteral("--bankgiro"), QStringLiteral("12345674")});
        EXPECT_EQ(written.status, 2) << c.name;
        EXPECT_TRUE(written.err.contains(c.stderrHas)) << c.name << ": " << written.err.constData();
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
    EXPECT_EQ(QDir(m_files.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
              4);
}

TEST_F(CliProgram, CustomerNumberIsOneToSixDigits)
{
    const QString empty =
        writeFile(QStringLiteral("empty.json"),
                  R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": []})");
    for (const char* customer : {"", "12a", "-1", "12 34", "\xc2\xb2"}) {
        const CliRun written =
            run({QStringLiteral("write"), empty, QStringLiteral("-o"), path(QStringLiteral("c.ag")),
                 QStringLiteral("--customer"), QString::fromUtf8(customer), QStringLiteral("--bankgiro"),
                 QStringLiteral("12345674")});
        EXPECT_EQ(written.status, 2) << customer;
        EXPECT_TRUE(written.err.contains("kundnumret ska vara en till sex siffror"))
            << written.err.constData();
    }
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("c.ag"))));
}

// Output larger than the JSON writer's buffer fails part way: a message and status 2, no abort.
TEST_F(CliProgram, FullStandardOutputPartWayThroughGivesAMessage)
{
    QByteArray file = "0120240301AUTOGIRO" + QByteArray(44, ' ') + "1234560012345674  \r\n";
    const QByteArray payment = "82" + QByteArray("20240305") + "0" + "    " + "0000000000004711" +
                               "000000025000" + "0012345674" + "Faktura         " + QByteArray(11, ' ') +
                               "\r\n";
    for (int i = 0; i < 5000; ++i)
        file += payment;
    const QString orders = writeFile(QStringLiteral("big.ag"), file);
    const CliRun read = run({QStringLiteral("read"), orders}, QString(), QStringLiteral("/dev/full"));
    EXPECT_EQ(read.status, 2);
    EXPECT_TRUE(read.err.contains("Utdata kunde inte skrivas")) << read.err.constData();
    EXPECT_EQ(read.err.count('\n'), 1) << read.err.constData();
}

// Every command refuses a command line outside its usage with status 2 and the fault named.
TEST_F(CliProgram, CommandLinesOutsideTheUsage)
{
    const QString file = writeFile(QStringLiteral("f.ag"), "");
    const struct
    {
        QStringList args;
        const char* stderrHas;
    } cases[] = {
        {{QStringLiteral("read")}, "Ange en fil till read"},
        {{QStringLiteral("read"), file, file}, "Oväntat argument"},
        {{QStringLiteral("read"), file, QStringLiteral("--service")}, "--service saknar värde"},
        {{QStringLiteral("read"), file, QStringLiteral("--bogus")}, "Okänd flagga --bogus"},
        {{QStringLiteral("write"), file, QStringLiteral("--output"), file, QStringLiteral("-o"), file}, "-o anges två gånger"},
        {{QStringLiteral("check"), file, QStringLiteral("--key-file"), file}, "Okänd flagga --key-file"},
        {{QStringLiteral("hmac"), file, QStringLiteral("--key-file"), file, QStringLiteral("-o"), file}, "-o hör inte till hmac"},
        {{QStringLiteral("seal"), file, QStringLiteral("--key=00")}, "aldrig från kommandoraden"},
        {{QStringLiteral("report"), file, QStringLiteral("--csv"), QStringLiteral("--csv")}, "Okänd flagga --csv"},
        {{QStringLiteral("report"), file, file}, "Oväntat argument"},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args);
        EXPECT_EQ(result.status, 2) << c.stderrHas;
        EXPECT_TRUE(result.err.contains(c.stderrHas)) << c.stderrHas << ": " << result.err.constData();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
    }
}
