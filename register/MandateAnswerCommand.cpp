#include "register/MandateAnswerCommand.h"

#include "app/OrderDocument.h"
#include "format/UserPrompt.h"
#include "register/RegisterStates.h"
#include "rules/Check.h"
#include "rules/Extra.h"

#include <QUndoStack>

MandateAnswerCommand::MandateAnswerCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt,
                                           RowChange::Applied applied)
    : m_document(document), m_undo(undo), m_prompt(prompt), m_applied(std::move(applied))
{
}

int MandateAnswerCommand::run(const QList<RegisterPayerRow>& payers, bool approve)
{
    if (!m_document.PrivateService) {
        m_prompt.showMessage(QString(),
                             QStringLiteral("Svar på e-medgivanden hör till tjänsten Privat. Byt tjänst under "
                                            "Inställningar."),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
        return 0;
    }
    QList<RegisterPayerRow> awaiting;
    QStringList others;
    for (const RegisterPayerRow& payer : payers) {
        if (payer.state == RegisterStates::mandateAwaitingAnswer())
            awaiting.append(payer);
        else
            others.append(QStringLiteral("%1: %2").arg(payer.payer,
                                                       payer.state.isEmpty() ? QStringLiteral("inget medgivande")
                                                                             : payer.state));
    }
    if (!awaiting.isEmpty()) {
        const QString type = approve ? RowTexts::electronicMandate() : RowTexts::rejectedMandate();
        m_undo.beginMacro(approve ? QStringLiteral("Godkänn") : QStringLiteral("Avvisa"));
        for (const RegisterPayerRow& payer : awaiting)
            m_undo.push(RowChange::add(m_document, ListId::Mdg,
                                       ListRow(type, QStringList{FormatBankgiroNumber(payer.payer), payer.account,
                                                                 FormatPersonNumber(payer.identity)}),
                                       QString(), m_applied));
        m_undo.endMacro();
    }
    if (!others.isEmpty() || awaiting.isEmpty())
        m_prompt.showMessage(QString(),
                             QStringLiteral("Bara e-medgivanden som väntar på ert svar kan besvaras.") +
                                 (others.isEmpty() ? QString()
                                                   : QStringLiteral("\rDessa lämnades utanför:\n") +
                                                         others.join(QLatin1Char('\n'))),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
    return int(awaiting.size());
}
