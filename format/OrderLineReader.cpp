#include "format/OrderLineReader.h"

#include "rules/Utf8Check.h"
#include "rules/Win1252.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype ChunkSize = 256 * 1024;
constexpr qsizetype MinimumChunkSize = 4 * 1024;
constexpr char LineFeed = '\n';
constexpr char CarriageReturn = '\r';
constexpr char EndOfText = 26;

// The code page as a table, so decoding a byte is one load.
const std::array<char16_t, 256>& decodingTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> result{};
        for (int b = 0; b < 256; ++b)
            result[size_t(b)] = Win1252ToUnicode(static_cast<unsigned char>(b));
        return result;
    }();
    return table;
}

bool startsCharacter(OrderLineReader::Encoding encoding, unsigned char byte)
{
    return encoding == OrderLineReader::Encoding::Windows1252 || (byte & 0xC0) != 0x80;
}

TextKind kindOf(const Utf8Check& check)
{
    if (!check.complete())
        return TextKind::Other;
    return check.beyondAscii() ? TextKind::Utf8 : TextKind::Ascii;
}

qsizetype untilEndOfText(const char* data, qsizetype size)
{
    const void* stop = std::memchr(data, EndOfText, size_t(size));
    return stop ? static_cast<const char*>(stop) - data : size;
}

} // namespace

qsizetype ByteOrderMarkLength(const char* data, qsizetype size)
{
    static constexpr char Mark[] = "\xEF\xBB\xBF";
    constexpr qsizetype MarkSize = sizeof(Mark) - 1;
    return size >= MarkSize && std::memcmp(data, Mark, MarkSize) == 0 ? MarkSize : 0;
}

TextKind ScanTextKind(const char* data, qsizetype size)
{
    Utf8Check check;
    check.feed(data, untilEndOfText(data, size));
    return kindOf(check);
}

TextKind ScanTextKind(QIODevice& device)
{
    if (device.isSequential())
        return TextKind::Other;
    const qint64 start = device.pos();
    Utf8Check check;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = device.read(chunk.data(), chunk.size());
        if (read <= 0)
            break;
        const qsizetype kept = untilEndOfText(chunk.constData(), qsizetype(read));
        check.feed(chunk.constData(), kept);
        if (kept < read)
            break;
    }
    device.seek(start);
    return kindOf(check);
}

OrderLineReader::OrderLineReader(QIODevice& device, Encoding encoding)
    : m_device(device), m_encoding(encoding)
{
    // A small file needs no more than its own size (plus one byte to see its end at once).
    qsizetype size = ChunkSize;
    if (!device.isSequential())
        size = qBound<qsizetype>(MinimumChunkSize, device.bytesAvailable() + 1, ChunkSize);
    m_buffer.resize(size);
}

QStringView OrderLineReader::line() const
{
    if (m_encoding == Encoding::Utf8)
        return m_utf8Line;
    return QStringView(m_chars.data(), m_length);
}

bool OrderLineReader::refill()
{
    const qint64 read = m_device.read(m_buffer.data(), m_buffer.size());
    if (read < 0)
        m_failed = true;
    if (read <= 0) {
        m_textEnded = true;
        return false;
    }
    m_pos = m_buffer.constData();
    m_end = m_pos + read;
    if (m_atStart) {
        m_atStart = false;
        skipByteOrderMark();
    }
    return true;
}

// A text editor may put a UTF-8 byte-order mark before the first record, even of a file whose other
// characters are Windows-1252; it is no part of the record, which begins with digits.
void OrderLineReader::skipByteOrderMark()
{
    m_pos += ByteOrderMarkLength(m_pos, m_end - m_pos);
}

// One byte of the current line. Characters past the record must be blanks.
void OrderLineReader::takeByte(unsigned char byte)
{
    if (startsCharacter(m_encoding, byte))
        ++m_lineChars;
    if (m_lineChars > MaxRecordLength) {
        if (byte != ' ' || m_lineChars > MaxLineLength)
            m_tooLong = true;
        return;
    }
    if (m_encoding == Encoding::Utf8) {
        m_utf8Bytes.append(char(byte));
        return;
    }
    m_chars[size_t(m_length)] = decodingTable()[byte];
    ++m_length;
}

// The bytes of the record itself, as takeByte() would take them one by one, in one run: the common
// case of every line. Stops at a line end, at Ctrl-Z, at the end of the record or of the chunk.
bool OrderLineReader::takeRecordBytes()
{
    const std::array<char16_t, 256>& table = decodingTable();
    const char* stop = m_pos + std::min<qsizetype>(MaxRecordLength - m_lineChars, m_end - m_pos);
    const char* p = m_pos;
    for (; p != stop; ++p) {
        const char byte = *p;
        if (byte == LineFeed || byte == CarriageReturn || byte == EndOfText)
            break;
        m_chars[size_t(m_length++)] = table[static_cast<unsigned char>(byte)];
    }
    const int taken = int(p - m_pos);
    m_lineChars += taken;
    m_pos = p;
    return taken > 0;
}

void OrderLineReader::finishLine()
{
    ++m_lineNumber;
    if (m_encoding == Encoding::Utf8) {
        m_utf8Line = QString::fromUtf8(m_utf8Bytes);
        m_length = int(m_utf8Line.size());
    }
}

bool OrderLineReader::next()
{
    m_length = 0;
    m_lineChars = 0;
    m_utf8Bytes.clear();
    if (m_tooLong)
        return false; // the rest of an over-long line is not read
    bool sawBytes = false;
    while (!m_textEnded) {
        if (m_pos == m_end && !refill())
            break;
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (*m_pos == LineFeed) {
                ++m_pos;
                continue;
            }
        }
        while (m_pos != m_end) {
            if (m_encoding == Encoding::Windows1252 && m_lineChars < MaxRecordLength) {
                sawBytes |= takeRecordBytes();
                if (m_pos == m_end)
                    break;
            }
            const char byte = *m_pos++;
            if (byte == EndOfText) {
                m_textEnded = true;
                break;
            }
            if (byte == LineFeed || byte == CarriageReturn) {
                m_skipLineFeed = byte == CarriageReturn;
                finishLine();
                return true;
            }
            sawBytes = true;
            takeByte(static_cast<unsigned char>(byte));
            if (m_tooLong) {
                finishLine();
                return true;
            }
        }
    }
    if (!sawBytes || m_failed)
        return false;
    finishLine();
    return true;
}
