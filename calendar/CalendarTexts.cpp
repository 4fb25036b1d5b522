#include "calendar/CalendarTexts.h"

#include <array>

namespace {

const std::array<const char*, 7> WeekdayNames = {"måndag", "tisdag", "onsdag", "torsdag",
                                                 "fredag", "lördag", "söndag"};
const std::array<const char*, 7> ShortWeekdayNames = {"mån", "tis", "ons", "tor", "fre", "lör", "sön"};
const std::array<const char*, 12> ShortMonthNames = {"jan", "feb", "mar", "apr", "maj", "jun",
                                                     "jul", "aug", "sep", "okt", "nov", "dec"};

} // namespace

namespace CalendarTexts {

QString IsoDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QString ShortSwedishDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QString::fromUtf8(ShortWeekdayNames[std::size_t(date.dayOfWeek() - 1)]))
        .arg(date.day())
        .arg(QString::fromUtf8(ShortMonthNames[std::size_t(date.month() - 1)]))
        .arg(date.year());
}

QString ShortSwedishMoment(const QDateTime& moment)
{
    if (!moment.isValid())
        return QString();
    return QStringLiteral("%1 kl. %2")
        .arg(ShortSwedishDate(moment.date()), moment.time().toString(QStringLiteral("HH.mm")));
}

QString SwedishWeekday(const QDate& date)
{
    return date.isValid() ? QString::fromUtf8(WeekdayNames[std::size_t(date.dayOfWeek() - 1)]) : QString();
}

} // namespace CalendarTexts
