#include "calendar/DeliveryCheck.h"
#include "app/OrderDocument.h"
#include "calendar/BankCalendar.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QDateTime At(int month, int day, int hour, int minute)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute));
}

void AddOrder(OrderDocument& document, const QString& date, const QString& amount = QStringLiteral("100,00"),
              const QString& payer = QStringLiteral("4711"),
              const QString& period = QStringLiteral("Engångsbetalning"))
{
    document.BtuList.append(QStringLiteral("Debitering"),
                            {period, date, amount, QStringLiteral("1"), payer, QString()});
}

void AddMandate(OrderDocument& document, const QString& payer)
{
    document.MdgList.append(QStringLiteral("Medgivande på papper"),
                            {payer, QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
}

void AddCancellation(OrderDocument& document, const QString& payer, const QString& date)
{
    document.MakList.append(QStringLiteral("24"),
                            QStringLiteral("Makulering av alla transaktioner, med angiven betaldag, för ett "
                                           "betalarnummer"),
                            {payer, date, QString(), QString(), QString(), QString()});
}

struct Expected
{
    ListId list;
    int row;
    int column;
    FindingLevel level;
    const char* text; // a part of the message: the dates it names
};

const FindingLevel Fel = FindingLevel::Error;
const FindingLevel Varning = FindingLevel::Warning;

// The deadline goes by the earliest banking day of all orders, also where orders next to each other
// share a date text but not the rule for a day that is no banking day.
TEST(DeliveryCheck, EarliestDeadlineOverRunsOfSharedDates)
{
    const QString once = QStringLiteral("Engångsbetalning");
    const QString lastDay = QStringLiteral("Sista bankdagen varje månad");
    const struct
    {
        const char* name;
        QList<QPair<const char*, QString>> orders; // date, period
        QDate earliest;
    } cases[] = {
        {"a later run, then the earliest",
         {{"2026-06-10", once}, {"2026-06-10", once}, {"2026-06-03", once}, {"2026-06-03", once}},
         QDate(2026, 6, 3)},
        {"one Saturday, after it and before it",
         {{"2026-06-13", once}, {"2026-06-13", lastDay}, {"2026-06-13", once}},
         QDate(2026, 6, 12)},
        {"dates that are no dates between",
         {{"", once}, {"2026-06-20", once}, {"x", once}},
         QDate(2026, 6, 22)},
        {"no date at all", {{"", once}, {"", once}}, QDate()},
    };
    for (const auto& c : cases) {
        OrderDocument document;
        for (const auto& [date, period] : c.orders)
            AddOrder(document, QString::fromLatin1(date), QStringLiteral("100,00"), QStringLiteral("4711"),
                     period);
        const QDateTime expected =
            c.earliest.isValid() ? BankCalendar::DeliveryDeadline(c.earliest) : QDateTime();
        EXPECT_EQ(EarliestDeliveryDeadline(document), expected) << c.name;
    }
}

} // namespace

// Wednesday 9 December 2026; the banking days before it are 8, 7, 4, 3, 2 and 1 December, after it
// 10, 11, 14, 15, 16, 17 and 18 December. 24 and 25 December are no banking days.
TEST(DeliveryCheck, EachRuleAtItsBoundary)
{
    const struct
    {
        const char* rule;
        QDateTime now;
        std::function<void(OrderDocument&)> fill;
        std::vector<Expected> expected;
    } table[] = {
        {"passed by five banking days: moved",
         At(12, 9, 12, 0),
         [](OrderDocument& d) { AddOrder(d, QStringLiteral("2026-12-02")); },
         {{ListId::Btu, 0, 2, Varning, "drar betalningen 2026-12-10"}}},
        {"passed by six banking days: rejected",
         At(12, 9, 12, 0),
         [](OrderDocument& d) { AddOrder(d, QStringLiteral("2026-12-01")); },
         {{ListId::Btu, 0, 2, Fel, "2026-12-01 har passerat med 6 bankdagar"}}},
        {"deadline at 18.59 not passed",
         At(12, 9, 18, 59),
         [](OrderDocument& d) { AddOrder(d, QStringLiteral("2026-12-10")); },
         {}},
        {"deadline at 19.00 passed",
         At(12, 9, 19, 0),
         [](OrderDocument& d) { AddOrder(d, QStringLiteral("2026-12-10")); },
         {{ListId::Btu, 0, 2, Varning,
           "senast 2026-12-09 kl. 19.00 för betalningsdagen 2026-12-10. Banken "
           "behandlar betalningen först 2026-12-11"}}},
        {"31 December two years ahead is taken, as its banking day before",
         At(12, 9, 12, 0),
         [](OrderDocument& d) {
             AddOrder(d, QStringLiteral("2028-12-29"));
             AddOrder(d, QStringLiteral("2028-12-31"), QStringLiteral("1,00"), QStringLiteral("4711"),
                      QStringLiteral("Sista bankdagen varje månad"));
             AddOrder(d, QStringLiteral("2028-12-31"), QStringLiteral("2,00"));
         },
         {{ListId::Btu, 1, 2, Varning,
           "2028-12-31 är ingen bankdag (nyårsafton). Banken använder 2028-12-29"},
          {ListId::Btu, 2, 2, Varning,
           "2028-12-31 är ingen bankdag (nyårsafton). Banken använder 2029-01-02"}}},
        {"1 January three years ahead is rejected",
         At(12, 9, 12, 0),
         [](OrderDocument& d) { AddOrder(d, QStringLiteral("2029-01-01")); },
         {{ListId::Btu, 0, 2, Fel, "2029-01-01 ligger efter 2028-12-31"}}},
        {"after 19.00 on 30 December the file arrives in the new year, whose year plus two counts",
         At(12, 30, 19, 0),
         [](OrderDocument& d) {
             AddOrder(d, QStringLiteral("2029-12-28"));
             AddOrder(d, QStringLiteral("2030-01-02"), QStringLiteral("1,00"));
         },
         {{ListId::Btu, 1, 2, Fel, "2030-01-02 ligger efter 2029-12-31"}}},
        {"no banking day: the next one",
         At(12, 9, 12, 0),
         [](OrderDocument& d) { AddOrder(d, QStringLiteral("2026-12-24")); },
         {{ListId::Btu, 0, 2, Varning,
           "2026-12-24 är ingen bankdag (julafton). Banken använder 2026-12-28"}}},
        {"new mandate six banking days ahead",
         At(12, 9, 18, 59),
         [](OrderDocument& d) {
             AddMandate(d, QStringLiteral("4711"));
             AddOrder(d, QStringLiteral("2026-12-17"));
         },
         {}},
        {"new mandate after 19.00: five banking days",
         At(12, 9, 19, 0),
         [](OrderDocument& d) {
             AddMandate(d, QStringLiteral("47-11"));
             AddOrder(d, QStringLiteral("2026-12-17"));
         },
         {{ListId::Btu, 0, 2, Varning,
           "2026-12-10 men ska vara där sex bankdagar före första betalningen. "
           "Betalningsdagen 2026-12-17 är för tidig; den första möjliga är 2026-12-18"}}},
        {"GENAST is the first processing day",
         At(12, 9, 12, 0),
         [](OrderDocument& d) {
             AddMandate(d, QStringLiteral("4711"));
             AddOrder(d, QStringLiteral("GENAST"));
         },
         {{ListId::Btu, 0, 2, Varning, "Betalningsdagen 2026-12-10 är för tidig"}}},
        {"a rejected mandate is no new mandate, another payer none of this one's",
         At(12, 9, 12, 0),
         [](OrderDocument& d) {
             d.MdgList.append(QStringLiteral("Avvisad - Autogiro elektroniskt medgivande"),
                              {QStringLiteral("4711"), QString(), QString()});
             AddMandate(d, QStringLiteral("4712"));
             AddOrder(d, QStringLiteral("2026-12-10"));
         },
         {}},
        {"cancellation and order to one payer in one file",
         At(12, 9, 12, 0),
         [](OrderDocument& d) {
             AddOrder(d, QStringLiteral("2026-12-21"));
             AddCancellation(d, QStringLiteral("0000004711"), QStringLiteral("2026-12-18"));
             AddCancellation(d, QStringLiteral("4712"), QStringLiteral("2026-12-18"));
         },
         {{ListId::Mak, 0, 1, Varning, "till 4711 med betalningsdagen 2026-12-21"}}},
        {"cancellation after its deadline",
         At(12, 10, 19, 0),
         [](OrderDocument& d) { AddCancellation(d, QStringLiteral("4712"), QStringLiteral("2026-12-11")); },
         {{ListId::Mak, 0, 2, Varning, "senast 2026-12-10 kl. 19.00 för betalningsdagen 2026-12-11"}}},
        {"the same order twice; another amount is another order",
         At(12, 9, 12, 0),
         [](OrderDocument& d) {
             AddOrder(d, QStringLiteral("2026-12-21"), QStringLiteral("1 250,00"));
             AddOrder(d, QStringLiteral("2026-12-21"), QStringLiteral("1 250,01"));
             AddOrder(d, QStringLiteral("2026-12-21"), QStringLiteral("1250,00"));
         },
         {{ListId::Btu, 2, 3, Varning, "Betaluppdrag 1 har samma betalare, typ, betalningsdag 2026-12-21"}}},
        {"an amount of 0,00 but not 0,01",
         At(12, 9, 12, 0),
         [](OrderDocument& d) {
             AddOrder(d, QStringLiteral("2026-12-21"), QStringLiteral("0,00"));
             AddOrder(d, QStringLiteral("2026-12-21"), QStringLiteral("0,01"));
         },
         {{ListId::Btu, 0, 3, Varning, "0,00 för betalningsdagen 2026-12-21"}}},
    };
    for (const auto& entry : table) {
        SCOPED_TRACE(entry.rule);
        OrderDocument document;
        entry.fill(document);
        const QList<DeliveryFinding> findings = CheckDelivery(document, entry.now);
        ASSERT_EQ(findings.size(), qsizetype(entry.expected.size()));
        for (qsizetype i = 0; i < findings.size(); ++i) {
            const Expected& expected = entry.expected[std::size_t(i)];
            EXPECT_EQ(findings[i].list, expected.list);
            EXPECT_EQ(findings[i].row, expected.row);
            EXPECT_EQ(findings[i].column, expected.column);
            EXPECT_EQ(findings[i].level, expected.level);
            EXPECT_TRUE(findings[i].message.contains(QString::fromUtf8(expected.text)))
                << findings[i].message.toStdString();
        }
        EXPECT_EQ(HasDeliveryError(findings), !entry.expected.empty() && entry.expected[0].level == Fel);
    }
}

// The payer's column has the title the list shows for the service type.
TEST(DeliveryCheck, PayerColumnTitleFollowsTheService)
{
    for (const bool privateService : {true, false}) {
        OrderDocument document;
        document.PrivateService = privateService;
        AddOrder(document, QStringLiteral("2026-12-21"), QStringLiteral("100,00"),
                 QStringLiteral("1234-5674"));
        AddCancellation(document, QStringLiteral("1234-5674"), QStringLiteral("2026-12-18"));
        const QList<DeliveryFinding> findings = CheckDelivery(document, At(12, 9, 12, 0));
        ASSERT_EQ(findings.size(), 1);
        EXPECT_EQ(findings[0].columnTitle,
                  privateService ? QStringLiteral("Betalarnummer") : QStringLiteral("Bankgironummer"));
    }
}

TEST(DeliveryCheck, ArrivalMovesPastTheCutOffAndOverWeekends)
{
    const struct
    {
        QDateTime now;
        QDate arrival;
        QDate processing;
    } table[] = {
        {At(12, 9, 18, 59), QDate(2026, 12, 9), QDate(2026, 12, 10)},
        {At(12, 9, 19, 0), QDate(2026, 12, 10), QDate(2026, 12, 11)},
        {At(12, 11, 19, 0), QDate(2026, 12, 14), QDate(2026, 12, 15)},
        {At(12, 12, 9, 0), QDate(2026, 12, 14), QDate(2026, 12, 15)},
        {At(12, 23, 20, 0), QDate(2026, 12, 28), QDate(2026, 12, 29)},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.now.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(ArrivalBankingDay(row.now), row.arrival);
        EXPECT_EQ(FirstProcessingDay(row.now), row.processing);
    }
}
