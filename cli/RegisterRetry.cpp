#include "cli/RegisterRetry.h"

#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"
#include "register/RegisterQuery.h"
#include "register/RegisterStates.h"
#include "register/RetryOrders.h"

#include <cstdio>

int RunRegisterRetry(const RegisterDatabase& database, const QDate& from, const QDate& to, const QDateTime& now)
{
    RegisterQuery query(database);
    QList<RegisterPaymentRow> failed;
    for (const QString& state : {RegisterStates::paymentNotDone(), RegisterStates::paymentRejected(),
                                 RegisterStates::paymentRetry()}) {
        PaymentFilter filter;
        filter.state = state;
        filter.from = from;
        filter.to = to;
        query.payments(filter, [&failed](const RegisterPaymentRow& row) {
            failed.append(row);
            return true;
        });
    }
    const RetryOutcome outcome = RetryOrders::Plan(failed, now);
    OrderDocument document;
    for (const RegisterPaymentRow& payment : outcome.retries)
        document.BtuList.append(RetryOrders::PaymentRow(payment, outcome.date));
    const QByteArray json = DocumentToJson(document, {});
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    for (const LeftOutRetry& leftOut : outcome.leftOut) {
        const QByteArray line = (QStringLiteral("Utelämnad: ") + RetryOrders::LeftOutText(leftOut) + QLatin1Char('\n')).toUtf8();
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    }
    return 0;
}
