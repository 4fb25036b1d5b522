#include "register/ReportRegisterRows.h"

#include "register/RegisterText.h"

#include <QSet>

#include <algorithm>

namespace ReportInRegister {

namespace {

QString TypeOf(const ReportItem& item)
{
    return item.record == QLatin1String("32") || item.description == QLatin1String("Kreditering")
               ? QStringLiteral("32")
               : QStringLiteral("82");
}

bool Matches(const RegisterPaymentRow& payment, const ReportItem& item)
{
    return payment.amount == item.amount.value_or(0) && payment.type == TypeOf(item) &&
           payment.reference.trimmed() == item.reference.trimmed();
}

QList<RegisterPayerRow> PayersNamed(const RegisterQuery& query, QStringList numbers)
{
    numbers.removeDuplicates();
    const QSet<QString> wanted(numbers.cbegin(), numbers.cend());
    QList<RegisterPayerRow> payers;
    if (wanted.isEmpty())
        return payers;
    query.payers({}, [&](const RegisterPayerRow& payer) {
        if (wanted.contains(payer.payer))
            payers.append(payer);
        return payers.size() < wanted.size();
    });
    // In the order the items name them.
    std::sort(payers.begin(), payers.end(), [&numbers](const RegisterPayerRow& a, const RegisterPayerRow& b) {
        return numbers.indexOf(a.payer) < numbers.indexOf(b.payer);
    });
    return payers;
}

} // namespace

bool ReportsPayments(ReportKind kind)
{
    switch (kind) {
    case ReportKind::MandateAdvice:
    case ReportKind::InternetMandates:
    case ReportKind::MandateRegisterExtract:
        return false;
    default:
        return true;
    }
}

ReportRegisterRows Find(const RegisterDatabase& database, ReportKind kind,
                        const QList<const ReportItem*>& items)
{
    ReportRegisterRows rows;
    const RegisterQuery query(database);
    QStringList payers;
    if (!ReportsPayments(kind)) {
        for (const ReportItem* item : items)
            payers.append(item->payerNumber);
        rows.payers = PayersNamed(query, payers);
        for (const ReportItem* item : items) {
            if (std::none_of(rows.payers.cbegin(), rows.payers.cend(), [item](const RegisterPayerRow& payer) {
                    return payer.payer == item->payerNumber;
                }))
                rows.missing.append(item);
        }
        return rows;
    }
    for (const ReportItem* item : items) {
        PaymentFilter filter;
        filter.payer = item->payerNumber;
        filter.from = filter.to = RegisterText::fromDateText(item->date);
        bool found = false;
        if (filter.from.isValid() && !item->payerNumber.isEmpty()) {
            query.payments(filter, [&](const RegisterPaymentRow& payment) {
                found = Matches(payment, *item);
                if (found)
                    rows.payments.append(payment);
                return !found;
            });
        }
        if (found)
            payers.append(item->payerNumber);
        else
            rows.missing.append(item);
    }
    rows.payers = PayersNamed(query, payers);
    return rows;
}

QString MissingText(const QList<const ReportItem*>& missing)
{
    QStringList lines;
    for (const ReportItem* item : missing)
        lines.append(QStringLiteral("rad %1 (betalare %2)").arg(item->line).arg(item->payerNumber));
    return lines.join(QLatin1Char('\n'));
}

} // namespace ReportInRegister
