#include "rules/QuotedText.h"

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0xfeff;
}

} // namespace

namespace QuotedText {

QString EscapeControls(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString Short(QStringView text)
{
    if (text.size() <= LongestQuote)
        return EscapeControls(text);
    const qsizetype cut = text[LongestQuote - 1].isHighSurrogate() ? LongestQuote - 1 : LongestQuote;
    return EscapeControls(text.first(cut)) + QStringLiteral("… (%1 tecken)").arg(text.size());
}

} // namespace QuotedText
