#include "format/ReportTotalsCheck.h"

#include "format/ReportCodes.h"

#include <QLocale>

#include <functional>
#include <limits>
#include <optional>

namespace {

using ItemFilter = std::function<bool(const ReportItem&)>;

struct Tally
{
    qint64 count = 0;
    qint64 amount = 0;
};

// Sums of a damaged file's fields can pass any bound: they stop at the largest value instead.
qint64 Add(qint64 a, qint64 b)
{
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    constexpr qint64 smallest = std::numeric_limits<qint64>::min();
    if (b > 0 && a > largest - b)
        return largest;
    if (b < 0 && a < smallest - b)
        return smallest;
    return a + b;
}

QString AmountText(qint64 ore)
{
    return QLocale().toString(double(ore) / 100.0, 'f', 2) + QStringLiteral(" kr");
}

QStringView Field(QStringView line, int from, int to)
{
    if (from > line.size())
        return QStringView();
    return line.mid(from - 1, qMin<qsizetype>(to, line.size()) - from + 1);
}

std::optional<qint64> Number(QStringView text)
{
    if (text.isEmpty() || text.size() > 18)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return text.toLongLong();
}

// The cancellations report writes its totals as negative signed fields: the last digit is replaced
// by a letter, å for 0 and J to R for 1 to 9. A field of plain digits is read as it stands. The
// magnitude is returned, since it is compared with the amounts of the items, which are positive.
std::optional<qint64> SignedMagnitude(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QChar last = text.back();
    const QString negativeDigits = QStringLiteral("åJKLMNOPQR");
    const qsizetype digit = negativeDigits.indexOf(last);
    if (digit < 0)
        return Number(text);
    const std::optional<qint64> rest = text.size() == 1 ? std::optional<qint64>(0) : Number(text.chopped(1));
    if (!rest || *rest > (std::numeric_limits<qint64>::max() - 9) / 10)
        return std::nullopt;
    return *rest * 10 + digit;
}

Tally Count(const Report& report, const ItemFilter& filter)
{
    Tally tally;
    for (const ReportItem& item : report.items) {
        if (!filter(item))
            continue;
        tally.count += 1 + item.continuationRecords;
        if (item.amount)
            tally.amount = Add(tally.amount, *item.amount);
    }
    return tally;
}

// Reads the totals record's fields and compares them, collecting the stated and counted sums.
class TotalsComparison
{
public:
    TotalsComparison(const Report& report, QStringView record, ReportTotals& totals)
        : m_report(report), m_record(record), m_totals(totals)
    {
    }

    void readSignedAmounts() { m_signedAmounts = true; }

    void count(int from, int to, const QString& what, const ItemFilter& filter)
    {
        const std::optional<qint64> stated = read(from, to, what);
        const Tally counted = Count(m_report, filter);
        m_totals.counted.count = Add(m_totals.counted.count, counted.count);
        if (!stated)
            return;
        m_totals.stated.count = Add(m_totals.stated.count, *stated);
        if (*stated != counted.count)
            m_totals.disagreements.append(
                QStringLiteral("Slutposten på rad %1 anger %2 %3, men rapporten har %4.")
                    .arg(m_totals.line)
                    .arg(*stated)
                    .arg(what)
                    .arg(counted.count));
    }

    void amount(int from, int to, const QString& what, const ItemFilter& filter)
    {
        const std::optional<qint64> stated =
            read(from, to, QStringLiteral("beloppet för ") + what, m_signedAmounts);
        const Tally counted = Count(m_report, filter);
        m_totals.counted.amount = Add(m_totals.counted.amount.value_or(0), counted.amount);
        if (!stated)
            return;
        m_totals.stated.amount = Add(m_totals.stated.amount.value_or(0), *stated);
        if (*stated != counted.amount)
            m_totals.disagreements.append(
                QStringLiteral(
                    "Slutposten på rad %1 anger %2 för %3, men posterna i rapporten summerar till %4.")
                    .arg(m_totals.line)
                    .arg(AmountText(*stated), what, AmountText(counted.amount)));
    }

private:
    std::optional<qint64> read(int from, int to, const QString& what, bool isSigned = false)
    {
        const QStringView field = Field(m_record, from, to);
        const std::optional<qint64> value = isSigned ? SignedMagnitude(field) : Number(field);
        if (!value)
            m_totals.disagreements.append(
                QStringLiteral("Slutposten på rad %1 kan inte läsas: %2 är inte ett tal.")
                    .arg(m_totals.line)
                    .arg(what));
        return value;
    }

    const Report& m_report;
    QStringView m_record;
    ReportTotals& m_totals;
    bool m_signedAmounts = false;
};

ItemFilter Counted(const QString& record)
{
    return [record](const ReportItem& item) { return item.counted && item.record == record; };
}

ItemFilter CountedDebits(bool debit)
{
    return [debit](const ReportItem& item) { return item.counted && item.debit == debit; };
}

ItemFilter CountedAmounts()
{
    return [](const ReportItem& item) { return item.counted && item.outcome != ItemOutcome::Summary; };
}

ItemFilter AllCounted()
{
    return [](const ReportItem& item) { return item.counted; };
}

void CheckNewPaymentSpecification(const Report& report, TotalsComparison& compare, ReportTotals& totals)
{
    compare.count(15, 20, QStringLiteral("insättningsposter (15)"), Counted(QStringLiteral("15")));
    compare.count(21, 32, QStringLiteral("genomförda debiteringar (82)"), Counted(QStringLiteral("82")));
    compare.count(33, 38, QStringLiteral("utbetalningsposter (16)"), Counted(QStringLiteral("16")));
    compare.count(39, 50, QStringLiteral("genomförda krediteringar (32)"), Counted(QStringLiteral("32")));
    compare.count(51, 56, QStringLiteral("återbetalningsposter (17)"), Counted(QStringLiteral("17")));
    compare.count(57, 68, QStringLiteral("återbetalningar (77)"), Counted(QStringLiteral("77")));
    // The record states no amounts: the deposit, payout and refund records do.
    qint64 stated = 0;
    for (const ReportItem& item : report.items) {
        if (item.outcome == ItemOutcome::Summary && item.amount)
            stated = Add(stated, *item.amount);
    }
    totals.stated.amount = stated;
    totals.counted.amount = Count(report, CountedAmounts()).amount;
}

struct TotalsLayout
{
    int creditAmountFrom, creditAmountTo, creditCountFrom, creditCountTo;
    int debitCountFrom, debitCountTo, debitAmountFrom, debitAmountTo;
};

// The old layout's totals record, also used by the monitoring extract and the cancellation report.
const TotalsLayout DebitCreditTotals = {29, 40, 41, 46, 47, 52, 57, 68};
const TotalsLayout RejectedTotals = {21, 32, 15, 20, 33, 38, 39, 50};

void CheckDebitsAndCredits(TotalsComparison& compare, const TotalsLayout& layout)
{
    compare.count(layout.debitCountFrom, layout.debitCountTo, QStringLiteral("debiteringar (82)"),
                  CountedDebits(true));
    compare.amount(layout.debitAmountFrom, layout.debitAmountTo, QStringLiteral("debiteringarna"),
                   CountedDebits(true));
    compare.count(layout.creditCountFrom, layout.creditCountTo, QStringLiteral("krediteringar (32)"),
                  CountedDebits(false));
    compare.amount(layout.creditAmountFrom, layout.creditAmountTo, QStringLiteral("krediteringarna"),
                   CountedDebits(false));
}

QString SummaryName(const ReportItem& summary)
{
    return summary.record == QLatin1String("15")   ? QStringLiteral("Insättningen")
           : summary.record == QLatin1String("16") ? QStringLiteral("Utbetalningen")
                                                   : QStringLiteral("Återbetalningsposten");
}

bool BelongsToSummary(const ReportItem& summary, const ReportItem& item)
{
    if (summary.record == QLatin1String("15"))
        return item.record == QLatin1String("82") && item.counted;
    if (summary.record == QLatin1String("16"))
        return item.record == QLatin1String("32") && item.counted;
    return item.record == QLatin1String("77");
}

} // namespace

void CheckReportTotals(Report& report, QStringView totalsRecord, int lineNumber)
{
    ReportTotals totals;
    totals.line = lineNumber;
    totals.counted.amount.reset();
    TotalsComparison compare(report, totalsRecord, totals);
    switch (report.kind) {
    case ReportKind::PaymentSpecification:
        if (report.layout == ReportLayout::New) {
            CheckNewPaymentSpecification(report, compare, totals);
            totals.disagreements.append(SummaryDisagreements(report));
        } else
            CheckDebitsAndCredits(compare, DebitCreditTotals);
        break;
    case ReportKind::MonitoringExtract:
        CheckDebitsAndCredits(compare, DebitCreditTotals);
        break;
    case ReportKind::CancellationsChanges:
        compare.readSignedAmounts();
        CheckDebitsAndCredits(compare, DebitCreditTotals);
        break;
    case ReportKind::RejectedPayments:
        CheckDebitsAndCredits(compare, RejectedTotals);
        break;
    case ReportKind::MandateAdvice:
        compare.count(15, 21, QStringLiteral("medgivandeposter (73)"), AllCounted());
        break;
    case ReportKind::InternetMandates:
        compare.count(15, 21, QStringLiteral("poster (52-56)"), AllCounted());
        break;
    case ReportKind::MandateRegisterExtract:
        return;
    }
    for (const QString& warning : report.warnings) {
        if (warning.startsWith(QStringLiteral("Beloppet på rad")))
            totals.disagreements.append(warning);
    }
    report.totals = totals;
}

void NoteMissingTotals(Report& report)
{
    if (report.kind == ReportKind::MandateRegisterExtract)
        return;
    report.warnings.append(QStringLiteral("Slutposten saknas: rapporten kan vara ofullständig, och summorna "
                                          "kan inte kontrolleras."));
}

QStringList SummaryDisagreements(const Report& report)
{
    QStringList disagreements;
    for (qsizetype i = 0; i < report.items.size(); ++i) {
        const ReportItem& summary = report.items[i];
        if (summary.outcome != ItemOutcome::Summary)
            continue;
        Tally tally;
        for (qsizetype j = i + 1; j < report.items.size() && report.items[j].outcome != ItemOutcome::Summary;
             ++j) {
            const ReportItem& item = report.items[j];
            if (!BelongsToSummary(summary, item))
                continue;
            tally.count += 1;
            tally.amount = Add(tally.amount, item.amount.value_or(0));
        }
        const int statedCount = summary.statedCount.value_or(-1);
        const qint64 statedAmount = summary.amount.value_or(-1);
        if (statedCount == tally.count && statedAmount == tally.amount)
            continue;
        disagreements.append(
            QStringLiteral("%1 på rad %2 anger %3 poster på %4, men raderna efter den har %5 poster på %6.")
                .arg(SummaryName(summary))
                .arg(summary.line)
                .arg(statedCount)
                .arg(summary.amount ? AmountText(statedAmount) : QStringLiteral("ett oläsbart belopp"))
                .arg(tally.count)
                .arg(AmountText(tally.amount)));
    }
    return disagreements;
}
