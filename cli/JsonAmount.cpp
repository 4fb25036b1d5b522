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

// The decimal point of the locale, asked of the locale once for as long as it stays the one asked of.
QString decimalPointOf(const QLocale& locale)
{
    thread_local QLocale cachedLocale = QLocale::c();
    thread_local QString cachedPoint = cachedLocale.decimalPoint();
    if (!(locale == cachedLocale)) {
        cachedLocale = locale;
        cachedPoint = locale.decimalPoint();
    }
    return cachedPoint;
}

} // namespace

std::optional<QString> RowAmountFromJson(QStringView json, const QLocale& locale)
{
    const std::optional<AmountParts> parts = splitAmount(json, u".,");
    if (!parts)
        return std::nullopt;
    return (parts->negative ? locale.negativeSign() : QString()) + parts->kronor + decimalPointOf(locale) +
           parts->ore;
}

bool TakePlainJsonAmount(QString& amount, const QLocale& locale)
{
    if (!isPlainRowAmount(amount, QLatin1Char('.')))
        return false;
    const QString point = decimalPointOf(locale);
    if (point.size() != 1)
        return false;
    amount[amount.size() - 3] = point[0];
    return true;
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

JsonAmountWriter::JsonAmountWriter(const QLocale& locale) : m_locale(locale)
{
    const QString point = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    if (point.size() == 1)
        m_decimalPoint = point[0];
    if (group.size() == 1 && group != point && !isDigit(group[0]))
        m_groupSeparator = group[0];
}

QStringView JsonAmountWriter::operator()(QStringView row) const
{
    // Digits, perhaps grouped, no leading zero, the decimal point and two decimals: the digits go
    // through with a point.
    const qsizetype size = row.size();
    if (m_decimalPoint.isNull() || size < 4 || row[size - 3] != m_decimalPoint ||
        (row[0] == QLatin1Char('0') && size > 4) || !isDigit(row[0]))
        return slowForm(row);
    m_json.resize(size);
    QChar* out = m_json.data();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = row[i];
        if (i == size - 3)
            *out++ = QLatin1Char('.');
        else if (isDigit(c))
            *out++ = c;
        else if (c.isNull() || c != m_groupSeparator || i > size - 4)
            return slowForm(row);
    }
    return QStringView(m_json).left(out - m_json.constData());
}

QStringView JsonAmountWriter::slowForm(QStringView row) const
{
    m_json = JsonAmountFromRow(row.toString(), m_locale);
    return m_json;
}
