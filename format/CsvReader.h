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

// A CSV file as read: the header, the records below it and how the text was written.
struct CsvTable
{
    QChar separator = QLatin1Char(';');
    int headerLine = 0;
    QStringList header;
    QVector<CsvRecord> records; // blank lines left out
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
