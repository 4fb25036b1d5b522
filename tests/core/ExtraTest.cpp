#include "rules/Extra.h"
#include "rules/ValmoError.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>

namespace {

const QChar Nbsp(0x00A0);
const QChar Minus(0x2212);

QLocale swedish()
{
    return QLocale(QLocale::Swedish, QLocale::Sweden);
}

QLocale english()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

// Sets the default locale for one test and puts the previous one back.
class DefaultLocale
{
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

template <typename F> QString conversionMessage(F&& call)
{
    try {
        call();
    } catch (const ConversionError& error) {
        return error.text();
    }
    return QString();
}

} // namespace

TEST(Extra, DigitsOnlyKeepsAsciiDigitsInOrder)
{
    const struct
    {
        QString text;
        QString digits;
    } cases[] = {
        {QStringLiteral("123-45 67"), QStringLiteral("1234567")},
        {QStringLiteral("abcXYZ"), QString()},
        {QString(), QString()},
        {QStringLiteral("1") + Nbsp + QStringLiteral("234,50"), QStringLiteral("123450")},
        {QStringLiteral("1234.50"), QStringLiteral("123450")},
        {QStringLiteral("\u0661\u0662\uFF13"), QString()}, // Arabic-Indic and full-width digits
        {QStringLiteral("\t0 0-7"), QStringLiteral("007")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(DigitsOnly(c.text), c.digits);
    }
}

TEST(Extra, StripLeadingZerosStopsAtTheMinimumAndAtTheFirstOtherCharacter)
{
    const struct
    {
        QString text;
        bool keepOne;
        QString result;
    } cases[] = {
        {QStringLiteral("000"), false, QString()},
        {QStringLiteral("000"), true, QStringLiteral("0")},
        {QStringLiteral("0a0"), false, QStringLiteral("a0")},
        {QStringLiteral(" 012"), false, QStringLiteral(" 012")},
        {QStringLiteral("0012"), false, QStringLiteral("12")},
        {QStringLiteral("0012"), true, QStringLiteral("12")},
        {QStringLiteral("03"), true, QStringLiteral("3")},
        {QStringLiteral("0"), true, QStringLiteral("0")},
        {QStringLiteral("0"), false, QString()},
        {QString(), true, QString()},
        {QStringLiteral("1000"), false, QStringLiteral("1000")},
        {QStringLiteral("0-0"), false, QStringLiteral("-0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + (c.keepOne ? " keep one" : " keep none"));
        EXPECT_EQ(StripLeadingZeros(c.text, c.keepOne), c.result);
    }
}

TEST(Extra, TrimSpacesRemovesOnlyBlanksAtTheEnds)
{
    const struct
    {
        QString text;
        QString result;
    } cases[] = {
        {QStringLiteral("  12 3  "), QStringLiteral("12 3")},
        {QStringLiteral("\t1 "), QStringLiteral("\t1")},
        {QStringLiteral("    "), QString()},
        {QString(Nbsp) + QStringLiteral("1") + Nbsp, QString(Nbsp) + QStringLiteral("1") + Nbsp},
        {QStringLiteral("abc"), QStringLiteral("abc")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(TrimSpaces(c.text), c.result);
    }
}

TEST(Extra, SplitClearingAccountCutsAtTheFirstDash)
{
    const struct
    {
        QString text;
        QString clearing;
        QString account;
    } cases[] = {
        {QStringLiteral("8327-0000123456"), QStringLiteral("8327"), QStringLiteral("0000123456")},
        {QStringLiteral("8327-12-34"), QStringLiteral("8327"), QStringLiteral("12-34")},
        {QStringLiteral("1234567"), QString(), QStringLiteral("1234567")},
        {QStringLiteral("-99"), QString(), QStringLiteral("99")},
        {QStringLiteral("5000-"), QStringLiteral("5000"), QString()},
        {QString(), QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const ClearingAccountParts parts = SplitClearingAccount(c.text);
        EXPECT_EQ(parts.clearing.toString(), c.clearing);
        EXPECT_EQ(parts.account.toString(), c.account);
    }
}

TEST(Extra, ParseDateTextReadsYearMonthDay)
{
    EXPECT_EQ(ParseDateText(QStringLiteral("2024-03-05")), QDate(2024, 3, 5));
    EXPECT_EQ(ParseDateText(QStringLiteral("2024-02-29")), QDate(2024, 2, 29));
    EXPECT_EQ(ParseDateText(QStringLiteral("1999-12-31")), QDate(1999, 12, 31));
}

TEST(Extra, ParseDateTextRefusesWithTheConversionMessage)
{
    const QString texts[] = {
        QStringLiteral("2023-02-29"),
        QStringLiteral("2024-13-01"),
        QStringLiteral("2024-00-10"),
        QStringLiteral("2024-01-32"),
        QString(),
        QStringLiteral("20240305"),
        QStringLiteral("2024/03/05"),
        QStringLiteral("2024-03-05x"),
        QStringLiteral("abcd-ef-gh"),
        QStringLiteral("0000-01-01"),
        QStringLiteral("2024-03-"),
        QStringLiteral("2024--05"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(conversionMessage([&] { ParseDateText(text); }),
                  QStringLiteral("'%1' är inte ett giltigt datum").arg(text));
    }
}

TEST(Extra, FormatDateTextIgnoresTheUserLocale)
{
    for (const QLocale& locale : {swedish(), english(), QLocale(QLocale::German, QLocale::Germany)}) {
        DefaultLocale pinned(locale);
        EXPECT_EQ(FormatDateText(QDate(2024, 3, 5)), QStringLiteral("2024-03-05"));
        EXPECT_EQ(ParseDateText(FormatDateText(QDate(2031, 12, 1))), QDate(2031, 12, 1));
    }
}

TEST(Extra, FormatBankgiroNumberGivesTheDisplayForm)
{
    const struct
    {
        QString text;
        QString result;
    } cases[] = {
        {QStringLiteral("1234567"), QStringLiteral("123-4567")},
        {QStringLiteral("12345678"), QStringLiteral("1234-5678")},
        {QStringLiteral("0123-4567"), QStringLiteral("123-4567")},
        {QStringLiteral(" 0123-4567"), QStringLiteral("0123-4567")},
        {QStringLiteral("0001234-5678"), QStringLiteral("1234-5678")},
        {QStringLiteral("123456"), QStringLiteral("123456")},
        {QStringLiteral("123456789"), QStringLiteral("123456789")},
        {QStringLiteral("12 34 567"), QStringLiteral("123-4567")},
        {QString(), QString()},
        {QStringLiteral("abc"), QString()},
        {QStringLiteral("0000000000"), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(FormatBankgiroNumber(c.text), c.result);
    }
}

TEST(Extra, CountAndFindMatchesCompareWholeEntriesExactly)
{
    const QStringList codes = {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("3")};
    EXPECT_EQ(CountMatches(codes, QStringLiteral("3")), 2);
    EXPECT_EQ(CountMatches(codes, QStringLiteral("03")), 0);
    EXPECT_EQ(CountMatches({}, QStringLiteral("3")), 0);
    EXPECT_EQ(CountMatches({QStringLiteral("Abc"), QStringLiteral("abc")}, QStringLiteral("abc")), 1);

    const struct
    {
        QString text;
        int n;
        int index;
    } cases[] = {
        {QStringLiteral("3"), 1, 0},   {QStringLiteral("3"), 2, 2},
        {QStringLiteral("3"), 3, -1},  {QStringLiteral("3"), 0, -1},
        {QStringLiteral("3"), -1, -1}, {QStringLiteral("2"), 1, 1},
        {QStringLiteral("23"), 1, -1}, {QString(), 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " n=" + std::to_string(c.n));
        EXPECT_EQ(IndexOfNthMatch(codes, c.text, c.n), c.index);
    }
}

TEST(Extra, StrToIntReadsWholeNumbersWithinRange)
{
    const struct
    {
        QString text;
        int value;
    } cases[] = {
        {QStringLiteral("12"), 12},
        {QStringLiteral("07"), 7},
        {QStringLiteral("  7"), 7},
        {QStringLiteral("-5"), -5},
        {QStringLiteral("+5"), 5},
        {QStringLiteral("-0"), 0},
        {QStringLiteral("2147483647"), std::numeric_limits<int>::max()},
        {QStringLiteral("-2147483648"), std::numeric_limits<int>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(StrToInt(c.text), c.value);
    }

    const QString bad[] = {
        QString(),
        QStringLiteral("1a"),
        QStringLiteral("-"),
        QStringLiteral("12 "),
        QStringLiteral("2147483648"),
        QStringLiteral("-2147483649"),
        QStringLiteral("99999999999999999999999"),
        QStringLiteral("\uFF11"),
        QStringLiteral("1.0"),
    };
    for (const QString& text : bad) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(conversionMessage([&] { StrToInt(text); }),
                  QStringLiteral("'%1' är inte ett giltigt heltal").arg(text));
    }
}

TEST(Extra, MinusSignAndGroupingAreNormalisedInEveryLocale)
{
    for (const QLocale& locale : {swedish(), english()}) {
        SCOPED_TRACE(locale.name().toStdString());
        EXPECT_EQ(NormalizeMinusSign(QString(Minus) + QStringLiteral("5"), locale), QStringLiteral("-5"));
        EXPECT_EQ(NormalizeMinusSign(QStringLiteral("-5"), locale), QStringLiteral("-5"));
        EXPECT_EQ(RemoveGroupSeparators(QStringLiteral("1") + Nbsp + QStringLiteral("234") + Nbsp +
                                            QStringLiteral("567"),
                                        locale),
                  QStringLiteral("1234567"));
        EXPECT_EQ(RemoveGroupSeparators(QStringLiteral("1 234 567"), locale), QStringLiteral("1234567"));
        EXPECT_EQ(RemoveGroupSeparators(QStringLiteral("1\u202F234"), locale), QStringLiteral("1234"));
    }
    EXPECT_EQ(RemoveGroupSeparators(QStringLiteral("1,234.50"), english()), QStringLiteral("1234.50"));
    EXPECT_EQ(RemoveGroupSeparators(QStringLiteral("1 234,50"), swedish()), QStringLiteral("1234,50"));
}

TEST(Extra, StrToFloatUsesOnlyTheLocaleDecimalSeparator)
{
    const struct
    {
        QLocale locale;
        QString text;
        double value;
    } cases[] = {
        {swedish(), QStringLiteral("1234,50"), 1234.5},
        {swedish(), QString(Minus) + QStringLiteral("12,5"), -12.5},
        {swedish(), QStringLiteral("-12,5"), -12.5},
        {swedish(), QStringLiteral("+3"), 3},
        {swedish(), QStringLiteral("1e3"), 1000},
        {swedish(), QStringLiteral("1,5E-1"), 0.15},
        {swedish(), QStringLiteral(" 12,5 "), 12.5},
        {swedish(), QStringLiteral(",5"), 0.5},
        {swedish(), QStringLiteral("1\u00D710^+20"), 1e20},
        {english(), QStringLiteral("1234.50"), 1234.5},
        {english(), QStringLiteral("-0.5"), -0.5},
        {english(), QString(Minus) + QStringLiteral("0.5"), -0.5},
        {english(), QStringLiteral("2.5e2"), 250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + c.text.toStdString());
        EXPECT_DOUBLE_EQ(StrToFloat(c.text, c.locale), c.value);
    }

    const struct
    {
        QLocale locale;
        QString text;
    } bad[] = {
        {swedish(), QStringLiteral("1234.50")},
        {swedish(), QStringLiteral("1 234,50")},
        {swedish(), QStringLiteral("1") + Nbsp + QStringLiteral("234,50")},
        {swedish(), QStringLiteral("abc")},
        {swedish(), QString()},
        {swedish(), QStringLiteral("-")},
        {swedish(), QStringLiteral("1e")},
        {swedish(), QStringLiteral("1e400")},
        {swedish(), QStringLiteral("1,2,3")},
        {swedish(), QStringLiteral("--1")},
        {english(), QStringLiteral("1234,50")},
        {english(), QStringLiteral("1,234.50")},
        {english(), QStringLiteral("inf")},
        {english(), QStringLiteral("nan")},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + c.text.toStdString());
        EXPECT_EQ(conversionMessage([&] { StrToFloat(c.text, c.locale); }),
                  QStringLiteral("'%1' är inte ett giltigt tal").arg(c.text));
    }
}

TEST(Extra, StrToFloatFollowsTheDefaultLocale)
{
    {
        DefaultLocale pinned(english());
        EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("1.25")), 1.25);
        EXPECT_THROW(StrToFloat(QStringLiteral("1,25")), ConversionError);
    }
    DefaultLocale pinned(swedish());
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("1,25")), 1.25);
    EXPECT_THROW(StrToFloat(QStringLiteral("1.25")), ConversionError);
}

TEST(Extra, AmountTextsFollowTheLocale)
{
    const struct
    {
        QLocale locale;
        double value;
        QString amount; // FormatAmount: grouped, two decimals
        QString plain;  // FormatPlainNumber: shortest form, no grouping
    } cases[] = {
        {swedish(), 1234.5, QStringLiteral("1") + Nbsp + QStringLiteral("234,50"), QStringLiteral("1234,5")},
        {swedish(), -1234.5, QString(Minus) + QStringLiteral("1") + Nbsp + QStringLiteral("234,50"),
         QString(Minus) + QStringLiteral("1234,5")},
        {swedish(), 0, QStringLiteral("0,00"), QStringLiteral("0")},
        {swedish(), 100000000,
         QStringLiteral("100") + Nbsp + QStringLiteral("000") + Nbsp + QStringLiteral("000,00"),
         QStringLiteral("100000000")},
        {english(), 1234.5, QStringLiteral("1,234.50"), QStringLiteral("1234.5")},
        {english(), -1234.5, QStringLiteral("-1,234.50"), QStringLiteral("-1234.5")},
        {english(), 0.1, QStringLiteral("0.10"), QStringLiteral("0.1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + std::to_string(c.value));
        EXPECT_EQ(FormatAmount(c.value, c.locale), c.amount);
        EXPECT_EQ(FormatPlainNumber(c.value, c.locale), c.plain);
    }
}

TEST(Extra, FormatOreAmountWritesTwoDecimalsWithoutGrouping)
{
    const struct
    {
        QLocale locale;
        qint64 ore;
        QString text;
    } cases[] = {
        {swedish(), 123450, QStringLiteral("1234,50")},
        {swedish(), 5, QStringLiteral("0,05")},
        {swedish(), -5, QString(Minus) + QStringLiteral("0,05")},
        {swedish(), 0, QStringLiteral("0,00")},
        {swedish(), 999999999999LL, QStringLiteral("9999999999,99")},
        {swedish(), std::numeric_limits<qint64>::min(),
         QString(Minus) + QStringLiteral("92233720368547758,08")},
        {english(), 123450, QStringLiteral("1234.50")},
        {english(), -100, QStringLiteral("-1.00")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + std::to_string(c.ore));
        EXPECT_EQ(FormatOreAmount(c.ore, c.locale), c.text);
    }
}

TEST(Extra, PlainNumbersReadBackInTheirLocale)
{
    const double values[] = {0, 0.01, 1234.5, -1234.5, 99999999.99, 1e20, -1e-5, 123456789012345.0};
    for (const QLocale& locale : {swedish(), english()}) {
        for (const double value : values) {
            SCOPED_TRACE(locale.name().toStdString() + " " + std::to_string(value));
            const QString text = FormatPlainNumber(value, locale);
            EXPECT_DOUBLE_EQ(StrToFloat(text, locale), value) << text.toStdString();
        }
    }
}
