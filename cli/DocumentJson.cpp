#include "cli/DocumentJson.h"

#include "app/OrderDocument.h"
#include "cli/JsonAmount.h"
#include "cli/JsonCursor.h"

#include <QBuffer>
#include <QIODevice>
#include <QSet>
#include <QVector>

#include <algorithm>

#include <cstring>

namespace {

// The column of the amount in the rows of the payment and change lists (the caption is 0).
constexpr int PaymentAmountColumn = 3;
constexpr int ChangeAmountColumn = 4;

// Turns the JSON amount at column into the row form; one not in the JSON form stays as it is and
// is listed.
void takeAmount(QStringList& texts, int column, int line, JsonRowPlaces& places)
{
    QString& amount = texts[column];
    if (amount.isEmpty())
        return;
    if (const std::optional<QString> row = RowAmountFromJson(amount))
        amount = *row;
    else
        places.problems.append({line, QStringLiteral("Belopp"), JsonAmountFormMessage(amount)});
}

// Reads one row: an array of exactly `columns` texts.
QStringList readRow(JsonCursor& json, const QString& listName, int index, int columns)
{
    const QString where = QStringLiteral("%1[%2]").arg(listName).arg(index);
    if (json.peek() != '[')
        throw DocumentJsonError(QStringLiteral("%1 är inte en lista av texter").arg(where));
    json.expect('[');
    QStringList texts;
    if (!json.take(']')) {
        do {
            if (json.peek() != '"')
                throw DocumentJsonError(
                    QStringLiteral("%1 innehåller %2, som inte är en text").arg(where, json.nextKind()));
            texts.append(json.readString());
        } while (json.take(','));
        json.expect(']');
    }
    // A change row written before the reference column has one text less: it reads with an empty one.
    if (listName == QLatin1String("MakList") && texts.size() == MakRowList::SubItemCountWithoutReference + 1)
        texts.append(QString());
    if (texts.size() != columns)
        throw DocumentJsonError(
            QStringLiteral("%1 har %2 kolumner, men ska ha %3").arg(where).arg(texts.size()).arg(columns));
    return texts;
}

// Reads an array, calling readElement for each element with its index.
template <typename ReadElement> void readArray(JsonCursor& json, const QString& name, ReadElement readElement)
{
    if (json.peek() != '[')
        throw DocumentJsonError(QStringLiteral("\"%1\" ska vara en lista").arg(name));
    json.expect('[');
    if (json.take(']'))
        return;
    int index = 0;
    do
        readElement(index++);
    while (json.take(','));
    json.expect(']');
}

// Reads a list, noting the line of each row; amountColumn is -1 for a list without amounts.
void readList(JsonCursor& json, const QString& name, RowList& list, QVector<int>& lines, int amountColumn,
              JsonRowPlaces& places)
{
    list.clear();
    lines.clear();
    const int columns = list.subItemCount() + 1;
    readArray(json, name, [&](int index) {
        const int line = json.line();
        lines.append(line);
        QStringList texts = readRow(json, name, index, columns);
        if (amountColumn >= 0)
            takeAmount(texts, amountColumn, line, places);
        const QString caption = texts.takeFirst();
        list.append(caption, texts);
    });
}

// A code the change dialog can give a row, in the form the reader gives it: the writer puts the
// text straight into the record-code field, so any other text would make a corrupt record.
bool isChangeCode(const QString& code)
{
    static const QStringList codes = [] {
        OrderDocument document;
        document.FillMakTexts();
        QStringList known;
        for (int i = 0; i < OrderDocument::MakTextCount; ++i) {
            if (!document.MakText(i).isEmpty())
                known.append(QString::number(i));
        }
        return known;
    }();
    return codes.contains(code);
}

// A buffered writer of JSON text.
class JsonOut
{
public:
    explicit JsonOut(QIODevice& device) : m_device(device) { m_buffer.reserve(Capacity + 1024); }
    // Never flushes: a destructor that throws ends the program. Whoever writes calls flush().
    ~JsonOut() = default;

    void raw(const char* text) { append(text, qsizetype(std::strlen(text))); }
    // Writes text as a JSON string in UTF-8, encoding straight into the buffer.
    void string(QStringView text)
    {
        const qsizetype start = m_buffer.size();
        m_buffer.resize(start + 2 + text.size() * 6); // the longest form of a character is \u00XX
        char* out = m_buffer.data() + start;
        *out++ = '"';
        const char16_t* p = text.utf16();
        const char16_t* end = p + text.size();
        for (; p < end; ++p) {
            const char16_t u = *p;
            if (u >= 0x20 && u < 0x80) {
                if (u == '"' || u == '\\')
                    *out++ = '\\';
                *out++ = char(u);
            } else if (u < 0x20) {
                static const char hex[] = "0123456789abcdef";
                *out++ = '\\';
                *out++ = 'u';
                *out++ = '0';
                *out++ = '0';
                *out++ = hex[u >> 4];
                *out++ = hex[u & 15];
            } else if (u < 0x800) {
                *out++ = char(0xC0 | (u >> 6));
                *out++ = char(0x80 | (u & 0x3F));
            } else if (QChar::isHighSurrogate(u) && p + 1 < end && QChar::isLowSurrogate(p[1])) {
                const char32_t code = QChar::surrogateToUcs4(u, p[1]);
                ++p;
                *out++ = char(0xF0 | (code >> 18));
                *out++ = char(0x80 | ((code >> 12) & 0x3F));
                *out++ = char(0x80 | ((code >> 6) & 0x3F));
                *out++ = char(0x80 | (code & 0x3F));
            } else {
                // A lone surrogate cannot be encoded; U+FFFD stands in, as QString::toUtf8 does.
                const char16_t c = QChar::isSurrogate(u) ? char16_t(0xFFFD) : u;
                *out++ = char(0xE0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
            }
        }
        *out++ = '"';
        m_buffer.resize(out - m_buffer.constData());
        if (m_buffer.size() > Capacity)
            flush();
    }
    void number(int value) { raw(QByteArray::number(value).constData()); }
    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_device.write(m_buffer) != m_buffer.size())
            throw ValmoError(QStringLiteral("Utdata kunde inte skrivas: %1").arg(m_device.errorString()));
        m_buffer.clear();
    }

private:
    static constexpr qsizetype Capacity = 1 << 16;
    void append(const char* text, qsizetype length)
    {
        m_buffer.append(text, length);
        if (m_buffer.size() > Capacity)
            flush();
    }

    QIODevice& m_device;
    QByteArray m_buffer;
};

// amountColumn: the column written in the JSON amount form, or -1.
void writeRows(JsonOut& out, const RowList& list, int amountColumn = -1)
{
    out.raw("[");
    for (int i = 0; i < list.count(); ++i) {
        out.raw(i == 0 ? "\n    [" : ",\n    [");
        const ListRow& row = list[i];
        for (int column = 0; column < row.columnCount(); ++column) {
            if (column > 0)
                out.raw(", ");
            if (column == amountColumn)
                out.string(JsonAmountFromRow(row.text(column)));
            else
                out.string(row.textView(column));
        }
        out.raw("]");
    }
    out.raw(list.isEmpty() ? "]" : "\n  ]");
}

} // namespace

QString ServiceName(bool privateService)
{
    return privateService ? QStringLiteral("Privat") : QStringLiteral("Företag");
}

bool ParseServiceName(const QString& name)
{
    if (name == QLatin1String("Privat"))
        return true;
    if (name == QStringLiteral("Företag"))
        return false;
    throw DocumentJsonError(QStringLiteral("Okänd tjänst \"%1\": ange Privat eller Företag").arg(name));
}

QString DocumentFromJson(const QByteArray& text, OrderDocument& document, JsonRowPlaces& places)
{
    places = JsonRowPlaces();
    JsonCursor json(text);
    if (json.peek() != '{')
        throw DocumentJsonError(QStringLiteral("JSON-dokumentet ska vara ett objekt"));
    json.expect('{');

    QString service;
    // Hashed, so that the check for a member given twice stays linear in the member count.
    QSet<QString> seen;
    QVector<ListRow> makRows;
    QStringList makCodes;
    if (!json.take('}')) {
        do {
            const QString key = json.readString();
            json.expect(':');
            // A second member of the same name would silently replace the first.
            if (seen.contains(key))
                throw DocumentJsonError(QStringLiteral("\"%1\" förekommer två gånger").arg(key));
            seen.insert(key);
            if (key == QLatin1String("service")) {
                if (json.peek() != '"')
                    throw DocumentJsonError(QStringLiteral("\"service\" ska vara en text"));
                service = json.readString();
                ParseServiceName(service);
            } else if (key == QLatin1String("BtuList")) {
                readList(json, key, document.BtuList, places.lines.btu, PaymentAmountColumn, places);
            } else if (key == QLatin1String("MdgList")) {
                readList(json, key, document.MdgList, places.lines.mdg, -1, places);
            } else if (key == QLatin1String("MdgListComp")) {
                readList(json, key, document.MdgListComp, places.lines.mdgComp, -1, places);
            } else if (key == QLatin1String("MakList")) {
                makRows.clear();
                places.lines.mak.clear();
                readArray(json, key, [&](int index) {
                    const int line = json.line();
                    places.lines.mak.append(line);
                    QStringList texts = readRow(json, key, index, MakRowList::SubItemCount + 1);
                    takeAmount(texts, ChangeAmountColumn, line, places);
                    const QString caption = texts.takeFirst();
                    makRows.append(ListRow(caption, texts));
                });
            } else if (key == QLatin1String("MakCodes")) {
                makCodes.clear();
                readArray(json, key, [&](int index) {
                    if (json.peek() != '"')
                        throw DocumentJsonError(QStringLiteral("MakCodes[%1] ska vara en text").arg(index));
                    makCodes.append(json.readString());
                });
            } else {
                json.skipValue(); // "openingRecords" and anything else
            }
        } while (json.take(','));
        json.expect('}');
    }
    json.expectEnd();

    for (const char* required : {"BtuList", "MdgList", "MdgListComp", "MakList", "MakCodes"}) {
        if (!seen.contains(QLatin1String(required)))
            throw DocumentJsonError(QStringLiteral("\"%1\" saknas").arg(QLatin1String(required)));
    }
    if (makCodes.size() != makRows.size())
        throw DocumentJsonError(QStringLiteral("MakCodes har %1 koder men MakList har %2 rader")
                                    .arg(makCodes.size())
                                    .arg(makRows.size()));
    for (int i = 0; i < makCodes.size(); ++i) {
        if (!isChangeCode(makCodes[i]))
            throw DocumentJsonError(
                QStringLiteral("MakCodes[%1] \"%2\" är ingen kod för makulering eller ändring (3, 23–29)")
                    .arg(i)
                    .arg(makCodes[i]));
    }
    document.MakList.clear();
    document.MakList.reserve(int(makRows.size()));
    for (int i = 0; i < makRows.size(); ++i)
        document.MakList.append(makCodes[i], makRows[i]);
    return service;
}

QString DocumentFromJson(const QByteArray& json, OrderDocument& document)
{
    JsonRowPlaces places;
    const QString service = DocumentFromJson(json, document, places);
    if (!places.problems.isEmpty())
        throw DocumentJsonError(places.problems.first().message);
    return service;
}

QList<RowProblem> CheckJsonDocumentRows(const OrderDocument& document, const JsonRowPlaces& places)
{
    QList<RowProblem> problems = places.problems;
    QSet<int> formProblemLines;
    for (const RowProblem& problem : places.problems)
        formProblemLines.insert(problem.line);
    // An amount not in the JSON form is named once, by the form's message.
    for (const RowProblem& problem : CheckDocumentRows(document, places.lines, {})) {
        if (problem.column != QLatin1String("Belopp") || !formProblemLines.contains(problem.line))
            problems.append(problem);
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const RowProblem& a, const RowProblem& b) { return a.line < b.line; });
    return problems;
}

void WriteDocumentJson(QIODevice& device, const OrderDocument& document,
                       const QList<OpeningRecordEntry>& openingRecords)
{
    JsonOut out(device);
    out.raw("{\n  \"service\": ");
    out.string(ServiceName(document.PrivateService));
    out.raw(",\n  \"BtuList\": ");
    writeRows(out, document.BtuList, PaymentAmountColumn);
    out.raw(",\n  \"MdgList\": ");
    writeRows(out, document.MdgList);
    out.raw(",\n  \"MdgListComp\": ");
    writeRows(out, document.MdgListComp);
    out.raw(",\n  \"MakList\": ");
    writeRows(out, document.MakList.rows(), ChangeAmountColumn);
    out.raw(",\n  \"MakCodes\": [");
    for (int i = 0; i < document.MakCodes().size(); ++i) {
        if (i > 0)
            out.raw(", ");
        out.string(document.MakCodes()[i]);
    }
    out.raw("],\n  \"openingRecords\": [");
    for (int i = 0; i < openingRecords.size(); ++i) {
        const OpeningRecordEntry& entry = openingRecords[i];
        out.raw(i == 0 ? "\n    {\"line\": " : ",\n    {\"line\": ");
        out.number(entry.line);
        out.raw(", \"customerNumber\": ");
        out.string(entry.customerNumber);
        out.raw(", \"bankgiro\": ");
        out.string(entry.bankgiro);
        out.raw("}");
    }
    out.raw(openingRecords.isEmpty() ? "]\n}\n" : "\n  ]\n}\n");
    out.flush();
}

QByteArray ShownInsteadJson(const QString& message, int line)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        JsonOut out(buffer);
        out.raw("{\n  \"shownInstead\": true,\n  \"message\": ");
        out.string(message);
        out.raw(",\n  \"line\": ");
        out.number(line);
        out.raw("\n}\n");
        out.flush();
    }
    return buffer.data();
}

QByteArray DocumentToJson(const OrderDocument& document, const QList<OpeningRecordEntry>& openingRecords)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteDocumentJson(buffer, document, openingRecords);
    return buffer.data();
}
