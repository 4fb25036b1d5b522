#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Swedish banking days: every day but Saturdays, Sundays, the public holidays, midsommarafton,
// julafton and nyårsafton. Computed from the rules for any year (Easter by the Gregorian
// computus); the years 1900-2199 are answered from a table built once. An invalid date is never a
// banking day and gives invalid dates back.
namespace BankCalendar {
bool IsBankingDay(const QDate& date);
// "långfredagen", "julafton"...; empty on an ordinary day and on a plain Saturday or Sunday.
QString HolidayName(const QDate& date);
// The first banking day strictly after date.
QDate NextBankingDay(const QDate& date);
// The last banking day strictly before date.
QDate PreviousBankingDay(const QDate& date);
// date itself when it is a banking day, else the next one.
QDate BankingDayOnOrAfter(const QDate& date);
// date itself when it is a banking day, else the previous one.
QDate BankingDayOnOrBefore(const QDate& date);
// n banking days after date (n < 0: before it); date itself for n == 0.
QDate AddBankingDays(const QDate& date, int n);
// The banking days d with from < d <= to; negative (minus those with to < d <= from) when to < from.
int BankingDaysBetween(const QDate& from, const QDate& to);
// 19.00 local time on the banking day before the payment date.
QDateTime DeliveryDeadline(const QDate& paymentDate);
} // namespace BankCalendar
