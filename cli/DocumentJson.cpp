#include "cli/DocumentJson.h"

#include "app/OrderDocument.h"
#include "cli/DocumentJsonHandler.h"
#include "cli/JsonAmount.h"
#include "cli/JsonInputStream.h"
#include "rules/QuotedText.h"

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
    const JsonAmountWriter jsonAmount;
    out.raw("[");
    for (int i = 0; i < list.count(); ++i) {
        out.raw(i == 0 ? "\n    [" : ",\n    [");
        const ListRow& row = list[i];
        for (int column = 0; column < row.columnCount(); ++column) {
            if (column > 0)
                out.raw(", ");
            if (column == amountColumn)
                out.string(jsonAmount(row.textView(column)));
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
    throw DocumentJsonError(
        QStringLiteral("Okänd tjänst \"%1\": ange Privat eller Företag").arg(QuotedText::Short(name)));
}

namespace {

QString expected(char c)
{
    return QStringLiteral("väntade \u201C%1\u201D").arg(QLatin1Char(c));
}

// What the reader's fault means, in the words of the document's own checks.
QString reasonFor(const rapidjson::ParseResult& result, const JsonInputStream& in,
                  const DocumentJsonHandler& handler)
{
    const size_t offset = result.Offset();
    const bool numberBefore = handler.lastWasNumber() && !in.atEnd();
    switch (result.Code()) {
    case rapidjson::kParseErrorDocumentRootNotSingular:
        return QStringLiteral("oväntad text efter dokumentet");
    case rapidjson::kParseErrorValueInvalid: {
        // Inside a word (tru, nul) it is a bad literal; anything else starts no value but a number.
        const char before = offset > 0 ? in.at(offset - 1) : '\0';
        return before >= 'a' && before <= 'z' ? QStringLiteral("ogiltigt värde")
                                              : QStringLiteral("ogiltigt tal");
    }
    case rapidjson::kParseErrorObjectMissName:
        return QStringLiteral("väntade en text");
    case rapidjson::kParseErrorObjectMissColon:
        return expected(':');
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket:
        return numberBefore ? QStringLiteral("ogiltigt tal") : expected('}');
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket:
        return numberBefore ? QStringLiteral("ogiltigt tal") : expected(']');
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
        return in.atEnd() ? QStringLiteral("ofullständig \\u-sekvens")
                          : QStringLiteral("ogiltig \\u-sekvens");
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid:
        return QStringLiteral("ogiltig \\u-sekvens");
    case rapidjson::kParseErrorStringEscapeInvalid:
        return in.at(offset) == '\\' ? QStringLiteral("ogiltig escape-sekvens")
                                     : QStringLiteral("styrtecken i en text");
    case rapidjson::kParseErrorStringMissQuotationMark:
        // A 0 byte in the text ends the string for the reader, as if the text had ended.
        return in.atEnd() ? QStringLiteral("texten tar aldrig slut") : QStringLiteral("styrtecken i en text");
    case rapidjson::kParseErrorStringInvalidEncoding:
        return QStringLiteral("texten är inte giltig UTF-8");
    case rapidjson::kParseErrorNumberTooBig:
    case rapidjson::kParseErrorNumberMissFraction:
    case rapidjson::kParseErrorNumberMissExponent:
        return QStringLiteral("ogiltigt tal");
    default:
        return QStringLiteral("ogiltigt värde");
    }
}

QString readDocument(JsonInputStream& in, OrderDocument& document, JsonRowPlaces& places)
{
    places = JsonRowPlaces();
    while (in.Peek() == ' ' || in.Peek() == '\n' || in.Peek() == '\r' || in.Peek() == '\t')
        in.Take();
    if (in.Peek() != '{')
        throw DocumentJsonError(QStringLiteral("JSON-dokumentet ska vara ett objekt"));
    DocumentJsonHandler handler(in, document, places);
    rapidjson::Reader reader;
    // Iterative, so that no nesting exhausts the stack; numbers are only skipped, so they are
    // checked for their form and never converted.
    // The encoding is checked by the input, which every string callback asks.
    constexpr unsigned flags = rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag;
    const rapidjson::ParseResult result = reader.Parse<flags>(in, handler);
    if (result.IsError()) {
        // A string with a byte that is not UTF-8 fails for that byte, whatever the reader found after it.
        const qint64 invalid = in.firstInvalidUtf8();
        if (invalid < qint64(result.Offset()))
            handler.failAt(size_t(invalid), QStringLiteral("texten är inte giltig UTF-8"));
        handler.failAt(result.Offset(), reasonFor(result, in, handler));
    }
    if (!in.atEnd())
        handler.failAt(in.Tell(), QStringLiteral("oväntad text efter dokumentet"));
    return handler.finish();
}

} // namespace

QString DocumentFromJson(QIODevice& json, OrderDocument& document, JsonRowPlaces& places)
{
    JsonInputStream in(json);
    return readDocument(in, document, places);
}

QString DocumentFromJson(const QByteArray& text, OrderDocument& document, JsonRowPlaces& places)
{
    JsonInputStream in{QByteArrayView(text)};
    return readDocument(in, document, places);
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
