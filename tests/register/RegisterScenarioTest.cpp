#include "BankFiles.h"

#include "app/Clock.h"
#include "register/PaymentDays.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterQuery.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace BankFiles;

namespace {

// One expected state: of a payer's mandate (no date) or of the payment on a day.
struct Expected
{
    const char* payer;
    const char* date; // payment day asked for; nullptr for the mandate
    qint64 amount;
    const char* state;
    const char* code;
};

class RegisterScenario : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_database = std::make_unique<RegisterDatabase>(m_folder.filePath(QStringLiteral("register.sqlite")));
        m_importer = std::make_unique<RegisterImporter>(*m_database, m_clock);
    }

    // Each file is read twice: the second time changes nothing.
    ImportSummary twice(const QDate& day, const QByteArray& bytes, const QString& name, bool order)
    {
        m_clock.setDate(day);
        const ImportSummary first = order ? m_importer->deliver(bytes, name) : m_importer->import(bytes, name, false);
        EXPECT_FALSE(first.alreadyImported) << name.toStdString();
        EXPECT_FALSE(first.totalsDisagree) << first.disagreements.join(QLatin1Char(' ')).toStdString();
        const QStringList before = snapshot();
        const ImportSummary second = order ? m_importer->deliver(bytes, name) : m_importer->import(bytes, name, false);
        EXPECT_TRUE(second.alreadyImported) << name.toStdString();
        EXPECT_EQ(snapshot(), before) << name.toStdString();
        return first;
    }

    QStringList snapshot() const
    {
        QStringList rows;
        RegisterQuery query(*m_database);
        query.payers({}, [&](const RegisterPayerRow& r) {
            rows.append(r.payer + QLatin1Char('|') + r.state + QLatin1Char('|') + r.code);
            return true;
        });
        query.payments({}, [&](const RegisterPaymentRow& r) {
            rows.append(QStringLiteral("%1|%2|%3|%4|%5|%6").arg(r.payer, r.date).arg(r.amount).arg(r.state, r.code, r.newDate));
            return true;
        });
        return rows;
    }

    void expectStates(const QList<Expected>& expected) const
    {
        RegisterQuery query(*m_database);
        for (const Expected& e : expected) {
            QString state = QStringLiteral("(saknas)");
            QString code;
            if (!e.date) {
                query.payers({}, [&](const RegisterPayerRow& r) {
                    if (r.payer != QLatin1String(e.payer))
                        return true;
                    state = r.state;
                    code = r.code;
                    return false;
                });
            } else {
                PaymentFilter filter;
                filter.payer = QLatin1String(e.payer);
                filter.from = filter.to = QDate::fromString(QLatin1String(e.date), Qt::ISODate);
                query.payments(filter, [&](const RegisterPaymentRow& r) {
                    if (r.amount != e.amount)
                        return true;
                    state = r.state;
                    code = r.code;
                    return false;
                });
            }
            EXPECT_EQ(state.toStdString(), e.state) << e.payer << " " << (e.date ? e.date : "medgivande");
            EXPECT_EQ(code.toStdString(), e.code) << e.payer << " " << (e.date ? e.date : "medgivande");
        }
    }

    QTemporaryDir m_folder;
    FixedClock m_clock{QDate(2025, 1, 10)};
    std::unique_ptr<RegisterDatabase> m_database;
    std::unique_ptr<RegisterImporter> m_importer;
};

// A payee's year in the bank's order: mandates and their advice, payments and what became of them,
// then the bank's list of mandates.
TEST_F(RegisterScenario, PayeeYear)
{
    const QDate january10(2025, 1, 10);
    twice(january10,
          Join({OrderOpening(january10), NewMandate(QStringLiteral("1001"), QStringLiteral("33001212121212"), QStringLiteral("196803050000")),
                NewMandate(QStringLiteral("1002"), QStringLiteral("50011000020"), QStringLiteral("196803050000")),
                NewMandate(QStringLiteral("1003"), QStringLiteral("89013232323232"), QStringLiteral("005556000521")),
                NewMandate(QStringLiteral("1004"), QStringLiteral("33001212121213"), QStringLiteral("196803050000"))}),
          QStringLiteral("medgivanden.ag"), true);
    expectStates({{"1001", nullptr, 0, "Skickat", "04"}, {"1004", nullptr, 0, "Skickat", "04"}});

    const ImportSummary advice =
        twice(QDate(2025, 1, 14),
              MandateAdvice(QDate(2025, 1, 14), {{QStringLiteral("1001"), "04", "32"}, {QStringLiteral("1001"), "05", "21"},
                                                 {QStringLiteral("1002"), "04", "32"},
                                                 {QStringLiteral("1003"), "04", "23"}, {QStringLiteral("1004"), "04", "32"},
                                                 {QStringLiteral("1005"), "04", "32"}}),
              QStringLiteral("medavi.txt"), false);
    // The refused change of payer number (05/21) leaves 1001's approved mandate as it was.
    expectStates({{"1001", nullptr, 0, "Godkänt", "04/32"},
                  {"1003", nullptr, 0, "Avvisat", "04/23"},
                  {"1005", nullptr, 0, "Godkänt", "04/32"}});
    ASSERT_EQ(advice.withoutBasis.size(), 1);
    EXPECT_EQ(advice.withoutBasis.first().payer, QStringLiteral("1005"));

    // 1 February 2025 is a Saturday: the first of the monthly payments is paid on Monday 3 February.
    const Order monthly{QStringLiteral("1001"), "82", 10000, QStringLiteral("HYRA"), QDate(2025, 2, 1), '1', 3};
    const Order unpaid{QStringLiteral("1002"), "82", 25000, QStringLiteral("FAKT1"), QDate(2025, 2, 3)};
    const Order retried{QStringLiteral("1004"), "82", 30000, QStringLiteral("FAKT2"), QDate(2025, 2, 3)};
    const Order credit{QStringLiteral("1002"), "32", 5000, QStringLiteral("ATER"), QDate(2025, 2, 3)};
    const Order cancelled{QStringLiteral("1004"), "82", 7500, QStringLiteral("FAKT3"), QDate(2025, 2, 10)};
    const Order moved{QStringLiteral("1001"), "82", 9000, QStringLiteral("FAKT4"), QDate(2025, 2, 12)};
    const QDate january20(2025, 1, 20);
    twice(january20,
          Join({OrderOpening(january20), PaymentOrder(monthly), PaymentOrder(unpaid), PaymentOrder(retried),
                PaymentOrder(credit), PaymentOrder(cancelled), PaymentOrder(moved)}),
          QStringLiteral("betalningar.ag"), true);
    expectStates({{"1001", "2025-02-01", 10000, "Skickad", "82"},
                  {"1001", "2025-04-01", 10000, "Skickad", "82"},
                  {"1002", "2025-02-03", 5000, "Skickad", "32"}});

    twice(QDate(2025, 1, 21), RejectedPayments(QDate(2025, 1, 21), {{credit, "09"}}), QStringLiteral("avvisade.txt"),
          false);
    expectStates({{"1002", "2025-02-03", 5000, "Avvisad", "09"}, {"1002", "2025-02-03", 25000, "Skickad", "82"}});

    const Order unknown{QStringLiteral("9999"), "82", 100, QStringLiteral("X"), QDate(2025, 2, 10)};
    const ImportSummary changes = twice(
        QDate(2025, 1, 28),
        CancellationsAndChanges(QDate(2025, 1, 28), {{"25", cancelled, QDate(), "12"},
                                                     {"29", moved, QDate(2025, 2, 14), "14"},
                                                     {"25", unknown, QDate(), "13"}}),
        QStringLiteral("makuleringar.txt"), false);
    expectStates({{"1004", "2025-02-10", 7500, "Makulerad", "25/12"}, {"1001", "2025-02-12", 9000, "Ändrad", "29/14"}});
    ASSERT_EQ(changes.withoutBasis.size(), 1);
    EXPECT_EQ(changes.withoutBasis.first().payer, QStringLiteral("9999"));

    Order paidOnMonday = monthly;
    paidOnMonday.date = QDate(2025, 2, 3);
    const Order withoutOrder{QStringLiteral("1002"), "82", 99900, QStringLiteral("OKAND"), QDate(2025, 2, 3)};
    const ImportSummary paymentReport = twice(
        QDate(2025, 2, 3),
        PaymentSpecification(QDate(2025, 2, 3),
                             {{paidOnMonday, '0'}, {unpaid, '1'}, {retried, '9'}, {withoutOrder, '0'}}),
        QStringLiteral("betspec.txt"), false);
    expectStates({{"1001", "2025-02-01", 10000, "Genomförd", "0"},
                  {"1001", "2025-03-01", 10000, "Skickad", "82"},
                  {"1002", "2025-02-03", 25000, "Ej genomförd", "1"},
                  {"1004", "2025-02-03", 30000, "Nytt försök", "9"},
                  {"1002", "2025-02-03", 99900, "Genomförd", "0"}});
    EXPECT_EQ(paymentReport.states.value(QStringLiteral("Genomförd")), 2);
    ASSERT_EQ(paymentReport.withoutBasis.size(), 1);

    twice(QDate(2025, 3, 1),
          MandateRegisterExtract({{QStringLiteral("1001"), '1'}, {QStringLiteral("1002"), '2'}, {QStringLiteral("1005"), '1'}}),
          QStringLiteral("medgivanderegister.txt"), false);
    expectStates({{"1001", nullptr, 0, "Godkänt", "1"},
                  {"1002", nullptr, 0, "Under förfrågan", "2"},
                  {"1003", nullptr, 0, "Avvisat", "04/23"},
                  {"1004", nullptr, 0, "Saknas hos Bankgirot", ""}});

    // The history of a payer names every fact with its file and line, in the bank's order.
    QStringList history;
    RegisterQuery(*m_database).history(QStringLiteral("1004"), [&](const RegisterHistoryRow& row) {
        history.append(QStringLiteral("%1:%2 %3").arg(row.file).arg(row.line).arg(row.state));
        return true;
    });
    EXPECT_EQ(history.join(QLatin1Char(',')).toStdString(),
              "medgivanden.ag:5 Skickat,medavi.txt:6 Godkänt,betalningar.ag:4 Skickad,betalningar.ag:6 Skickad,"
              "makuleringar.txt:2 Makulerad,betspec.txt:5 Nytt försök,medgivanderegister.txt:0 Saknas hos Bankgirot");
}

TEST_F(RegisterScenario, ReportWithDisagreeingTotalsNeedsForce)
{
    QByteArray advice = MandateAdvice(QDate(2025, 1, 14), {{QStringLiteral("1001"), "04", "32"}});
    advice.replace("9900000000" "1", "9900000000" "2"); // the totals record claims two items
    const ImportSummary refused = m_importer->import(advice, QStringLiteral("medavi.txt"), false);
    EXPECT_TRUE(refused.totalsDisagree);
    EXPECT_EQ(snapshot(), QStringList());
    const ImportSummary forced = m_importer->import(advice, QStringLiteral("medavi.txt"), true);
    EXPECT_FALSE(forced.totalsDisagree);
    expectStates({{"1001", nullptr, 0, "Godkänt", "04/32"}});
}

TEST_F(RegisterScenario, RefusesFilesOfAnotherPayeeAndOfTheWrongKind)
{
    const QDate day(2025, 1, 10);
    m_importer->deliver(Join({OrderOpening(day), NewMandate(QStringLiteral("1"), QStringLiteral("33001212121212"), QStringLiteral("196803050000"))}),
                        QStringLiteral("a.ag"));
    const struct
    {
        QByteArray bytes;
        bool deliver;
        RegisterError::Kind kind;
    } cases[] = {
        {Join({OrderOpening(day, QStringLiteral("55555551")), PaymentOrder({QStringLiteral("1"), "82", 100, QString(), day})}), true,
         RegisterError::Kind::OtherPayee},
        {MandateAdvice(day, {{QStringLiteral("1"), "04", "32"}}), true, RegisterError::Kind::ReportGiven},
        {Join({OrderOpening(day)}), false, RegisterError::Kind::UnreadableFile},
        {QByteArray("ingen fil från banken\r\n"), false, RegisterError::Kind::UnreadableFile},
        {Join({OrderOpening(day), Record("82").put(3, "2025XX01")}), true, RegisterError::Kind::UnreadableFile},
    };
    const QStringList before = snapshot();
    for (const auto& c : cases) {
        try {
            c.deliver ? m_importer->deliver(c.bytes, QStringLiteral("b.ag")) : m_importer->import(c.bytes, QStringLiteral("b.ag"), false);
            ADD_FAILURE() << "accepted: " << c.bytes.left(40).constData();
        } catch (const RegisterError& error) {
            EXPECT_EQ(int(error.kind()), int(c.kind)) << error.message().toStdString();
        }
    }
    EXPECT_EQ(snapshot(), before);
}

} // namespace

namespace {

// The days of an order and the banking day each is paid on: 2025-05-31 is a Saturday, 2025-06-30 a
// Monday, 2025-08-31 a Sunday.
TEST(PaymentDays, ScheduledDaysAndTheDayTheBankPays)
{
    const struct
    {
        QDate first;
        char period;
        int count;
        QList<QDate> scheduled;
        QDate lastPaidOn;
    } cases[] = {
        {QDate(2025, 1, 31), '1', 3, {QDate(2025, 1, 31), QDate(2025, 2, 28), QDate(2025, 3, 31)}, QDate(2025, 3, 31)},
        {QDate(2025, 5, 31), '0', 0, {QDate(2025, 5, 31)}, QDate(2025, 6, 2)},
        {QDate(2025, 5, 10), '6', 2, {QDate(2025, 5, 31), QDate(2025, 8, 31)}, QDate(2025, 8, 29)},
        {QDate(2025, 6, 30), '4', 2, {QDate(2025, 6, 30), QDate(2026, 6, 30)}, QDate(2026, 6, 30)},
    };
    for (const auto& c : cases) {
        const QList<QDate> days = PaymentDays::scheduled(c.first, QLatin1Char(c.period), c.count);
        EXPECT_EQ(days, c.scheduled) << c.first.toString(Qt::ISODate).toStdString() << " " << c.period;
        EXPECT_EQ(PaymentDays::paidOn(days.last(), QLatin1Char(c.period)), c.lastPaidOn) << c.period;
    }
    // Until further notice: laid out for the years ahead, no further.
    const QList<QDate> open = PaymentDays::scheduled(QDate(2025, 1, 15), QLatin1Char('2'), 0);
    EXPECT_EQ(open.size(), 4 * PaymentDays::OpenEndedYears + 1);
}

} // namespace
