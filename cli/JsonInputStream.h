#pragma once

#include "rules/Utf8Check.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstddef>

class QIODevice;

// The input of the JSON reader: bytes taken from a device (or from memory) a chunk at a time, so
// that a document of a million rows is never held whole. It has the members RapidJSON's reader
// asks of a stream, counts lines only when asked and knows the offset of every byte, counted
// from the start of the text (a byte order mark included).
class JsonInputStream
{
public:
    using Ch = char;

    explicit JsonInputStream(QIODevice& device);
    explicit JsonInputStream(QByteArrayView bytes);
    JsonInputStream(const JsonInputStream&) = delete;
    JsonInputStream& operator=(const JsonInputStream&) = delete;

    // The next byte, or 0 at the end (a 0 byte in the text reads as 0 too: see atEnd()).
    Ch Peek() const { return *m_current; }
    Ch Take()
    {
        const Ch c = *m_current;
        if (m_current < m_last)
            ++m_current;
        else
            refill();
        return c;
    }
    size_t Tell() const { return m_chunkOffset + size_t(m_current - m_buffer.data()); }
    // The bytes of the whole text, as far as the device knows them; 0 when it cannot tell.
    qint64 totalSize() const;

    // Unused by a reader that does not parse in place.
    Ch* PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    size_t PutEnd(Ch*) { return 0; }

    // Whether every byte of the text has been taken.
    bool atEnd() const { return m_ended && m_current == m_last; }
    // The byte at offset when it is still in the chunk at hand, otherwise 0.
    char at(size_t offset) const;
    // The line, counted from 1, of the next byte.
    int line();
    // Where the first byte that is not UTF-8 stands in what has been read so far, or
    // Utf8Check::NoInvalidByte. The reader is not asked to check the encoding: this check passes over
    // ASCII eight bytes at a time.
    qint64 firstInvalidUtf8() const { return m_ended ? m_utf8.invalidAtEnd() : m_utf8.invalidAt(); }

private:
    static constexpr size_t ChunkSize = 64 * 1024;

    void start();
    void refill();
    static int linesIn(const char* from, const char* to);
    qint64 readInto(char* target, qint64 most);

    QIODevice* m_device = nullptr;
    QByteArrayView m_bytes;
    qsizetype m_bytesTaken = 0;
    std::array<char, ChunkSize + 1> m_buffer{};
    const char* m_current = nullptr;
    const char* m_last = nullptr; // the last byte of the chunk, or the 0 after the text
    const char* m_lineCountedTo = nullptr;
    size_t m_chunkOffset = 0;
    int m_line = 1;
    bool m_ended = false;
    Utf8Check m_utf8;
};
