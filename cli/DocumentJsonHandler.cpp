#include "cli/DocumentJsonHandler.h"

#include "app/OrderDocument.h"
#include "cli/JsonAmount.h"
#include "cli/JsonInputStream.h"
#include "format/ListExport.h"
#include "rules/QuotedText.h"

#include <stdexcept>

namespace {

// Deeper than any document of this tool could need, far shallower than the stack allows.
constexpr int MaxDepth = 256;

// The column of the amount in the rows of the payment and change lists (the caption is 0).
constexpr int PaymentAmountColumn = 3;
constexpr int ChangeAmountColumn = 4;

// The rows of a list read before it is given room for the rest of the document.
constexpr int RowsBeforeReserving = 4096;

// Turns the JSON amount into the row form; one not in the JSON form stays as it is and is listed.
void takeAmount(QString& amount, int line, JsonRowPlaces& places, const QLocale& locale)
{
    if (amount.isEmpty() || TakePlainJsonAmount(amount, locale))
        return;
    if (const std::optional<QString> row = RowAmountFromJson(amount, locale))
        amount = *row;
    else
        places.problems.append({line, QStringLiteral("Belopp"), JsonAmountFormMessage(amount)});
}

// A record code that the reader can give a change row: "3" for 03 and 20 to 29, though the writer
// writes only 3 and 23 to 29. The row checks refuse the others, as check does in a file; a text
// no file can give is no code.
bool isRecordCodeText(const QString& code)
{
    return code == QLatin1String("3") || (code.size() == 2 && code[0] == QLatin1Char('2') &&
                                          code[1] >= QLatin1Char('0') && code[1] <= QLatin1Char('9'));
}

} // namespace

DocumentJsonHandler::DocumentJsonHandler(JsonInputStream& in, OrderDocument& document, JsonRowPlaces& places)
    : m_in(in), m_document(document), m_places(places)
{
}

void DocumentJsonHandler::failAt(size_t offset, const QString& what) const
{
    throw DocumentJsonError(QStringLiteral("Ogiltig JSON vid tecken %1: %2").arg(offset).arg(what));
}

// Decodes UTF-8 into target, reusing its storage; bytes that are not UTF-8 (an escaped lone
// surrogate among them) are refused rather than replaced, so that no text reaches the document
// changed.
void DocumentJsonHandler::decodeInto(QString& target, const char* text, rapidjson::SizeType length)
{
    target.resize(qsizetype(length) + 1);
    // Plain ASCII, the text of almost every cell, needs no decoder.
    QChar* out = target.data();
    rapidjson::SizeType i = 0;
    while (i < length && static_cast<unsigned char>(text[i]) < 0x80) {
        out[i] = QLatin1Char(text[i]);
        ++i;
    }
    if (i == length) {
        target.truncate(qsizetype(length));
        return;
    }
    const QChar* end = m_decoder.appendToBuffer(target.data(), QByteArrayView(text, qsizetype(length)));
    if (m_decoder.hasError())
        failAt(m_in.Tell(), QStringLiteral("texten är inte giltig UTF-8"));
    target.truncate(end - target.constData());
}

QString DocumentJsonHandler::rowName() const
{
    return QStringLiteral("%1[%2]").arg(m_key).arg(m_rowIndex);
}

// A value of this kind where the document wants another.
void DocumentJsonHandler::refuseValue(const QString& kind) const
{
    switch (m_state) {
    case State::MemberValue:
        if (m_member == Member::Service)
            throw DocumentJsonError(QStringLiteral("\"service\" ska vara en text"));
        throw DocumentJsonError(QStringLiteral("\"%1\" ska vara en lista").arg(QuotedText::Short(m_key)));
    case State::List:
        throw DocumentJsonError(QStringLiteral("%1 är inte en lista av texter").arg(rowName()));
    case State::Row:
        throw DocumentJsonError(QStringLiteral("%1 innehåller %2, som inte är en text").arg(rowName(), kind));
    case State::Codes:
        throw DocumentJsonError(QStringLiteral("MakCodes[%1] ska vara en text").arg(m_makCodes.size()));
    default:
        throw DocumentJsonError(QStringLiteral("JSON-dokumentet ska vara ett objekt"));
    }
}

bool DocumentJsonHandler::number()
{
    scalar(QStringLiteral("ett tal"));
    m_lastWasNumber = true;
    return true;
}

bool DocumentJsonHandler::scalar(const QString& kind)
{
    m_lastWasNumber = false;
    if (m_state == State::Skipped) {
        checkSkippedDepth();
        return true;
    }
    if (m_state == State::MemberValue && m_member == Member::Other) {
        m_state = State::Members;
        return true;
    }
    refuseValue(kind);
}

// Every string passes here or through Key(), so a byte that is not UTF-8 is found in the string
// that holds it.
void DocumentJsonHandler::refuseInvalidUtf8() const
{
    const qint64 invalid = m_in.firstInvalidUtf8();
    if (invalid < qint64(m_in.Tell()))
        failAt(size_t(invalid), QStringLiteral("texten är inte giltig UTF-8"));
}

bool DocumentJsonHandler::String(const char* text, rapidjson::SizeType length, bool)
{
    m_lastWasNumber = false;
    refuseInvalidUtf8();
    switch (m_state) {
    case State::Row:
        if (m_cellCount < m_columns)
            decodeInto(m_cellCount == 0 ? m_caption : m_cells[m_cellCount - 1], text, length);
        ++m_cellCount;
        return true;
    case State::Codes:
        m_makCodes.append(QString());
        decodeInto(m_makCodes.last(), text, length);
        return true;
    case State::MemberValue:
        if (m_member == Member::Service) {
            decodeInto(m_service, text, length);
            ParseServiceName(m_service);
        } else if (m_member != Member::Other) {
            refuseValue(QStringLiteral("en text"));
        }
        m_state = State::Members;
        return true;
    default:
        return scalar(QStringLiteral("en text"));
    }
}

bool DocumentJsonHandler::Key(const char* text, rapidjson::SizeType length, bool)
{
    m_lastWasNumber = false;
    refuseInvalidUtf8();
    if (m_state == State::Skipped) {
        checkSkippedDepth();
        return true;
    }
    decodeInto(m_key, text, length);
    // A second member of the same name would silently replace the first.
    if (m_seen.contains(m_key))
        throw DocumentJsonError(QStringLiteral("\"%1\" förekommer två gånger").arg(QuotedText::Short(m_key)));
    m_seen.insert(m_key);
    if (m_key == QLatin1String("service"))
        m_member = Member::Service;
    else if (m_key == QLatin1String("BtuList"))
        m_member = Member::Btu;
    else if (m_key == QLatin1String("MdgList"))
        m_member = Member::Mdg;
    else if (m_key == QLatin1String("MdgListComp"))
        m_member = Member::MdgComp;
    else if (m_key == QLatin1String("MakList"))
        m_member = Member::Mak;
    else if (m_key == QLatin1String("MakCodes"))
        m_member = Member::Codes;
    else
        m_member = Member::Other; // "openingRecords" and anything else
    m_state = State::MemberValue;
    return true;
}

bool DocumentJsonHandler::StartObject()
{
    m_lastWasNumber = false;
    if (m_state == State::BeforeRoot)
        m_state = State::Members;
    else if (m_state == State::Skipped || (m_state == State::MemberValue && m_member == Member::Other))
        openSkipped();
    else
        refuseValue(QStringLiteral("ett objekt"));
    return true;
}

bool DocumentJsonHandler::EndObject(rapidjson::SizeType)
{
    m_lastWasNumber = false;
    if (m_state == State::Skipped)
        closeSkipped();
    else
        m_state = State::AfterRoot;
    return true;
}

bool DocumentJsonHandler::StartArray()
{
    m_lastWasNumber = false;
    switch (m_state) {
    case State::List:
        startRow();
        break;
    case State::Skipped:
        openSkipped();
        break;
    case State::MemberValue:
        if (m_member == Member::Other)
            openSkipped();
        else if (m_member == Member::Codes)
            m_makCodes.clear(), m_state = State::Codes;
        else if (m_member != Member::Service)
            startList();
        else
            refuseValue(QStringLiteral("en lista"));
        break;
    default:
        refuseValue(QStringLiteral("en lista"));
    }
    return true;
}

bool DocumentJsonHandler::EndArray(rapidjson::SizeType)
{
    m_lastWasNumber = false;
    switch (m_state) {
    case State::Row:
        finishRow();
        ++m_rowIndex;
        m_state = State::List;
        break;
    case State::Skipped:
        closeSkipped();
        break;
    default: // the end of a list or of MakCodes
        m_state = State::Members;
    }
    return true;
}

void DocumentJsonHandler::startList()
{
    m_amountColumn = -1;
    switch (m_member) {
    case Member::Btu:
        m_list = &m_document.BtuList;
        m_lines = &m_places.lines.btu;
        m_amountColumn = PaymentAmountColumn;
        break;
    case Member::Mdg:
        m_list = &m_document.MdgList;
        m_lines = &m_places.lines.mdg;
        break;
    case Member::MdgComp:
        m_list = &m_document.MdgListComp;
        m_lines = &m_places.lines.mdgComp;
        break;
    default:
        m_list = nullptr; // the change rows wait for their codes
        m_lines = &m_places.lines.mak;
        m_amountColumn = ChangeAmountColumn;
        m_makRows.clear();
    }
    m_columns = (m_list ? m_list->subItemCount() : MakRowList::SubItemCount) + 1;
    if (m_list)
        m_list->clear();
    m_lines->clear();
    m_listStart = m_in.Tell();
    m_cells = QStringList(m_columns - 1);
    m_rowIndex = 0;
    m_state = State::List;
}

// Once the first rows of a list show how long a row is, room for as many as the rest of the
// document could hold, so that no list of a large document is copied again and again as it grows.
void DocumentJsonHandler::reserveRows()
{
    const qint64 total = qint64(m_in.totalSize());
    const qint64 taken = qint64(m_in.Tell() - m_listStart);
    if (total <= 0 || taken <= 0)
        return;
    const qint64 more = (total - qint64(m_in.Tell())) * m_rowIndex / taken;
    const int rows = int(qMin<qint64>(m_rowIndex + more + 16, 1 << 24));
    if (m_list)
        m_list->reserve(rows);
    else
        m_makRows.reserve(rows);
    m_lines->reserve(rows);
}

void DocumentJsonHandler::startRow()
{
    if (m_rowIndex == RowsBeforeReserving)
        reserveRows();
    m_rowLine = m_in.line();
    m_lines->append(m_rowLine);
    m_cellCount = 0;
    m_state = State::Row;
}

void DocumentJsonHandler::finishRow()
{
    // A change row written before the reference column has one text less: it reads with an empty one.
    if (!m_list && m_cellCount == MakRowList::SubItemCountWithoutReference + 1)
        m_cells[m_cellCount++ - 1].truncate(0);
    if (m_cellCount != m_columns)
        throw DocumentJsonError(QStringLiteral("%1 har %2 kolumner, men ska ha %3")
                                    .arg(rowName())
                                    .arg(m_cellCount)
                                    .arg(m_columns));
    if (m_amountColumn >= 0)
        takeAmount(m_cells[m_amountColumn - 1], m_rowLine, m_places, m_locale);
    try {
        appendRow();
    } catch (const std::invalid_argument&) {
        refuseLongRow();
    }
}

void DocumentJsonHandler::appendRow()
{
    if (m_list)
        m_list->append(m_caption, m_cells);
    else
        m_makRows.append(ListRow(m_caption, m_cells));
}

// A row holds at most a row's limit of text. The row's longest text is named as a finding of the
// row, and the row is kept without it so that the rows after it keep their places; a document
// with a finding is never written.
void DocumentJsonHandler::refuseLongRow()
{
    ListId list = ListId::Mak;
    if (m_member == Member::Btu)
        list = ListId::Btu;
    else if (m_member == Member::Mdg)
        list = ListId::Mdg;
    else if (m_member == Member::MdgComp)
        list = ListId::MdgComp;
    const QStringList captions = ListCaptions(list, m_service != QLatin1String("Företag"));
    const auto cell = [&](int column) -> QString& { return column == 0 ? m_caption : m_cells[column - 1]; };
    for (;;) {
        int longest = 0;
        for (int column = 1; column < m_columns; ++column) {
            if (cell(column).size() > cell(longest).size())
                longest = column;
        }
        m_places.problems.append(
            {m_rowLine, captions.value(longest),
             QStringLiteral("Fältet har %1 tecken, men en rad får ha högst %2 tecken sammanlagt.")
                 .arg(cell(longest).size())
                 .arg(ListRow::MaxText)});
        cell(longest).clear();
        try {
            appendRow();
            return;
        } catch (const std::invalid_argument&) {
        }
    }
}

// Skipped values are counted, not recursed into, so no nesting can exhaust the stack; an empty
// container one level past the bound is still allowed.
void DocumentJsonHandler::openSkipped()
{
    checkSkippedDepth();
    if (m_skippedDepth >= MaxDepth) {
        m_tooDeep = true;
        m_tooDeepAt = m_in.Tell();
        return;
    }
    ++m_skippedDepth;
    m_state = State::Skipped;
}

void DocumentJsonHandler::closeSkipped()
{
    if (m_tooDeep) {
        m_tooDeep = false;
        return;
    }
    if (--m_skippedDepth == 0)
        m_state = State::Members;
}

void DocumentJsonHandler::checkSkippedDepth()
{
    if (m_tooDeep)
        failAt(m_tooDeepAt, QStringLiteral("dokumentet är för djupt nästlat"));
}

QString DocumentJsonHandler::finish()
{
    for (const char* required : {"BtuList", "MdgList", "MdgListComp", "MakList", "MakCodes"}) {
        if (!m_seen.contains(QLatin1String(required)))
            throw DocumentJsonError(QStringLiteral("\"%1\" saknas").arg(QLatin1String(required)));
    }
    if (m_makCodes.size() != m_makRows.size())
        throw DocumentJsonError(QStringLiteral("MakCodes har %1 koder men MakList har %2 rader")
                                    .arg(m_makCodes.size())
                                    .arg(m_makRows.size()));
    for (int i = 0; i < m_makCodes.size(); ++i) {
        if (!isRecordCodeText(m_makCodes[i]))
            throw DocumentJsonError(
                QStringLiteral("MakCodes[%1] \"%2\" är ingen kod för makulering eller ändring (3, 23–29)")
                    .arg(i)
                    .arg(QuotedText::Short(m_makCodes[i])));
    }
    m_document.MakList.clear();
    m_document.MakList.reserve(int(m_makRows.size()));
    for (int i = 0; i < m_makRows.size(); ++i)
        m_document.MakList.append(m_makCodes[i], std::move(m_makRows[i]));
    return m_service;
}
