#include "cli/CalendarCommand.h"

#include "calendar/BankCalendar.h"
#include "cli/CliArguments.h"

#include <QDate>

#include <cstdio>

namespace {

constexpr int FirstYear = 1900;
constexpr int LastYear = 2199;

int yearArgument(const QStringList& arguments)
{
    const QStringList rest = arguments.mid(2);
    for (const QString& argument : rest) {
        if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1)
            throw CliUsageError(QStringLiteral("Okänd flagga %1").arg(argument));
    }
    if (rest.isEmpty())
        throw CliUsageError(QStringLiteral("Ange ett år till calendar"));
    if (rest.size() > 1)
        throw CliUsageError(QStringLiteral("Oväntat argument %1").arg(rest[1]));
    bool ok = false;
    const int year = rest[0].toInt(&ok);
    if (!ok || rest[0].size() != 4 || year < FirstYear || year > LastYear)
        throw CliUsageError(QStringLiteral("Året ska vara ett tal från %1 till %2, inte %3")
                                .arg(FirstYear)
                                .arg(LastYear)
                                .arg(rest[0]));
    return year;
}

} // namespace

int RunCalendarCommand(const QStringList& arguments)
{
    const int year = yearArgument(arguments);
    QByteArray out;
    for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
        if (day.dayOfWeek() >= Qt::Saturday || BankCalendar::IsBankingDay(day))
            continue;
        out += (day.toString(Qt::ISODate) + QLatin1Char(' ') + BankCalendar::HolidayName(day) +
                QLatin1Char('\n'))
                   .toUtf8();
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
