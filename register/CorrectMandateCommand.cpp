#include "register/CorrectMandateCommand.h"

#include "app/OrderDocument.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/UserPrompt.h"
#include "register/RegisterStates.h"
#include "rules/Check.h"
#include "rules/Extra.h"

#include <QUndoStack>

namespace {

// The bank's comments on a refused mandate that name wrong data the payee can correct: the account
// kind, the account or personal data, the payer's bankgiro number, the identity number, the payer
// number and the account number.
const QStringList WrongDataComments = {QStringLiteral("03"), QStringLiteral("05"), QStringLiteral("09"),
                                       QStringLiteral("20"), QStringLiteral("21"), QStringLiteral("23")};

// The comment of "information/comment" as the register keeps a mandate advice's codes.
QString CommentCode(const QString& code)
{
    const int slash = code.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? code : code.mid(slash + 1);
}

constexpr int ClearingDigits = 4;

// "clearing-account" from the register's digits (clearing, then the account zero-filled).
QString AccountText(const QString& digits)
{
    if (digits.size() <= ClearingDigits || StripLeadingZeros(digits, false).isEmpty())
        return QString();
    return digits.left(ClearingDigits) + QLatin1Char('-') +
           StripLeadingZeros(digits.mid(ClearingDigits), false);
}

} // namespace

CorrectMandateCommand::CorrectMandateCommand(OrderDocument& document, QUndoStack& undo, UserPrompt& prompt,
                                             TMdgForm& dialog, TMdgCompForm& companyDialog,
                                             RowChange::Applied applied)
    : m_document(document), m_undo(undo), m_prompt(prompt), m_dialog(dialog), m_companyDialog(companyDialog),
      m_applied(std::move(applied))
{
}

QString CorrectMandateCommand::WhyNot(const RegisterPayerRow& payer)
{
    if (payer.state.isEmpty())
        return QStringLiteral("inget medgivande");
    const QString reason = payer.meaning.isEmpty() ? payer.code : payer.meaning;
    if (payer.state != RegisterStates::mandateRefused())
        return QStringLiteral("medgivandet är inte avvisat (%1)").arg(payer.state.toLower());
    if (!WrongDataComments.contains(CommentCode(payer.code)))
        return QStringLiteral("avvisat av ett skäl som en rättelse inte hjälper mot (%1)").arg(reason);
    return QString();
}

ListRow CorrectMandateCommand::MandateRow(const RegisterPayerRow& payer)
{
    const QString identity = DigitsOnly(payer.identity);
    return ListRow(RowTexts::paperMandate(),
                   QStringList{FormatBankgiroNumber(payer.payer), AccountText(DigitsOnly(payer.account)),
                               identity.size() == 12 ? FormatPersonNumber(identity) : payer.identity});
}

int CorrectMandateCommand::run(const QList<RegisterPayerRow>& payers)
{
    if (payers.isEmpty()) {
        m_prompt.showMessage(QString(), QStringLiteral("Markera de avvisade medgivanden som ska rättas."),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
        return 0;
    }
    QList<RegisterPayerRow> refused;
    QList<LeftOutPayer> leftOut;
    for (const RegisterPayerRow& payer : payers) {
        const QString why = WhyNot(payer);
        if (why.isEmpty())
            refused.append(payer);
        else
            leftOut.append({payer, why});
    }
    const QString rule =
        QStringLiteral("Bara medgivanden som Bankgirot avvisat för felaktiga uppgifter (personnummer, "
                       "konto, betalarnummer) kan rättas.");
    if (!TellLeftOutPayers(m_prompt, rule, leftOut, int(refused.size()),
                           QStringLiteral("Vill du rätta de övriga %1?")))
        return 0;
    QList<ListRow> rows;
    for (const RegisterPayerRow& payer : refused) {
        const ListRow row = corrected(payer);
        if (row.caption().isEmpty())
            break;
        rows.append(row);
    }
    if (rows.isEmpty())
        return 0;
    const ListId list = m_document.PrivateService ? ListId::Mdg : ListId::MdgComp;
    m_undo.beginMacro(stepName());
    for (const ListRow& row : rows)
        m_undo.push(RowChange::add(m_document, list, row, QString(), m_applied));
    m_undo.endMacro();
    return int(rows.size());
}

ListRow CorrectMandateCommand::corrected(const RegisterPayerRow& payer)
{
    if (!m_document.PrivateService) {
        m_companyDialog.LoadRow(ListRow(FormatBankgiroNumber(payer.payer), {}));
        return m_companyDialog.ShowModal() ? m_companyDialog.Row() : ListRow();
    }
    m_dialog.LoadRow(MandateRow(payer));
    return m_dialog.ShowModal() ? m_dialog.Row() : ListRow();
}
