#pragma once

#include <QByteArray>
#include <QStringView>

#include <array>

class QIODevice;

// Splits the bytes of an order file into lines: a line feed ends a line, a carriage return that
// is not part of a line end is dropped, and byte 26 (Ctrl-Z) ends the text as if the file ended
// there. Bytes after the last line feed form a last line when there are any.
//
// Only the first MaxRecordLength characters of a line are decoded (Windows-1252); no record
// field lies beyond them, so the rest of a longer line is skipped unread. Lines are decoded into
// a fixed buffer: reading allocates nothing per line.
class OrderLineReader
{
public:
    static constexpr int MaxRecordLength = 80;

    explicit OrderLineReader(QIODevice& device);

    // Reads the next line; false at the end of the text or when the device fails (see failed()).
    bool next();
    // The current line without its line end, cut after MaxRecordLength characters.
    QStringView line() const { return QStringView(m_chars.data(), m_length); }
    // Number of the current line, counted from 1.
    int lineNumber() const { return m_lineNumber; }
    // The device reported a read error.
    bool failed() const { return m_failed; }

private:
    bool refill();
    void take(const char* begin, const char* end);

    QIODevice& m_device;
    QByteArray m_buffer;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    bool m_textEnded = false;
    bool m_failed = false;
    int m_lineNumber = 0;
    int m_length = 0;
    std::array<char16_t, MaxRecordLength> m_chars{};
};
