#include "rules/Win1252.h"

namespace {

// Bytes 0x80..0x9F. The five bytes that the code page leaves undefined keep their C1 control.
constexpr char16_t HighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char16_t Win1252ToUnicode(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return HighControls[b - 0x80];
    return char16_t(b);
}

int UnicodeToWin1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i) {
        if (HighControls[i] == c)
            return 0x80 + i;
    }
    return -1;
}

QString DecodeWin1252(const char* data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(Win1252ToUnicode(static_cast<unsigned char>(data[i])));
    return text;
}

QString DecodeWin1252(const QByteArray& bytes)
{
    return DecodeWin1252(bytes.constData(), bytes.size());
}

bool EncodeWin1252(const QString& text, QByteArray& out, qsizetype* badIndex)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char* dest = out.data() + start;
    const char16_t* src = reinterpret_cast<const char16_t*>(text.utf16());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = src[i];
        int byte = c < 0x80 ? int(c) : UnicodeToWin1252(c);
        if (byte < 0) {
            out.resize(start);
            if (badIndex)
                *badIndex = i;
            return false;
        }
        dest[i] = char(byte);
    }
    return true;
}

bool CanEncodeWin1252(const QString& text)
{
    for (const QChar c : text) {
        if (UnicodeToWin1252(c.unicode()) < 0)
            return false;
    }
    return true;
}
