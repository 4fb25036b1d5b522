#pragma once

#include "rules/ValmoError.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// One record of a CSV file: the line it starts on (counted from 1) and its fields.
struct CsvRecord
{
    int line = 0;
    QStringList fields;
};

struct CsvTable;

// The records below the header, blank lines left out. They are kept as the text they were read
// from and split into fields when asked for, one record at a time: a file of many tiny fields then
// costs no more than its text, where a list of strings per field would cost tens of bytes per
// field. The text was read through once when the table was made, so asking never fails.
class CsvRecords
{
public:
    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    // Splits from the nearest mark of every MarkEvery records, so any index is quick.
    CsvRecord operator[](qsizetype index) const;
    CsvRecord last() const { return (*this)[m_count - 1]; }

    // Gives the records in order, each split once.
    class Cursor
    {
    public:
        explicit Cursor(const CsvRecords& records);
        // The next record, or false after the last.
        bool next(CsvRecord& record);

    private:
        const CsvRecords& m_records;
        qsizetype m_position;
        int m_line;
        qsizetype m_given = 0;
    };

private:
    friend CsvTable ParseCsv(const QString& text);
    static constexpr qsizetype MarkEvery = 1024;
    struct Mark
    {
        qsizetype position = 0;
        int line = 1;
    };

    QString m_text;
    QChar m_separator = QLatin1Char(';');
    qsizetype m_count = 0;
    QVector<Mark> m_marks; // where records 0, MarkEvery, 2 * MarkEvery... start
};

// A CSV file as read: the header, the records below it and how the text was written.
struct CsvTable
{
    QChar separator = QLatin1Char(';');
    int headerLine = 0;
    QStringList header;
    CsvRecords records;
    bool utf8 = false;
};

// A file that cannot be read as CSV at all, such as a quoted field that never ends.
class CsvError : public ValmoError
{
public:
    using ValmoError::ValmoError;
};

// UTF-8 when the bytes start with a byte-order mark or are valid UTF-8 holding non-ASCII text,
// Windows-1252 otherwise. The byte-order mark is not part of the text.
QString DecodeCsvText(const QByteArray& bytes, bool* utf8 = nullptr);

// RFC 4180 fields: quoted fields may hold the separator, line ends and doubled quotes. The
// separator is the one of semicolon, tab and comma that the header line (the first line that is
// not blank) holds most often outside quotes. CR LF and LF both end a line. Throws CsvError.
CsvTable ParseCsv(const QString& text);
// Reads and decodes the file; throws ValmoError when it cannot be read.
CsvTable ReadCsvFile(const QString& path);
