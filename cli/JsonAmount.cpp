#include "cli/JsonAmount.h"

#include "rules/Extra.h"

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// An amount split into its parts: sign, whole kronor without leading zeros, two decimals.
struct AmountParts
{
    bool negative = false;
    QString kronor;
    QString ore;
};

// Reads -?digits([.,]d{1,2})? where the decimal separators are those given.
std::optional<AmountParts> splitAmount(QStringView text, QStringView separators)
{
    AmountParts parts;
    qsizetype i = 0;
    if (text.startsWith(QLatin1Char('-'))) {
        parts.negative = true;
        ++i;
    }
    const qsizetype wholeStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i == wholeStart)
        return std::nullopt;
    parts.kronor = LeadingZerosStripped(text.mid(wholeStart, i - wholeStart), true).toString();
    parts.ore = QStringLiteral("00");
    if (i < text.size() && separators.contains(text[i])) {
        const qsizetype decimalsStart = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        const qsizetype decimals = i - decimalsStart;
        if (decimals < 1 || decimals > 2)
            return std::nullopt;
        parts.ore = text.mid(decimalsStart, decimals).toString().leftJustified(2, QLatin1Char('0'));
    }
    if (i != text.size())
        return std::nullopt;
    // No negative zero: the record has no room for a sign, and zero needs none.
    if (parts.kronor == QLatin1String("0") && parts.ore == QLatin1String("00"))
        parts.negative = false;
    return parts;
}

// The reader's form, digits, the decimal separator and two decimals, without leading zeros: the
// JSON form is that text with a point. Most rows are in it, so it is taken the short way.
bool isPlainRowAmount(const QString& row, QChar decimalPoint)
{
    const qsizetype size = row.size();
    if (size < 4 || row[size - 3] != decimalPoint || (row[0] == QLatin1Char('0') && size > 4))
        return false;
    for (qsizetype i = 0; i < size; ++i) {
        if (i != size - 3 && !isDigit(row[i]))
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> RowAmountFromJson(QStringView json, const QLocale& locale)
{
    const std::optional<AmountParts> parts = splitAmount(json, u".,");
    if (!parts)
        return std::nullopt;
    return (parts->negative ? locale.negativeSign() : QString()) + parts->kronor + locale.decimalPoint() +
           parts->ore;
}

QString JsonAmountFromRow(const QString& row, const QLocale& locale)
{
    const QString decimalPoint = locale.decimalPoint();
    if (decimalPoint.size() == 1 && isPlainRowAmount(row, decimalPoint[0])) {
        QString json = row;
        json[row.size() - 3] = QLatin1Char('.');
        return json;
    }
    QString plain = NormalizeMinusSign(RemoveGroupSeparators(row, locale), locale);
    plain.replace(locale.decimalPoint(), QStringLiteral("."));
    const std::optional<AmountParts> parts = splitAmount(plain, u".");
    if (!parts)
        return row;
    return (parts->negative ? QStringLiteral("-") : QString()) + parts->kronor + QLatin1Char('.') +
           parts->ore;
}

QString JsonAmountFormMessage(const QString& json)
{
    return QStringLiteral("Beloppet \"%1\" ska skrivas med siffror och högst två decimaler efter punkt eller "
                          "komma, utan tusentalsavgränsare, till exempel 1250.00")
        .arg(json);
}
