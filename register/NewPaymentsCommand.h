#pragma once

#include "app/RowChange.h"
#include "register/LeftOutPayer.h"
#include "register/RegisterQuery.h"

#include <QList>
#include <QString>

class OrderDocument;
class QUndoStack;
class TBtuForm;
class UserPrompt;

// "Nytt betaluppdrag...": the payment-order dialog opens once for the chosen payers; OK adds one
// payment order per payer with the dialog's values, as one step to undo. The dialog's payer field
// shows the first payer and cannot be changed: the payers are the ones chosen. Payers without an
// approved mandate, or whose number the service cannot use, are left out and named before the
// dialog opens.
class NewPaymentsCommand
{
public:
    NewPaymentsCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt, TBtuForm& dialog,
                       RowChange::Applied applied);

    // The number of payment orders added.
    int run(const QList<RegisterPayerRow>& payers);

    static QString stepName() { return QStringLiteral("Nytt betaluppdrag"); }
    // Why the payer cannot get a payment order; empty when it can.
    static QString WhyNot(const RegisterPayerRow& payer, bool privateService);
    // The payer as the payment orders' payer column holds it for the service.
    static QString PayerText(const QString& payer, bool privateService);

private:
    bool showDialog(const QList<RegisterPayerRow>& payers);

    OrderDocument& m_document;
    QUndoStack& m_undo;
    UserPrompt& m_prompt;
    TBtuForm& m_dialog;
    RowChange::Applied m_applied;
};
