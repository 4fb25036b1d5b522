#include "rules/Win1252.h"

#include <gtest/gtest.h>

namespace {

// Bytes 0x80-0x9F of Windows-1252. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the C1 control of the same number.
const char16_t HighRange[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t expectedCharacter(int byte)
{
    return (byte >= 0x80 && byte <= 0x9F) ? HighRange[byte - 0x80] : char16_t(byte);
}

} // namespace

TEST(Win1252, EveryByteDecodesToItsCharacterAndEncodesBack)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));

    const QString text = DecodeWin1252(all);
    ASSERT_EQ(text.size(), 256);
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const char16_t expected = expectedCharacter(byte);
        EXPECT_EQ(text[byte].unicode(), expected);
        EXPECT_EQ(Win1252ToUnicode((unsigned char)byte), expected);
        EXPECT_EQ(UnicodeToWin1252(expected), byte);
    }

    QByteArray encoded;
    ASSERT_TRUE(EncodeWin1252(text, encoded));
    EXPECT_EQ(encoded, all);
    EXPECT_TRUE(CanEncodeWin1252(text));

    for (const int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Win1252ToUnicode((unsigned char)undefined), char16_t(undefined));
}

TEST(Win1252, DefinedHighBytesDoNotAcceptTheirControlCodes)
{
    // U+0080-U+009F other than the five undefined bytes are not in the code page: 0x80 is the euro
    // sign, so U+0080 must not be written as 0x80.
    for (int c = 0x80; c <= 0x9F; ++c) {
        SCOPED_TRACE(c);
        const bool undefinedByte = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
        EXPECT_EQ(UnicodeToWin1252(char16_t(c)), undefinedByte ? c : -1);
    }
}

TEST(Win1252, CharactersOutsideTheCodePageAreRefused)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const struct
    {
        QString text;
        qsizetype badIndex;
    } cases[] = {
        {QStringLiteral("\u0100"), 0},         {QStringLiteral("ab\u0100"), 2},
        {QStringLiteral("Hej ") + emoji, 4},   {QStringLiteral("x") + QChar(0xDE00), 1}, // lone low surrogate
        {QStringLiteral("1\u2212 2"), 1},                                                // minus sign U+2212
        {QStringLiteral("\u00A0ok\u0080"), 3}, {QStringLiteral("\uFFFD"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_FALSE(CanEncodeWin1252(c.text));
        QByteArray out("kept");
        qsizetype badIndex = -1;
        EXPECT_FALSE(EncodeWin1252(c.text, out, &badIndex));
        EXPECT_EQ(badIndex, c.badIndex);
        EXPECT_EQ(out, QByteArray("kept")); // nothing half-written
        EXPECT_FALSE(EncodeWin1252(c.text, out));
    }
}

TEST(Win1252, EncodeAppendsSwedishText)
{
    QByteArray out("01");
    ASSERT_TRUE(EncodeWin1252(QStringLiteral("Åsa Öberg, Företag € – "), out));
    EXPECT_EQ(out, QByteArray("01\xC5sa \xD6"
                              "berg, F\xF6retag \x80 \x96 "));
    EXPECT_TRUE(CanEncodeWin1252(QString()));
    EXPECT_EQ(DecodeWin1252(QByteArray()), QString());
    EXPECT_EQ(DecodeWin1252("\xE4\x80", 2), QStringLiteral("ä€"));
}
