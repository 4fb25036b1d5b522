#pragma once

#include <QString>

// How reading an order file ended.
struct ReadVerdict
{
    enum class Outcome
    {
        Loaded,             // every line was taken into the document
        ReportFile,         // a report file from the bank (opening record with a report marker)
        IncomingMandates,   // a line "51": an incoming file of electronic mandates
        UnsupportedContent, // a line the program does not handle (an empty line included)
        PayeeDeclined,      // the opening-record policy refused the payee's numbers
        LineUnreadable,     // a field could not be converted (a date, an amount, a code)
        SettingsFailed,     // the policy could not read or write the settings
        DeviceFailed,       // the file could not be read to its end
        ServiceMismatch,    // mandates of the other service type (see neededPrivateService)
        Cancelled,          // the user stopped the reading
    };

    Outcome outcome = Outcome::Loaded;
    // The line at which reading stopped, counted from 1; 0 after a load.
    int lineNumber = 0;
    // What the user is told, in Swedish where the program words it; empty after a load and after
    // PayeeDeclined (the policy has spoken to the user already). For LineUnreadable it holds the
    // conversion's own text and the line number.
    QString message;
    // ServiceMismatch: the service type the file's mandates need (true for "Privat").
    bool neededPrivateService = true;
    // The file was valid UTF-8 with characters beyond ASCII and was read as UTF-8.
    bool readAsUtf8 = false;

    bool loaded() const { return outcome == Outcome::Loaded; }
    // The file is not loaded and is to be shown read-only instead.
    bool showInstead() const
    {
        return !loaded() && outcome != Outcome::DeviceFailed && outcome != Outcome::Cancelled;
    }
};
