// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "format/Seal.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString TestKey = QStringLiteral("1234567890abcdef1234567890abcdef");

SealKey key(const QString& text = TestKey)
{
    return *SealKey::fromText(text);
}

QByteArray bankFile()
{
    return ReadFileBytes(
        QStringLiteral(VALMO_TEST_DATA "/bank/autogiro_exempelfil-betalningsunderlag_sv.txt"));
}

// The bank's test files for its HMAC test cases, as bytes (Windows-1252, CR LF).
QByteArray bankCase1B()
{
    return "00000\r\n0000\r\n000\r\n00\r\n0";
}

QByteArray bankCase1C()
{
    const QByteArray opening = "110009912346071215LEVERANTZRSBETALNINGAR";
    return opening + QByteArray(79 - opening.size(), ' ') + "2\r\n" + "10000000C" + QByteArray(63, '0') +
           "2\r\n" + "10000000C" + QByteArray(110, '0') + "2\r\n" + "10000000C002";
}

QByteArray bankCase2A()
{
    QByteArray printable;
    for (char c = ' '; c <= '~'; ++c)
        printable.append(c);
    return printable + "\r\n";
}

const QByteArray BankCase2B("\xF5\xD5^~@`!\"#$%&'(\t)*+,-./\xA7\xBD");
const QByteArray BankCase2C("\xC4\xD6\xC5\xE4\xF6\xE5");

// Test case 2D is the other files one after another, with empty lines between them.
QByteArray bankCase2D()
{
    return "00000000\r\n\r\n" + bankCase1B() + "\r\n\r\n" + bankCase1C() + "\r\n\r\n" + bankCase2A() +
           "\r\n" + BankCase2B + "\r\n\r\n" + BankCase2C;
}

} // namespace

// The bank's HMAC test cases 1A-1C (the algorithm) and 2A-2D (the normalisation), all with the
// bank's test key, whose KVV is the MAC of test case 1A; MACs and KVV as the bank gives them.
TEST(Seal, BanksTestCasesGiveTheBanksMacs)
{
    struct Case
    {
        const char* what;
        QByteArray file;
        QString mac;
    };
    const Case cases[] = {
        {"bank 1A", "00000000", QStringLiteral("FF365893D899291C3BF505FB3175E880")},
        {"bank 1B", bankCase1B(), QStringLiteral("9BA94363739D45256DF4B6FA3B9DE1CD")},
        {"bank 1C", bankCase1C(), QStringLiteral("826CA6CBA33F7E1D3CC9161A0956A35B")},
        {"bank 2A", bankCase2A(), QStringLiteral("9473EDFCAA8CD2434D6D76ABFFC991BD")},
        {"bank 2B", BankCase2B, QStringLiteral("20956E44B404C4085446139B2B952D77")},
        {"bank 2C", BankCase2C, QStringLiteral("515704694958361678194D51850FF157")},
        {"bank 2D", bankCase2D(), QStringLiteral("68C5954818010DDDCB1EC02963E8C123")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Seal::Mac(c.file, key()), c.mac);
    }
    EXPECT_EQ(key().checkValue(), QStringLiteral("FF365893D899291C3BF505FB3175E880"));
    // The normalised forms of the cases that exercise the table.
    EXPECT_EQ(Seal::Normalised(bankCase1B()), QByteArray(15, '0'));
    EXPECT_EQ(Seal::Normalised(BankCase2B), QByteArray("\xC3\xC3^~@`!\"#$%&'(\xC3)*+,-./\xC3\xC3"));
    EXPECT_EQ(Seal::Normalised(BankCase2C), QByteArray("[\\]{|}"));
}

// Beyond the bank's cases: values computed independently with openssl on bytes normalised by hand.
TEST(Seal, MacMatchesTheBanksTestCaseAndIndependentValues)
{
    struct Case
    {
        const char* what;
        QString key;
        QByteArray file;
        QString mac;
    };
    const Case cases[] = {
        {"bank: eight zeros", TestKey, "00000000", QStringLiteral("FF365893D899291C3BF505FB3175E880")},
        {"key in upper case", TestKey.toUpper(), "00000000",
         QStringLiteral("FF365893D899291C3BF505FB3175E880")},
        {"line ends are dropped", TestKey, "0000\r\n0000\n",
         QStringLiteral("FF365893D899291C3BF505FB3175E880")},
        {"openssl: the ten letters", TestKey, QByteArray("\xC9\xC4\xD6\xC5\xDC\xE9\xE4\xF6\xE5\xFC"),
         QStringLiteral("B3176285369DD3B923B9A6AEA51EF126")},
        {"openssl: another key's KVV", QStringLiteral("00112233445566778899aabbccddeeff"), "00000000",
         QStringLiteral("1C53FD715A183AC598D3FEF45719C96F")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Seal::Mac(c.file, key(c.key)), c.mac);
    }
    // Every byte value once, normalised letter by letter and byte by byte (openssl).
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    EXPECT_EQ(Seal::Mac(everyByte, key()), QStringLiteral("9267323378C4B37C8A58778A27900D75"));
    // The key taken as the text of its characters gives another MAC, which the bank refuses.
    EXPECT_NE(key().checkValue(), QStringLiteral("05CD81829E26F44089FD91A9CFBC75DB"));
    EXPECT_EQ(key().checkValue(), QStringLiteral("FF365893D899291C3BF505FB3175E880"));
}

TEST(Seal, NormalisesEveryOccurrence)
{
    EXPECT_EQ(Seal::Normalised(QByteArray("\xC5\xC5\xE4\xE4 a\x7F\x80\t\r\n\x00\xFF", 13)),
              QByteArray("]]{{ a\xC3\xC3\xC3\xC3\xC3", 11));
}

TEST(SealKey, AcceptsOnlyThirtyTwoHexDigits)
{
    struct Case
    {
        QString text;
        QString problem;
    };
    const Case cases[] = {
        {TestKey + QStringLiteral("\r\n"), QString()},
        {QStringLiteral(" 12345678 90ABCDEF 12345678 90abcdef "), QString()},
        {QString(), QStringLiteral("Ange sigillnyckeln: 32 hexadecimala tecken (0-9 och A-F).")},
        {TestKey.left(31), QStringLiteral("Sigillnyckeln ska ha 32 hexadecimala tecken, inte 31.")},
        {TestKey + QStringLiteral("0"),
         QStringLiteral("Sigillnyckeln ska ha 32 hexadecimala tecken, inte 33.")},
        {TestKey.left(31) + QStringLiteral("g"),
         QStringLiteral("Sigillnyckeln får bara innehålla hexadecimala tecken (0-9 och A-F), inte \"g\".")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(SealKey::problemWith(c.text), c.problem);
        EXPECT_EQ(SealKey::fromText(c.text).has_value(), c.problem.isEmpty());
    }
    EXPECT_EQ(key().text(), TestKey.toUpper());
}

TEST(Seal, SealedFileHasBothRecordsAndIndependentlyComputedMac)
{
    const QByteArray sealed = Seal::SealedFile(bankFile(), key(), QDate(2026, 12, 8));
    const QList<QByteArray> lines = sealed.split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.first(), "00261208HMAC" + QByteArray(68, ' ') + '\r');
    EXPECT_EQ(lines[lines.size() - 2],
              "99261208FF365893D899291C3BF505FB3175E880AA83FB56CA2544BF743DB6D94A12E6EF" +
                  QByteArray(8, ' ') + '\r');
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(sealed.mid(82, bankFile().size()), bankFile());
    // A last record without its line end gets one before the seal record.
    EXPECT_TRUE(Seal::SealedFile("82", key(), QDate(2026, 1, 2)).contains("82\r\n99260102"));
}

TEST(Seal, VerifiesAndFailsAfterAnyByteOfAnOrderRecordChanges)
{
    const QByteArray sealed = Seal::SealedFile(bankFile(), key(), QDate(2026, 12, 8));
    Seal::Contents contents = Seal::Read(sealed);
    ASSERT_EQ(contents.state, Seal::Contents::State::Sealed);
    EXPECT_EQ(contents.orderBytes, bankFile());
    EXPECT_EQ(contents.date, QDate(2026, 12, 8));
    EXPECT_EQ(Seal::Verify(contents, key()), Seal::Check::Matches);
    EXPECT_EQ(Seal::Verify(contents, key(QStringLiteral("00112233445566778899aabbccddeeff"))),
              Seal::Check::OtherKey);

    const qsizetype recordsEnd = sealed.lastIndexOf("99261208");
    for (qsizetype at = 82; at < recordsEnd; ++at) {
        if (sealed[at] == '\r' || sealed[at] == '\n')
            continue;
        QByteArray changed = sealed;
        changed[at] = sealed[at] == '0' ? '1' : '0';
        ASSERT_EQ(Seal::Verify(Seal::Read(changed), key()), Seal::Check::Changed) << "byte " << at;
    }
}

TEST(Seal, ReadsUnsealedAndDamagedFiles)
{
    struct Case
    {
        QByteArray file;
        Seal::Contents::State state;
        QByteArray orderBytes;
    };
    const QByteArray sealed = Seal::SealedFile("82A\r\n", key(), QDate(2026, 12, 8));
    QByteArray sealRecord = sealed.mid(sealed.indexOf("99"));
    using State = Seal::Contents::State;
    const Case cases[] = {
        {"82A\r\n", State::Unsealed, "82A\r\n"},
        {"00HMAC\r\n82A\r\n", State::Unsealed, "00HMAC\r\n82A\r\n"},
        {sealed + "\r\n\x1a", State::Sealed, "82A\r\n"},
        {sealed.left(sealed.indexOf("99")), State::Damaged, "82A\r\n"},
        {sealed.left(sealed.indexOf("99")) + sealRecord.replace("261208", "261209"), State::Damaged,
         "82A\r\n" + sealRecord},
        {sealed.left(sealed.size() - 12), State::Damaged, sealed.mid(82, sealed.size() - 94)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const Seal::Contents contents = Seal::Read(c.file);
        EXPECT_EQ(contents.state, c.state);
        EXPECT_EQ(contents.orderBytes, c.orderBytes);
    }
}

TEST(Seal, AnythingAfterTheSealRecordFailsTheCheckAndIsNamed)
{
    const QByteArray sealed = Seal::SealedFile("82A\r\n", key(), QDate(2026, 12, 8));
    const QByteArray payment = "82202612080    0000000000004711000000025000";
    struct Case
    {
        QByteArray after;
        Seal::Check check;
        QString named; // in the message, with the line it is on
    };
    const Case cases[] = {
        {"", Seal::Check::Matches, ""},
        {"\r\n\r\n\x1a", Seal::Check::Matches, ""},
        {"\x1a" + payment + "\r\n", Seal::Check::TextAfterSeal,
         "(efter filslutstecknet Ctrl-Z), på rad 4: \"" + QString::fromLatin1(payment) + "\""},
        {"\r\n" + payment, Seal::Check::TextAfterSeal, "på rad 5: \"" + QString::fromLatin1(payment) + "\""},
        {QByteArrayLiteral("\x1b[2J\x00"), Seal::Check::TextAfterSeal, "på rad 4: \"\\u001b[2J\\u0000\""},
        {"\x1a" + sealed, Seal::Check::TextAfterSeal,
         "på rad 4: \"00261208HMAC" + QString(48, QLatin1Char(' ')) + "…\""},
        // A second sealed file after the first: its seal covers the first one's seal record too.
        {sealed, Seal::Check::Changed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after.toStdString());
        const Seal::Contents contents = Seal::Read(sealed + c.after);
        EXPECT_TRUE(contents.orderBytes.startsWith("82A\r\n"));
        EXPECT_EQ(Seal::Verify(contents, key()), c.check);
        // Also with another key: the text after the seal is the first thing the user hears of.
        if (c.check == Seal::Check::TextAfterSeal)
            EXPECT_EQ(Seal::Verify(contents, key(QStringLiteral("00112233445566778899aabbccddeeff"))),
                      c.check);
        EXPECT_TRUE(Seal::CheckText(c.check, contents).contains(c.named))
            << Seal::CheckText(c.check, contents).toStdString();
    }
}
