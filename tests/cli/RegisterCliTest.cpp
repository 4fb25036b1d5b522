#include "register/BankFiles.h"
#include "support/CliRun.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace BankFiles;

namespace {

class RegisterCli : public ::testing::Test
{
protected:
    CliRun run(const QStringList& args) const
    {
        return RunCli(QStringList{QStringLiteral("register"), QStringLiteral("--register"), m_register} + args);
    }

    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_folder.filePath(name);
        WriteFileBytes(path, bytes);
        return path;
    }

    QTemporaryDir m_folder;
    QString m_register = m_folder.filePath(QStringLiteral("register.sqlite"));
};

TEST_F(RegisterCli, ExitStatusesAndListings)
{
    const QDate day(2025, 1, 20);
    const Order order{QStringLiteral("1001"), "82", 12550, QStringLiteral("FAKT1"), QDate(2025, 2, 3)};
    QByteArray badTotals = MandateAdvice(day, {{QStringLiteral("1001"), "04", "32"}});
    badTotals.replace("99000000001", "99000000007");
    const QString orders = file(QStringLiteral("betalningar.ag"), Join({OrderOpening(day), PaymentOrder(order)}));
    const QString advice = file(QStringLiteral("medavi.txt"), badTotals);
    const QString paymentReport =
        file(QStringLiteral("betspec.txt"), PaymentSpecification(QDate(2025, 2, 3), {{order, '1'}}));
    const QString other = file(QStringLiteral("annan.ag"), Join({OrderOpening(day, QStringLiteral("55555551")), PaymentOrder(order)}));

    const struct
    {
        QStringList args;
        int status;
    } cases[] = {
        {{QStringLiteral("deliver"), orders}, 0},
        {{QStringLiteral("deliver"), paymentReport}, 3},
        {{QStringLiteral("deliver"), other}, 2},
        {{QStringLiteral("import"), advice}, 1},
        {{QStringLiteral("import"), advice, QStringLiteral("--force")}, 0},
        {{QStringLiteral("import"), paymentReport, m_folder.filePath(QStringLiteral("saknas.txt"))}, 2},
        {{QStringLiteral("import"), paymentReport}, 0},
        {{QStringLiteral("payments"), QStringLiteral("--state"), QStringLiteral("Okänd")}, 2},
        {{QStringLiteral("payments"), QStringLiteral("--from"), QStringLiteral("2025-02-30")}, 2},
        {{QStringLiteral("history")}, 2},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString() << ": "
                                           << result.errText().toStdString();
    }

    const CliRun payments = run({QStringLiteral("payments"), QStringLiteral("--payer"), QStringLiteral("1001")});
    ASSERT_EQ(payments.status, 0) << payments.errText().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(payments.out).array();
    ASSERT_EQ(rows.size(), 1) << payments.out.constData();
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row[QStringLiteral("amount")].toString(), QStringLiteral("125.50"));
    EXPECT_EQ(row[QStringLiteral("state")].toString(), QStringLiteral("Ej genomförd"));
    EXPECT_EQ(row[QStringLiteral("file")].toString(), QStringLiteral("betspec.txt"));
    EXPECT_EQ(row[QStringLiteral("withoutBasis")].toBool(), false);

    const CliRun csv = run({QStringLiteral("payers"), QStringLiteral("--state"), QStringLiteral("Godkänt"), QStringLiteral("--csv")});
    EXPECT_EQ(csv.out.split('\n').value(1).left(5), QByteArray("1001;"));

    WriteFileBytes(m_register, "inget register");
    EXPECT_EQ(run({QStringLiteral("payers")}).status, 2);
    EXPECT_EQ(ReadFileBytes(m_register), QByteArray("inget register"));
}

TEST_F(RegisterCli, RetryPrintsTheNewAttemptsAsADocumentAndNamesTheRestOnStandardError)
{
    const QDate day(2025, 1, 20);
    const Order noFunds{QStringLiteral("1001"), "82", 12550, QStringLiteral("FAKT1"), QDate(2025, 2, 3)};
    const Order closed{QStringLiteral("1002"), "82", 100, QStringLiteral("FAKT2"), QDate(2025, 2, 3)};
    const Order later{QStringLiteral("1003"), "82", 300, QStringLiteral("FAKT3"), QDate(2025, 3, 3)};
    ASSERT_EQ(run({QStringLiteral("deliver"), file(QStringLiteral("o.ag"), Join({OrderOpening(day), PaymentOrder(noFunds),
                                                                                PaymentOrder(closed), PaymentOrder(later)}))})
                  .status,
              0);
    ASSERT_EQ(run({QStringLiteral("import"), file(QStringLiteral("s.txt"), PaymentSpecification(QDate(2025, 2, 3),
                                                                                   {{noFunds, '1'}, {closed, '2'}}))})
                  .status,
              0);
    ASSERT_EQ(run({QStringLiteral("import"), file(QStringLiteral("s3.txt"), PaymentSpecification(QDate(2025, 3, 3),
                                                                                    {{later, '1'}}))})
                  .status,
              0);

    const CliRun retry = run({QStringLiteral("retry"), QStringLiteral("--to"), QStringLiteral("2025-02-28")});
    ASSERT_EQ(retry.status, 0) << retry.errText().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(retry.out).object()[QStringLiteral("BtuList")].toArray();
    ASSERT_EQ(rows.size(), 1) << retry.out.constData();
    const QJsonArray row = rows[0].toArray();
    EXPECT_EQ(row[0].toString(), QStringLiteral("Debitering"));
    EXPECT_EQ(row[3].toString(), QStringLiteral("125.50"));
    EXPECT_EQ(row[5].toString(), QStringLiteral("1001"));
    EXPECT_EQ(row[6].toString(), QStringLiteral("FAKT1"));
    EXPECT_GT(QDate::fromString(row[2].toString(), Qt::ISODate), QDate::currentDate());
    EXPECT_TRUE(retry.errText().contains(QStringLiteral("1002"))) << retry.errText().toStdString();
    EXPECT_FALSE(retry.errText().contains(QStringLiteral("1003"))); // outside the span

    EXPECT_EQ(run({QStringLiteral("retry"), QStringLiteral("--state"), QStringLiteral("Avvisad")}).status, 2);
}

} // namespace

namespace {

TEST_F(RegisterCli, ListingsEscapeTheirTextsAndFailOnAFullDisk)
{
    const QDate day(2025, 1, 20);
    const Order order{QStringLiteral("1001"), "82", 100007, QStringLiteral("A\"B\\C;D"), QDate(2025, 2, 3)};
    const Order second{QStringLiteral("1002"), "82", 5, QStringLiteral("X"), QDate(2025, 2, 4)};
    const QString orders =
        file(QStringLiteral("betalningar.ag"), Join({OrderOpening(day), PaymentOrder(order), PaymentOrder(second)}));
    const CliRun delivered = run({QStringLiteral("deliver"), orders});
    ASSERT_EQ(delivered.status, 0) << delivered.errText().toStdString();

    const CliRun json = run({QStringLiteral("payments")});
    const QJsonArray rows = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(rows.size(), 2) << json.out.constData();
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("reference")].toString(), order.reference);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("amount")].toString(), QStringLiteral("1000.07"));
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("amount")].toString(), QStringLiteral("0.05"));
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("line")].toInt(), 3);

    const QList<QByteArray> lines = run({QStringLiteral("payments"), QStringLiteral("--csv")}).out.split('\n');
    EXPECT_TRUE(lines.value(1).startsWith("1001;Debitering;2025-02-03;;")) << lines.value(1).constData();
    EXPECT_TRUE(lines.value(1).contains(";\"A\"\"B\\C;D\";Skickad;")) << lines.value(1).constData();

    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(VALMO_CLI_PATH),
               {QStringLiteral("register"), QStringLiteral("--register"), m_register, QStringLiteral("payments")});
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(full.readAllStandardError()).contains(QStringLiteral("Utdata kunde inte skrivas")));
}

} // namespace
