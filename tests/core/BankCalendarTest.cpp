#include "calendar/BankCalendar.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Easter Sunday by Oudin's algorithm, independent of the one the calendar uses.
QDate OudinEaster(int year)
{
    const int g = year % 19;
    const int c = year / 100;
    const int h = (c - c / 4 - (8 * c + 13) / 25 + 19 * g + 15) % 30;
    const int i = h - (h / 28) * (1 - (29 / (h + 1)) * ((21 - g) / 11));
    const int j = (year + year / 4 + i + 2 - c + c / 4) % 7;
    const int l = i - j;
    const int month = 3 + (l + 40) / 44;
    const int day = l + 28 - 31 * (month / 4);
    return QDate(year, month, day);
}

std::set<QDate> WeekdayHolidays(int year)
{
    const QDate easter = OudinEaster(year);
    std::set<QDate> days = {QDate(year, 1, 1),   QDate(year, 1, 6),   QDate(year, 5, 1),
                            QDate(year, 6, 6),   QDate(year, 12, 24), QDate(year, 12, 25),
                            QDate(year, 12, 26), QDate(year, 12, 31), easter.addDays(-2),
                            easter.addDays(1),   easter.addDays(39)};
    QDate midsummerEve(year, 6, 19);
    while (midsummerEve.dayOfWeek() != Qt::Friday)
        midsummerEve = midsummerEve.addDays(1);
    days.insert(midsummerEve);
    return days;
}

QDate D(int year, int month, int day)
{
    return QDate(year, month, day);
}

} // namespace

TEST(BankCalendar, EveryDayFrom1900To2199MatchesAnIndependentComputation)
{
    int bankingDays = 0;
    for (int year = 1900; year <= 2199; ++year) {
        const std::set<QDate> holidays = WeekdayHolidays(year);
        for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
            const bool weekend = day.dayOfWeek() >= Qt::Saturday;
            const bool expected = !weekend && holidays.count(day) == 0;
            ASSERT_EQ(BankCalendar::IsBankingDay(day), expected) << day.toString(Qt::ISODate).toStdString();
            bankingDays += expected ? 1 : 0;
        }
    }
    // The table's running count agrees with counting the days one by one.
    EXPECT_EQ(BankCalendar::BankingDaysBetween(D(1899, 12, 31), D(2199, 12, 31)), bankingDays);
}

TEST(BankCalendar, TheWeekdaysOf2026ThatAreNotBankingDays)
{
    const struct
    {
        QDate date;
        const char* name;
    } expected[] = {
        {D(2026, 1, 1), "nyårsdagen"},      {D(2026, 1, 6), "trettondedag jul"},
        {D(2026, 4, 3), "långfredagen"},    {D(2026, 4, 6), "annandag påsk"},
        {D(2026, 5, 1), "första maj"},      {D(2026, 5, 14), "Kristi himmelsfärdsdag"},
        {D(2026, 6, 19), "midsommarafton"}, {D(2026, 12, 24), "julafton"},
        {D(2026, 12, 25), "juldagen"},      {D(2026, 12, 31), "nyårsafton"},
    };
    std::vector<QDate> found;
    for (QDate day(2026, 1, 1); day.year() == 2026; day = day.addDays(1)) {
        if (day.dayOfWeek() < Qt::Saturday && !BankCalendar::IsBankingDay(day))
            found.push_back(day);
    }
    ASSERT_EQ(found.size(), std::size(expected));
    for (std::size_t index = 0; index < found.size(); ++index) {
        EXPECT_EQ(found[index], expected[index].date);
        EXPECT_EQ(BankCalendar::HolidayName(found[index]), QString::fromUtf8(expected[index].name));
    }
    // Holidays on a weekend keep their names; a plain weekend day and a half day have none.
    EXPECT_EQ(BankCalendar::HolidayName(D(2026, 6, 6)), QStringLiteral("nationaldagen"));
    EXPECT_EQ(BankCalendar::HolidayName(D(2026, 4, 5)), QStringLiteral("påskdagen"));
    EXPECT_EQ(BankCalendar::HolidayName(D(2026, 10, 31)), QStringLiteral("alla helgons dag"));
    EXPECT_TRUE(BankCalendar::HolidayName(D(2026, 3, 7)).isEmpty());
    EXPECT_TRUE(BankCalendar::IsBankingDay(D(2026, 4, 30))); // valborgsmässoafton
    EXPECT_TRUE(BankCalendar::IsBankingDay(D(2026, 4, 2)));  // skärtorsdagen
}

TEST(BankCalendar, StepsAndCountsAcrossHolidaysAndYearEnds)
{
    const struct
    {
        QDate date;
        QDate next, previous, onOrAfter, onOrBefore;
    } steps[] = {
        // Thursday before Easter: the next banking day is after annandag påsk.
        {D(2026, 4, 2), D(2026, 4, 7), D(2026, 4, 1), D(2026, 4, 2), D(2026, 4, 2)},
        // Långfredagen.
        {D(2026, 4, 3), D(2026, 4, 7), D(2026, 4, 2), D(2026, 4, 7), D(2026, 4, 2)},
        // Julafton to nyårsdagen: 28-30 Dec are the only banking days.
        {D(2026, 12, 24), D(2026, 12, 28), D(2026, 12, 23), D(2026, 12, 28), D(2026, 12, 23)},
        {D(2026, 12, 30), D(2027, 1, 4), D(2026, 12, 29), D(2026, 12, 30), D(2026, 12, 30)},
        // Outside the table the rules still hold.
        {D(2200, 1, 1), D(2200, 1, 2), D(2199, 12, 30), D(2200, 1, 2), D(2199, 12, 30)},
    };
    for (const auto& row : steps) {
        SCOPED_TRACE(row.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(BankCalendar::NextBankingDay(row.date), row.next);
        EXPECT_EQ(BankCalendar::PreviousBankingDay(row.date), row.previous);
        EXPECT_EQ(BankCalendar::BankingDayOnOrAfter(row.date), row.onOrAfter);
        EXPECT_EQ(BankCalendar::BankingDayOnOrBefore(row.date), row.onOrBefore);
    }

    const struct
    {
        QDate from;
        int n;
        QDate to;
    } adds[] = {
        {D(2026, 12, 22), 0, D(2026, 12, 22)},  {D(2026, 12, 22), 2, D(2026, 12, 28)},
        {D(2026, 12, 22), 5, D(2027, 1, 4)},    {D(2027, 1, 4), -5, D(2026, 12, 22)},
        {D(2026, 12, 28), -1, D(2026, 12, 23)}, {D(2199, 12, 27), 3, D(2200, 1, 3)},
    };
    for (const auto& row : adds) {
        SCOPED_TRACE(row.from.toString(Qt::ISODate).toStdString() + " " + std::to_string(row.n));
        EXPECT_EQ(BankCalendar::AddBankingDays(row.from, row.n), row.to);
        // Every start here is a banking day, so the count between gives n back, inside the table
        // and across its end.
        EXPECT_EQ(BankCalendar::BankingDaysBetween(row.from, row.to), row.n);
        EXPECT_EQ(BankCalendar::BankingDaysBetween(row.to, row.from), -row.n);
    }
}

TEST(BankCalendar, DeliveryDeadlineIsSevenPmTheBankingDayBefore)
{
    const struct
    {
        QDate payment;
        QDate deadlineDay;
    } table[] = {
        {D(2026, 12, 14), D(2026, 12, 11)}, // Monday: the Friday before
        {D(2026, 4, 7), D(2026, 4, 2)},     // after Easter: skärtorsdagen
        {D(2026, 12, 26), D(2026, 12, 23)}, // a Saturday: the bank's day is the 28th, the deadline the 23rd
        {D(2027, 1, 4), D(2026, 12, 30)},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.payment.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(BankCalendar::DeliveryDeadline(row.payment), QDateTime(row.deadlineDay, QTime(19, 0)));
    }
    EXPECT_FALSE(BankCalendar::DeliveryDeadline(QDate()).isValid());
    EXPECT_FALSE(BankCalendar::IsBankingDay(QDate()));
    EXPECT_FALSE(BankCalendar::NextBankingDay(QDate()).isValid());
    EXPECT_EQ(BankCalendar::BankingDaysBetween(QDate(), D(2026, 1, 1)), 0);
}
