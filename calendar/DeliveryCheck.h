#pragma once

#include "calendar/DeliveryFinding.h"

#include <QDateTime>
#include <QList>

class OrderDocument;

// Checks the whole document against the bank's calendar as if it were delivered at the moment
// given: payment dates that have passed, lie too far ahead or are no banking days, deadlines that
// have passed, mandates that arrive too late for their first payment, cancellations or changes sent
// with payment orders to the same payer, likely double debits and zero amounts. Findings come in
// list order (payment orders, mandates, cancellations and changes), then row order.
QList<DeliveryFinding> CheckDelivery(const OrderDocument& document, const QDateTime& now);

// True when any finding is a "fel".
bool HasDeliveryError(const QList<DeliveryFinding>& findings);

// The date the file counts as arriving at the bank when sent at the moment given: that day when it
// is a banking day before 19.00, else the next banking day.
QDate ArrivalBankingDay(const QDateTime& now);
// The first day the bank can process a file sent at the moment given; "GENAST" means this day.
QDate FirstProcessingDay(const QDateTime& now);

// The delivery deadline of the earliest dated payment order, on the day the bank would debit it;
// invalid when no payment order has a date.
QDateTime EarliestDeliveryDeadline(const OrderDocument& document);
