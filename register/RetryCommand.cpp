#include "register/RetryCommand.h"

#include "app/Clock.h"
#include "format/UserPrompt.h"
#include "register/RetryOrders.h"

#include <QUndoStack>

RetryCommand::RetryCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt, const Clock& clock,
                           RowChange::Applied applied)
    : m_document(document), m_undo(undo), m_prompt(prompt), m_clock(clock), m_applied(std::move(applied))
{
}

int RetryCommand::run(const QList<RegisterPaymentRow>& payments)
{
    if (payments.isEmpty()) {
        m_prompt.showMessage(QString(), QStringLiteral("Markera de betalningar som ska försökas igen."),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
        return 0;
    }
    const RetryOutcome outcome = RetryOrders::Plan(payments, m_clock.now());
    if (!outcome.retries.isEmpty()) {
        m_undo.beginMacro(stepName());
        for (const RegisterPaymentRow& payment : outcome.retries)
            m_undo.push(RowChange::add(m_document, ListId::Btu, RetryOrders::PaymentRow(payment, outcome.date),
                                       QString(), m_applied));
        m_undo.endMacro();
    }
    if (!outcome.leftOut.isEmpty()) {
        QStringList lines;
        for (const LeftOutRetry& leftOut : outcome.leftOut)
            lines.append(RetryOrders::LeftOutText(leftOut));
        const QString added =
            outcome.retries.isEmpty()
                ? QStringLiteral("Inget nytt försök lades till.")
                : QStringLiteral("%1 nya försök lades till med betalningsdagen %2.")
                      .arg(outcome.retries.size())
                      .arg(outcome.date.toString(Qt::ISODate));
        m_prompt.showMessage(QString(),
                             added + QStringLiteral("\rDessa betalningar lämnades utanför:\n") +
                                 lines.join(QLatin1Char('\n')),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
    }
    return int(outcome.retries.size());
}
