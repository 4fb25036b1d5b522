#include "register/PaymentDays.h"

#include "calendar/BankCalendar.h"

namespace PaymentDays {

namespace {

int MonthsBetween(QChar period)
{
    switch (period.unicode()) {
    case '1':
    case '5':
        return 1;
    case '2':
    case '6':
        return 3;
    case '3':
    case '7':
        return 6;
    default:
        return 12;
    }
}

bool LastDayPeriod(QChar period)
{
    return period >= QLatin1Char('5') && period <= QLatin1Char('8');
}

QDate DayInMonth(const QDate& month, int day)
{
    const QDate first(month.year(), month.month(), 1);
    return QDate(first.year(), first.month(), qMin(day, first.daysInMonth()));
}

} // namespace

QList<QDate> scheduled(const QDate& first, QChar period, int count)
{
    if (!first.isValid())
        return {};
    if (period == QLatin1Char('0'))
        return {first};
    const int step = MonthsBetween(period);
    const QDate end = first.addYears(OpenEndedYears);
    QList<QDate> days;
    for (int i = 0; count == 0 || i < count; ++i) {
        const QDate month = QDate(first.year(), first.month(), 1).addMonths(i * step);
        const QDate day =
            LastDayPeriod(period) ? DayInMonth(month, 31) : DayInMonth(month, first.day());
        if (count == 0 && day > end)
            break;
        days.append(day);
    }
    return days;
}

QDate paidOn(const QDate& scheduled, QChar period)
{
    return LastDayPeriod(period) ? BankCalendar::BankingDayOnOrBefore(scheduled)
                                 : BankCalendar::BankingDayOnOrAfter(scheduled);
}

QDate addBankingDays(const QDate& from, int days)
{
    return BankCalendar::AddBankingDays(from, days);
}

} // namespace PaymentDays
