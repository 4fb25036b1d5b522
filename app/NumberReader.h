#pragma once

#include <QLocale>
#include <QStringView>

#include <optional>

// Reads the amounts and counts that the lists show ("1 234,50", "-12,00", "999") without going
// through the locale's number parser for every row. Only plain forms are read here: an optional
// minus sign, digits with group separators between them, and at most one decimal separator with
// digits on both sides. Any other text gives no value, and the caller asks the locale, so the
// result is always the one the locale would give.
class NumberReader
{
public:
    // Takes the separators of the default locale at the time of the call.
    NumberReader();
    explicit NumberReader(const QLocale& locale);

    std::optional<double> value(QStringView text) const;
    // Amounts with at most two decimals, in öre.
    std::optional<qint64> ore(QStringView text) const;

private:
    struct Plain
    {
        bool negative = false;
        quint64 digits = 0; // every digit, the decimals included
        int decimals = 0;
    };
    std::optional<Plain> read(QStringView text) const;
    bool isGroupSeparator(char16_t c) const;

    char16_t m_decimal = u'.';
    char16_t m_group = 0; // 0 when the locale's separator is not one character
    char16_t m_minus = u'-';
};
