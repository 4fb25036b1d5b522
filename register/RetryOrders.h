#pragma once

#include "register/RegisterQuery.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

class ListRow;
class OrderDocument;

// A payment left out of a new attempt, with the reason in Swedish.
struct LeftOutRetry
{
    RegisterPaymentRow payment;
    QString reason;
};

// The new attempts for payments that were not made: the same payer, type, amount and reference on
// the first payment day the bank can still process.
struct RetryOutcome
{
    QDate date;
    QList<RegisterPaymentRow> retries;
    QList<LeftOutRetry> leftOut;
};

namespace RetryOrders {

// The first banking day whose delivery deadline has not passed at now.
QDate FirstPaymentDate(const QDateTime& now);
// Why a new attempt cannot cure the payment; empty when it can: not paid for want of funds, or
// rejected for a passed payment day.
QString WhyNot(const RegisterPaymentRow& payment);
RetryOutcome Plan(const QList<RegisterPaymentRow>& payments, const QDateTime& now);
// The payment-order row of a new attempt, as the list of payment orders holds it.
ListRow PaymentRow(const RegisterPaymentRow& payment, const QDate& date);
// "1002 2025-02-03 250,00: ..." for the user and the command line.
QString LeftOutText(const LeftOutRetry& leftOut);

} // namespace RetryOrders
