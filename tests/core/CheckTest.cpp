#include "rules/Check.h"
#include "rules/ValmoError.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

const QString BadBankgiro = QStringLiteral("Felaktigt Bankgironummer");
const QString BadPerson = QStringLiteral("Felaktigt personnummer");
const QString BadClearing = QStringLiteral("Felaktigt clearingnummer");
const QString BadAccount = QStringLiteral("Felaktigt kontonummer");
const QString BadPayer = QStringLiteral("Felaktigt betalarnummer");
const QString NotNumeric = QStringLiteral("Beloppet är inte numeriskt");
const QString Negative = QStringLiteral("Beloppet får inte vara negativt");
const QString TooLarge = QStringLiteral("Beloppet är för stort");

QLocale swedish()
{
    return QLocale(QLocale::Swedish, QLocale::Sweden);
}

QLocale english()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

struct TextCase
{
    QString text;
    QString message;
};

} // namespace

TEST(Check, Mod10WeighsFromTheRightAndAddsTheDigitsOfEachProduct)
{
    const struct
    {
        QString digits;
        bool valid;
    } cases[] = {
        {QStringLiteral("1234566"), true},  // sum 30
        {QStringLiteral("12345674"), true}, // sum 30
        {QStringLiteral("1234567"), false},     {QStringLiteral("12345678"), false},
        {QStringLiteral("91"), true},  // 9*2 = 18 counts 1 + 8
        {QStringLiteral("59"), true},  // 5*2 = 10 counts 1 + 0
        {QStringLiteral("19"), false}, // weights from the left would give 2 + 9 + ... = valid
        {QStringLiteral("18"), true},           {QStringLiteral("0"), true},
        {QStringLiteral("5"), false},           {QStringLiteral("79927398713"), true},
        {QStringLiteral("79927398710"), false}, {QStringLiteral("12a34566"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits.toStdString());
        EXPECT_EQ(Mod10Valid(c.digits), c.valid);
    }
}

TEST(Check, BankgiroNumberNeedsSevenOrEightDigitsAndAValidCheckDigit)
{
    const TextCase cases[] = {
        {QStringLiteral("123-4566"), QString()},
        {QStringLiteral("1234-5674"), QString()},
        {QStringLiteral("1234566"), QString()},
        {QStringLiteral(" 12a3-45x66 "), QString()},
        {QStringLiteral("123-4567"), BadBankgiro},
        {QStringLiteral("1234-5678"), BadBankgiro},
        {QStringLiteral("123456"), BadBankgiro},     // 6 digits
        {QStringLiteral("000000"), BadBankgiro},     // valid sum, 6 digits
        {QStringLiteral("0000000"), QString()},      // valid sum, 7 digits
        {QStringLiteral("12345674-0"), BadBankgiro}, // 9 digits
        {QStringLiteral("000000000"), BadBankgiro},  // valid sum, 9 digits
        {QString(), BadBankgiro},
        {QStringLiteral("abc-defg"), BadBankgiro},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckBankgiroNumber(c.text), c.message);
    }
}

TEST(Check, IsPersonNumberLooksAtTheMonthField)
{
    const struct
    {
        QString text;
        bool result;
    } cases[] = {
        {QStringLiteral("6513011234"), false}, // month 13
        {QStringLiteral("6512011234"), true},
        {QStringLiteral("6500011234"), true}, // no lower bound
        {QStringLiteral("651201-1234"), true},
        {QStringLiteral("196501011234"), true},
        {QStringLiteral("196513011234"), true},  // 12 digits not starting 00: not examined
        {QStringLiteral("005560001234"), false}, // company number, month field 60
        {QStringLiteral("006512011234"), true},  // 10-digit number in a 12-digit field
        {QStringLiteral("006513011234"), false},
        {QStringLiteral("12345678901"), false}, // 11 digits
        {QString(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(IsPersonNumber(c.text), c.result);
    }
}

TEST(Check, PersonNumberChecksCenturyMonthAndDayAtTheirPositions)
{
    const TextCase cases[] = {
        {QStringLiteral("19650101-1234"), QString()}, {QStringLiteral("20001231-0000"), QString()},
        {QStringLiteral("19650000-0000"), QString()}, // no lower bound for month or day
        {QStringLiteral("18991231-1234"), BadPerson}, {QStringLiteral("21000101-1234"), BadPerson},
        {QStringLiteral("19651301-1234"), BadPerson}, {QStringLiteral("19650132-1234"), BadPerson},
        {QStringLiteral("00556000-1234"), QString()}, // month field 60: not a civic number
        {QStringLiteral("1965"), QString()},          // too few digits: not judged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckPersonNumber(c.text), c.message);
    }
}

TEST(Check, PersonNumberWithASeparatorInAFieldFailsAsConversion)
{
    try {
        CheckPersonNumber(QStringLiteral("1965x0101-1234"));
        FAIL() << "no conversion failure";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("'x0' är inte ett giltigt heltal"));
    }
}

TEST(Check, FormatPersonNumberUsesFieldPositions)
{
    const struct
    {
        QString field;
        QString result;
    } cases[] = {
        {QStringLiteral("196501011234"), QStringLiteral("19650101-1234")},
        {QStringLiteral("005560001234"), QStringLiteral("5560001234")},
        {QStringLiteral("006512011234"), QStringLiteral("00651201-1234")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        EXPECT_EQ(FormatPersonNumber(c.field), c.result);
    }
}

TEST(Check, ClearingNumberHasFourOrFiveDigits)
{
    const TextCase cases[] = {
        {QStringLiteral("8327"), QString()},
        {QStringLiteral("8327-9"), QString()},
        {QStringLiteral("832"), BadClearing},
        {QStringLiteral("832799"), BadClearing},
        {QString(), BadClearing},
        {QStringLiteral("83 2a7"), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckClearingNumber(c.text), c.message);
    }
}

TEST(Check, ClearingAndAccountSplitAfterFourDigitsWithoutLeadingZeros)
{
    const TextCase cases[] = {
        {QStringLiteral("8327") + QStringLiteral("1234567"), QString()},
        {QStringLiteral("8327") + QStringLiteral("123456789012"), QString()},
        {QStringLiteral("1234") + QStringLiteral("123456"), BadAccount},
        {QStringLiteral("0123") + QStringLiteral("4567890"), BadAccount}, // becomes 1234 + 567890
        {QStringLiteral("8327") + QStringLiteral("1234567890123"), BadAccount},
        {QStringLiteral("83279") + QStringLiteral("123456"), QString()}, // fifth digit joins the account
        {QStringLiteral("832"), BadClearing},
        {QStringLiteral("0000"), BadClearing},
        {QString(), BadClearing},
        {QStringLiteral("8327-") + QStringLiteral("12 345 67"), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckClearingAndAccount(c.text), c.message);
    }
}

TEST(Check, FormatClearingAccountPadsToTheWidthOfTheClearingRange)
{
    const struct
    {
        int clearing;
        int width;
    } widths[] = {
        {9179, 7}, {9180, 10}, {9199, 10}, {9200, 7},  {7999, 7}, {8000, 10}, {8999, 10},
        {9499, 7}, {9500, 10}, {9549, 10}, {9550, 7},  {9959, 7}, {9960, 10}, {9969, 10},
        {9970, 7}, {9299, 7},  {9300, 10}, {9349, 10}, {9350, 7}, {1099, 10}, {1000, 10},
        {1100, 7}, {3299, 7},  {3300, 10}, {3301, 7},  {3781, 7}, {3782, 10}, {3783, 7},
        {5999, 7}, {6000, 9},  {6999, 9},  {7000, 7},  {3000, 7}, {5000, 7},
    };
    for (const auto& w : widths) {
        SCOPED_TRACE(w.clearing);
        const QString clearing = QString::number(w.clearing);
        EXPECT_EQ(FormatClearingAccount(clearing + QStringLiteral("12345")),
                  clearing + QLatin1Char('-') + QString(w.width - 5, QLatin1Char('0')) +
                      QStringLiteral("12345"));
    }

    const struct
    {
        QString text;
        QString result;
    } cases[] = {
        {QStringLiteral("6000") + QStringLiteral("12345"), QStringLiteral("6000-000012345")},
        {QStringLiteral("8327") + QStringLiteral("1234567890"), QStringLiteral("8327-1234567890")},
        {QStringLiteral("3000") + QStringLiteral("1234"), QStringLiteral("3000-0001234")},
        {QStringLiteral("3000") + QStringLiteral("0001234567"), QStringLiteral("3000-1234567")},
        {QStringLiteral("3000") + QStringLiteral("123456789"), QStringLiteral("3000-123456789")},
        {QStringLiteral("00") + QStringLiteral("5000-12345"), QStringLiteral("5000-0012345")},
        {QStringLiteral("30009") + QStringLiteral("12345"), QStringLiteral("3000-0912345")},
        {QStringLiteral("8000"), QStringLiteral("8000-0000000000")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(FormatClearingAccount(c.text), c.result);
    }
}

TEST(Check, FormatClearingAccountWithoutDigitsFailsAsConversion)
{
    try {
        FormatClearingAccount(QStringLiteral("-"));
        FAIL() << "no conversion failure";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("'' är inte ett giltigt heltal"));
    }
}

TEST(Check, PayerNumberIsOneToSixteenCharacters)
{
    const TextCase cases[] = {
        {QStringLiteral(" "), QString()},
        {QStringLiteral("1"), QString()},
        {QStringLiteral("abcdefghijklmnop"), QString()},
        {QStringLiteral("abcdefghijklmnopq"), BadPayer},
        {QString(), BadPayer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckPayerNumber(c.text), c.message);
    }
}

TEST(Check, AmountIsCheckedForNumberThenSignThenSize)
{
    const QString minus(QChar(0x2212));
    const struct
    {
        QLocale locale;
        QString text;
        QString message;
    } cases[] = {
        {swedish(), QStringLiteral("99999999,99"), QString()},
        {swedish(), QStringLiteral("0"), QString()},
        {swedish(), QStringLiteral("-0"), QString()},
        {swedish(), QStringLiteral("-0,001"), QString()}, // rounds to zero öre
        {swedish(), QStringLiteral("1234,5"), QString()},
        {swedish(), QStringLiteral("1e3"), QString()},
        {swedish(), QStringLiteral("99999999,994"), QString()},
        {swedish(), QStringLiteral("100000000"), TooLarge},
        {swedish(), QStringLiteral("1\u00D710^+10"), TooLarge},
        {swedish(), QStringLiteral("-99999999,99"), Negative},
        {swedish(), QStringLiteral("-0,01"), Negative},
        {swedish(), minus + QStringLiteral("50"), Negative},
        {swedish(), QStringLiteral("-100000000"), Negative}, // negative before too large
        {swedish(), QStringLiteral("abc"), NotNumeric},
        {swedish(), QString(), NotNumeric},
        {swedish(), QStringLiteral("-abc"), NotNumeric},
        {swedish(), QStringLiteral("1e300"), NotNumeric},  // hundredfold outside 64 bits
        {swedish(), QStringLiteral("-1e300"), NotNumeric}, // not a number before negative
        {swedish(), QStringLiteral("1234.50"), NotNumeric},
        {swedish(), QStringLiteral("1 234,50"), NotNumeric},
        {english(), QStringLiteral("1234.50"), QString()},
        {english(), QStringLiteral("-1234.50"), Negative},
        {english(), minus + QStringLiteral("1.00"), Negative},
        {english(), QStringLiteral("1234,50"), NotNumeric},
        {english(), QStringLiteral("100000000.00"), TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString() + " " + c.text.toStdString());
        EXPECT_EQ(CheckAmount(c.text, c.locale), c.message);
    }
}

TEST(Check, CustomerNumberNeverGivesAMessage)
{
    for (const QString& text :
         {QString(), QStringLiteral("012345"), QStringLiteral("abc"), QStringLiteral(" ")})
        EXPECT_EQ(CheckCustomerNumber(text), QString());
}

TEST(Check, EncodableNamesTheFirstCharacterOutsideTheCodePage)
{
    const auto message = [](const QString& character) {
        return QStringLiteral(
                   "Tecknet \u201D%1\u201D kan inte sparas i en Autogirofil. Skriv texten utan det.")
            .arg(character);
    };
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600, a surrogate pair
    const TextCase cases[] = {
        {QStringLiteral("Åsa Öberg & Co, 50 € – \u201Cok\u201D"), QString()},
        {QString(), QString()},
        {QStringLiteral("A\u0100B"), message(QStringLiteral("\u0100"))},
        {QStringLiteral("Anna ") + emoji + QStringLiteral(" \u0100"), message(emoji)},
        {emoji, message(emoji)},
        {QStringLiteral("x") + QChar(0xD83D), message(QString(QChar(0xD83D)))}, // lone surrogate
        {QStringLiteral("\u20AC\u2212"), message(QStringLiteral("\u2212"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckEncodable(c.text), c.message);
    }
}
