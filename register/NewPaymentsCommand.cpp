#include "register/NewPaymentsCommand.h"

#include "app/OrderDocument.h"
#include "dialogs/BtuUnit.h"
#include "format/UserPrompt.h"
#include "register/RegisterStates.h"
#include "rules/Check.h"
#include "rules/Extra.h"

#include <QLineEdit>
#include <QUndoStack>

namespace {

// The payer field and the caption are the command's own while its dialog is open; afterwards the
// dialog shows again what it held, so the next ordinary payment order starts as before.
class BorrowedPayerField
{
public:
    BorrowedPayerField(TBtuForm& dialog, const QString& payer, int count)
        : m_dialog(dialog), m_text(dialog.BetalarEdit->text()), m_toolTip(dialog.BetalarEdit->toolTip()),
          m_title(dialog.windowTitle())
    {
        m_dialog.BetalarEdit->setText(payer);
        m_dialog.BetalarEdit->setEnabled(false);
        if (count > 1) {
            m_dialog.BetalarEdit->setToolTip(
                QStringLiteral("Betaluppdraget läggs till för var och en av de %1 markerade betalarna")
                    .arg(count));
            m_dialog.setWindowTitle(QStringLiteral("%1 - %2 betalare").arg(m_title).arg(count));
        }
    }
    ~BorrowedPayerField()
    {
        m_dialog.BetalarEdit->setText(m_text);
        m_dialog.BetalarEdit->setEnabled(true);
        m_dialog.BetalarEdit->setToolTip(m_toolTip);
        m_dialog.setWindowTitle(m_title);
    }
    BorrowedPayerField(const BorrowedPayerField&) = delete;
    BorrowedPayerField& operator=(const BorrowedPayerField&) = delete;

private:
    TBtuForm& m_dialog;
    QString m_text;
    QString m_toolTip;
    QString m_title;
};

} // namespace

NewPaymentsCommand::NewPaymentsCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt,
                                       TBtuForm& dialog, RowChange::Applied applied)
    : m_document(document), m_undo(undo), m_prompt(prompt), m_dialog(dialog), m_applied(std::move(applied))
{
}

QString NewPaymentsCommand::PayerText(const QString& payer, bool privateService)
{
    return privateService ? StripLeadingZeros(DigitsOnly(payer), false) : FormatBankgiroNumber(payer);
}

QString NewPaymentsCommand::WhyNot(const RegisterPayerRow& payer, bool privateService)
{
    if (payer.state.isEmpty())
        return QStringLiteral("inget medgivande");
    if (payer.state != RegisterStates::mandateApproved())
        return QStringLiteral("medgivandet är inte godkänt (%1)").arg(payer.state.toLower());
    const QString text = PayerText(payer.payer, privateService);
    if (!(privateService ? CheckPayerNumber(text) : CheckBankgiroNumber(text)).isEmpty())
        return privateService
                   ? QStringLiteral("betalarnumret är felaktigt")
                   : QStringLiteral("betalarnumret är inget bankgironummer, som tjänsten Företag kräver");
    return QString();
}

int NewPaymentsCommand::run(const QList<RegisterPayerRow>& payers)
{
    if (payers.isEmpty()) {
        m_prompt.showMessage(QString(),
                             QStringLiteral("Markera de betalare som ska få ett nytt betaluppdrag."),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
        return 0;
    }
    QList<RegisterPayerRow> chosen;
    QList<LeftOutPayer> leftOut;
    for (const RegisterPayerRow& payer : payers) {
        const QString why = WhyNot(payer, m_document.PrivateService);
        if (why.isEmpty())
            chosen.append(payer);
        else
            leftOut.append({payer, why});
    }
    const bool goOn = TellLeftOutPayers(
        m_prompt, QStringLiteral("Betaluppdrag kan bara läggas till för betalare med godkänt medgivande."),
        leftOut, int(chosen.size()), QStringLiteral("Vill du fortsätta med de övriga %1?"));
    if (!goOn || chosen.isEmpty() || !showDialog(chosen))
        return 0;
    const ListRow entered = m_dialog.Row();
    m_undo.beginMacro(stepName());
    for (const RegisterPayerRow& payer : chosen) {
        QStringList columns = entered.subItems();
        columns[4] = PayerText(payer.payer, m_document.PrivateService);
        m_undo.push(RowChange::add(m_document, ListId::Btu, ListRow(entered.caption(), columns), QString(),
                                   m_applied));
    }
    m_undo.endMacro();
    return int(chosen.size());
}

bool NewPaymentsCommand::showDialog(const QList<RegisterPayerRow>& payers)
{
    const BorrowedPayerField borrowed(m_dialog, PayerText(payers.first().payer, m_document.PrivateService),
                                      int(payers.size()));
    m_dialog.PrivatePayer = m_document.PrivateService;
    return m_dialog.ShowModal();
}
