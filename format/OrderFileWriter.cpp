#include "format/OrderFileWriter.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "format/ListExport.h"
#include "format/ReplacingFile.h"
#include "progress/Progress.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/Periods.h"
#include "rules/QuotedText.h"
#include "rules/Win1252.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

// Records are handed to the device in chunks of this size.
constexpr qsizetype ChunkSize = 64 * 1024;
// Records between two reports to the progress.
constexpr qint64 ProgressEvery = 4096;
constexpr int LineLength = OrderFileWriter::RecordLength + 2;

// Column numbers of the rows (0 is the caption).
namespace PaymentColumn {
constexpr int Typ = 0, Period = 1, Betalningsdag = 2, Belopp = 3, Antal = 4, Betalarnummer = 5, Referens = 6;
}
namespace MandateColumn {
constexpr int Typ = 0, Betalarnummer = 1, KontoId = 2, Personnummer = 3;
}
namespace ChangeColumn {
constexpr int Betalarnummer = 1, Betalningsdag = 2, NyBetaldag = 3, Belopp = 4, Transaktionstyp = 5,
              Referens = 6;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString describeCharacter(char16_t c)
{
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || QChar::isSurrogate(c))
        return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    return QString(QChar(c));
}

[[noreturn]] void throwUnwritableCharacter(QStringView text, char16_t c)
{
    throw ConversionError(
        QStringLiteral("Texten '%1' innehåller tecknet '%2', som inte kan skrivas i en Autogirofil.")
            .arg(QuotedText::Short(text), describeCharacter(c)),
        text.toString());
}

// Encodes the part of a field's text that is written; a failure names the whole text, so the
// user can find the row it comes from.
void encodeInto(char* dest, QStringView written, QStringView wholeText)
{
    for (qsizetype i = 0; i < written.size(); ++i) {
        const int byte = OrderFields::OrderFileByte(written[i].unicode());
        if (byte < 0)
            throwUnwritableCharacter(wholeText, written[i].unicode());
        dest[i] = char(byte);
    }
}

// The two-byte code of a transaction type, or nullptr for any other text.
const char* transactionCode(QStringView typ)
{
    if (typ == CreditText())
        return "32";
    if (typ == DebitText())
        return "82";
    return nullptr;
}

char periodCode(QStringView period)
{
    const QStringList& texts = PeriodTexts();
    for (int i = 0; i < texts.size(); ++i) {
        if (period == texts[i])
            return char('0' + i);
    }
    return 'X';
}

// A date column holds no date when its text is shorter than 2 characters.
void optionalDateField(char* dest, QStringView text)
{
    if (text.size() < 2)
        OrderFields::BlankField(dest, 8);
    else
        OrderFields::DateField(dest, text);
}

// Positions 12-15 of a payment record: the number of payments, zero-filled to three digits and a
// blank, or four blanks for a one-off payment and for an empty or zero count.
void repeatCountField(char* dest, QStringView period, QStringView antal)
{
    OrderFields::BlankField(dest, 4);
    if (period == RowTexts::oneOffPayment() || antal.isEmpty())
        return;
    int count = 0;
    if (antal.size() <= 3 && std::all_of(antal.begin(), antal.end(), isDigit)) {
        for (const QChar c : antal)
            count = count * 10 + (c.unicode() - '0');
    } else {
        count = StrToInt(antal.toString());
    }
    if (count == 0)
        return;
    // A count outside 1..999 would lose digits or put a sign into the field.
    if (count < 0 || count > 999)
        throw ConversionError(
            QStringLiteral("Antalet '%1' kan inte skrivas i filen. Antalet ska vara mellan 1 och 999.")
                .arg(antal.toString()),
            antal.toString());
    dest[0] = char('0' + count / 100);
    dest[1] = char('0' + count / 10 % 10);
    dest[2] = char('0' + count % 10);
}

// The amount in öre: the digits of the amount text. The record has no room for a sign, so a
// negative amount is refused rather than written as a positive one.
void amountField(char* dest, QStringView amount)
{
    if (amount.contains(QLatin1Char('-')) || amount.contains(QChar(0x2212)))
        throw ConversionError(
            QStringLiteral("Beloppet '%1' är negativt och kan inte skrivas i filen.").arg(amount.toString()),
            amount.toString());
    OrderFields::DigitField(dest, amount, 12);
}

void putText(char*& cursor, const char* text, int width)
{
    std::memcpy(cursor, text, size_t(width));
    cursor += width;
}

// The caption of the column whose text the conversion names: the column holding exactly that
// text, else one that contains it (an account number's part); empty when none does.
QString failedField(const ListRow& row, const QStringList& captions, const QString& value)
{
    if (value.isEmpty())
        return QString();
    const int columns = qMin(row.columnCount(), int(captions.size()));
    for (int column = 0; column < columns; ++column) {
        if (row.textView(column) == value)
            return captions[column];
    }
    for (int column = 0; column < columns; ++column) {
        if (row.textView(column).contains(value))
            return captions[column];
    }
    return QString();
}

// "Texten …" continues a sentence after a colon as "texten …".
QString continuingSentence(QString text)
{
    if (text.size() > 1 && text[0].isUpper() && text[1].isLower())
        text[0] = text[0].toLower();
    return text;
}

QString rowWriteText(ListId list, int row, const QString& field, const QString& reason)
{
    const QString where = QStringLiteral("Rad %1 i %2").arg(row).arg(ListName(list));
    if (field.isEmpty())
        return QStringLiteral("%1: %2").arg(where, continuingSentence(reason));
    return QStringLiteral("%1, fältet %2: %3").arg(where, field, continuingSentence(reason));
}

} // namespace

RowWriteError::RowWriteError(ListId list, int row, QString field, const ConversionError& cause)
    : ConversionError(rowWriteText(list, row, field, cause.text()), cause.value()), m_list(list), m_row(row),
      m_field(std::move(field)), m_reason(cause.text())
{
}

PayeeNumbers ReadPayeeNumbers()
{
    PayeeNumbers payee = SettingsStore::payeeNumbers();
    if (payee.customerNumber.isEmpty())
        payee.customerNumber = QStringLiteral("KUNDNR");
    if (payee.bankgiroNumber.isEmpty())
        payee.bankgiroNumber = QStringLiteral("BANKGIRONR");
    return payee;
}

// ---- Fields -------------------------------------------------------------------------------

int OrderFields::OrderFileByte(char16_t c)
{
    if (c < 0x20 || c == 0x7F)
        return -1;
    return UnicodeToWin1252(c);
}

void OrderFields::DigitField(char* dest, QStringView source, int width)
{
    int filled = 0;
    for (qsizetype i = source.size() - 1; i >= 0 && filled < width; --i) {
        if (isDigit(source[i]))
            dest[width - 1 - filled++] = char(source[i].unicode());
    }
    std::memset(dest, '0', size_t(width - filled));
}

void OrderFields::ZeroFilledTextField(char* dest, QStringView source, int width)
{
    if (source.size() >= width) {
        encodeInto(dest, source.right(width), source);
        return;
    }
    const int zeros = width - int(source.size());
    std::memset(dest, '0', size_t(zeros));
    encodeInto(dest + zeros, source, source);
}

void OrderFields::TextField(char* dest, QStringView source, int width)
{
    const QStringView kept = source.left(width);
    encodeInto(dest, kept, source);
    std::memset(dest + kept.size(), ' ', size_t(width - kept.size()));
}

void OrderFields::DateField(char* dest, QStringView source)
{
    // The row form yyyy-mm-dd is read directly; any other form goes through the common parser,
    // which accepts or refuses it exactly as everywhere else in the program.
    const bool rowForm = source.size() == 10 && source[4] == QLatin1Char('-') &&
                         source[7] == QLatin1Char('-') && isDigit(source[0]) && isDigit(source[1]) &&
                         isDigit(source[2]) && isDigit(source[3]) && isDigit(source[5]) &&
                         isDigit(source[6]) && isDigit(source[8]) && isDigit(source[9]);
    if (rowForm) {
        auto number = [&](int from, int count) {
            int value = 0;
            for (int i = from; i < from + count; ++i)
                value = value * 10 + (source[i].unicode() - '0');
            return value;
        };
        if (QDate::isValid(number(0, 4), number(5, 2), number(8, 2))) {
            const char16_t* text = reinterpret_cast<const char16_t*>(source.utf16());
            const int positions[8] = {0, 1, 2, 3, 5, 6, 8, 9};
            for (int i = 0; i < 8; ++i)
                dest[i] = char(text[positions[i]]);
            return;
        }
    }
    const QDate date = ParseDateText(source.toString());
    const QByteArray text = date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    if (text.size() != 8)
        throw ConversionError::invalidDate(source.toString());
    std::memcpy(dest, text.constData(), 8);
}

void OrderFields::BlankField(char* dest, int width)
{
    std::memset(dest, ' ', size_t(width));
}

// ---- Writer -------------------------------------------------------------------------------

OrderFileWriter::OrderFileWriter(QIODevice& out, const PayeeNumbers& payee, const Clock& clock)
    : m_out(out), m_clock(clock)
{
    OrderFields::DigitField(m_customerField, payee.customerNumber, 6);
    OrderFields::DigitField(m_bankgiroField, payee.bankgiroNumber, 10);
    m_buffer.resize(ChunkSize);
}

char* OrderFileWriter::beginRecord()
{
    if (m_buffer.size() - m_used < LineLength)
        flush();
    return m_buffer.data() + m_used;
}

void OrderFileWriter::endRecord()
{
    char* end = m_buffer.data() + m_used + RecordLength;
    end[0] = '\r';
    end[1] = '\n';
    m_used += LineLength;
    if (m_progress && ++m_records % ProgressEvery == 0 && !m_progress->carryOn(m_records))
        throw WriteCancelled();
}

void OrderFileWriter::flush()
{
    // A device may take part of a chunk (a file that reaches its size limit does); the rest is
    // offered again, and the refusal that follows carries the system's reason.
    qsizetype done = 0;
    while (done < m_used) {
        const qint64 written = m_out.write(m_buffer.constData() + done, m_used - done);
        if (written <= 0) {
            QString reason = m_out.errorString();
            if (reason.isEmpty())
                reason = QStringLiteral("Skrivningen misslyckades");
            throw OrderFileError(OrderFileError::Stage::Write,
                                 QStringLiteral("Filen kunde inte sparas\n%1").arg(reason), reason);
        }
        done += qsizetype(written);
    }
    m_used = 0;
}

std::optional<RowWriteError> OrderFileWriter::locate(const OrderDocument& doc,
                                                     const ConversionError& error) const
{
    for (const ListId list : {ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak}) {
        const RowList& rows = ListRows(doc, list);
        for (int index = 0; index < rows.count(); ++index) {
            if (&rows.row(index) != m_row)
                continue;
            QString field = failedField(*m_row, ListCaptions(list, doc.PrivateService), error.value());
            // A cancellation or change whose code cannot be written.
            if (field.isEmpty() && list == ListId::Mak && error.value() == doc.MakList.code(index))
                field = QStringLiteral("Kod");
            return RowWriteError(list, index + 1, field, error);
        }
    }
    return std::nullopt;
}

void OrderFileWriter::WriteOpeningRecord()
{
    char* cursor = beginRecord();
    putText(cursor, "01", 2);
    OrderFields::DigitField(cursor, FormatDateText(m_clock.today()), 8);
    cursor += 8;
    putText(cursor, "AUTOGIRO", 8);
    OrderFields::BlankField(cursor, 44);
    cursor += 44;
    putText(cursor, m_customerField, 6);
    putText(cursor, m_bankgiroField, 10);
    OrderFields::BlankField(cursor, 2);
    endRecord();
}

void OrderFileWriter::WriteMandateRecords(const OrderDocument& doc)
{
    const int cancellations = CountMatches(doc.MakCodes(), RowTexts::mandateCancellationCode());
    if (!doc.PrivateService || (doc.MdgList.isEmpty() && cancellations == 0))
        return;
    WriteOpeningRecord();
    for (const ListRow& row : doc.MdgList)
        writePrivateMandateRecord(row);
    writeMandateCancellations(doc);
}

void OrderFileWriter::WriteCompanyMandateRecords(const OrderDocument& doc)
{
    const int cancellations = CountMatches(doc.MakCodes(), RowTexts::mandateCancellationCode());
    if (doc.PrivateService || (doc.MdgListComp.isEmpty() && cancellations == 0))
        return;
    WriteOpeningRecord();
    for (const ListRow& row : doc.MdgListComp)
        writeCompanyMandateRecord(row);
    writeMandateCancellations(doc);
}

void OrderFileWriter::writeMandateCancellations(const OrderDocument& doc)
{
    // The cancellations of mandates follow all new mandates, in the order of MakList.
    const QString code = RowTexts::mandateCancellationCode();
    for (int i = 0; i < doc.MakList.count(); ++i) {
        if (doc.MakList.code(i) == code)
            writeMandateCancellationRecord(doc.MakList.row(i));
    }
}

void OrderFileWriter::WritePaymentRecords(const OrderDocument& doc)
{
    if (doc.BtuList.isEmpty())
        return;
    WriteOpeningRecord();
    for (const ListRow& row : doc.BtuList)
        writePaymentRecord(row);
}

void OrderFileWriter::WriteChangeRecords(const OrderDocument& doc)
{
    const QString mandateCancellation = RowTexts::mandateCancellationCode();
    if (doc.MakList.isEmpty() || CountMatches(doc.MakCodes(), mandateCancellation) == doc.MakList.count())
        return;
    WriteOpeningRecord();
    for (int i = 0; i < doc.MakList.count(); ++i) {
        if (doc.MakList.code(i) != mandateCancellation)
            writeChangeRecord(doc.MakList.code(i), doc.MakList.row(i));
    }
}

void OrderFileWriter::writePaymentRecord(const ListRow& row)
{
    m_row = &row;
    char* cursor = beginRecord();
    const char* code = transactionCode(row.textView(PaymentColumn::Typ));
    putText(cursor, code ? code : "XX", 2);
    const QStringView date = row.textView(PaymentColumn::Betalningsdag);
    if (date == RowTexts::immediatePayment())
        std::memcpy(cursor, "GENAST  ", 8);
    else
        OrderFields::DateField(cursor, date);
    cursor += 8;
    const QStringView period = row.textView(PaymentColumn::Period);
    *cursor++ = periodCode(period);
    repeatCountField(cursor, period, row.textView(PaymentColumn::Antal));
    cursor += 4;
    OrderFields::DigitField(cursor, row.textView(PaymentColumn::Betalarnummer), 16);
    cursor += 16;
    amountField(cursor, row.textView(PaymentColumn::Belopp));
    cursor += 12;
    putText(cursor, m_bankgiroField, 10);
    OrderFields::TextField(cursor, row.textView(PaymentColumn::Referens), 16);
    cursor += 16;
    OrderFields::BlankField(cursor, 11);
    endRecord();
}

void OrderFileWriter::writePrivateMandateRecord(const ListRow& row)
{
    m_row = &row;
    char* cursor = beginRecord();
    putText(cursor, "04", 2);
    putText(cursor, m_bankgiroField, 10);
    OrderFields::DigitField(cursor, row.textView(MandateColumn::Betalarnummer), 16);
    cursor += 16;
    const QStringView typ = row.textView(MandateColumn::Typ);
    const QStringView account = row.textView(MandateColumn::KontoId);
    if (typ == RowTexts::paperMandate()) {
        const ClearingAccountParts parts = SplitClearingAccount(account);
        OrderFields::ZeroFilledTextField(cursor, ClearingWithoutCheckDigit(parts.clearing), 4);
        OrderFields::ZeroFilledTextField(cursor + 4, parts.account, 12);
    } else {
        OrderFields::ZeroFilledTextField(cursor, account, 16);
    }
    cursor += 16;
    const QString civicNumber = PersonNumberField(row.text(MandateColumn::Personnummer), m_clock.today());
    OrderFields::DigitField(cursor, civicNumber, 12);
    cursor += 12;
    OrderFields::BlankField(cursor, 20);
    cursor += 20;
    putText(cursor, typ == RowTexts::rejectedMandate() ? "AV" : "  ", 2);
    OrderFields::BlankField(cursor, 2);
    endRecord();
}

void OrderFileWriter::writeCompanyMandateRecord(const ListRow& row)
{
    m_row = &row;
    char* cursor = beginRecord();
    putText(cursor, "04", 2);
    putText(cursor, m_bankgiroField, 10);
    OrderFields::DigitField(cursor, row.textView(0), 16);
    OrderFields::BlankField(cursor + 16, 52);
    endRecord();
}

void OrderFileWriter::writeMandateCancellationRecord(const ListRow& row)
{
    m_row = &row;
    char* cursor = beginRecord();
    putText(cursor, "03", 2);
    putText(cursor, m_bankgiroField, 10);
    OrderFields::DigitField(cursor, row.textView(ChangeColumn::Betalarnummer), 16);
    OrderFields::BlankField(cursor + 16, 52);
    endRecord();
}

void OrderFileWriter::writeChangeRecord(const QString& code, const ListRow& row)
{
    m_row = &row;
    char* cursor = beginRecord();
    OrderFields::ZeroFilledTextField(cursor, code, 2);
    cursor += 2;
    putText(cursor, m_bankgiroField, 10);
    // The changes of all of a payee's payments name no payer: the field stays blank.
    const bool noPayer = code == QLatin1String("26") || code == QLatin1String("27");
    if (noPayer)
        OrderFields::BlankField(cursor, 16);
    else
        OrderFields::DigitField(cursor, row.textView(ChangeColumn::Betalarnummer), 16);
    cursor += 16;
    optionalDateField(cursor, row.textView(ChangeColumn::Betalningsdag));
    cursor += 8;
    const QStringView amount = row.textView(ChangeColumn::Belopp);
    if (amount.isEmpty())
        OrderFields::BlankField(cursor, 12);
    else
        amountField(cursor, amount);
    cursor += 12;
    const char* transaction = transactionCode(row.textView(ChangeColumn::Transaktionstyp));
    putText(cursor, transaction ? transaction : "  ", 2);
    optionalDateField(cursor, row.textView(ChangeColumn::NyBetaldag));
    cursor += 8;
    // The cancellation and the change of one payment carry its reference.
    const bool hasReference = code == QLatin1String("25") || code == QLatin1String("29");
    const QStringView reference = hasReference && row.columnCount() > ChangeColumn::Referens
                                      ? row.textView(ChangeColumn::Referens)
                                      : QStringView();
    OrderFields::TextField(cursor, reference, 16);
    cursor += 16;
    OrderFields::BlankField(cursor, 6);
    endRecord();
}

// ---- Whole files --------------------------------------------------------------------------

void WriteOrderFile(QIODevice& out, const OrderDocument& doc, const PayeeNumbers& payee, const Clock& clock,
                    Progress* progress)
{
    OrderFileWriter writer(out, payee, clock);
    writer.setProgress(progress);
    try {
        writer.WriteMandateRecords(doc);
        writer.WriteCompanyMandateRecords(doc);
        writer.WritePaymentRecords(doc);
        writer.WriteChangeRecords(doc);
    } catch (const ConversionError& error) {
        if (const std::optional<RowWriteError> located = writer.locate(doc, error))
            throw *located;
        throw;
    }
    writer.flush();
}

void SaveOrderFile(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                   const Clock& clock, Progress* progress)
{
    SaveOrderFileIf(path, doc, payee, clock, [] { return true; }, progress);
}

bool SaveOrderFileIf(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                     const Clock& clock, const std::function<bool()>& mayReplace, Progress* progress)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    const bool existed = target.exists();
    // The new file replaces the old one by renaming, which a write-protected file would not stop.
    if (existed && target.isFile() && !target.isWritable()) {
        const QString reason = QStringLiteral("Filen är skrivskyddad.");
        throw OrderFileError(OrderFileError::Stage::Create,
                             QStringLiteral("Filen kunde inte skapas\n%1\n%2").arg(shownPath, reason),
                             reason);
    }
    ReplacingFile file(path);
    if (!file.open()) {
        const QString reason = file.errorString();
        throw OrderFileError(OrderFileError::Stage::Create,
                             QStringLiteral("Filen kunde inte skapas\n%1\n%2").arg(shownPath, reason),
                             reason);
    }
    auto writeFailed = [&](const QString& reason) {
        QString text = QStringLiteral("Filen kunde inte sparas\n%1\n%2").arg(shownPath, reason);
        if (existed)
            text += QStringLiteral("\nDen tidigare filen är oförändrad.");
        return OrderFileError(OrderFileError::Stage::Write, text, reason);
    };
    try {
        WriteOrderFile(file.device(), doc, payee, clock, progress);
    } catch (const OrderFileError& error) {
        file.cancel();
        throw writeFailed(error.reason());
    }
    if (!mayReplace()) {
        file.cancel();
        return false;
    }
    // commit() syncs and renames; only then is the target replaced.
    if (!file.commit())
        throw writeFailed(file.errorString());
    return true;
}
