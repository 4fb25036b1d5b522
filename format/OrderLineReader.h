#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>

class QIODevice;

// Splits the bytes of an order file into lines. CR LF, LF and CR alone each end a line, and byte
// 26 (Ctrl-Z) ends the text as if the file ended there. Bytes after the last line end form a last
// line when there are any.
//
// A record has MaxRecordLength characters. A longer line is accepted only when everything past
// them is blank, and never past MaxLineLength characters; otherwise next() returns the line with
// tooLong() set and reading should stop there: the rest of the line is not read. Lines are decoded
// as Windows-1252, or as UTF-8 when the caller says so; Windows-1252 lines go into a fixed buffer,
// so reading allocates nothing per line.
class OrderLineReader
{
public:
    static constexpr int MaxRecordLength = 80;
    static constexpr int MaxLineLength = 1024;

    enum class Encoding
    {
        Windows1252,
        Utf8,
    };

    explicit OrderLineReader(QIODevice& device, Encoding encoding = Encoding::Windows1252);

    // Reads the next line; false at the end of the text or when the device fails (see failed()).
    bool next();
    // The current line without its line end and without the blanks past MaxRecordLength.
    QStringView line() const;
    // Number of the current line, counted from 1.
    int lineNumber() const { return m_lineNumber; }
    // The current line has more than MaxRecordLength characters and not only blanks past them.
    bool tooLong() const { return m_tooLong; }
    // The device reported a read error.
    bool failed() const { return m_failed; }

private:
    bool refill();
    void skipByteOrderMark();
    bool atLineEnd(char byte);
    void takeByte(unsigned char byte);
    bool takeRecordBytes();
    void finishLine();

    QIODevice& m_device;
    const Encoding m_encoding;
    QByteArray m_buffer;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    bool m_atStart = true;
    bool m_textEnded = false;
    bool m_failed = false;
    bool m_skipLineFeed = false; // the last line ended with a CR: a LF right after it belongs to it
    bool m_tooLong = false;
    int m_lineNumber = 0;
    int m_length = 0;    // characters kept in the line (at most MaxRecordLength)
    int m_lineChars = 0; // characters seen in the line, the blanks past the record included
    std::array<char16_t, MaxRecordLength> m_chars{};
    QByteArray m_utf8Bytes; // the kept characters of a UTF-8 line, decoded when the line ends
    QString m_utf8Line;
};

// What a whole text is, as far as its encoding goes: the bytes up to Ctrl-Z.
enum class TextKind
{
    Ascii, // bytes below 128 only: both encodings read it alike
    Utf8,  // valid UTF-8 with characters beyond ASCII
    Other, // anything else: Windows-1252
};

// Scans the device from its position to its end (or Ctrl-Z) and puts the position back. A device
// that cannot seek back is not scanned and counts as Other.
TextKind ScanTextKind(QIODevice& device);
TextKind ScanTextKind(const char* data, qsizetype size);

// The length of the UTF-8 byte-order mark an editor may write before a file's first line: 3 when
// the data begins with one, else 0.
qsizetype ByteOrderMarkLength(const char* data, qsizetype size);
