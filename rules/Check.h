#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>

// Validators return an empty text for a valid field, otherwise the Swedish message to show.

// The modulus-10 (Luhn) check; false for a text with anything but the digits 0-9.
bool Mod10Valid(const QString& digits);
QString CheckBankgiroNumber(const QString& text);
// True for ten or twelve digits in the shape of a personnummer (see PersonNumbers.h) that are not
// an organisation number; its date and check digit are not judged.
bool IsPersonNumber(const QString& text);
// QDate::currentDate(), asked of the system at most once a minute: the local date changes only on
// the minute, and checking a million rows would otherwise read the time zone a million times.
QDate CurrentDate();

// A personnummer or samordningsnummer needs a real date in the 1900s or 2000s, not after today,
// and a valid check digit (Luhn over the last ten digits); an organisation number needs its check
// digit. Anything else, an empty text or too few digits included, is refused.
QString CheckPersonNumber(const QString& text, const QDate& today = CurrentDate());
// The display form yyyymmdd-nnnn of a personnummer, with the century a ten-digit one implies;
// any other text comes back unchanged.
QString NormalizePersonNumber(const QString& text, const QDate& today);
// The twelve digits of the record field: a ten-digit personnummer gets its century, every other
// text gives its digits.
QString PersonNumberField(const QString& text, const QDate& today);
QString FormatPersonNumber(const QString& field);
// Four digits of a clearing number a bank uses, or a Swedbank clearing number of five digits whose
// fifth digit is its modulus-10 check digit.
QString CheckClearingNumber(const QString& text);
// A Swedbank clearing number of five digits without its fifth, check digit; any other text as
// it is.
QStringView ClearingWithoutCheckDigit(QStringView clearing);
// The account number must fit the length of the clearing number's bank and pass its check digit.
QString CheckClearingAndAccount(const QString& clearing, const QString& account);
// The same for a text whose first four digits (after leading zeros) are the clearing number.
QString CheckClearingAndAccount(const QString& clearingAndAccount);
// "clearing-account": the four-digit clearing number (a fifth check digit is dropped) and the
// account number padded with zeros to its bank's length.
QString FormatClearingAccount(const QString& clearing, const QString& account);
// The same for a text whose first four digits (after leading zeros) are the clearing number.
// May throw ConversionError on a text without digits.
QString FormatClearingAccount(const QString& clearingAndAccount);
QString CheckPayerNumber(QStringView text);
// The unique id of an electronic mandate: up to sixteen digits, as the record's field holds them.
// A letter there would make a file that cannot be read again.
QString CheckMandateId(const QString& id);
// The id of an electronic mandate that is not rejected: CheckMandateId, and sixteen digits only
// after 9918. A file tells such a mandate from one on paper by its id, a full field of other
// digits being a clearing and account number.
QString CheckElectronicMandateId(const QString& id);
// Not a number, then negative, then too large.
QString CheckAmount(const QString& text, const QLocale& locale = QLocale());
// The customer number has no rule beyond the field's length: never a message.
QString CheckCustomerNumber(const QString& text);
// Refuses a text holding a character that Windows-1252 cannot hold, naming the first one.
QString CheckEncodable(QStringView text);
// CheckEncodable, then the control characters (a tab, a line end, U+001C), which Windows-1252 can
// hold but which would break the record they are written into.
QString CheckWritable(QStringView text);
