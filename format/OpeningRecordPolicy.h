#pragma once

#include <QString>

// An opening record in the order file's own form ("01", a date, AUTOGIRO at positions 11-18),
// as the reader found it.
struct OpeningRecord
{
    int lineNumber = 0;     // counted from 1
    QString customerNumber; // positions 63-68, leading zeros removed
    QString bankgiroNumber; // positions 69-78, leading zeros removed
};

// Decides whether reading goes on past an opening record. The reader itself never asks the user
// anything: the open command compares the numbers with the settings and may ask, a tool that only
// checks a file accepts every record and lists it.
class OpeningRecordPolicy
{
public:
    virtual ~OpeningRecordPolicy() = default;
    // True to go on reading; false to stop and show the file instead. May throw ValmoError
    // (for example a SettingsError), which stops the reading the same way.
    virtual bool acceptOpeningRecord(const OpeningRecord& record) = 0;
};
