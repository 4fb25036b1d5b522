#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

// Text and digit helpers shared by the dialogs, the record writers and parsers and the validators.

// The characters '0'..'9' of the text, in order.
QString DigitsOnly(const QString& text);
// Removes '0' characters at the very start while the text is longer than 1 (keepOne) or 0.
QString StripLeadingZeros(const QString& text, bool keepOne);
// Removes blanks (U+0020 only) at both ends.
QString TrimSpaces(const QString& text);
// The same two as views into the text, for reading fields without copying them.
QStringView LeadingZerosStripped(QStringView text, bool keepOne);
QStringView SpacesTrimmed(QStringView text);
// A mandate's "clearing-account" text split at its first dash; without a dash all of it is the
// account. The parts are views into the text.
struct ClearingAccountParts
{
    QStringView clearing;
    QStringView account;
};
ClearingAccountParts SplitClearingAccount(QStringView text);
// Reads "yyyy-mm-dd". Throws ConversionError "'%s' är inte ett giltigt datum".
QDate ParseDateText(const QString& text);
// True for exactly "yyyy-mm-dd": ten characters, digits and two dashes, a real date.
bool IsRowDate(QStringView text);
// Writes a date as "yyyy-mm-dd", whatever the user's regional settings.
QString FormatDateText(const QDate& date);
// The bankgiro display form: NNN-NNNN, NNNN-NNNN or the digits alone.
QString FormatBankgiroNumber(const QString& text);
// Number of entries equal to text (exact, case-sensitive).
int CountMatches(const QStringList& list, const QString& text);
// Position (from 0) of the n-th entry equal to text, or -1.
int IndexOfNthMatch(const QStringList& list, const QString& text, int n);

// Whole number with an optional sign; leading blanks allowed.
// Throws ConversionError "'%s' är inte ett giltigt heltal".
int StrToInt(const QString& text);

// Locale-aware number texts. Qt's Swedish form groups with U+00A0 and writes the minus sign as
// U+2212; both are accepted everywhere next to a plain blank and '-'.

// Replaces the locale's minus sign and U+2212 with '-'.
QString NormalizeMinusSign(const QString& text, const QLocale& locale);
// Removes the locale's group separator, U+00A0, U+202F and blanks.
QString RemoveGroupSeparators(const QString& text, const QLocale& locale);
// Converts with the locale's decimal separator; sign and exponent ('e', 'E' or the locale's own
// exponent symbol) accepted, no grouping.
// Throws ConversionError "'%s' är inte ett giltigt tal".
double StrToFloat(const QString& text, const QLocale& locale = QLocale());
// "#,##0.00": grouped, two decimals, e.g. "1 234,50" in Swedish.
QString FormatAmount(double value, const QLocale& locale = QLocale());
// The reader's form of an amount in öre: two decimals, no grouping, e.g. "1234,50".
QString FormatOreAmount(qint64 ore, const QLocale& locale = QLocale());
// The shortest general form, up to 15 significant digits, no grouping ("1234,5", "0").
QString FormatPlainNumber(double value, const QLocale& locale = QLocale());
