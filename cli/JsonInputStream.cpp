#include "cli/JsonInputStream.h"

#include "rules/ValmoError.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

JsonInputStream::JsonInputStream(QIODevice& device) : m_device(&device)
{
    start();
}

JsonInputStream::JsonInputStream(QByteArrayView bytes) : m_bytes(bytes)
{
    start();
}

void JsonInputStream::start()
{
    m_last = m_buffer.data() - 1; // an empty chunk, so that refill() reads the first one
    refill();
    // Editors on Windows often start UTF-8 text with a byte order mark; it is not part of the JSON.
    if (m_last - m_current >= 3 && std::memcmp(m_current, "\xEF\xBB\xBF", 3) == 0)
        m_current += 3;
    m_lineCountedTo = m_current;
}

qint64 JsonInputStream::readInto(char* target, qint64 most)
{
    if (!m_device) {
        const qsizetype count = std::min<qsizetype>(most, m_bytes.size() - m_bytesTaken);
        std::memcpy(target, m_bytes.data() + m_bytesTaken, size_t(count));
        m_bytesTaken += count;
        return count;
    }
    qint64 total = 0;
    while (total < most) {
        const qint64 count = m_device->read(target + total, most - total);
        if (count < 0)
            throw ValmoError(QStringLiteral("JSON-dokumentet kunde inte läsas till slutet: %1")
                                 .arg(m_device->errorString()));
        if (count == 0)
            break;
        total += count;
    }
    return total;
}

void JsonInputStream::refill()
{
    if (m_ended)
        return;
    const char* chunkEnd = m_last + 1;
    if (m_lineCountedTo)
        m_line += linesIn(m_lineCountedTo, chunkEnd);
    m_chunkOffset += size_t(chunkEnd - m_buffer.data());
    const qint64 count = readInto(m_buffer.data(), qint64(ChunkSize));
    m_utf8.feed(m_buffer.data(), qsizetype(count));
    m_current = m_buffer.data();
    m_lineCountedTo = m_current;
    m_last = m_buffer.data() + count - 1;
    if (count < qint64(ChunkSize)) {
        m_buffer[size_t(count)] = '\0';
        ++m_last;
        m_ended = true;
    }
}

qint64 JsonInputStream::totalSize() const
{
    if (!m_device)
        return m_bytes.size();
    return m_device->isSequential() ? 0 : m_device->size();
}

char JsonInputStream::at(size_t offset) const
{
    if (offset < m_chunkOffset || offset - m_chunkOffset > size_t(m_last - m_buffer.data()))
        return '\0';
    return m_buffer[offset - m_chunkOffset];
}

int JsonInputStream::line()
{
    m_line += linesIn(m_lineCountedTo, m_current);
    m_lineCountedTo = m_current;
    return m_line;
}

// A row is a line or a few: memchr finds each line end at once.
int JsonInputStream::linesIn(const char* from, const char* to)
{
    int lines = 0;
    while (const void* found = std::memchr(from, '\n', size_t(to - from))) {
        ++lines;
        from = static_cast<const char*>(found) + 1;
    }
    return lines;
}
