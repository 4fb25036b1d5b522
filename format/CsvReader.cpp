#include "format/CsvReader.h"

#include "rules/Win1252.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr QChar Quote = QLatin1Char('"');
// The most columns a spreadsheet has (Excel: 16 384).
constexpr int MostFields = 16384;
// A field is kept up to this many characters, twice what any row can hold: a longer one fails the
// row's length check all the same, and a file of one enormous field is not held twice.
constexpr qsizetype MostFieldCharacters = 65536;

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The separator that the header line holds most often outside quotes; ties go to the semicolon,
// then the tab, as Swedish spreadsheets write semicolons.
QChar findSeparator(const QString& text, qsizetype headerStart)
{
    const QChar candidates[] = {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(',')};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    for (qsizetype i = headerStart; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == Quote)
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        for (int k = 0; k < 3; ++k) {
            if (!quoted && c == candidates[k])
                ++counts[k];
        }
    }
    int best = 0;
    for (int k = 1; k < 3; ++k) {
        if (counts[k] > counts[best])
            best = k;
    }
    return candidates[best];
}

bool isBlank(const QStringList& fields)
{
    for (const QString& field : fields) {
        if (!field.trimmed().isEmpty())
            return false;
    }
    return true;
}

class CsvParser
{
public:
    CsvParser(const QString& text, QChar separator, qsizetype position = 0, int line = 1)
        : m_text(text), m_separator(separator), m_pos(position), m_line(line)
    {
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    int line() const { return m_line; }
    qsizetype position() const { return m_pos; }

    // The fields of the record that starts here; moves past its line end.
    QStringList record()
    {
        QStringList fields;
        readRecord([&fields](QString field) { fields.append(std::move(field)); });
        return fields;
    }

    // Moves past the record that starts here, as record() does, without keeping its fields.
    bool skipRecordIsBlank()
    {
        bool blank = true;
        readRecord([&blank](const QString& field) { blank = blank && field.trimmed().isEmpty(); });
        return blank;
    }

private:
    template <typename AddField>
    void readRecord(AddField addField)
    {
        int count = 0;
        for (;;) {
            // More fields than a spreadsheet has columns: a wrong separator or not a table at all.
            // Refused before the record grows to a list as long as the line.
            if (count == MostFields)
                throw CsvError(QStringLiteral("Rad %1 har fler än %2 fält, fler än ett kalkylark har "
                                              "kolumner. Kontrollera att filen är en tabell med ett "
                                              "av avgränsarna semikolon, tabb eller komma.")
                                   .arg(m_line)
                                   .arg(MostFields));
            addField(field());
            ++count;
            if (atEnd())
                break;
            const QChar c = m_text[m_pos];
            if (c == m_separator) {
                ++m_pos;
                continue;
            }
            skipLineEnd();
            break;
        }
    }

    QString field()
    {
        if (!atEnd() && m_text[m_pos] == Quote)
            return quotedField();
        const qsizetype start = m_pos;
        while (!atEnd() && m_text[m_pos] != m_separator && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        return m_text.mid(start, qMin(m_pos - start, MostFieldCharacters));
    }

    QString quotedField()
    {
        const int startLine = m_line;
        QString value;
        ++m_pos;
        // Most quoted fields hold no doubled quote and no line end: taken in one piece.
        const qsizetype close = m_text.indexOf(Quote, m_pos);
        if (close >= 0 && (close + 1 >= m_text.size() || m_text[close + 1] != Quote)) {
            const QStringView inside = QStringView(m_text).mid(m_pos, close - m_pos);
            if (!inside.contains(QLatin1Char('\n'))) {
                value = inside.first(qMin(inside.size(), MostFieldCharacters)).toString();
                m_pos = close + 1;
                return value + restOfField();
            }
        }
        for (;;) {
            if (atEnd())
                throw CsvError(QStringLiteral("Citattecknet på rad %1 avslutas aldrig, så resten av filen "
                                              "kan inte läsas. Kontrollera citattecknen i filen.")
                                   .arg(startLine));
            const QChar c = m_text[m_pos++];
            if (c == Quote) {
                if (!atEnd() && m_text[m_pos] == Quote) {
                    if (value.size() < MostFieldCharacters)
                        value += Quote;
                    ++m_pos;
                    continue;
                }
                break;
            }
            if (c == QLatin1Char('\n'))
                ++m_line;
            if (value.size() < MostFieldCharacters)
                value += c;
        }
        return value + restOfField();
    }

    // Text between the closing quote and the separator is kept, not dropped.
    QString restOfField()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && m_text[m_pos] != m_separator && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        return m_text.mid(start, qMin(m_pos - start, MostFieldCharacters));
    }

    void skipLineEnd()
    {
        if (m_text[m_pos] == QLatin1Char('\r'))
            ++m_pos;
        if (!atEnd() && m_text[m_pos] == QLatin1Char('\n'))
            ++m_pos;
        ++m_line;
    }

    const QString& m_text;
    QChar m_separator;
    qsizetype m_pos = 0;
    int m_line = 1;
};

qsizetype firstNonBlankLine(const QString& text)
{
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isLineEnd(c))
            lineStart = i + 1;
        else if (!c.isSpace())
            return lineStart;
    }
    return text.size();
}

} // namespace

QString DecodeCsvText(const QByteArray& bytes, bool* utf8)
{
    if (utf8)
        *utf8 = false;
    // Excel's "Unicode text" is UTF-16 with a byte-order mark, its fields separated by tabs.
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::Stateless);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArrayView body = bom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    bool ascii = true;
    for (const char b : body) {
        if (static_cast<unsigned char>(b) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (bom || !ascii) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder(body);
        if (!decoder.hasError()) {
            if (utf8)
                *utf8 = true;
            return text;
        }
        if (bom)
            throw CsvError(QStringLiteral("Filen börjar som UTF-8 men innehåller tecken som inte är UTF-8."));
    }
    return DecodeWin1252(body.data(), body.size());
}

CsvTable ParseCsv(const QString& text)
{
    CsvTable table;
    const qsizetype headerStart = firstNonBlankLine(text);
    table.separator = findSeparator(text, headerStart);
    CsvParser parser(text, table.separator);
    while (!parser.atEnd()) {
        const int line = parser.line();
        QStringList fields = parser.record();
        if (!isBlank(fields)) {
            table.headerLine = line;
            table.header = std::move(fields);
            break;
        }
    }
    // Every record is read through once here, so that a fault anywhere in the file is found now
    // and the records can later be split again without one.
    CsvRecords& records = table.records;
    records.m_text = text;
    records.m_separator = table.separator;
    while (!parser.atEnd()) {
        const qsizetype position = parser.position();
        const int line = parser.line();
        if (parser.skipRecordIsBlank())
            continue;
        if (records.m_count % CsvRecords::MarkEvery == 0)
            records.m_marks.append({position, line});
        ++records.m_count;
    }
    if (records.m_count == 0)
        records.m_text.clear();
    return table;
}

CsvRecord CsvRecords::operator[](qsizetype index) const
{
    Q_ASSERT(index >= 0 && index < m_count);
    const Mark& mark = m_marks[index / MarkEvery];
    CsvParser parser(m_text, m_separator, mark.position, mark.line);
    qsizetype skip = index % MarkEvery;
    for (;;) {
        const int line = parser.line();
        QStringList fields = parser.record();
        if (isBlank(fields))
            continue;
        if (skip-- == 0)
            return {line, std::move(fields)};
    }
}

CsvRecords::Cursor::Cursor(const CsvRecords& records)
    : m_records(records),
      m_position(records.m_marks.isEmpty() ? 0 : records.m_marks.first().position),
      m_line(records.m_marks.isEmpty() ? 1 : records.m_marks.first().line)
{
}

bool CsvRecords::Cursor::next(CsvRecord& record)
{
    if (m_given == m_records.m_count)
        return false;
    CsvParser parser(m_records.m_text, m_records.m_separator, m_position, m_line);
    for (;;) {
        record.line = parser.line();
        record.fields = parser.record();
        if (!isBlank(record.fields))
            break;
    }
    m_position = parser.position();
    m_line = parser.line();
    ++m_given;
    return true;
}

CsvTable ReadCsvFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw ValmoError(QStringLiteral("Filen %1 finns inte").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ValmoError(QStringLiteral("Filen %1 kunde inte läsas: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ValmoError(QStringLiteral("Filen %1 kunde inte läsas: %2").arg(path, file.errorString()));
    bool utf8 = false;
    const QString text = DecodeCsvText(bytes, &utf8);
    bytes = QByteArray(); // the text is all that is needed from here on
    CsvTable table = ParseCsv(text);
    table.utf8 = utf8;
    return table;
}
