#include "rules/Check.h"
#include "rules/BankAccounts.h"
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

TEST(Check, IsPersonNumberLooksAtTheShapeAndTheMonthField)
{
    const struct
    {
        QString text;
        bool result;
    } cases[] = {
        {QStringLiteral("6513011234"), true}, // month 13: a person's number, refused by the check
        {QStringLiteral("6512011234"), true},
        {QStringLiteral("651201-1234"), true},
        {QStringLiteral("651201+1234"), true},
        {QStringLiteral("196501011234"), true},
        {QStringLiteral("196513011234"), true},
        {QStringLiteral("5560001234"), false},   // month field 56: organisation number
        {QStringLiteral("005560001234"), false}, // the same after "00"
        {QStringLiteral("006512011234"), true},  // 10-digit number in a 12-digit field
        {QStringLiteral("12345678901"), false},  // 11 digits
        {QStringLiteral("65-0101-1234"), false},
        {QString(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(IsPersonNumber(c.text), c.result);
    }
}

TEST(Check, PersonNumberNeedsARealPastDateAndItsCheckDigit)
{
    const QDate today(2026, 12, 8);
    const QString badOrganisation = QStringLiteral("Felaktigt organisationsnummer");
    const TextCase cases[] = {
        {QStringLiteral("19650101-1230"), QString()},
        {QStringLiteral("196501011230"), QString()},
        {QStringLiteral("6501011230"), QString()},
        {QStringLiteral(" 650101-1230 "), QString()},
        {QStringLiteral("20001231-0009"), QString()},
        {QStringLiteral("050101-1233"), QString()},
        {QStringLiteral("650161-1237"), QString()},   // samordningsnummer: day 1 plus 60
        {QStringLiteral("000229-1235"), QString()},   // 2000-02-29
        {QStringLiteral("261209-1237"), QString()},   // 1926: 2026-12-09 lies ahead
        {QStringLiteral("19650101-1234"), BadPerson}, // check digit
        {QStringLiteral("000229+1235"), BadPerson},   // 1900 was no leap year
        {QStringLiteral("20261209-1237"), BadPerson}, // after today
        {QStringLiteral("19650000-0000"), BadPerson},
        {QStringLiteral("18991231-1234"), BadPerson},
        {QStringLiteral("21000101-1234"), BadPerson},
        {QStringLiteral("19651301-1234"), BadPerson},
        {QStringLiteral("19650132-1234"), BadPerson},
        {QStringLiteral("6513011234"), BadPerson},
        {QStringLiteral("00650101-1230"), BadPerson}, // no century
        {QStringLiteral("1965x0101-1234"), BadPerson},
        {QStringLiteral("1965"), BadPerson},
        {QString(), BadPerson},
        {QStringLiteral("5560001231"), QString()},
        {QStringLiteral("556000-1231"), QString()},
        {QStringLiteral("005560001231"), QString()},
        {QStringLiteral("5560001234"), badOrganisation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckPersonNumber(c.text, today), c.message);
    }
}

TEST(Check, TenDigitPersonNumberGetsTheCenturyOfItsDateAndSeparator)
{
    const QDate today(2026, 12, 8);
    const struct
    {
        QString text;
        QString shown;
        QString field;
    } cases[] = {
        {QStringLiteral("050101-1233"), QStringLiteral("20050101-1233"), QStringLiteral("200501011233")},
        {QStringLiteral("050101+1233"), QStringLiteral("19050101-1233"), QStringLiteral("190501011233")},
        {QStringLiteral("6501011230"), QStringLiteral("19650101-1230"), QStringLiteral("196501011230")},
        {QStringLiteral("261208-1234"), QStringLiteral("20261208-1234"), QStringLiteral("202612081234")},
        {QStringLiteral("261209-1237"), QStringLiteral("19261209-1237"), QStringLiteral("192612091237")},
        {QStringLiteral("650161-1237"), QStringLiteral("19650161-1237"), QStringLiteral("196501611237")},
        {QStringLiteral("196501011230"), QStringLiteral("19650101-1230"), QStringLiteral("196501011230")},
        {QStringLiteral("5560001231"), QStringLiteral("5560001231"), QStringLiteral("5560001231")},
        {QStringLiteral("12-34"), QStringLiteral("12-34"), QStringLiteral("1234")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(NormalizePersonNumber(c.text, today), c.shown);
        EXPECT_EQ(PersonNumberField(c.text, today), c.field);
    }
}

TEST(Check, PersonNumberWithASeparatorInAFieldIsRefusedWithoutAConversionFailure)
{
    for (const QString& text : {QStringLiteral("1965x0101-1234"), QStringLiteral("1-96501011230")})
        EXPECT_EQ(CheckPersonNumber(text, QDate(2026, 12, 8)), BadPerson) << qPrintable(text);
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

TEST(Check, ClearingNumberIsOneABankUses)
{
    const TextCase cases[] = {
        {QStringLiteral("8327"), QString()},
        {QStringLiteral("8327-9"), QString()}, // Swedbank's check digit
        {QStringLiteral("83 2a7"), QString()},
        {QStringLiteral("9960"), QString()},
        {QStringLiteral("8327-8"), BadClearing},
        {QStringLiteral("50001"), BadClearing}, // five digits only at Swedbank
        {QStringLiteral("2200"), BadClearing},  // no bank
        {QStringLiteral("0123"), BadClearing},
        {QStringLiteral("832"), BadClearing},
        {QStringLiteral("832799"), BadClearing},
        {QString(), BadClearing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CheckClearingNumber(c.text), c.message);
    }
}

TEST(Check, AccountNumberFollowsTheRuleOfItsBank)
{
    const struct
    {
        QString clearing;
        QString account;
        QString message;
    } cases[] = {
        {QStringLiteral("5000"), QStringLiteral("1234560"), QString()}, // type 1, comment 1
        {QStringLiteral("5000"), QStringLiteral("1234567"), BadAccount},
        {QStringLiteral("9550"), QStringLiteral("1234566"), QString()}, // type 1, comment 2
        {QStringLiteral("9550"), QStringLiteral("1234560"), BadAccount},
        {QStringLiteral("5000"), QStringLiteral("12345600"), BadAccount}, // 8 digits
        {QStringLiteral("6000"), QStringLiteral("123456789"), QString()}, // type 2, comment 2
        {QStringLiteral("6000"), QStringLiteral("12343"), QString()},     // read as 000012343
        {QStringLiteral("6000"), QStringLiteral("1234567890"), BadAccount},
        {QStringLiteral("3300"), QStringLiteral("1212121212"), QString()},   // type 2, comment 1
        {QStringLiteral("8327-9"), QStringLiteral("1234567897"), QString()}, // type 2, comment 3
        {QStringLiteral("83279"), QStringLiteral("123456-6"), QString()},
        {QStringLiteral("8327"), QStringLiteral("12345678970"), BadAccount},
        {QStringLiteral("9960"), QStringLiteral("1234566"), QString()},
        {QStringLiteral("5000"), QStringLiteral("0000000"), BadAccount},
        {QStringLiteral("5000"), QString(), BadAccount},
        {QStringLiteral("2200"), QStringLiteral("1234560"), BadClearing},
        {QStringLiteral("8327-8"), QStringLiteral("1234567897"), BadClearing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.clearing + QLatin1Char(' ') + c.account).toStdString());
        EXPECT_EQ(CheckClearingAndAccount(c.clearing, c.account), c.message);
    }
}

TEST(Check, ClearingAndAccountSplitAfterFourDigitsWithoutLeadingZeros)
{
    const TextCase cases[] = {
        {QStringLiteral("8327") + QStringLiteral("1234566"), QString()},
        {QStringLiteral("00") + QStringLiteral("5000") + QStringLiteral("1234560"), QString()},
        {QStringLiteral("8327") + QStringLiteral("123456789012"), BadAccount},
        {QStringLiteral("1234") + QStringLiteral("123456"), BadAccount},
        {QStringLiteral("8327") + QStringLiteral("1234567890123"), BadAccount},
        {QStringLiteral("832"), BadClearing},
        {QStringLiteral("0000"), BadClearing},
        {QString(), BadClearing},
        {QStringLiteral("8327-") + QStringLiteral("12 345 66"), QString()},
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
        {9179, 7},  {9180, 10}, {9189, 10}, {9190, 7},  {9200, 7},  {7999, 7},  {8000, 10}, {8999, 10},
        {9499, 7},  {9500, 10}, {9549, 10}, {9550, 7},  {9570, 10}, {9579, 10}, {9580, 7},  {9959, 7},
        {9960, 10}, {9969, 10}, {9970, 7},  {9299, 7},  {9300, 10}, {9349, 10}, {9350, 7},  {1000, 7},
        {3299, 7},  {3300, 10}, {3301, 7},  {3781, 7},  {3782, 10}, {3783, 7},  {5999, 7},  {6000, 9},
        {6999, 9},  {7000, 7},  {9889, 7},  {9890, 10}, {9899, 10}, {9900, 7},
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

    // Given apart, a Swedbank clearing number leaves its check digit out of the account.
    EXPECT_EQ(FormatClearingAccount(QStringLiteral("8327-9"), QStringLiteral("123456-6")),
              QStringLiteral("8327-0001234566"));
    EXPECT_EQ(FormatClearingAccount(QStringLiteral("6000"), QStringLiteral("0012 343")),
              QStringLiteral("6000-000012343"));
    // A row's clearing part is written with four digits.
    for (const auto& [clearing, written] :
         {std::pair{u"83279", u"8327"}, {u"8327", u"8327"}, {u"50001", u"50001"}, {u"8327 9", u"8327 9"}})
        EXPECT_EQ(ClearingWithoutCheckDigit(clearing), QStringView(written));
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
