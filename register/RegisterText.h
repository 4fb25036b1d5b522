#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Reading the fixed fields of the bank's records for the register.
namespace RegisterText {

// Positions from..to counted from 1, both included; shorter where the line ends early.
QStringView field(QStringView line, int from, int to);
QString trimmed(QStringView text);
// The digits of a number field without leading zeros ("0" stays "0"); other characters dropped.
QString digits(QStringView text);
bool isBlankOrZeros(QStringView text);
std::optional<qint64> number(QStringView text);
// yyyymmdd; invalid for anything else.
QDate date(QStringView text);
// "yyyy-mm-dd", as dates are stored.
inline QString dateText(const QDate& date) { return date.isValid() ? date.toString(Qt::ISODate) : QString(); }
QDate fromDateText(const QString& text);
// The lines of a text: a line feed ends a line, a carriage return is dropped, Ctrl-Z ends the text.
QStringList lines(const QString& text);

} // namespace RegisterText
