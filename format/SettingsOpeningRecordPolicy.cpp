#include "format/SettingsOpeningRecordPolicy.h"

#include "format/UserPrompt.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "settings/SettingsStore.h"

#include <algorithm>

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

// A number as the settings dialog shows it; an empty one is named as such.
QString shown(const QString& number)
{
    return number.isEmpty() ? QStringLiteral("(inget)") : number;
}

// Digits are grouped as the settings dialog groups them; a number with other characters (only a
// file can hold one) is shown as it stands rather than reshaped.
QString shownBankgiro(const QString& number)
{
    const bool digitsOnly = std::all_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); });
    return shown(digitsOnly ? FormatBankgiroNumber(number) : number);
}

OpeningRecord storedNumbers()
{
    const PayeeNumbers numbers = SettingsStore::payeeNumbers();
    OpeningRecord stored;
    stored.bankgiroNumber = numbers.bankgiroNumber;
    stored.customerNumber = numbers.customerNumber;
    return stored;
}

} // namespace

QString SettingsOpeningRecordPolicy::numbersSentence(const OpeningRecord& file, const OpeningRecord& stored)
{
    return QStringLiteral("Filen är skapad för bankgironummer %1, kundnummer %2. "
                          "Inställningarna har bankgironummer %3, kundnummer %4.")
        .arg(shownBankgiro(file.bankgiroNumber), shown(file.customerNumber),
             shownBankgiro(stored.bankgiroNumber), shown(stored.customerNumber));
}

QString SettingsOpeningRecordPolicy::adoptQuestion(const OpeningRecord& file, const OpeningRecord& stored)
{
    return QStringLiteral("Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                          "%1\n"
                          "Vill du att programmet uppdaterar dina inställningar?")
        .arg(numbersSentence(file, stored));
}

QString SettingsOpeningRecordPolicy::whyNotAdoptable(const OpeningRecord& record)
{
    if (!CheckBankgiroNumber(record.bankgiroNumber).isEmpty())
        return QStringLiteral("Filens bankgironummer '%1' är felaktigt.").arg(record.bankgiroNumber);
    if (!isCustomerNumber(record.customerNumber))
        return QStringLiteral("Filens kundnummer '%1' ska vara 1 till 6 siffror.").arg(record.customerNumber);
    return QString();
}

QString SettingsOpeningRecordPolicy::notAdoptableQuestion(const QString& reason, const OpeningRecord& file,
                                                          const OpeningRecord& stored)
{
    return QStringLiteral("Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                          "%1\n"
                          "%2 Numren kan därför inte tas in i inställningarna, som förblir som de är.\n"
                          "Vill du öppna filen ändå?")
        .arg(numbersSentence(file, stored), reason);
}

bool SettingsOpeningRecordPolicy::acceptOpeningRecord(const OpeningRecord& record)
{
    // An opening record without numbers names no payee: there is nothing to compare or adopt.
    if (record.bankgiroNumber.isEmpty() && record.customerNumber.isEmpty())
        return true;
    const OpeningRecord stored = storedNumbers();
    if (record.bankgiroNumber == stored.bankgiroNumber && record.customerNumber == stored.customerNumber)
        return true;

    const QString reason = whyNotAdoptable(record);
    // The busy cursor must not hide the question.
    m_prompt.endBusy();
    const UserPrompt::Answer answer = m_prompt.showMessage(
        QString(),
        reason.isEmpty() ? adoptQuestion(record, stored) : notAdoptableQuestion(reason, record, stored),
        UserPrompt::Buttons::OkCancel);
    m_prompt.beginBusy();
    if (answer != UserPrompt::Answer::Ok)
        return false;
    if (!reason.isEmpty())
        return true;
    SettingsStore::setPayeeNumbers({record.customerNumber, record.bankgiroNumber});
    return true;
}
