#pragma once

#include "format/OpeningRecordPolicy.h"

class UserPrompt;

// The open command's decision on an opening record: numbers equal to the stored BgNr and KundNr
// pass; otherwise the user is asked whether the settings should take the file's numbers. OK stores
// both and reading goes on, Cancel stops it. Settings are read afresh for every record.
class SettingsOpeningRecordPolicy : public OpeningRecordPolicy
{
public:
    explicit SettingsOpeningRecordPolicy(UserPrompt& prompt) : m_prompt(prompt) {}
    bool acceptOpeningRecord(const OpeningRecord& record) override;

    static QString adoptQuestion();

private:
    UserPrompt& m_prompt;
};
