#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class RegisterDatabase;

// For each item of a report read into the register, the delivered order it answers, keyed by the
// item's line: the order file's name and the day it was delivered ("order-0312.ag, 2026-03-12"),
// several joined by "; " when the item concerns payments of more than one file, or "utan underlag"
// when it matched nothing. Lines without a fact in the register (totals, a report the register
// has not read) are absent. One query, however many items.
QHash<int, QString> ReportItemSources(const RegisterDatabase& database, const QByteArray& reportBytes);

// Whether the register has read a file of exactly these bytes.
bool RegisterHoldsFile(const RegisterDatabase& database, const QByteArray& bytes);

// The same for the report file at reportPath and the register at registerPath. Empty when there is
// no register there or it cannot be read: none is made by asking.
QHash<int, QString> ReportItemSources(const QString& reportPath, const QString& registerPath);
