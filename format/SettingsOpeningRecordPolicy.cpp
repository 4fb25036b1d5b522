#include "format/SettingsOpeningRecordPolicy.h"

#include "format/UserPrompt.h"
#include "settings/SettingsStore.h"

QString SettingsOpeningRecordPolicy::adoptQuestion()
{
    return QStringLiteral("Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                          "Vill du att programmet uppdaterar dina inställningar?");
}

bool SettingsOpeningRecordPolicy::acceptOpeningRecord(const OpeningRecord& record)
{
    const QString section = SettingsStore::section();
    if (record.bankgiroNumber == ReadSetting(section, QStringLiteral("BgNr"), QString()) &&
        record.customerNumber == ReadSetting(section, QStringLiteral("KundNr"), QString()))
        return true;

    // The busy cursor must not hide the question.
    m_prompt.endBusy();
    const UserPrompt::Answer answer =
        m_prompt.showMessage(QString(), adoptQuestion(), UserPrompt::Buttons::OkCancel);
    m_prompt.beginBusy();
    if (answer != UserPrompt::Answer::Ok)
        return false;
    WriteSetting(section, QStringLiteral("BgNr"), record.bankgiroNumber);
    WriteSetting(section, QStringLiteral("KundNr"), record.customerNumber);
    return true;
}
