#include "app/NumberReader.h"

namespace {

// Whole numbers up to this many digits are exact in a double.
constexpr int MostDigits = 15;

char16_t singleCharacter(const QString& text, char16_t otherwise)
{
    return text.size() == 1 ? text.front().unicode() : otherwise;
}

} // namespace

NumberReader::NumberReader() : NumberReader(QLocale()) {}

NumberReader::NumberReader(const QLocale& locale)
    : m_decimal(singleCharacter(locale.decimalPoint(), 0)),
      m_group(singleCharacter(locale.groupSeparator(), 0)),
      m_minus(singleCharacter(locale.negativeSign(), u'-'))
{
}

bool NumberReader::isGroupSeparator(char16_t c) const
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || (m_group != 0 && c == m_group);
}

std::optional<NumberReader::Plain> NumberReader::read(QStringView text) const
{
    if (m_decimal == 0 || m_decimal == m_group)
        return std::nullopt;
    Plain plain;
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'\u2212' || text[0] == m_minus)) {
        plain.negative = true;
        ++i;
    }
    int digits = 0;
    bool afterDecimal = false;
    bool digitBefore = false; // the previous character was a digit
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            if (++digits > MostDigits)
                return std::nullopt;
            plain.digits = plain.digits * 10 + (c - u'0');
            plain.decimals += afterDecimal ? 1 : 0;
            digitBefore = true;
        } else if (c == m_decimal && !afterDecimal && digitBefore) {
            afterDecimal = true;
            digitBefore = false;
        } else if (isGroupSeparator(c) && !afterDecimal && digitBefore && i + 1 < text.size()) {
            // Grouping goes between digits of the whole part only.
            const char16_t next = text[i + 1].unicode();
            if (next < u'0' || next > u'9')
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!digitBefore)
        return std::nullopt;
    return plain;
}

std::optional<double> NumberReader::value(QStringView text) const
{
    const std::optional<Plain> plain = read(text);
    if (!plain)
        return std::nullopt;
    static constexpr double Powers[] = {1.0, 10.0, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Both numbers are exact, so the quotient is the nearest double, as the locale's parser gives.
    const double magnitude = double(plain->digits) / Powers[plain->decimals];
    return plain->negative ? -magnitude : magnitude;
}

std::optional<qint64> NumberReader::ore(QStringView text) const
{
    const std::optional<Plain> plain = read(text);
    if (!plain || plain->decimals > 2)
        return std::nullopt;
    qint64 ore = qint64(plain->digits);
    for (int i = plain->decimals; i < 2; ++i)
        ore *= 10;
    return plain->negative ? -ore : ore;
}
