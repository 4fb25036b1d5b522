#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates and moments as the editor writes them in its messages.
namespace CalendarTexts {
// "2026-12-11".
QString IsoDate(const QDate& date);
// "fre 11 dec 2026".
QString ShortSwedishDate(const QDate& date);
// "fre 11 dec 2026 kl. 19.00".
QString ShortSwedishMoment(const QDateTime& moment);
// "fredag".
QString SwedishWeekday(const QDate& date);
} // namespace CalendarTexts
