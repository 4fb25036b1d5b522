#pragma once

#include "app/RowChange.h"
#include "register/RegisterQuery.h"

#include <QList>

class OrderDocument;
class QUndoStack;
class UserPrompt;

// "Godkänn" and "Avvisa": for the chosen e-mandates that await the payee's answer, the answer rows
// ("Autogiro elektroniskt medgivande" or "Avvisad - Autogiro elektroniskt medgivande") are added to
// the mandates as one step to undo. Payers with no e-mandate awaiting an answer are named.
class MandateAnswerCommand
{
public:
    MandateAnswerCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt, RowChange::Applied applied);

    // The number of rows added.
    int run(const QList<RegisterPayerRow>& payers, bool approve);

private:
    OrderDocument& m_document;
    QUndoStack& m_undo;
    UserPrompt& m_prompt;
    RowChange::Applied m_applied;
};
