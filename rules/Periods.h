#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The nine period texts in code order ("0".."8").
const QStringList& PeriodTexts();
// "0".."8", or "X" for a text outside the table.
QString PeriodTextToCode(const QString& text);
// The period text, or "X" for a code outside the table.
QString PeriodCodeToText(const QString& code);
// GENAST, the nearest possible bank day, goes with a one-off payment only: the bank refuses a
// repeating order that has no first date. The message for a payment date and a period of the
// table that do not go together, otherwise an empty text.
QString CheckImmediatePeriod(QStringView period, QStringView paymentDate);

// Transaction types.
const QString& DebitText();  // "Debitering"
const QString& CreditText(); // "Kreditering"
const QStringList& TransactionTypeTexts();
