#include "rules/Extra.h"

#include "rules/ValmoError.h"

#include <cmath>
#include <limits>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads an unsigned run of ASCII digits starting at pos; returns the number of digits read.
int readDigits(const QString& text, int pos, int maxDigits, int& value)
{
    int count = 0;
    value = 0;
    while (pos + count < text.size() && count < maxDigits && isAsciiDigit(text[pos + count])) {
        value = value * 10 + (text[pos + count].unicode() - '0');
        ++count;
    }
    return count;
}

QLocale withGrouping(QLocale locale)
{
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale;
}

QLocale withoutGrouping(QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

QString DigitsOnly(const QString& text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text) {
        if (isAsciiDigit(c))
            digits.append(c);
    }
    return digits;
}

QStringView LeadingZerosStripped(QStringView text, bool keepOne)
{
    const qsizetype minimum = keepOne ? 1 : 0;
    qsizetype start = 0;
    while (text.size() - start > minimum && text[start] == QLatin1Char('0'))
        ++start;
    return text.mid(start);
}

QStringView SpacesTrimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString StripLeadingZeros(const QString& text, bool keepOne)
{
    const QStringView stripped = LeadingZerosStripped(text, keepOne);
    return stripped.size() == text.size() ? text : stripped.toString();
}

QString TrimSpaces(const QString& text)
{
    const QStringView trimmed = SpacesTrimmed(text);
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

ClearingAccountParts SplitClearingAccount(QStringView text)
{
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return {QStringView(), text};
    return {text.left(dash), text.mid(dash + 1)};
}

QDate ParseDateText(const QString& text)
{
    int year = 0;
    int month = 0;
    int day = 0;
    int pos = 0;
    const int yearDigits = readDigits(text, pos, 4, year);
    pos += yearDigits;
    bool ok = yearDigits > 0 && pos < text.size() && text[pos] == QLatin1Char('-');
    if (ok) {
        const int monthDigits = readDigits(text, ++pos, 2, month);
        pos += monthDigits;
        ok = monthDigits > 0 && pos < text.size() && text[pos] == QLatin1Char('-');
    }
    if (ok) {
        const int dayDigits = readDigits(text, ++pos, 2, day);
        pos += dayDigits;
        ok = dayDigits > 0 && pos == text.size();
    }
    const QDate date(year, month, day);
    if (!ok || year < 1 || !date.isValid())
        throw ConversionError::invalidDate(text);
    return date;
}

bool IsRowDate(QStringView text)
{
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-'))
        return false;
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int part = 0; part < 3; ++part) {
        for (int i = starts[part]; i < starts[part] + lengths[part]; ++i) {
            if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
                return false;
            parts[part] = parts[part] * 10 + (text[i].unicode() - '0');
        }
    }
    return QDate::isValid(parts[0], parts[1], parts[2]);
}

QString FormatDateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString FormatBankgiroNumber(const QString& text)
{
    const QString digits = DigitsOnly(StripLeadingZeros(text, false));
    if (digits.size() == 7)
        return digits.left(3) + QLatin1Char('-') + digits.mid(3);
    if (digits.size() == 8)
        return digits.left(4) + QLatin1Char('-') + digits.mid(4);
    return digits;
}

int CountMatches(const QStringList& list, const QString& text)
{
    return int(list.count(text));
}

int IndexOfNthMatch(const QStringList& list, const QString& text, int n)
{
    if (n <= 0)
        return -1;
    int found = 0;
    for (int i = 0; i < list.size(); ++i) {
        if (list[i] == text && ++found == n)
            return i;
    }
    return -1;
}

int StrToInt(const QString& text)
{
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == QLatin1Char(' '))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    if (pos == text.size())
        throw ConversionError::invalidInteger(text);
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        if (!isAsciiDigit(text[pos]))
            throw ConversionError::invalidInteger(text);
        value = value * 10 + (text[pos].unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            throw ConversionError::invalidInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        throw ConversionError::invalidInteger(text);
    return int(value);
}

QString NormalizeMinusSign(const QString& text, const QLocale& locale)
{
    QString result = text;
    result.replace(QChar(0x2212), QLatin1Char('-'));
    const QString minus = locale.negativeSign();
    if (!minus.isEmpty() && minus != QLatin1String("-"))
        result.replace(minus, QStringLiteral("-"));
    const QString plus = locale.positiveSign();
    if (!plus.isEmpty() && plus != QLatin1String("+"))
        result.replace(plus, QStringLiteral("+"));
    return result;
}

QString RemoveGroupSeparators(const QString& text, const QLocale& locale)
{
    QString result = text;
    const QString group = locale.groupSeparator();
    if (!group.isEmpty())
        result.remove(group);
    result.remove(QChar(0x00A0));
    result.remove(QChar(0x202F));
    result.remove(QLatin1Char(' '));
    return result;
}

double StrToFloat(const QString& text, const QLocale& locale)
{
    QString t = NormalizeMinusSign(text, locale).trimmed();
    // Qt writes exponents with the locale's symbol (Swedish "×10^"); read it back as 'e'.
    const QString exponential = locale.exponential();
    if (!exponential.isEmpty() && exponential.compare(QLatin1String("e"), Qt::CaseInsensitive) != 0)
        t.replace(exponential, QStringLiteral("e"));
    const QString decimal = locale.decimalPoint();
    // Only the locale's decimal separator stands for the decimal point; a '.' in a comma locale is
    // as foreign as a ',' in a point locale.
    QByteArray ascii;
    ascii.reserve(t.size());
    for (qsizetype i = 0; i < t.size();) {
        if (t.mid(i, decimal.size()) == decimal) {
            ascii.append('.');
            i += decimal.size();
            continue;
        }
        const QChar c = t[i];
        if (isAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('e') ||
            c == QLatin1Char('E'))
            ascii.append(char(c.unicode()));
        else
            throw ConversionError::invalidFloat(text);
        ++i;
    }
    // sign? digits [. digits] [e sign? digits], with at least one mantissa digit
    const char* p = ascii.constData();
    const char* s = p;
    if (*s == '+' || *s == '-')
        ++s;
    int mantissaDigits = 0;
    while (*s >= '0' && *s <= '9') {
        ++s;
        ++mantissaDigits;
    }
    if (*s == '.') {
        ++s;
        while (*s >= '0' && *s <= '9') {
            ++s;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        throw ConversionError::invalidFloat(text);
    if (*s == 'e' || *s == 'E') {
        ++s;
        if (*s == '+' || *s == '-')
            ++s;
        if (!(*s >= '0' && *s <= '9'))
            throw ConversionError::invalidFloat(text);
        while (*s >= '0' && *s <= '9')
            ++s;
    }
    if (*s != '\0')
        throw ConversionError::invalidFloat(text);
    bool ok = false;
    const double value = QLocale::c().toDouble(QLatin1String(ascii), &ok);
    if (!ok || !std::isfinite(value))
        throw ConversionError::invalidFloat(text);
    return value;
}

QString FormatAmount(double value, const QLocale& locale)
{
    return withGrouping(locale).toString(value, 'f', 2);
}

QString FormatOreAmount(qint64 ore, const QLocale& locale)
{
    const bool negative = ore < 0;
    const quint64 magnitude = negative ? quint64(-(ore + 1)) + 1 : quint64(ore);
    QString text = negative ? locale.negativeSign() : QString();
    text += QString::number(magnitude / 100);
    text += locale.decimalPoint();
    const int cents = int(magnitude % 100);
    text += QLatin1Char(char('0' + cents / 10));
    text += QLatin1Char(char('0' + cents % 10));
    return text;
}

QString FormatPlainNumber(double value, const QLocale& locale)
{
    return withoutGrouping(locale).toString(value, 'g', 15);
}
