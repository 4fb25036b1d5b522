#include "calendar/BankCalendar.h"

#include <QTime>

#include <cstdint>
#include <vector>

namespace {

constexpr int FirstTableYear = 1900;
constexpr int LastTableYear = 2199;

// Easter Sunday of a Gregorian year (the anonymous Gregorian computus).
QDate EasterSunday(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

QString FixedHolidayName(int month, int day)
{
    switch (month * 100 + day) {
    case 101:
        return QStringLiteral("nyårsdagen");
    case 106:
        return QStringLiteral("trettondedag jul");
    case 501:
        return QStringLiteral("första maj");
    case 606:
        return QStringLiteral("nationaldagen");
    case 1224:
        return QStringLiteral("julafton");
    case 1225:
        return QStringLiteral("juldagen");
    case 1226:
        return QStringLiteral("annandag jul");
    case 1231:
        return QStringLiteral("nyårsafton");
    default:
        return QString();
    }
}

QString EasterHolidayName(const QDate& date)
{
    switch (EasterSunday(date.year()).daysTo(date)) {
    case -2:
        return QStringLiteral("långfredagen");
    case 0:
        return QStringLiteral("påskdagen");
    case 1:
        return QStringLiteral("annandag påsk");
    case 39:
        return QStringLiteral("Kristi himmelsfärdsdag");
    case 49:
        return QStringLiteral("pingstdagen");
    default:
        return QString();
    }
}

// Midsommarafton is the Friday from 19 to 25 June; midsommardagen the Saturday after it, and
// alla helgons dag the Saturday from 31 October to 6 November.
QString MovableWeekdayHolidayName(const QDate& date)
{
    const int month = date.month();
    const int day = date.day();
    const int weekday = date.dayOfWeek();
    if (month == 6 && weekday == Qt::Friday && day >= 19 && day <= 25)
        return QStringLiteral("midsommarafton");
    if (month == 6 && weekday == Qt::Saturday && day >= 20 && day <= 26)
        return QStringLiteral("midsommardagen");
    if (weekday == Qt::Saturday && ((month == 10 && day == 31) || (month == 11 && day <= 6)))
        return QStringLiteral("alla helgons dag");
    return QString();
}

QString ComputeHolidayName(const QDate& date)
{
    QString name = FixedHolidayName(date.month(), date.day());
    if (name.isEmpty())
        name = EasterHolidayName(date);
    if (name.isEmpty())
        name = MovableWeekdayHolidayName(date);
    return name;
}

bool ComputeIsBankingDay(const QDate& date)
{
    const int weekday = date.dayOfWeek();
    if (weekday == Qt::Saturday || weekday == Qt::Sunday)
        return false;
    return ComputeHolidayName(date).isEmpty();
}

// The years 1900-2199 as one table, built once: whether each day is a banking day, and how many
// banking days there are before it, so that counting between two dates is a subtraction.
class BankingDayTable
{
public:
    BankingDayTable()
        : m_first(QDate(FirstTableYear, 1, 1).toJulianDay()),
          m_last(QDate(LastTableYear, 12, 31).toJulianDay())
    {
        const auto size = static_cast<std::size_t>(m_last - m_first + 1);
        m_banking.resize(size);
        m_countBefore.resize(size + 1);
        std::int32_t count = 0;
        for (std::size_t index = 0; index < size; ++index) {
            const bool banking = ComputeIsBankingDay(QDate::fromJulianDay(m_first + qint64(index)));
            m_banking[index] = banking;
            m_countBefore[index] = count;
            count += banking ? 1 : 0;
        }
        m_countBefore[size] = count;
    }

    bool contains(const QDate& date) const
    {
        const qint64 day = date.toJulianDay();
        return date.isValid() && day >= m_first && day <= m_last;
    }
    bool isBankingDay(const QDate& date) const { return m_banking[index(date)] != 0; }
    // Banking days d with d < date (date may be one past the table).
    std::int32_t countBefore(const QDate& date) const { return m_countBefore[index(date)]; }

private:
    std::size_t index(const QDate& date) const
    {
        return static_cast<std::size_t>(date.toJulianDay() - m_first);
    }

    qint64 m_first;
    qint64 m_last;
    std::vector<std::uint8_t> m_banking;
    std::vector<std::int32_t> m_countBefore;
};

const BankingDayTable& Table()
{
    static const BankingDayTable table;
    return table;
}

QDate StepToBankingDay(QDate date, int step)
{
    do
        date = date.addDays(step);
    while (date.isValid() && !BankCalendar::IsBankingDay(date));
    return date;
}

} // namespace

namespace BankCalendar {

bool IsBankingDay(const QDate& date)
{
    if (!date.isValid())
        return false;
    const BankingDayTable& table = Table();
    if (table.contains(date))
        return table.isBankingDay(date);
    return ComputeIsBankingDay(date);
}

QString HolidayName(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return ComputeHolidayName(date);
}

QDate NextBankingDay(const QDate& date)
{
    return date.isValid() ? StepToBankingDay(date, 1) : QDate();
}

QDate PreviousBankingDay(const QDate& date)
{
    return date.isValid() ? StepToBankingDay(date, -1) : QDate();
}

QDate BankingDayOnOrAfter(const QDate& date)
{
    return IsBankingDay(date) ? date : NextBankingDay(date);
}

QDate BankingDayOnOrBefore(const QDate& date)
{
    return IsBankingDay(date) ? date : PreviousBankingDay(date);
}

QDate AddBankingDays(const QDate& date, int n)
{
    QDate result = date;
    for (int step = 0; step < n && result.isValid(); ++step)
        result = NextBankingDay(result);
    for (int step = 0; step > n && result.isValid(); --step)
        result = PreviousBankingDay(result);
    return result;
}

int BankingDaysBetween(const QDate& from, const QDate& to)
{
    if (!from.isValid() || !to.isValid())
        return 0;
    if (to < from)
        return -BankingDaysBetween(to, from);
    const BankingDayTable& table = Table();
    if (table.contains(from) && table.contains(to))
        return table.countBefore(to.addDays(1)) - table.countBefore(from.addDays(1));
    int count = 0;
    for (QDate day = from.addDays(1); day <= to; day = day.addDays(1))
        count += IsBankingDay(day) ? 1 : 0;
    return count;
}

QDateTime DeliveryDeadline(const QDate& paymentDate)
{
    const QDate day = PreviousBankingDay(paymentDate);
    if (!day.isValid())
        return QDateTime();
    return QDateTime(day, QTime(19, 0), Qt::LocalTime);
}

} // namespace BankCalendar
