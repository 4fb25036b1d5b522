#include "cli/JsonCursor.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

// Deeper than any document of this tool could need, far shallower than the stack allows.
constexpr int MaxDepth = 256;

bool startsWithByteOrderMark(const QByteArray& text)
{
    return text.startsWith("\xEF\xBB\xBF");
}

} // namespace

JsonCursor::JsonCursor(const QByteArray& text)
    : m_begin(text.constData()), m_pos(text.constData()), m_end(text.constData() + text.size()),
      m_lineCountedTo(text.constData())
{
    // Editors on Windows often start UTF-8 text with a byte order mark; it is not part of the JSON.
    if (startsWithByteOrderMark(text))
        m_pos += 3;
}

// Decodes a run of UTF-8, refusing bytes that are not UTF-8 rather than replacing them, so that no
// text reaches the document changed.
QString JsonCursor::decode(const char* start, const char* end) const
{
    if (std::all_of(start, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(start, end - start); // plain ASCII, the common case
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(start, end - start));
    if (decoder.hasError())
        fail(QStringLiteral("texten är inte giltig UTF-8"));
    return text;
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
        const QString text = decode(runStart, m_pos);
        ++m_pos;
        return text;
    }
    QString text = decode(runStart, m_pos);
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
            while (m_pos < m_end && *m_pos != '"' && *m_pos != '\\' &&
                   static_cast<unsigned char>(*m_pos) >= 0x20)
                ++m_pos;
            text += decode(start, m_pos);
            continue;
        }
        if (++m_pos >= m_end)
            fail(QStringLiteral("texten tar aldrig slut"));
        const char escape = *m_pos++;
        switch (escape) {
        case '"':
            text += QLatin1Char('"');
            break;
        case '\\':
            text += QLatin1Char('\\');
            break;
        case '/':
            text += QLatin1Char('/');
            break;
        case 'b':
            text += QLatin1Char('\b');
            break;
        case 'f':
            text += QLatin1Char('\f');
            break;
        case 'n':
            text += QLatin1Char('\n');
            break;
        case 'r':
            text += QLatin1Char('\r');
            break;
        case 't':
            text += QLatin1Char('\t');
            break;
        case 'u':
            text += QChar(char16_t(readHex4()));
            break;
        default:
            fail(QStringLiteral("ogiltig escape-sekvens"));
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

void JsonCursor::skipDigits()
{
    const char* start = m_pos;
    while (m_pos < m_end && *m_pos >= '0' && *m_pos <= '9')
        ++m_pos;
    if (m_pos == start)
        fail(QStringLiteral("ogiltigt tal"));
}

// A number as JSON writes it: -?digits(.digits)?([eE][+-]?digits)?
void JsonCursor::skipNumber()
{
    if (m_pos < m_end && *m_pos == '-')
        ++m_pos;
    skipDigits();
    if (m_pos < m_end && *m_pos == '.') {
        ++m_pos;
        skipDigits();
    }
    if (m_pos < m_end && (*m_pos == 'e' || *m_pos == 'E')) {
        ++m_pos;
        if (m_pos < m_end && (*m_pos == '+' || *m_pos == '-'))
            ++m_pos;
        skipDigits();
    }
    const char next = peek();
    if (next != ',' && next != ']' && next != '}' && next != '\0')
        fail(QStringLiteral("ogiltigt tal"));
}

// Skips any value without recursion: the open arrays and objects are counted, so no document,
// however deeply nested, can exhaust the stack.
void JsonCursor::skipValue()
{
    // The kind of each open container: true for an object, whose members need a key.
    QVarLengthArray<bool, 32> open;
    while (true) {
        skipScalarOrOpen(open);
        // After a value: close every container that ends here, then go on after a comma.
        while (true) {
            if (open.isEmpty())
                return;
            if (take(',')) {
                if (open.last()) {
                    readString();
                    expect(':');
                }
                break;
            }
            expect(open.last() ? '}' : ']');
            open.removeLast();
        }
    }
}

// Skips a scalar, or opens a container and moves to its first value. Empty containers are
// skipped whole.
void JsonCursor::skipScalarOrOpen(QVarLengthArray<bool, 32>& open)
{
    while (true) {
        const char next = peek();
        if (next != '{' && next != '[') {
            skipScalar();
            return;
        }
        ++m_pos;
        const bool object = next == '{';
        if (take(object ? '}' : ']'))
            return;
        if (open.size() >= MaxDepth)
            fail(QStringLiteral("dokumentet är för djupt nästlat"));
        open.append(object);
        if (object) {
            readString();
            expect(':');
        }
    }
}

void JsonCursor::skipScalar()
{
    switch (peek()) {
    case '"':
        readString();
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
    case '"':
        return QStringLiteral("en text");
    case '{':
        return QStringLiteral("ett objekt");
    case '[':
        return QStringLiteral("en lista");
    case 't':
    case 'f':
        return QStringLiteral("ett sanningsvärde");
    case 'n':
        return QStringLiteral("null");
    default:
        return QStringLiteral("ett tal");
    }
}

int JsonCursor::line()
{
    skipSpace();
    m_line += int(std::count(m_lineCountedTo, m_pos, '\n'));
    m_lineCountedTo = m_pos;
    return m_line;
}

void JsonCursor::expectEnd()
{
    if (peek() != '\0')
        fail(QStringLiteral("oväntad text efter dokumentet"));
}
