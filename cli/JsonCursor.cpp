#include "cli/JsonCursor.h"

#include <cstring>

JsonCursor::JsonCursor(const QByteArray& text)
    : m_begin(text.constData()), m_pos(text.constData()), m_end(text.constData() + text.size())
{
}

void JsonCursor::fail(const QString& what) const
{
    throw DocumentJsonError(QStringLiteral("Ogiltig JSON vid tecken %1: %2").arg(m_pos - m_begin).arg(what));
}

void JsonCursor::skipSpace()
{
    while (m_pos < m_end && (*m_pos == ' ' || *m_pos == '\n' || *m_pos == '\r' || *m_pos == '\t'))
        ++m_pos;
}

char JsonCursor::peek()
{
    skipSpace();
    return m_pos < m_end ? *m_pos : '\0';
}

void JsonCursor::expect(char c)
{
    if (peek() != c)
        fail(QStringLiteral("väntade \u201C%1\u201D").arg(QLatin1Char(c)));
    ++m_pos;
}

bool JsonCursor::take(char c)
{
    if (peek() != c)
        return false;
    ++m_pos;
    return true;
}

unsigned JsonCursor::readHex4()
{
    unsigned value = 0;
    for (int i = 0; i < 4; ++i, ++m_pos) {
        if (m_pos >= m_end)
            fail(QStringLiteral("ofullständig \\u-sekvens"));
        const char c = *m_pos;
        value <<= 4;
        if (c >= '0' && c <= '9')
            value |= unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            value |= unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value |= unsigned(c - 'A' + 10);
        else
            fail(QStringLiteral("ogiltig \\u-sekvens"));
    }
    return value;
}

QString JsonCursor::readString()
{
    if (peek() != '"')
        fail(QStringLiteral("väntade en text"));
    ++m_pos;
    const char* runStart = m_pos;
    // Fast path: a text without escapes is decoded in one go.
    while (m_pos < m_end && *m_pos != '"' && *m_pos != '\\' && static_cast<unsigned char>(*m_pos) >= 0x20)
        ++m_pos;
    if (m_pos < m_end && *m_pos == '"') {
        const QString text = QString::fromUtf8(runStart, m_pos - runStart);
        ++m_pos;
        return text;
    }
    QString text = QString::fromUtf8(runStart, m_pos - runStart);
    while (true) {
        if (m_pos >= m_end)
            fail(QStringLiteral("texten tar aldrig slut"));
        const char c = *m_pos;
        if (c == '"') {
            ++m_pos;
            return text;
        }
        if (static_cast<unsigned char>(c) < 0x20)
            fail(QStringLiteral("styrtecken i en text"));
        if (c != '\\') {
            const char* start = m_pos;
            while (m_pos < m_end && *m_pos != '"' && *m_pos != '\\' && static_cast<unsigned char>(*m_pos) >= 0x20)
                ++m_pos;
            text += QString::fromUtf8(start, m_pos - start);
            continue;
        }
        if (++m_pos >= m_end)
            fail(QStringLiteral("texten tar aldrig slut"));
        const char escape = *m_pos++;
        switch (escape) {
        case '"': text += QLatin1Char('"'); break;
        case '\\': text += QLatin1Char('\\'); break;
        case '/': text += QLatin1Char('/'); break;
        case 'b': text += QLatin1Char('\b'); break;
        case 'f': text += QLatin1Char('\f'); break;
        case 'n': text += QLatin1Char('\n'); break;
        case 'r': text += QLatin1Char('\r'); break;
        case 't': text += QLatin1Char('\t'); break;
        case 'u': text += QChar(char16_t(readHex4())); break;
        default: fail(QStringLiteral("ogiltig escape-sekvens"));
        }
    }
}

void JsonCursor::skipLiteral(const char* literal)
{
    const size_t length = std::strlen(literal);
    if (size_t(m_end - m_pos) < length || std::memcmp(m_pos, literal, length) != 0)
        fail(QStringLiteral("ogiltigt värde"));
    m_pos += length;
}

void JsonCursor::skipNumber()
{
    const char* start = m_pos;
    if (m_pos < m_end && *m_pos == '-')
        ++m_pos;
    while (m_pos < m_end && ((*m_pos >= '0' && *m_pos <= '9') || *m_pos == '.' || *m_pos == 'e' ||
                             *m_pos == 'E' || *m_pos == '+' || *m_pos == '-'))
        ++m_pos;
    if (m_pos == start)
        fail(QStringLiteral("ogiltigt värde"));
}

void JsonCursor::skipValue()
{
    switch (peek()) {
    case '"':
        readString();
        return;
    case '{':
        ++m_pos;
        if (take('}'))
            return;
        do {
            readString();
            expect(':');
            skipValue();
        } while (take(','));
        expect('}');
        return;
    case '[':
        ++m_pos;
        if (take(']'))
            return;
        do
            skipValue();
        while (take(','));
        expect(']');
        return;
    case 't':
        skipLiteral("true");
        return;
    case 'f':
        skipLiteral("false");
        return;
    case 'n':
        skipLiteral("null");
        return;
    default:
        skipNumber();
    }
}

QString JsonCursor::nextKind()
{
    switch (peek()) {
    case '"': return QStringLiteral("en text");
    case '{': return QStringLiteral("ett objekt");
    case '[': return QStringLiteral("en lista");
    case 't':
    case 'f': return QStringLiteral("ett sanningsvärde");
    case 'n': return QStringLiteral("null");
    default: return QStringLiteral("ett tal");
    }
}

void JsonCursor::expectEnd()
{
    if (peek() != '\0')
        fail(QStringLiteral("oväntad text efter dokumentet"));
}
