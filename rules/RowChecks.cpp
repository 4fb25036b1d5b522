#include "rules/RowChecks.h"

#include "app/OrderDocument.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/Periods.h"
#include "rules/QuotedText.h"
#include "rules/ValmoError.h"

#include <QLocale>

#include <algorithm>
#include <functional>

namespace {

// The widest reference the payment dialog's field takes and the record holds.
constexpr int ReferenceLength = 16;
constexpr int LargestCount = 999;

// The findings of one row, in the order its dialog checks its fields.
class Collector
{
public:
    void add(int line, const QString& column, const QString& message)
    {
        if (!message.isEmpty())
            m_problems.append({line, column, message});
    }
    // A check that fails inside a conversion reports the conversion's message.
    void add(int line, const QString& column, const std::function<QString()>& check)
    {
        try {
            add(line, column, check());
        } catch (const ValmoError& error) {
            add(line, column, error.text());
        }
    }
    // A text field as the dialogs check it: first that the file can hold every character, then
    // the field's own rule.
    void addField(int line, const QString& column, QStringView text, const std::function<QString()>& check)
    {
        const QString unencodable = CheckWritable(text);
        if (unencodable.isEmpty())
            add(line, column, check);
        else
            add(line, column, unencodable);
    }
    QList<RowProblem> sorted()
    {
        std::stable_sort(m_problems.begin(), m_problems.end(),
                         [](const RowProblem& a, const RowProblem& b) { return a.line < b.line; });
        return m_problems;
    }

private:
    QList<RowProblem> m_problems;
};

int lineOf(const QVector<int>& lines, int row)
{
    return row < lines.size() ? lines[row] : 0;
}

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The payer as the dialog holds it after the user has left the field: the payment dialog keeps
// a private payer's digits, every other field takes the bankgiro display form.
void checkPayer(Collector& out, int line, bool privateService, const QString& payer, bool digitsOnly)
{
    if (privateService) {
        out.addField(line, QStringLiteral("Betalarnummer"), payer, [&] {
            return CheckPayerNumber(digitsOnly ? DigitsOnly(payer) : FormatBankgiroNumber(payer));
        });
    } else {
        out.addField(line, QStringLiteral("Bankgironummer"), payer,
                     [&] { return CheckBankgiroNumber(payer); });
    }
}

// The separators of the locale, asked of the locale once for as long as it stays the default.
struct AmountSeparators
{
    QChar decimalPoint;
    QChar group;
};

AmountSeparators separatorsOf(const QLocale& locale)
{
    thread_local QLocale cachedLocale = QLocale::c();
    thread_local AmountSeparators cached;
    thread_local bool known = false;
    if (!known || !(locale == cachedLocale)) {
        cachedLocale = locale;
        const QString point = locale.decimalPoint();
        const QString group = locale.groupSeparator();
        cached.decimalPoint = point.size() == 1 ? point[0] : QChar();
        cached.group = group.size() == 1 ? group[0] : QChar();
        known = true;
    }
    return cached;
}

// The characters RemoveGroupSeparators takes out of an amount.
bool isGroupSeparator(QChar c, QChar localeGroup)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F) ||
           (!localeGroup.isNull() && c == localeGroup);
}

// Up to eight digits of kronor and, after the decimal point, one or two of öre, grouped or not:
// the form of almost every row, which CheckAmount always passes once the grouping is removed.
bool isPlainAmount(QStringView amount, const AmountSeparators& separators)
{
    if (separators.decimalPoint.isNull() || isGroupSeparator(separators.decimalPoint, separators.group))
        return false;
    int kronor = 0;
    int ore = -1; // no decimal point yet
    for (const QChar c : amount) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            if (ore < 0)
                ++kronor;
            else
                ++ore;
        } else if (c == separators.decimalPoint && ore < 0) {
            ore = 0;
        } else if (!isGroupSeparator(c, separators.group)) {
            return false;
        }
    }
    return kronor >= 1 && kronor <= 8 && (ore < 0 || (ore >= 1 && ore <= 2));
}

// The amount as the dialogs pass it on: the grouping of the shown form does not count.
void checkAmount(Collector& out, int line, QStringView amount, const QLocale& locale)
{
    if (isPlainAmount(amount, separatorsOf(locale)))
        return;
    out.add(line, QStringLiteral("Belopp"), CheckAmount(RemoveGroupSeparators(amount.toString(), locale)));
}

QString checkTransactionType(QStringView typ)
{
    if (typ == DebitText() || typ == CreditText())
        return QString();
    return QStringLiteral("Okänd typ av betaluppdrag \"%1\": ange Debitering eller Kreditering")
        .arg(QuotedText::Short(typ));
}

QString checkPeriod(QStringView period)
{
    if (PeriodTexts().contains(period))
        return QString();
    return QStringLiteral("Okänd periodicitet \"%1\": ange en av betaluppdragsdialogens periodiciteter")
        .arg(QuotedText::Short(period));
}

// The count field takes a whole number up to 999; a one-off payment has no count of its own.
QString checkCount(QStringView period, QStringView count)
{
    if (period == RowTexts::oneOffPayment() || count.isEmpty())
        return QString();
    if (count.size() <= 3 && allDigits(count) && count.toInt() <= LargestCount)
        return QString();
    return QStringLiteral("Antal betalningar ska vara ett heltal från 0 till 999");
}

// A date the record can hold: yyyy-mm-dd as the dialogs write it (the conversion's own message
// otherwise).
QString checkDate(QStringView date)
{
    if (!IsRowDate(date))
        ParseDateText(date.toString());
    return QString();
}

QString checkPaymentDate(QStringView period, QStringView date)
{
    if (date == RowTexts::immediatePayment())
        return CheckImmediatePeriod(period, date);
    return checkDate(date);
}

QString checkReference(QStringView reference)
{
    if (reference.size() <= ReferenceLength)
        return QString();
    return QStringLiteral("Referensen har %1 tecken men får ha högst %2")
        .arg(reference.size())
        .arg(ReferenceLength);
}

// A private payer as the payment dialog keeps it, its digits: one to sixteen of them.
void checkPaymentPayer(Collector& out, int line, bool privateService, QStringView payer)
{
    if (!privateService || !allDigits(payer)) {
        checkPayer(out, line, privateService, payer.toString(), true);
        return;
    }
    out.addField(line, QStringLiteral("Betalarnummer"), payer, [&] { return CheckPayerNumber(payer); });
}

void checkPayments(Collector& out, const OrderDocument& document, const QVector<int>& lines,
                   const QLocale& locale)
{
    for (int i = 0; i < document.BtuList.count(); ++i) {
        const ListRow& row = document.BtuList[i];
        const int line = lineOf(lines, i);
        const QStringView period = row.textView(1);
        out.add(line, QStringLiteral("Typ"), checkTransactionType(row.textView(0)));
        out.add(line, QStringLiteral("Period"), checkPeriod(period));
        const QStringView date = row.textView(2);
        out.addField(line, QStringLiteral("Betalningsdag"), date,
                     [&] { return checkPaymentDate(period, date); });
        checkPaymentPayer(out, line, document.PrivateService, row.textView(5));
        checkAmount(out, line, row.textView(3), locale);
        out.add(line, QStringLiteral("Antal"), checkCount(period, row.textView(4)));
        const QStringView reference = row.textView(6);
        out.addField(line, QStringLiteral("Referens"), reference, [&] { return checkReference(reference); });
    }
}

QString checkMandateType(QStringView typ)
{
    if (typ == RowTexts::paperMandate() || typ == RowTexts::electronicMandate() ||
        typ == RowTexts::rejectedMandate())
        return QString();
    return QStringLiteral("Okänd typ av medgivande \"%1\"").arg(QuotedText::Short(typ));
}

// The clearing and account fields of a paper mandate: the dialog's two checks, and digits only,
// since the record takes both parts as they stand.
QString checkPaperAccount(const QString& text)
{
    const ClearingAccountParts parts = SplitClearingAccount(text);
    const QString clearing = parts.clearing.toString();
    const QString clearingMessage = CheckClearingNumber(clearing);
    if (!clearingMessage.isEmpty())
        return clearingMessage;
    if (!allDigits(parts.clearing))
        return QStringLiteral("Felaktigt clearingnummer");
    const QString accountMessage = CheckClearingAndAccount(clearing, parts.account.toString());
    if (!accountMessage.isEmpty())
        return accountMessage;
    return allDigits(parts.account) ? QString() : QStringLiteral("Felaktigt kontonummer");
}

// The record holds the twelve digits of a civic registration number, or two zeros and the ten of
// an organisation number; any other character or count of digits would be dropped or misplaced.
QString checkPersonNumber(const QString& text)
{
    return CheckPersonNumber(text);
}

void checkMandates(Collector& out, const OrderDocument& document, const QVector<int>& lines)
{
    const QString accountColumn = QStringLiteral("Konto/id-nummer");
    for (int i = 0; i < document.MdgList.count(); ++i) {
        const ListRow& row = document.MdgList[i];
        const int line = lineOf(lines, i);
        const QStringView typ = row.textView(0);
        const QString account = row.text(2);
        const QString personNumber = row.text(3);
        out.add(line, QStringLiteral("Typ"), checkMandateType(typ));
        checkPayer(out, line, true, row.text(1), false);
        out.addField(line, QStringLiteral("Personnummer"), personNumber,
                     [&] { return checkPersonNumber(personNumber); });
        if (typ == RowTexts::paperMandate())
            out.addField(line, accountColumn, account, [&] { return checkPaperAccount(account); });
        else if (typ == RowTexts::electronicMandate())
            out.addField(line, accountColumn, account, [&] { return CheckElectronicMandateId(account); });
        else
            out.addField(line, accountColumn, account, [&] { return CheckMandateId(account); });
    }
}

void checkCompanyMandates(Collector& out, const OrderDocument& document, const QVector<int>& lines)
{
    for (int i = 0; i < document.MdgListComp.count(); ++i) {
        const QString bankgiro = document.MdgListComp[i].caption();
        out.addField(lineOf(lines, i), QStringLiteral("Bankgironummer"), bankgiro,
                     [&] { return CheckBankgiroNumber(bankgiro); });
    }
}

// The codes of the change dialog's eight requests; a file may hold others that no record of this
// program can carry.
QString checkChangeCode(const QString& code)
{
    static const QStringList codes = {QStringLiteral("3"),  QStringLiteral("23"), QStringLiteral("24"),
                                      QStringLiteral("25"), QStringLiteral("26"), QStringLiteral("27"),
                                      QStringLiteral("28"), QStringLiteral("29")};
    if (codes.contains(code))
        return QString();
    return QStringLiteral("Koden %1 är ingen kod för makulering eller ändring (3, 23–29)")
        .arg(QuotedText::Short(code));
}

// A change's date column holds no date when it is shorter than two characters; any other text is
// written as a date.
void checkChangeDate(Collector& out, int line, const QString& column, QStringView date)
{
    if (date.size() >= 2)
        out.addField(line, column, date, [&] { return checkDate(date); });
}

// The cancellation and the change of one payment carry its reference under the payment's rules;
// the other requests have no field for one, and a reference there would be lost.
void checkChangeReference(Collector& out, int line, const QString& code, QStringView reference)
{
    const QString column = QStringLiteral("Referens");
    if (code == QLatin1String("25") || code == QLatin1String("29"))
        out.addField(line, column, reference, [&] { return checkReference(reference); });
    else if (!reference.isEmpty())
        out.add(line, column,
                QStringLiteral("En makulering eller ändring med koden %1 har ingen referens. Lämna "
                               "referensen tom.")
                    .arg(code));
}

void checkChanges(Collector& out, const OrderDocument& document, const QVector<int>& lines,
                  const QLocale& locale)
{
    for (int i = 0; i < document.MakList.count(); ++i) {
        const ListRow& row = document.MakList[i];
        const int line = lineOf(lines, i);
        const QString code = document.MakList.code(i);
        out.add(line, QStringLiteral("Beskrivning"), checkChangeCode(code));
        if (code != QLatin1String("26") && code != QLatin1String("27"))
            checkPayer(out, line, document.PrivateService, row.text(1), false);
        // An amount the dialog hides is still written when a file or document holds one.
        const bool amountShown = code == QLatin1String("25") || code == QLatin1String("29");
        const bool amountWritten = !row.text(4).isEmpty() && code != RowTexts::mandateCancellationCode();
        if (amountShown || amountWritten)
            checkAmount(out, line, row.textView(4), locale);
        checkChangeDate(out, line, QStringLiteral("Betalningsdag"), row.textView(2));
        checkChangeDate(out, line, QStringLiteral("Ny betaldag"), row.textView(3));
        checkChangeReference(out, line, code, row.textView(6));
    }
}

} // namespace

QList<RowProblem> CheckDocumentRows(const OrderDocument& document, const RowLines& lines,
                                    const QList<OpeningRecordEntry>& openingRecords)
{
    Collector out;
    for (const OpeningRecordEntry& record : openingRecords)
        out.add(record.line, QStringLiteral("Bankgironummer"), CheckBankgiroNumber(record.bankgiro));
    const QLocale locale;
    checkPayments(out, document, lines.btu, locale);
    if (document.PrivateService)
        checkMandates(out, document, lines.mdg);
    else
        checkCompanyMandates(out, document, lines.mdgComp);
    checkChanges(out, document, lines.mak, locale);
    return out.sorted();
}
