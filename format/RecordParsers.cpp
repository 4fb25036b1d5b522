#include "format/RecordParsers.h"

#include "app/OrderDocument.h"
#include "format/OpeningRecordPolicy.h"
#include "format/TextPiece.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/Periods.h"
#include "rules/ValmoError.h"

#include <QDate>

namespace {

// The payment date field of a payment to be made at once.
QLatin1String ImmediatePaymentField()
{
    return QLatin1String("GENAST  ");
}

// The field at a position counted from 1, cut where the line ends.
QStringView field(QStringView line, int position, int width)
{
    const qsizetype begin = position - 1;
    if (begin >= line.size())
        return {};
    return line.mid(begin, qMin<qsizetype>(width, line.size() - begin));
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView text)
{
    for (const QChar c : text) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

bool allBlank(QStringView text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

bool isAll(QStringView text, char c, int width)
{
    if (text.size() != width)
        return false;
    for (const QChar ch : text) {
        if (ch != QLatin1Char(c))
            return false;
    }
    return true;
}

// Leading zeros removed, as StripLeadingZeros with the keep-one flag clear.
QStringView zeroStripped(QStringView text)
{
    return LeadingZerosStripped(text, false);
}

// A line that ends inside a number field would give a shorter number, or another one: refused.
void requireWhole(QStringView line, int position, int width, const char* name)
{
    const qsizetype begin = position - 1;
    if (line.size() > begin && line.size() < begin + width)
        throw ConversionError(QStringLiteral("Raden slutar inne i fältet %1 (position %2-%3).")
                                  .arg(QString::fromUtf8(name))
                                  .arg(position)
                                  .arg(position + width - 1));
}

// Blanks that fill a text field at its end removed; blanks at its start belong to the text.
QStringView trailingBlanksRemoved(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}

int twoDigits(QStringView text, int at)
{
    return (text[at].unicode() - '0') * 10 + (text[at + 1].unicode() - '0');
}

// yyyymmdd as "yyyy-mm-dd", put together in the piece. A field that is not a valid date fails as
// ParseDateText does, with the text assembled from the field's pieces.
QStringView dateView(QStringView field, TextPiece& piece)
{
    piece.append(field.mid(0, 4));
    piece.append(u'-');
    if (field.size() > 4)
        piece.append(field.mid(4, 2));
    piece.append(u'-');
    if (field.size() > 6)
        piece.append(field.mid(6, 2));
    if (field.size() == 8 && allDigits(field)) {
        const int year = twoDigits(field, 0) * 100 + twoDigits(field, 2);
        if (year >= 1 && QDate::isValid(year, twoDigits(field, 4), twoDigits(field, 6)))
            return piece.view();
    }
    piece.set(FormatDateText(ParseDateText(piece.view().toString())));
    return piece.view();
}

// A date column of a change record: blanks or eight zeros mean no date. A field that the end of
// a short line has cut, or removed, counts as blank when what is left is blank.
QStringView optionalDateView(QStringView field, TextPiece& piece)
{
    if (allBlank(field) || isAll(field, '0', 8))
        return {};
    return dateView(field, piece);
}

// An amount field: a whole number of öre, blanks around it and a sign allowed.
qint64 oreAmount(QStringView field)
{
    const QStringView text = SpacesTrimmed(field);
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    const QStringView digits = text.mid(pos);
    if (digits.isEmpty() || digits.size() > 18 || !allDigits(digits))
        throw ConversionError::invalidFloat(field.toString());
    qint64 value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - '0');
    return negative ? -value : value;
}

} // namespace

RecordParsers::RecordParsers(OrderDocument& document, OpeningRecordPolicy& policy)
    : m_document(document), m_policy(policy), m_privateService(document.PrivateService)
{
    for (int i = 0; i < 10; ++i)
        m_periodTexts[size_t(i)] = PeriodCodeToText(QString(QLatin1Char(char('0' + i))));
    m_periodTexts[10] = PeriodCodeToText(QString());
    for (int i = 0; i < int(m_codeTexts.size()); ++i)
        m_codeTexts[size_t(i)] = QString::number(i);
    learnAmountForm();
}

// How the locale writes whole kronor: when it is ASCII digits in groups of three with one
// separator, or no grouping at all, amounts are put together here without asking it per row.
void RecordParsers::learnAmountForm()
{
    m_negativeSign = m_locale.negativeSign();
    m_decimalPoint = m_locale.decimalPoint();
    const QString sample = m_locale.toString(qulonglong(1234567));
    if (sample == QLatin1String("1234567")) {
        m_groupsByThree = true;
        return;
    }
    if (sample.size() <= 7 || (sample.size() - 7) % 2 != 0)
        return;
    const QString group = sample.mid(1, (sample.size() - 7) / 2);
    const QString expected =
        QStringLiteral("1") + group + QStringLiteral("234") + group + QStringLiteral("567");
    if (!group.isEmpty() && sample == expected) {
        m_groupSeparator = group;
        m_groupsByThree = true;
    }
}

bool RecordParsers::isReportFile(QStringView line)
{
    const QLatin1String marker("9900");
    return field(line, 19, 4) == marker || field(line, 11, 4) == marker ||
           line.startsWith(QLatin1String("01AUTOGIRO"));
}

ReadVerdict::Outcome RecordParsers::parseOpeningRecord(QStringView line, int lineNumber)
{
    if (isReportFile(line))
        return ReadVerdict::Outcome::ReportFile;
    // Only the order file's own opening record names the payee; other "01" layouts carry
    // something else at 63-78.
    if (field(line, 11, 8) != QLatin1String("AUTOGIRO"))
        return ReadVerdict::Outcome::UnsupportedContent;
    requireWhole(line, 63, 6, "Kundnummer");
    requireWhole(line, 69, 10, "Bankgironummer");
    OpeningRecord record;
    record.lineNumber = lineNumber;
    record.customerNumber = zeroStripped(SpacesTrimmed(field(line, 63, 6))).toString();
    record.bankgiroNumber = zeroStripped(SpacesTrimmed(field(line, 69, 10))).toString();
    return m_policy.acceptOpeningRecord(record) ? ReadVerdict::Outcome::Loaded
                                                : ReadVerdict::Outcome::PayeeDeclined;
}

bool RecordParsers::isCompanyMandate(QStringView line)
{
    return allBlank(line.mid(qMin<qsizetype>(28, line.size())));
}

ReadVerdict::Outcome RecordParsers::parseMandate(QStringView line)
{
    requireWhole(line, 3, 10, "Bankgironummer");
    requireWhole(line, 13, 16, "Betalarnummer");
    if (isCompanyMandate(line) == m_privateService)
        return ReadVerdict::Outcome::ServiceMismatch;
    const QString payer = payerText(field(line, 13, 16), 13);
    if (!m_privateService) {
        m_document.MdgListComp.append(ListRow({payer}));
        return ReadVerdict::Outcome::Loaded;
    }
    requireWhole(line, 29, 16, "Kontonummer");
    requireWhole(line, 45, 12, "Personnummer");
    const QStringView account = field(line, 29, 16);
    const QStringView accountStripped = zeroStripped(account);
    const bool rejected = field(line, 77, 2) == QLatin1String("AV");
    const bool electronic =
        rejected || accountStripped.startsWith(QLatin1String("9918")) || account.startsWith(QLatin1Char('0'));
    QString type;
    QString accountText;
    if (electronic) {
        type = rejected ? RowTexts::rejectedMandate() : RowTexts::electronicMandate();
        accountText = accountStripped.toString();
    } else {
        type = RowTexts::paperMandate();
        accountText = FormatClearingAccount(account.toString());
    }
    // The mandate dialog gives a payer number of seven or eight digits a dash.
    m_document.MdgList.append(ListRow({type, FormatBankgiroNumber(payer), accountText,
                                       FormatPersonNumber(field(line, 45, 12).toString())}));
    return ReadVerdict::Outcome::Loaded;
}

const QString& RecordParsers::codeText(int code)
{
    return m_codeTexts[size_t(code)];
}

void RecordParsers::parseCancellation(QStringView line)
{
    // The code is "3" for "03" and the two characters otherwise; the second must be a digit.
    const QStringView codeField = field(line, 1, 2);
    int code = 0;
    if (codeField.size() == 2 && codeField[0] == QLatin1Char('0') && isDigit(codeField[1]))
        code = codeField[1].unicode() - '0';
    else if (allDigits(codeField))
        code = codeField.size() == 2 ? twoDigits(codeField, 0) : codeField[0].unicode() - '0';
    else
        throw ConversionError::invalidInteger(StripLeadingZeros(codeField.toString(), true));

    const QStringView transaction = field(line, 49, 2);
    QString transactionType;
    if (transaction == QLatin1String("32"))
        transactionType = CreditText();
    else if (transaction == QLatin1String("82"))
        transactionType = DebitText();

    requireWhole(line, 3, 10, "Bankgironummer");
    requireWhole(line, 13, 16, "Betalarnummer");
    requireWhole(line, 29, 8, "Betalningsdag");
    requireWhole(line, 37, 12, "Belopp");
    requireWhole(line, 49, 2, "Transaktionstyp");
    requireWhole(line, 51, 8, "Ny betaldag");
    // The columns are converted left to right, so a line with several bad fields names the first.
    // The change dialog formats every payer as a bankgiro number is shown; the changes of all of
    // a payee's payments (26, 27) have no payer, blank or zeros.
    const QString payer = FormatBankgiroNumber(payerText(field(line, 13, 16), 13));
    TextPiece paymentDate;
    TextPiece newDate;
    TextPiece amountPiece;
    const QStringView paymentDateText = optionalDateView(field(line, 29, 8), paymentDate);
    const QStringView newDateText = optionalDateView(field(line, 51, 8), newDate);
    const QStringView amount = field(line, 37, 12);
    // The cancellation and the change of one payment name its amount, zero included; for the other
    // requests a zero amount is no amount.
    const bool hasReference = code == 25 || code == 29;
    const bool noAmount = allBlank(amount) || (!hasReference && isAll(amount, '0', 12));
    const QStringView amountColumn = noAmount ? QStringView() : amountView(amount, amountPiece);
    m_document.MakList.append(
        codeText(code),
        ListRow({m_document.MakText(code), payer, paymentDateText, newDateText, amountColumn, transactionType,
                 hasReference ? trailingBlanksRemoved(field(line, 59, 16)) : QStringView()}));
}

void RecordParsers::parsePayment(QStringView line)
{
    const QString& type = field(line, 1, 2) == QLatin1String("32") ? CreditText() : DebitText();

    const QStringView periodCode = field(line, 11, 1);
    const QString& period = (periodCode.size() == 1 && isDigit(periodCode[0]))
                                ? m_periodTexts[size_t(periodCode[0].unicode() - '0')]
                                : m_periodTexts[10];

    requireWhole(line, 3, 8, "Betalningsdag");
    requireWhole(line, 12, 3, "Antal");
    requireWhole(line, 16, 16, "Betalarnummer");
    requireWhole(line, 32, 12, "Belopp");
    requireWhole(line, 44, 10, "Bankgironummer");

    // The repeat count: its digits, leading zeros removed. A one-off payment has the count 1, as
    // the payment dialog shows it, though the record leaves the field blank.
    TextPiece count;
    for (const QChar c : field(line, 12, 3)) {
        if (isDigit(c) && !(count.isEmpty() && c == QLatin1Char('0')))
            count.append(c.unicode());
    }
    if (count.isEmpty() && period == RowTexts::oneOffPayment())
        count.append(u'1');

    const QStringView date = field(line, 3, 8);
    TextPiece datePiece;
    const QStringView dateColumn =
        date == ImmediatePaymentField() ? QStringView(immediatePayment()) : dateView(date, datePiece);
    TextPiece amount;
    const QStringView amountColumn = amountView(field(line, 32, 12), amount);
    TextPiece payer;
    const QStringView payerColumn = payerView(field(line, 16, 16), 16, payer);
    m_document.BtuList.append(ListRow({type, period, dateColumn, amountColumn, count.view(), payerColumn,
                                       trailingBlanksRemoved(field(line, 54, 16))}));
}

const QString& RecordParsers::immediatePayment()
{
    static const QString text = RowTexts::immediatePayment();
    return text;
}

// Kronor with two decimals and the user's digit grouping, as the amount fields of the dialogs show
// an amount.
QStringView RecordParsers::amountView(QStringView field, TextPiece& piece) const
{
    const qint64 ore = oreAmount(field);
    const bool negative = ore < 0;
    const quint64 magnitude = negative ? quint64(-(ore + 1)) + 1 : quint64(ore);
    const int cents = int(magnitude % 100);
    if (m_groupsByThree) {
        if (negative)
            piece.append(m_negativeSign);
        std::array<char16_t, 20> digits{};
        int count = 0;
        for (quint64 rest = magnitude / 100; rest > 0 || count == 0; rest /= 10)
            digits[size_t(count++)] = char16_t(u'0' + rest % 10);
        for (int i = count - 1; i >= 0; --i) {
            piece.append(digits[size_t(i)]);
            if (i > 0 && i % 3 == 0)
                piece.append(m_groupSeparator);
        }
        piece.append(m_decimalPoint);
        piece.append(char16_t(u'0' + cents / 10));
        piece.append(char16_t(u'0' + cents % 10));
        return piece.view();
    }
    QString text = negative ? m_negativeSign : QString();
    text += m_locale.toString(qulonglong(magnitude / 100));
    text += m_decimalPoint;
    text += QLatin1Char(char('0' + cents / 10));
    text += QLatin1Char(char('0' + cents % 10));
    piece.set(std::move(text));
    return piece.view();
}

// The payer of a record: the number without leading zeros as the payment dialog leaves it, or
// under the company service the payer's bankgiro number in display form. Blanks around the digits
// do not count, and a blank field gives an empty text; a field with anything but digits would lose
// those characters on the next save, so it is refused.
QString RecordParsers::payerText(QStringView field, int position) const
{
    TextPiece piece;
    return payerView(field, position, piece).toString();
}

QStringView RecordParsers::payerView(QStringView field, int position, TextPiece& piece) const
{
    const QStringView digits = SpacesTrimmed(field);
    if (!allDigits(digits))
        throw ConversionError(
            QStringLiteral("Betalarnumret '%1' (position %2-%3) får bara innehålla siffror.")
                .arg(field.toString())
                .arg(position)
                .arg(position + 15));
    if (m_privateService)
        return zeroStripped(digits);
    piece.set(FormatBankgiroNumber(digits.toString()));
    return piece.view();
}
