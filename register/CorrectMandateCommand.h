#pragma once

#include "app/RowChange.h"
#include "register/LeftOutPayer.h"
#include "register/RegisterQuery.h"

#include <QList>
#include <QString>

class ListRow;
class OrderDocument;
class QUndoStack;
class TMdgCompForm;
class TMdgForm;
class UserPrompt;

// "Rätta medgivande": for each chosen mandate that the bank refused for wrong data (identity
// number, account, payer number), the mandate dialog opens filled in from the register; each OK
// adds the corrected mandate. Avbryt ends the series. The mandates added make one step to undo.
// Payers whose mandate was not refused for such a reason are named before the first dialog.
class CorrectMandateCommand
{
public:
    CorrectMandateCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt, TMdgForm& dialog,
                          TMdgCompForm& companyDialog, RowChange::Applied applied);

    // The number of mandates added.
    int run(const QList<RegisterPayerRow>& payers);

    static QString stepName() { return QStringLiteral("Rätta medgivande"); }
    // Why the payer's mandate is not one to correct; empty when it is.
    static QString WhyNot(const RegisterPayerRow& payer);
    // The mandate row as the register knows it, for the private payers' mandate dialog.
    static ListRow MandateRow(const RegisterPayerRow& payer);

private:
    // The corrected row; an empty caption when the user cancelled.
    ListRow corrected(const RegisterPayerRow& payer);

    OrderDocument& m_document;
    QUndoStack& m_undo;
    UserPrompt& m_prompt;
    TMdgForm& m_dialog;
    TMdgCompForm& m_companyDialog;
    RowChange::Applied m_applied;
};
