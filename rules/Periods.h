#pragma once

#include <QString>
#include <QStringList>

// The nine period texts in code order ("0".."8").
const QStringList& PeriodTexts();
// "0".."8", or "X" for a text outside the table.
QString PeriodTextToCode(const QString& text);
// The period text, or "X" for a code outside the table.
QString PeriodCodeToText(const QString& code);

// Transaction types.
const QString& DebitText();  // "Debitering"
const QString& CreditText(); // "Kreditering"
const QStringList& TransactionTypeTexts();
