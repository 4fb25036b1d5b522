#pragma once

#include "app/RowChange.h"
#include "register/RegisterQuery.h"

#include <QList>

class Clock;
class OrderDocument;
class QUndoStack;
class UserPrompt;

// "Nytt försök": the chosen payments that were not made, and that a new attempt can cure, are added
// to the document's payment orders again with the same type, amount and reference on the first
// payment day the bank can still process. It is one step to undo. The user is told which payments
// were left out and why.
class RetryCommand
{
public:
    RetryCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt, const Clock& clock,
                 RowChange::Applied applied);

    // The number of payment orders added.
    int run(const QList<RegisterPaymentRow>& payments);

    static QString stepName() { return QStringLiteral("Nytt försök"); }

private:
    OrderDocument& m_document;
    QUndoStack& m_undo;
    UserPrompt& m_prompt;
    const Clock& m_clock;
    RowChange::Applied m_applied;
};
