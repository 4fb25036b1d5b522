#pragma once

#include <QLocale>
#include <QString>

// Validators return an empty text for a valid field, otherwise the Swedish message to show.

// The modulus-10 (Luhn) check; false for a text with anything but the digits 0-9.
bool Mod10Valid(const QString& digits);
QString CheckBankgiroNumber(const QString& text);
bool IsPersonNumber(const QString& text);
// May throw ConversionError ("'%s' är inte ett giltigt heltal").
QString CheckPersonNumber(const QString& text);
QString FormatPersonNumber(const QString& field);
QString CheckClearingNumber(const QString& text);
QString CheckClearingAndAccount(const QString& clearingAndAccount);
// May throw ConversionError on a text without digits.
QString FormatClearingAccount(const QString& clearingAndAccount);
QString CheckPayerNumber(const QString& text);
// Not a number, then negative, then too large.
QString CheckAmount(const QString& text, const QLocale& locale = QLocale());
// The customer number has no rule beyond the field's length: never a message.
QString CheckCustomerNumber(const QString& text);
// Refuses a text holding a character that Windows-1252 cannot hold, naming the first one.
QString CheckEncodable(const QString& text);
