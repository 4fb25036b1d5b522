#include "register/BankFiles.h"
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

class DeliveryCheckCli : public ::testing::Test
{
protected:
    CliRun run(const QStringList& args)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_files.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_files.path()); // the default register's folder
        return RunCli(args, environment);
    }
    // An order file of one payment order to payer 4711 on the date given (yyyymmdd).
    QString orderFile(const QByteArray& date)
    {
        const QByteArray payee = "0012345674";
        const QByteArray bytes =
            ("0120261201AUTOGIRO" + QByteArray(44, ' ') + "123456" + payee).leftJustified(80) + "\r\n" +
            ("82" + date + "0" + "    " + "0000000000004711" + "000000025000" + payee).leftJustified(80) +
            "\r\n";
        const QString path = m_files.filePath(QString::fromLatin1(date) + QStringLiteral(".ag"));
        WriteFileBytes(path, bytes);
        return path;
    }

    QTemporaryDir m_files;
};

} // namespace

TEST_F(DeliveryCheckCli, CheckAndCalendarOnTheCommandLine)
{
    const QString tomorrow = orderFile("20261210");
    const QString passed = orderFile("20261201");
    const QString check = QStringLiteral("check");
    const QString now = QStringLiteral("--now");
    const struct
    {
        const char* name;
        QStringList args;
        int status;
        QString out; // the whole of standard output; for the usage errors, a part of standard error
    } cases[] = {
        {"before the deadline", {check, tomorrow, now, QStringLiteral("2026-12-09T18:59")}, 0, QString()},
        {"deadline passed: a warning passes",
         {check, tomorrow, now, QStringLiteral("2026-12-09T19:00")},
         0,
         tomorrow +
             QStringLiteral(":2: Betalningsdag: varning: Filen skulle ha nått banken senast 2026-12-09 kl. "
                            "19.00 för betalningsdagen 2026-12-10. Banken behandlar betalningen först "
                            "2026-12-11.\n")},
        {"passed by six banking days: an error fails",
         {check, passed, now, QStringLiteral("2026-12-09T12:00")},
         1,
         passed +
             QStringLiteral(":2: Betalningsdag: Betalningsdagen 2026-12-01 har passerat med 6 bankdagar när "
                            "filen når banken 2026-12-09. Banken avvisar betalningar som passerat med mer än "
                            "fem bankdagar.\n")},
        {"calendar",
         {QStringLiteral("calendar"), QStringLiteral("2027")},
         0,
         QStringLiteral(
             "2027-01-01 nyårsdagen\n2027-01-06 trettondedag jul\n2027-03-26 långfredagen\n"
             "2027-03-29 annandag påsk\n2027-05-06 Kristi himmelsfärdsdag\n2027-06-25 midsommarafton\n"
             "2027-12-24 julafton\n2027-12-31 nyårsafton\n")},
        {"moment without time",
         {check, tomorrow, now, QStringLiteral("2026-12-09")},
         2,
         QStringLiteral("--now")},
        {"impossible moment",
         {check, tomorrow, now, QStringLiteral("2026-02-30T10:00")},
         2,
         QStringLiteral("--now")},
        {"now to read",
         {QStringLiteral("read"), tomorrow, now, QStringLiteral("2026-12-09T10:00")},
         2,
         QStringLiteral("--now hör inte till read")},
        {"calendar outside the years",
         {QStringLiteral("calendar"), QStringLiteral("1899")},
         2,
         QStringLiteral("från 1900 till 2199")},
        {"calendar without a year", {QStringLiteral("calendar")}, 2, QStringLiteral("Ange ett år")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << result.errText().toStdString();
        if (c.status == 2)
            EXPECT_TRUE(result.errText().contains(c.out)) << result.errText().toStdString();
        else
            EXPECT_EQ(result.outText(), c.out);
    }
}

TEST_F(DeliveryCheckCli, JsonGivesOneObjectPerFinding)
{
    const QString file = orderFile("20261201");
    const CliRun result = run({QStringLiteral("check"), file, QStringLiteral("--json"),
                               QStringLiteral("--now"), QStringLiteral("2026-12-09T12:00")});
    EXPECT_EQ(result.status, 1);
    const QJsonArray findings = QJsonDocument::fromJson(result.out).array();
    ASSERT_EQ(findings.size(), 1) << result.out.constData();
    const QJsonObject finding = findings[0].toObject();
    EXPECT_EQ(finding[QStringLiteral("file")].toString(), file);
    EXPECT_EQ(finding[QStringLiteral("line")].toInt(), 2);
    EXPECT_EQ(finding[QStringLiteral("list")].toString(), QStringLiteral("BtuList"));
    EXPECT_EQ(finding[QStringLiteral("row")].toInt(), 1);
    EXPECT_EQ(finding[QStringLiteral("column")].toString(), QStringLiteral("Betalningsdag"));
    EXPECT_EQ(finding[QStringLiteral("level")].toString(), QStringLiteral("fel"));
    EXPECT_TRUE(finding[QStringLiteral("message")].toString().contains(QStringLiteral("2026-12-01")));

    const CliRun clean = run({QStringLiteral("check"), orderFile("20261221"), QStringLiteral("--json"),
                              QStringLiteral("--now"), QStringLiteral("2026-12-09T12:00")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, QByteArray("[]\n"));
}

TEST_F(DeliveryCheckCli, TheRegistersWarningsFromTheChosenOrTheDefaultRegister)
{
    using namespace BankFiles;
    const QDate day(2025, 1, 20);
    const QString registerPath = m_files.filePath(QStringLiteral("eget.sqlite"));
    const QString payer = QStringLiteral("1001");
    const QString delivered = m_files.filePath(QStringLiteral("medgivande.ag"));
    WriteFileBytes(delivered, Join({OrderOpening(day), NewMandate(payer, QStringLiteral("33001212121212"),
                                                                  QStringLiteral("196803050019"))}));
    ASSERT_EQ(run({QStringLiteral("register"), QStringLiteral("--register"), registerPath,
                   QStringLiteral("deliver"), delivered})
                  .status,
              0);
    // A payment to the payer whose mandate was sent but never approved.
    const QString file = m_files.filePath(QStringLiteral("betalning.ag"));
    WriteFileBytes(file,
                   Join({OrderOpening(day), PaymentOrder({payer, "82", 100, QString(), QDate(2025, 3, 3)})}));
    const QString message =
        QStringLiteral("Betalare 1001 har inget godkänt medgivande: Skickat sedan 2025-01-20.");
    const QString chosen = QStringLiteral("--register");
    const struct
    {
        const char* name;
        QStringList extra;
        int status;
        QString expected; // in standard output, or for status 2 in standard error; empty: no warning
    } cases[] = {
        {"without a register", {}, 0, QString()},
        {"the chosen register",
         {chosen, registerPath},
         0,
         file + QStringLiteral(":2: Betalarnummer: varning: ") + message},
        {"as JSON",
         {chosen, registerPath, QStringLiteral("--json")},
         0,
         QStringLiteral("\"level\":\"varning\",\"line\":2,\"list\":\"BtuList\",\"message\":\"") + message},
        {"the default register", {}, 0, message},
        {"a chosen register that is missing",
         {chosen, m_files.filePath(QStringLiteral("saknas.sqlite"))},
         2,
         QStringLiteral("saknas.sqlite finns inte")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (QLatin1String(c.name) == QLatin1String("the default register"))
            ASSERT_TRUE(
                QDir().mkpath(m_files.filePath(QStringLiteral("Lumora Valmo"))) &&
                QFile::copy(registerPath, m_files.filePath(QStringLiteral("Lumora Valmo/register.sqlite"))));
        const CliRun result = run(QStringList{QStringLiteral("check"), file, QStringLiteral("--now"),
                                              QStringLiteral("2025-02-20T12:00")} +
                                  c.extra);
        EXPECT_EQ(result.status, c.status) << result.errText().toStdString();
        const QString text = c.status == 2 ? result.errText() : result.outText();
        EXPECT_TRUE(c.expected.isEmpty() ? !text.contains(message) : text.contains(c.expected))
            << text.toStdString();
    }
}
