#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// Amounts in the JSON form of a document have one form in every locale: digits, an optional
// decimal point or comma with one or two decimals, no grouping, an optional leading '-'. "1250"
// is 1 250,00 kronor. Rows keep the form the editor shows, in the user's locale.

// The row text of a JSON amount, two decimals in the locale's form ("1250" gives "1250,00" in
// Swedish); no value for a text not in the JSON form.
std::optional<QString> RowAmountFromJson(QStringView json, const QLocale& locale = QLocale());
// RowAmountFromJson in place for the common form, digits without leading zeros, a point and two
// decimals ("1250.00"); false, the text untouched, for any other.
bool TakePlainJsonAmount(QString& amount, const QLocale& locale = QLocale());
// The JSON form of a row's amount, "1250.00". A text that holds no amount is returned unchanged.
QString JsonAmountFromRow(const QString& row, const QLocale& locale = QLocale());
// What write says of an amount not in the JSON form.
QString JsonAmountFormMessage(const QString& json);

// JsonAmountFromRow for many rows of one locale: the locale is asked for its separators once, and
// the reader's own form ("1 234,50") is turned without a detour.
class JsonAmountWriter
{
public:
    explicit JsonAmountWriter(const QLocale& locale = QLocale());
    // The view holds until the next call.
    QStringView operator()(QStringView row) const;

private:
    QStringView slowForm(QStringView row) const;

    QLocale m_locale;
    QChar m_decimalPoint;
    QChar m_groupSeparator;
    mutable QString m_json; // kept between calls, so a row of the common form allocates nothing
};
