#pragma once

#include "format/Report.h"

#include <QString>
#include <QStringView>

// The Swedish names of the report kinds and outcomes, and the meanings of the codes that the
// bank's report records carry. A code the bank has not defined gives an empty meaning.
namespace ReportCodes {

QString kindName(ReportKind kind);
// "ny" or "gammal".
QString layoutName(ReportLayout layout);
QString outcomeName(ItemOutcome outcome);

// The payment status of a Betalningsspecifikation (position 80 of records 82 and 32).
QString paymentStatus(QStringView code);
// Why the bank rejected a payment order.
QString rejectionComment(QStringView code);
// Mandate advice: what happened to the mandate, and why.
QString mandateInformation(QStringView code);
QString mandateComment(QStringView code);
// Cancellations and changes: what the record is, and what the bank did with it.
QString changeRecord(QStringView recordCode);
QString changeComment(QStringView code);
// Why a payment was paid back (record 77).
QString refundReason(QStringView code);

// The sentence shown for a file of Bankgiro Inbetalningar.
QString bgMaxSentence();

} // namespace ReportCodes
