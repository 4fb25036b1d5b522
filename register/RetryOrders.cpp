#include "register/RetryOrders.h"

#include "app/ListRow.h"
#include "app/OrderDocument.h"
#include "calendar/BankCalendar.h"
#include "register/RegisterStates.h"
#include "rules/Extra.h"
#include "rules/Periods.h"

namespace RetryOrders {

namespace {

// The bank's codes for which the same payment may simply be asked for again.
constexpr auto NoFundsCode = "1";
constexpr auto PassedDateCode = "13";

} // namespace

QDate FirstPaymentDate(const QDateTime& now)
{
    QDate date = BankCalendar::NextBankingDay(now.date());
    while (BankCalendar::DeliveryDeadline(date) <= now)
        date = BankCalendar::NextBankingDay(date);
    return date;
}

QString WhyNot(const RegisterPaymentRow& payment)
{
    const QString reason = payment.meaning.isEmpty() ? payment.code : payment.meaning;
    if (payment.state == RegisterStates::paymentNotDone())
        return payment.code == QLatin1String(NoFundsCode)
                   ? QString()
                   : QStringLiteral("ej genomförd (%1); ett nytt försök hjälper inte").arg(reason);
    if (payment.state == RegisterStates::paymentRejected())
        return payment.code == QLatin1String(PassedDateCode)
                   ? QString()
                   : QStringLiteral("avvisad (%1); ett nytt försök hjälper inte").arg(reason);
    if (payment.state == RegisterStates::paymentRetry())
        return QStringLiteral("Bankgirot gör själv ett nytt försök");
    if (payment.state == RegisterStates::paymentDone())
        return QStringLiteral("betalningen är redan genomförd");
    return QStringLiteral("betalningen är %1, inte misslyckad").arg(payment.state.toLower());
}

RetryOutcome Plan(const QList<RegisterPaymentRow>& payments, const QDateTime& now)
{
    RetryOutcome outcome;
    outcome.date = FirstPaymentDate(now);
    for (const RegisterPaymentRow& payment : payments) {
        const QString why = WhyNot(payment);
        if (why.isEmpty())
            outcome.retries.append(payment);
        else
            outcome.leftOut.append({payment, why});
    }
    return outcome;
}

ListRow PaymentRow(const RegisterPaymentRow& payment, const QDate& date)
{
    const QString type = payment.type == QLatin1String("32") ? CreditText() : DebitText();
    return ListRow(type, QStringList{RowTexts::oneOffPayment(), date.toString(Qt::ISODate), FormatOreAmount(payment.amount),
                          QStringLiteral("1"), payment.payer, payment.reference});
}

QString LeftOutText(const LeftOutRetry& leftOut)
{
    return QStringLiteral("%1 %2 %3: %4")
        .arg(leftOut.payment.payer, leftOut.payment.date, FormatOreAmount(leftOut.payment.amount), leftOut.reason);
}

} // namespace RetryOrders
