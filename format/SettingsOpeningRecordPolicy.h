#pragma once

#include "format/OpeningRecordPolicy.h"

class UserPrompt;

// The open command's decision on an opening record: numbers equal to the stored BgNr and KundNr
// pass, and so does a record without numbers; otherwise the user is asked whether the settings
// should take the file's numbers. OK stores both and reading goes on, Cancel stops it. Numbers
// the settings cannot hold (a bankgiro number that fails its check, a customer number that is not
// one to six digits) are never stored: the user is told why and may open the file anyway, with the
// settings unchanged. Settings are read afresh for every record.
class SettingsOpeningRecordPolicy : public OpeningRecordPolicy
{
public:
    explicit SettingsOpeningRecordPolicy(UserPrompt& prompt) : m_prompt(prompt) {}
    bool acceptOpeningRecord(const OpeningRecord& record) override;

    // The questions name the file's numbers and the stored ones (record fields as the settings
    // hold them), in the form the settings dialog shows.
    static QString adoptQuestion(const OpeningRecord& file, const OpeningRecord& stored);
    static QString notAdoptableQuestion(const QString& reason, const OpeningRecord& file,
                                        const OpeningRecord& stored);
    static QString numbersSentence(const OpeningRecord& file, const OpeningRecord& stored);
    // Empty when the record's numbers may be stored; otherwise the reason, in Swedish.
    static QString whyNotAdoptable(const OpeningRecord& record);

private:
    UserPrompt& m_prompt;
};
