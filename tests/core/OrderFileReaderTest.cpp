// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "format/OrderFileReader.h"
#include "app/OrderDocument.h"
#include "format/OpeningRecordLog.h"
#include "format/OrderLineReader.h"
#include "format/SettingsOpeningRecordPolicy.h"
#include "rules/Periods.h"
#include "settings/SettingsStore.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

// Readable failure output for the row tables.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Outcome = ReadVerdict::Outcome;
using Fields = std::vector<std::pair<int, const char*>>;

// An 80-character record with each text at its position (counted from 1), blanks elsewhere.
QByteArray record(const Fields& fields)
{
    QByteArray line(80, ' ');
    for (const auto& [position, text] : fields)
        line.replace(position - 1, int(std::strlen(text)), text);
    return line;
}

QByteArray file(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

QByteArray opening(const char* customer = "123456", const char* bankgiro = "0055555555")
{
    return record({{1, "01"}, {3, "20240305"}, {11, "AUTOGIRO"}, {63, customer}, {69, bankgiro}});
}

QStringList splitLines(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    OrderLineReader reader(buffer);
    QStringList lines;
    while (reader.next()) {
        EXPECT_EQ(reader.lineNumber(), lines.size() + 1);
        lines.append(reader.line().toString());
    }
    return lines;
}

QStringList rowTexts(const ListRow& row)
{
    return QStringList{row.caption()} + row.subItems();
}

class ReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        document.FillMakTexts();
    }

    ReadVerdict read(const QByteArray& bytes) { return OrderFileReader(document, log).read(bytes); }

    OrderDocument document;
    OpeningRecordLog log;
};

TEST(OrderLineReaderTest, SplitsLinesAsTheFileFormatSays)
{
    struct Case
    {
        QByteArray bytes;
        QStringList lines;
    };
    const QList<Case> cases = {
        {"", {}},
        {"ab\r\ncd\r\n", {"ab", "cd"}},
        {"ab\ncd", {"ab", "cd"}},
        {"ab\r\n\x1a", {"ab"}},
        {"ab\r\n\x1a\r\ncd\r\n", {"ab"}},
        {"ab\x1a"
         "cd\r\n",
         {"ab"}},
        {"\x1a", {}},
        {"a\rb\r\n", {"a", "b"}},
        {"a\rb\rc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"ab\r\n\r\n", {"ab", ""}},
        {"ab\r\n\r", {"ab", ""}},
        {"ab\r\r\n", {"ab", ""}},
        {"\xe5\xe4\xf6\x80\x81", {QStringLiteral("åäö€\u0081")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitLines(c.bytes), c.lines) << c.bytes.toStdString();
}

TEST(OrderLineReaderTest, PastEightyCharactersOnlyBlanksAreAllowed)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QStringList lines;
        bool tooLong; // the last line read
    };
    const QByteArray a80(80, 'a');
    const QString text80(80, QLatin1Char('a'));
    const QList<Case> cases = {
        {"blanks past 80", a80 + "    \r\nx", {text80, "x"}, false},
        {"text past 80", a80 + "bbbb\r\nx", {text80}, true},
        {"text after blanks past 80", a80 + "  b", {text80}, true},
        {"blanks without end", a80 + QByteArray(2000, ' ') + "\r\n", {text80}, true},
        {"Ctrl-Z right after 80", a80 + "\x1a" + "bbbb", {text80}, false},
        {"carriage returns end lines",
         QByteArray(2, '\r') + QByteArray(80, 'c'),
         {"", "", QString(80, 'c')},
         false},
    };
    for (const Case& c : cases) {
        QByteArray data = c.bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        OrderLineReader reader(buffer);
        QStringList lines;
        bool tooLong = false;
        while (reader.next()) {
            lines.append(reader.line().toString());
            tooLong = reader.tooLong();
        }
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(tooLong, c.tooLong) << c.name;
    }
}

TEST(OrderLineReaderTest, InputWithoutLineEndsIsNotReadToItsEnd)
{
    QByteArray data(8 * 1024 * 1024, '8');
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    OrderLineReader reader(buffer);
    ASSERT_TRUE(reader.next());
    EXPECT_TRUE(reader.tooLong());
    EXPECT_FALSE(reader.next());
    EXPECT_LT(buffer.pos(), data.size() / 8);
}

TEST(OrderLineReaderTest, TextKindAndUtf8Lines)
{
    const struct
    {
        QByteArray bytes;
        TextKind kind;
    } cases[] = {
        {"", TextKind::Ascii},
        {"01AUTOGIRO\r\n", TextKind::Ascii},
        {"\xc3\x85RSKORT \xe2\x82\xac", TextKind::Utf8},
        {"\xc5RSKORT", TextKind::Other},   // Windows-1252
        {"\xc0\x80", TextKind::Other},     // overlong
        {"\xed\xa0\x80", TextKind::Other}, // surrogate
        {"\xe2\x82", TextKind::Other},     // cut short
        {"ab\x1a\xc5", TextKind::Ascii},   // nothing counts after Ctrl-Z
        {"\xc3\xa5\x1a\xff", TextKind::Utf8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScanTextKind(c.bytes.constData(), c.bytes.size()), c.kind) << c.bytes.toStdString();

    // Eighty characters count as characters, not bytes; a byte-order mark before the first record,
    // in either encoding, is no part of it.
    const struct
    {
        QByteArray bytes;
        OrderLineReader::Encoding encoding;
        QString line;
    } lines[] = {
        {"\xc3\x85" + QByteArray(79, 'x') + "  \r\n", OrderLineReader::Encoding::Utf8,
         QStringLiteral("Å") + QString(79, QLatin1Char('x'))},
        {"\xef\xbb\xbf" + QByteArray(80, 'y') + "\r\n", OrderLineReader::Encoding::Utf8, QString(80, QLatin1Char('y'))},
        {"\xef\xbb\xbf\xc5" + QByteArray(79, 'y'), OrderLineReader::Encoding::Windows1252,
         QStringLiteral("Å") + QString(79, QLatin1Char('y'))},
    };
    for (auto c : lines) {
        QBuffer buffer(&c.bytes);
        buffer.open(QIODevice::ReadOnly);
        OrderLineReader reader(buffer, c.encoding);
        ASSERT_TRUE(reader.next());
        EXPECT_FALSE(reader.tooLong());
        EXPECT_EQ(reader.line().toString(), c.line);
    }
}

TEST(OrderLineReaderTest, LinesAcrossReadChunksArriveWhole)
{
    QByteArray bytes;
    QStringList expected;
    for (int i = 0; i < 5000; ++i) {
        const QByteArray line = QByteArray::number(i).rightJustified(80, 'x');
        bytes += line + "\r\n";
        expected.append(QString::fromLatin1(line));
    }
    EXPECT_EQ(splitLines(bytes), expected);
}

TEST_F(ReaderTest, DispatchStopsAtLinesItCannotEdit)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        Outcome outcome;
        int lineNumber;
        QString message;
    };
    const QString unsupported = OrderFileReader::unsupportedContentMessage();
    const QString report = OrderFileReader::reportFileMessage();
    const QByteArray payment = record({{1, "82"}, {3, "20240305"}, {11, "0"}, {32, "000000025000"}});
    const QList<Case> cases = {
        {"blank line", file({payment, "", payment}), Outcome::UnsupportedContent, 2, unsupported},
        {"blank record", file({record({}), payment}), Outcome::UnsupportedContent, 1, unsupported},
        {"05", file({payment, record({{1, "05"}})}), Outcome::UnsupportedContent, 2, unsupported},
        {"09", file({record({{1, "09"}})}), Outcome::UnsupportedContent, 1, unsupported},
        {"XX payment", file({payment, record({{1, "XX"}, {3, "20240305"}})}), Outcome::UnsupportedContent, 2,
         unsupported},
        {"single 0", file({"0"}), Outcome::UnsupportedContent, 1, unsupported},
        {"51", file({record({{1, "51"}})}), Outcome::IncomingMandates, 1,
         OrderFileReader::incomingMandatesMessage()},
        {"01BGMAX", file({record({{1, "01BGMAX"}, {63, "123456"}})}), Outcome::UnsupportedContent, 1,
         unsupported},
        {"01 too short for AUTOGIRO", file({"01"}), Outcome::UnsupportedContent, 1, unsupported},
        {"01AUTOGIRO", file({record({{1, "01AUTOGIRO"}, {45, "AG-MEDAVI"}, {65, "0000123456"}})}),
         Outcome::ReportFile, 1, report},
        {"marker 19-22", file({payment, record({{1, "01"}, {19, "9900"}})}), Outcome::ReportFile, 2, report},
        {"marker 11-14", file({record({{1, "01"}, {11, "9900"}, {19, "1234"}})}), Outcome::ReportFile, 1,
         report},
        {"marker 11-14 on a short line", file({"0120240305990012"}), Outcome::ReportFile, 1, report},
        {"marker cut short", file({"0120240305990"}), Outcome::UnsupportedContent, 1, unsupported},
        {"report in the third section",
         file({opening(), payment, opening(), record({{1, "01"}, {19, "9900"}})}), Outcome::ReportFile, 4,
         report},
        {"bad date", file({payment, record({{1, "82"}, {3, "20241305"}, {32, "1"}})}),
         Outcome::LineUnreadable, 2,
         OrderFileReader::unreadableLineMessage("'2024-13-05' är inte ett giltigt datum", 2)},
        {"letters in a date", file({record({{1, "32"}, {3, "2024MA05"}})}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'2024-MA-05' är inte ett giltigt datum", 1)},
        {"payment cut before its date", file({"82"}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'--' är inte ett giltigt datum", 1)},
        {"blank payment amount", file({record({{1, "82"}, {3, "20240305"}})}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'            ' är inte ett giltigt tal", 1)},
        {"amount with letters", file({record({{1, "25"}, {37, "00000001A000"}})}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'00000001A000' är inte ett giltigt tal", 1)},
        {"bad dates and amount: the first column's message",
         file({record({{1, "29"}, {29, "20241301"}, {37, "00000001A000"}, {51, "20240230"}})}),
         Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'2024-13-01' är inte ett giltigt datum", 1)},
        {"bad new date and amount: the date's message",
         file({record({{1, "29"}, {37, "00000001A000"}, {51, "20240230"}})}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'2024-02-30' är inte ett giltigt datum", 1)},
        {"line ending inside an amount", file({"2500555555550000000000004711202403050000"}),
         Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("Raden slutar inne i fältet Belopp (position 37-48).", 1)},
        {"line ending inside a payer number", file({"82202403050    00000000000047"}),
         Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("Raden slutar inne i fältet Betalarnummer (position 16-31).",
                                                1)},
        {"line ending inside a date", file({payment, "2900555555550000000000004711202403"}),
         Outcome::LineUnreadable, 2,
         OrderFileReader::unreadableLineMessage("Raden slutar inne i fältet Betalningsdag (position 29-36).",
                                                2)},
        {"line ending inside a count", file({"82202403051 9"}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("Raden slutar inne i fältet Antal (position 12-14).", 1)},
        {"letters in a payer number", file({record({{1, "82"}, {3, "20240305"}, {16, "12A4"}, {32, "1"}})}),
         Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage(
             "Betalarnumret '12A4            ' (position 16-31) får bara innehålla siffror.", 1)},
        {"text past 80", file({payment + "X"}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage(OrderFileReader::tooLongText(), 1)},
        {"code 2X", file({record({{1, "2X"}})}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'2X' är inte ett giltigt heltal", 1)},
        {"code 2 blank", file({record({{1, "2 "}})}), Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'2 ' är inte ett giltigt heltal", 1)},
        {"paper mandate without digits", file({record({{1, "04"}, {13, "1"}, {29, "ABCD"}})}),
         Outcome::LineUnreadable, 1,
         OrderFileReader::unreadableLineMessage("'' är inte ett giltigt heltal", 1)},
    };
    for (const Case& c : cases) {
        const ReadVerdict verdict = read(c.bytes);
        EXPECT_EQ(verdict.outcome, c.outcome) << c.name;
        EXPECT_EQ(verdict.lineNumber, c.lineNumber) << c.name;
        EXPECT_EQ(verdict.message, c.message) << c.name;
        EXPECT_TRUE(verdict.showInstead()) << c.name;
        EXPECT_FALSE(document.hasRows()) << c.name << ": never half a file";
        EXPECT_TRUE(document.MakCodes().isEmpty()) << c.name;
    }
}

TEST_F(ReaderTest, LoadsWhatItCanEdit)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int rows;
    };
    const QList<Case> cases = {
        {"empty file", "", 0},
        {"Ctrl-Z only", "\x1a", 0},
        {"opening record only", file({opening()}), 0},
        {"no opening record", file({record({{1, "32"}, {3, "20240305"}, {32, "1"}})}), 1},
        {"Ctrl-Z after the last line end", file({record({{1, "03"}, {13, "1"}})}) + "\x1a", 1},
        {"no final line end", record({{1, "03"}, {13, "1"}}), 1},
        {"trailing blank lines", file({record({{1, "03"}, {13, "1"}}), "", "   ", ""}) + "\n\r", 1},
        {"LF and CR line ends", record({{1, "03"}, {13, "1"}}) + "\n" + record({{1, "03"}, {13, "2"}}) + "\r",
         2},
        {"blanks past 80", record({{1, "03"}, {13, "1"}}) + "     \r\n", 1},
        {"codes 20 to 22 and 2 alone",
         file({record({{1, "20"}}), record({{1, "21"}}), record({{1, "22"}}), "2"}), 4},
        {"three sections",
         file({opening(), record({{1, "04"}, {13, "1"}, {29, "0"}}), opening(),
               record({{1, "82"}, {3, "20240305"}, {32, "1"}}), opening(), record({{1, "26"}})}),
         3},
    };
    for (const Case& c : cases) {
        const ReadVerdict verdict = read(c.bytes);
        EXPECT_TRUE(verdict.loaded()) << c.name << ": " << verdict.message.toStdString();
        EXPECT_EQ(verdict.lineNumber, 0) << c.name;
        EXPECT_EQ(document.BtuList.count() + document.MdgList.count() + document.MakList.count(), c.rows)
            << c.name;
    }
}

TEST_F(ReaderTest, ReadingEmptiesTheDocumentFirst)
{
    document.BtuList.append("Debitering", {"", "", "", "", "", ""});
    document.MakList.append("3", "x", {"", "", "", "", ""});
    document.MdgListComp.append("123-4567", {});
    EXPECT_TRUE(read(file({record({{1, "03"}, {13, "7"}})})).loaded());
    EXPECT_EQ(document.BtuList.count(), 0);
    EXPECT_EQ(document.MdgListComp.count(), 0);
    EXPECT_EQ(document.MakCodes(), QStringList({"3"}));
}

TEST_F(ReaderTest, PaymentRecordsBecomeRows)
{
    struct Case
    {
        const char* name;
        bool privateService;
        QByteArray line;
        QStringList row;
    };
    const QList<Case> cases = {
        {"one-off debit",
         true,
         record({{1, "82"},
                 {3, "20240305"},
                 {11, "0"},
                 {16, "0000000000004711"},
                 {32, "000000025000"},
                 {44, "0055555555"},
                 {54, "Faktura 12"}}),
         {"Debitering", "Engångsbetalning", "2024-03-05", "250,00", "1", "4711", "Faktura 12"}},
        {"monthly credit",
         true,
         record({{1, "32"},
                 {3, "20241231"},
                 {11, "1"},
                 {12, "999"},
                 {16, "0000000000000001"},
                 {32, "999999999999"}}),
         {"Kreditering", "Varje månad med start enligt betaldatum", "2024-12-31",
          "9\u00a0999\u00a0999\u00a0999,99", "999", "1", ""}},
        {"count with zeros, reference with blanks and å",
         true,
         record({{1, "82"},
                 {3, "20240229"},
                 {11, "8"},
                 {12, "012"},
                 {16, "0000000000000000"},
                 {32, "000000000000"},
                 {54, "  ref \xe5\xe4\xf6  x"}}),
         {"Debitering", "Sista bankdagen varje år", "2024-02-29", "0,00", "12", "", "  ref åäö  x"}},
        {"count 000, unknown period",
         true,
         record({{1, "82"}, {3, "20240305"}, {11, "9"}, {12, "000"}, {16, "0000000000000000"}, {32, "5"}}),
         {"Debitering", "X", "2024-03-05", "0,05", "", "", ""}},
        {"blank period, amount after blanks",
         true,
         record({{1, "82"}, {3, "20240305"}, {12, "1 2"}, {16, "0000000000000000"}, {32, "       12345"}}),
         {"Debitering", "X", "2024-03-05", "123,45", "12", "", ""}},
        {"payer with a leading blank loses its zeros",
         true,
         record({{1, "82"}, {3, "20240305"}, {16, " 000000000000012"}, {32, "000000000001"}}),
         {"Debitering", "X", "2024-03-05", "0,01", "", "12", ""}},
        {"blank payer is empty",
         true,
         record({{1, "82"}, {3, "20240305"}, {32, "000000000001"}}),
         {"Debitering", "X", "2024-03-05", "0,01", "", "", ""}},
        {"payment at once",
         true,
         record({{1, "82"}, {3, "GENAST"}, {11, "0"}, {16, "0000000003331022"}, {32, "000000350000"}}),
         {"Debitering", "Engångsbetalning", "GENAST", "3\u00a0500,00", "1", "3331022", ""}},
        {"count with an inner blank keeps its digits",
         true,
         record({{1, "32"},
                 {3, "20240305"},
                 {11, "3"},
                 {12, "0 7"},
                 {16, "0000000000000042"},
                 {32, "000000012345"}}),
         {"Kreditering", PeriodCodeToText("3"), "2024-03-05", "123,45", "7", "42", ""}},
        {"short line",
         true,
         QByteArray("3220240305401  0000000000004711000000012345"),
         {"Kreditering", "Varje år med start enligt betaldatum", "2024-03-05", "123,45", "1", "4711", ""}},
        {"company payer",
         false,
         record({{1, "82"}, {3, "20240305"}, {16, "0000000001234567"}, {32, "100"}}),
         {"Debitering", "X", "2024-03-05", "1,00", "", "123-4567", ""}},
        {"company payer of 8 digits",
         false,
         record({{1, "82"}, {3, "20240305"}, {16, "0000000012345678"}, {32, "100"}}),
         {"Debitering", "X", "2024-03-05", "1,00", "", "1234-5678", ""}},
    };
    for (const Case& c : cases) {
        document.PrivateService = c.privateService;
        const ReadVerdict verdict = read(file({c.line}));
        ASSERT_TRUE(verdict.loaded()) << c.name << ": " << verdict.message.toStdString();
        ASSERT_EQ(document.BtuList.count(), 1) << c.name;
        EXPECT_EQ(rowTexts(document.BtuList[0]), c.row) << c.name;
    }
}

TEST_F(ReaderTest, AmountsTakeTheUsersDecimalSeparatorAndGrouping)
{
    struct Case
    {
        QLocale locale;
        QString payment;
        QString change;
    };
    QList<Case> cases = {
        {QLocale(QLocale::Swedish, QLocale::Sweden), "1\u00a0234\u00a0567,89", "0,05"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "1,234,567.89", "0.05"},
        {QLocale(QLocale::German, QLocale::Germany), "1.234.567,89", "0,05"},
        {QLocale(QLocale::German, QLocale::Switzerland), "1’234’567.89", "0.05"},
        {QLocale(QLocale::English, QLocale::India), "12,34,567.89", "0.05"},
        {QLocale::c(), "1234567.89", "0.05"},
    };
    // Where the locale writes digits of its own, the kronor are its and the öre stay ASCII.
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    cases.append({arabic, arabic.toString(1234567) + arabic.decimalPoint() + "89",
                  arabic.toString(0) + arabic.decimalPoint() + "05"});
    const QLocale previous;
    for (const Case& c : cases) {
        QLocale::setDefault(c.locale);
        const ReadVerdict verdict =
            read(file({record({{1, "82"}, {3, "20240305"}, {11, "0"}, {32, "000123456789"}}),
                       record({{1, "25"}, {37, "000000000005"}})}));
        QLocale::setDefault(previous);
        ASSERT_TRUE(verdict.loaded()) << verdict.message.toStdString();
        EXPECT_EQ(document.BtuList[0].subItems()[2], c.payment) << c.locale.name().toStdString();
        EXPECT_EQ(document.MakList[0].subItems()[3], c.change) << c.locale.name().toStdString();
    }
}

TEST_F(ReaderTest, MandateRecordsBecomeRows)
{
    struct Case
    {
        const char* name;
        QByteArray line;
        QStringList row;
    };
    const QString paper = RowTexts::paperMandate();
    const QString electronic = RowTexts::electronicMandate();
    const QString rejected = RowTexts::rejectedMandate();
    const QList<Case> cases = {
        {"paper",
         record({{1, "04"}, {13, "0000000001234567"}, {29, "5000000001234567"}, {45, "198001011234"}}),
         {paper, "123-4567", "5000-1234567", "19800101-1234"}},
        {"paper, clearing 6000",
         record({{1, "04"}, {13, "0000000000000001"}, {29, "6000000000012345"}, {45, "005560001234"}}),
         {paper, "1", "6000-000012345", "5560001234"}},
        {"electronic by 9918",
         record({{1, "04"}, {13, "0000000000000042"}, {29, "0009918123456789"}, {45, "196501011234"}}),
         {electronic, "42", "9918123456789", "19650101-1234"}},
        {"electronic by leading zero",
         record({{1, "04"}, {13, "0000000000000042"}, {29, "0123456789012345"}, {45, "196501011234"}}),
         {electronic, "42", "123456789012345", "19650101-1234"}},
        {"all zeros is electronic and empty",
         record({{1, "04"}, {13, "0000000000000000"}, {29, "0000000000000000"}, {45, "000000000000"}}),
         {electronic, "", "", "00000000-0000"}},
        {"rejected, account shown zero-stripped",
         record({{1, "04"},
                 {13, "0000000000000007"},
                 {29, "0000050001234567"},
                 {45, "196501011234"},
                 {77, "AV"}}),
         {rejected, "7", "50001234567", "19650101-1234"}},
        {"rejected whatever the account",
         record({{1, "04"},
                 {13, "0000000000000007"},
                 {29, "5000000001234567"},
                 {45, "196501011234"},
                 {77, "AV"}}),
         {rejected, "7", "5000000001234567", "19650101-1234"}},
        {"full id read as paper",
         record({{1, "04"}, {13, "0000000000000007"}, {29, "1234567890123456"}, {45, "196501011234"}}),
         {paper, "7", "1234-567890123456", "19650101-1234"}},
        {"short clearing number written as 0123",
         record({{1, "04"}, {13, "0000000000000007"}, {29, "0123000001234567"}, {45, "196501011234"}}),
         {electronic, "7", "123000001234567", "19650101-1234"}},
        {"ten-digit civic number",
         record({{1, "04"}, {13, "0000000000000007"}, {29, "0000000000000001"}, {45, "008001011234"}}),
         {electronic, "7", "1", "00800101-1234"}},
        {"month 13 is not a civic number",
         record({{1, "04"}, {13, "0000000000000007"}, {29, "0000000000000001"}, {45, "196513011234"}}),
         {electronic, "7", "1", "19651301-1234"}},
        {"company-style record",
         record({{1, "04"}, {13, "0000000000000007"}, {29, "0"}}),
         {electronic, "7", "               ", "          "}},
        {"short line",
         QByteArray("04005555555500000000000047110000000000000001"),
         {electronic, "4711", "1", ""}},
    };
    for (const Case& c : cases) {
        const ReadVerdict verdict = read(file({c.line}));
        ASSERT_TRUE(verdict.loaded()) << c.name << ": " << verdict.message.toStdString();
        ASSERT_EQ(document.MdgList.count(), 1) << c.name;
        EXPECT_EQ(rowTexts(document.MdgList[0]), c.row) << c.name;
        EXPECT_EQ(document.MdgListComp.count(), 0) << c.name;
    }
}

TEST_F(ReaderTest, CompanyMandatesHoldOnlyThePayersBankgiroNumber)
{
    document.PrivateService = false;
    ASSERT_TRUE(
        read(file({record({{1, "04"}, {13, "0000000001234567"}}), record({{1, "04"}, {13, "123456"}})}))
            .loaded());
    ASSERT_EQ(document.MdgListComp.count(), 2);
    EXPECT_EQ(rowTexts(document.MdgListComp[0]), QStringList({"123-4567"}));
    EXPECT_EQ(rowTexts(document.MdgListComp[1]), QStringList({"123456"}));
    EXPECT_EQ(document.MdgList.count(), 0);
}

TEST_F(ReaderTest, MandatesOfTheOtherServiceAreNotReadIntoRows)
{
    const QByteArray company = record({{1, "04"}, {13, "0000000001234567"}});
    const QByteArray privateMandate = record({{1, "04"}, {13, "0000000001234567"}, {77, "AV"}});
    const struct
    {
        bool privateService;
        QByteArray bytes;
        int lineNumber;
    } cases[] = {
        {true, file({opening(), company}), 2},
        {false, file({privateMandate}), 1},
        {false, file({company, privateMandate}), 2},
    };
    for (const auto& c : cases) {
        document.PrivateService = c.privateService;
        const ReadVerdict verdict = read(c.bytes);
        EXPECT_EQ(verdict.outcome, Outcome::ServiceMismatch);
        EXPECT_EQ(verdict.lineNumber, c.lineNumber);
        EXPECT_EQ(verdict.neededPrivateService, !c.privateService);
        EXPECT_EQ(verdict.message, OrderFileReader::serviceMismatchMessage(!c.privateService));
        EXPECT_FALSE(document.hasRows());
    }
}

TEST_F(ReaderTest, CancellationRecordsBecomeRowsWithTheirCodes)
{
    struct Case
    {
        const char* name;
        bool privateService;
        QByteArray line;
        QString code;
        QStringList row;
    };
    const QList<Case> cases = {
        {"mandate cancellation",
         true,
         record({{1, "03"}, {3, "0055555555"}, {13, "0000000000004711"}}),
         "3",
         {"Makulering av ett medgivande", "4711", "", "", "", "", ""}},
        {"mandate cancellation cut after the payer",
         true,
         QByteArray("0300555555550000000000004711"),
         "3",
         {"Makulering av ett medgivande", "4711", "", "", "", "", ""}},
        {"one transaction",
         true,
         record({{1, "25"}, {13, "0000000000004711"}, {29, "20240305"}, {37, "000000009950"}, {49, "82"}}),
         "25",
         {"Makulering av en transaktion", "4711", "2024-03-05", "", "99,50", "Debitering", ""}},
        {"change of all transactions",
         true,
         record({{1, "26"}, {13, "0000000000000000"}, {51, "20240425"}}),
         "26",
         {"Ändring av alla transaktioner", "", "", "2024-04-25", "", "", ""}},
        {"a zero amount of another request is no amount",
         true,
         record({{1, "24"}, {13, "0000000000000001"}, {29, "20240101"}, {37, "000000000000"}}),
         "24",
         {"Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer", "1", "2024-01-01",
          "", "", "", ""}},
        {"zero dates are empty, the zero amount of one payment is an amount",
         true,
         record({{1, "29"},
                 {13, "0000000000000001"},
                 {29, "00000000"},
                 {37, "000000000000"},
                 {49, "32"},
                 {51, "00000000"}}),
         "29",
         {"Ändring av en transaktion", "1", "", "", "0,00", "Kreditering", ""}},
        {"unknown transaction code",
         true,
         record({{1, "24"}, {13, "0000000000000000"}, {29, "20240101"}, {49, "XX"}}),
         "24",
         {"Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer", "", "2024-01-01",
          "", "", "", ""}},
        {"code 20 has no description",
         true,
         record({{1, "20"}, {13, "0000000000000009"}}),
         "20",
         {"", "9", "", "", "", "", ""}},
        {"blank payer is empty",
         true,
         record({{1, "28"}}),
         "28",
         {"Ändring av alla transaktioner, på angiven betaldag, för ett betalarnummer", "", "", "", "", "",
          ""}},
        {"company payer",
         false,
         record({{1, "23"}, {13, "0000000001234567"}}),
         "23",
         {"Makulering av alla transaktioner för ett betaluppdrag", "123-4567", "", "", "", "", ""}},
        {"mandate cancellation, company payer",
         false,
         record({{1, "03"}, {13, "0000000012345678"}}),
         "3",
         {"Makulering av ett medgivande", "1234-5678", "", "", "", "", ""}},
        {"reference of one transaction",
         true,
         QByteArray("25000991234600000000000001052008061600000002750082        UTBETALN1"),
         "25",
         {"Makulering av en transaktion", "105", "2008-06-16", "", "275,00", "Debitering", "UTBETALN1"}},
        {"reference of a change keeps leading blanks",
         true,
         record({{1, "29"},
                 {13, "0000000000000110"},
                 {29, "20080613"},
                 {37, "000000040000"},
                 {49, "32"},
                 {51, "20080624"},
                 {59, " REF  X"}}),
         "29",
         {"Ändring av en transaktion", "110", "2008-06-13", "2008-06-24", "400,00", "Kreditering",
          " REF  X"}},
        {"no reference outside 25 and 29",
         true,
         record({{1, "24"}, {13, "0000000000000001"}, {29, "20080613"}, {59, "REF"}}),
         "24",
         {"Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer", "1", "2008-06-13",
          "", "", "", ""}},
        {"private payer of seven digits as the dialog shows it",
         true,
         record({{1, "23"}, {13, "0000000001234567"}}),
         "23",
         {"Makulering av alla transaktioner för ett betaluppdrag", "123-4567", "", "", "", "", ""}},
        {"company, no payer",
         false,
         record({{1, "27"}, {13, "0000000000000000"}}),
         "27",
         {"Ändring av alla transaktioner på angiven betaldag", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        document.PrivateService = c.privateService;
        const ReadVerdict verdict = read(file({c.line}));
        ASSERT_TRUE(verdict.loaded()) << c.name << ": " << verdict.message.toStdString();
        ASSERT_EQ(document.MakList.count(), 1) << c.name;
        EXPECT_EQ(document.MakCodes(), QStringList({c.code})) << c.name;
        EXPECT_EQ(rowTexts(document.MakList[0]), c.row) << c.name;
    }
}

TEST_F(ReaderTest, OpeningRecordsReachThePolicyZeroStripped)
{
    const QByteArray bytes =
        file({opening("012345", "0001234567"), record({{1, "03"}, {13, "1"}}),
              record({{1, "01"}, {11, "AUTOGIRO"}, {63, "000000"}}), "01        AUTOGIRO"});
    ASSERT_TRUE(read(bytes).loaded());
    ASSERT_EQ(log.records.size(), 3);
    EXPECT_EQ(log.records[0].lineNumber, 1);
    EXPECT_EQ(log.records[0].customerNumber, "12345");
    EXPECT_EQ(log.records[0].bankgiroNumber, "1234567");
    EXPECT_EQ(log.records[1].lineNumber, 3);
    EXPECT_EQ(log.records[1].customerNumber, "");
    EXPECT_EQ(log.records[1].bankgiroNumber, ""); // blanks are no number
    EXPECT_EQ(log.records[2].lineNumber, 4);
}

class SettingsPolicyTest : public ReaderTest
{
protected:
    ReadVerdict readAsking(const QByteArray& bytes)
    {
        SettingsOpeningRecordPolicy policy(prompt);
        return OrderFileReader(document, policy).read(bytes);
    }
    static QString setting(const char* name) { return ReadSetting(SettingsStore::section(), name, "<none>"); }
    static void store(const QString& bankgiro, const QString& customer)
    {
        SettingsStore::setPayeeNumbers({customer, bankgiro});
    }

    FakePrompt prompt;
};

TEST_F(SettingsPolicyTest, MatchingNumbersAskNothing)
{
    store("1234566", "12345");
    EXPECT_TRUE(
        readAsking(file({opening("012345", "0001234566"), opening("012345", "0001234566")})).loaded());
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(SettingsPolicyTest, OtherNumbersAskAndOkAdoptsThem)
{
    store("1234566", "012345"); // compared as text: 012345 is not the file's 12345
    prompt.answers = {UserPrompt::Answer::Ok};
    EXPECT_TRUE(readAsking(file({opening("012345", "0001234566"), record({{1, "03"}, {13, "1"}})})).loaded());
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(prompt.messages[0].text,
              "Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
              "Filen är skapad för bankgironummer 123-4566, kundnummer 12345. "
              "Inställningarna har bankgironummer 123-4566, kundnummer 012345.\n"
              "Vill du att programmet uppdaterar dina inställningar?");
    EXPECT_EQ(prompt.messages[0].caption, "");
    EXPECT_EQ(prompt.messages[0].buttons, UserPrompt::Buttons::OkCancel);
    EXPECT_EQ(setting("BgNr"), "1234566");
    EXPECT_EQ(setting("KundNr"), "12345");
    EXPECT_EQ(document.MakList.count(), 1);
}

TEST_F(SettingsPolicyTest, NoStoredNumbersAskToo)
{
    prompt.answers = {UserPrompt::Answer::Ok};
    EXPECT_TRUE(readAsking(file({opening("000001", "0012345674")})).loaded());
    EXPECT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(setting("BgNr"), "12345674");
    EXPECT_EQ(setting("KundNr"), "1");
}

TEST_F(SettingsPolicyTest, NumbersTheSettingsCannotHoldAreNeverStored)
{
    const struct
    {
        const char* customer;
        const char* bankgiro;
        QString reason;
        QString shownBankgiro;
        QString shownCustomer;
    } cases[] = {
        {"000001", "0001234567", "Filens bankgironummer '1234567' är felaktigt.", "123-4567", "1"},
        {"000001", "0000000001", "Filens bankgironummer '1' är felaktigt.", "1", "1"},
        {"000001", "00123A5674", "Filens bankgironummer '123A5674' är felaktigt.", "123A5674", "1"},
        {"00 001", "0012345674", "Filens kundnummer ' 001' ska vara 1 till 6 siffror.", "1234-5674", " 001"},
        {"      ", "0012345674", "Filens kundnummer '' ska vara 1 till 6 siffror.", "1234-5674", "(inget)"},
    };
    for (const auto& c : cases) {
        store("1234566", "12345");
        prompt.messages.clear();
        prompt.answers = {UserPrompt::Answer::Ok, UserPrompt::Answer::Cancel};
        // OK opens the file with the settings as they were; Cancel shows it instead.
        EXPECT_TRUE(readAsking(file({opening(c.customer, c.bankgiro)})).loaded()) << c.bankgiro;
        EXPECT_EQ(readAsking(file({opening(c.customer, c.bankgiro)})).outcome, Outcome::PayeeDeclined);
        ASSERT_EQ(prompt.messages.size(), 2);
        EXPECT_EQ(prompt.messages[0].text,
                  "Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                  "Filen är skapad för bankgironummer " +
                      c.shownBankgiro + ", kundnummer " + c.shownCustomer +
                      ". Inställningarna har bankgironummer 123-4566, kundnummer 12345.\n" + c.reason +
                      " Numren kan därför inte tas in i inställningarna, som förblir som de är.\n"
                      "Vill du öppna filen ändå?");
        EXPECT_EQ(setting("BgNr"), "1234566");
        EXPECT_EQ(setting("KundNr"), "12345");
    }
}

TEST_F(SettingsPolicyTest, ABlankOpeningRecordNeverWipesTheSettings)
{
    store("1234566", "12345");
    for (const QByteArray& line : {opening("      ", "          "), opening("000000", "0000000000"),
                                   QByteArray("0120240305AUTOGIRO")}) {
        EXPECT_TRUE(readAsking(file({line})).loaded());
        EXPECT_TRUE(prompt.messages.isEmpty());
        EXPECT_EQ(setting("BgNr"), "1234566");
        EXPECT_EQ(setting("KundNr"), "12345");
    }
}

TEST_F(SettingsPolicyTest, CancelAtAnyOpeningRecordStopsAndKeepsTheSettings)
{
    store("55555555", "123456");
    prompt.answers = {UserPrompt::Answer::Cancel};
    const ReadVerdict verdict =
        readAsking(file({opening(), record({{1, "03"}, {13, "1"}}), opening("654321", "0055555555"),
                         record({{1, "03"}, {13, "1"}})}));
    EXPECT_EQ(verdict.outcome, Outcome::PayeeDeclined);
    EXPECT_EQ(verdict.lineNumber, 3);
    EXPECT_TRUE(verdict.message.isEmpty());
    EXPECT_FALSE(document.hasRows());
    EXPECT_EQ(setting("KundNr"), "123456");
}

TEST_F(SettingsPolicyTest, ReportsAndForeignOpeningRecordsNeverTouchTheSettings)
{
    for (const QByteArray& line : {record({{1, "01AUTOGIRO"}, {65, "0000991234567890"}}),
                                   record({{1, "01BGMAX"}, {63, "9999999999999999"}}),
                                   record({{1, "01"}, {11, "AUTOGIRO"}, {19, "9900"}, {63, "999999"}})}) {
        prompt.answers = {UserPrompt::Answer::Ok};
        EXPECT_TRUE(readAsking(file({line})).showInstead());
    }
    EXPECT_TRUE(prompt.messages.isEmpty());
    EXPECT_EQ(setting("BgNr"), "<none>");
    EXPECT_EQ(setting("KundNr"), "<none>");
}

TEST_F(SettingsPolicyTest, AdoptedNumbersStayWhenALaterLineShowsTheFileInstead)
{
    prompt.answers = {UserPrompt::Answer::Ok};
    EXPECT_EQ(readAsking(file({opening("000042", "0012345674"), record({{1, "05"}})})).outcome,
              Outcome::UnsupportedContent);
    EXPECT_EQ(setting("BgNr"), "12345674");
}

} // namespace
