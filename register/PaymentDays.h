#pragma once

#include <QChar>
#include <QDate>
#include <QList>

// The payment days of an order and the banking days the bank pays them on.
namespace PaymentDays {

// How far ahead a repeated order without a count (until further notice) is laid out.
constexpr int OpenEndedYears = 3;

// The days an order asks for: once for period '0'; monthly, quarterly, half-yearly or yearly for
// '1'..'4' on the first day's date (the month's last day where the month is shorter); on the
// last day of the month for '5'..'8'. count 0 with a period means until further notice.
QList<QDate> scheduled(const QDate& first, QChar period, int count);

// The banking day the bank pays a scheduled day on: the next banking day, or for the last-day
// periods the month's last banking day.
QDate paidOn(const QDate& scheduled, QChar period);

// Banking days from a day (the last day to answer an e-mandate).
QDate addBankingDays(const QDate& from, int days);

} // namespace PaymentDays
