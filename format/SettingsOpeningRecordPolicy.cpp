#include "format/SettingsOpeningRecordPolicy.h"

#include "format/UserPrompt.h"
#include "rules/Check.h"
#include "settings/SettingsStore.h"

namespace {

bool isCustomerNumber(const QString& text)
{
    if (text.isEmpty() || text.size() > 6)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

QString SettingsOpeningRecordPolicy::adoptQuestion()
{
    return QStringLiteral("Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                          "Vill du att programmet uppdaterar dina inställningar?");
}

QString SettingsOpeningRecordPolicy::whyNotAdoptable(const OpeningRecord& record)
{
    if (!CheckBankgiroNumber(record.bankgiroNumber).isEmpty())
        return QStringLiteral("Filens bankgironummer '%1' är felaktigt.").arg(record.bankgiroNumber);
    if (!isCustomerNumber(record.customerNumber))
        return QStringLiteral("Filens kundnummer '%1' ska vara 1 till 6 siffror.").arg(record.customerNumber);
    return QString();
}

QString SettingsOpeningRecordPolicy::notAdoptableQuestion(const QString& reason)
{
    return QStringLiteral("Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                          "%1 Numren kan därför inte tas in i inställningarna, som förblir som de är.\n"
                          "Vill du öppna filen ändå?")
        .arg(reason);
}

bool SettingsOpeningRecordPolicy::acceptOpeningRecord(const OpeningRecord& record)
{
    // An opening record without numbers names no payee: there is nothing to compare or adopt.
    if (record.bankgiroNumber.isEmpty() && record.customerNumber.isEmpty())
        return true;
    const PayeeNumbers stored = SettingsStore::payeeNumbers();
    if (record.bankgiroNumber == stored.bankgiroNumber && record.customerNumber == stored.customerNumber)
        return true;

    const QString reason = whyNotAdoptable(record);
    // The busy cursor must not hide the question.
    m_prompt.endBusy();
    const UserPrompt::Answer answer =
        m_prompt.showMessage(QString(), reason.isEmpty() ? adoptQuestion() : notAdoptableQuestion(reason),
                             UserPrompt::Buttons::OkCancel);
    m_prompt.beginBusy();
    if (answer != UserPrompt::Answer::Ok)
        return false;
    if (!reason.isEmpty())
        return true;
    SettingsStore::setPayeeNumbers({record.customerNumber, record.bankgiroNumber});
    return true;
}
