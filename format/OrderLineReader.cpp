#include "format/OrderLineReader.h"

#include "rules/Win1252.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qsizetype ChunkSize = 256 * 1024;
constexpr qsizetype MinimumChunkSize = 4 * 1024;
constexpr char LineFeed = '\n';
constexpr char CarriageReturn = '\r';
constexpr char EndOfText = 26;

} // namespace

OrderLineReader::OrderLineReader(QIODevice& device) : m_device(device)
{
    // A small file needs no more than its own size (plus one byte to see its end at once).
    qsizetype size = ChunkSize;
    if (!device.isSequential())
        size = qBound<qsizetype>(MinimumChunkSize, device.bytesAvailable() + 1, ChunkSize);
    m_buffer.resize(size);
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
    return true;
}

namespace {

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

} // namespace

// Appends the bytes [begin, end) of the current line, dropping carriage returns and keeping at most
// MaxRecordLength characters.
void OrderLineReader::take(const char* begin, const char* end)
{
    const std::array<char16_t, 256>& table = decodingTable();
    while (begin != end && m_length < MaxRecordLength) {
        const auto* carriageReturn =
            static_cast<const char*>(std::memchr(begin, CarriageReturn, size_t(end - begin)));
        const char* runEnd = carriageReturn ? carriageReturn : end;
        const qsizetype count = qMin<qsizetype>(runEnd - begin, MaxRecordLength - m_length);
        for (qsizetype i = 0; i < count; ++i)
            m_chars[size_t(m_length + i)] = table[static_cast<unsigned char>(begin[i])];
        m_length += int(count);
        begin = carriageReturn ? carriageReturn + 1 : end;
    }
}

bool OrderLineReader::next()
{
    m_length = 0;
    bool sawBytes = false;
    while (!m_textEnded) {
        if (m_pos == m_end && !refill())
            break;
        const auto* lineFeed = static_cast<const char*>(std::memchr(m_pos, LineFeed, size_t(m_end - m_pos)));
        const char* segmentEnd = lineFeed ? lineFeed : m_end;
        const auto* stop =
            static_cast<const char*>(std::memchr(m_pos, EndOfText, size_t(segmentEnd - m_pos)));
        if (stop) {
            sawBytes = sawBytes || stop != m_pos;
            take(m_pos, stop);
            m_textEnded = true;
            break;
        }
        take(m_pos, segmentEnd);
        if (lineFeed) {
            m_pos = lineFeed + 1;
            ++m_lineNumber;
            return true;
        }
        sawBytes = sawBytes || segmentEnd != m_pos;
        m_pos = m_end;
    }
    if (!sawBytes || m_failed)
        return false;
    ++m_lineNumber;
    return true;
}
