#pragma once

#include "format/ReadVerdict.h"
#include "format/Seal.h"

#include <QBuffer>
#include <QString>

class QIODevice;
class UserPrompt;

// The open command's part in sealing. A sealed file is checked with the stored key before it is
// read; its seal records are taken off, so they never become rows. Files without a seal pass
// through untouched and are still read straight from the device.
class SealOnOpen
{
public:
    explicit SealOnOpen(UserPrompt& prompt) : m_prompt(prompt) {}

    // Checks the seal of the file just opened. A seal that does not match, or is damaged, is
    // opened only when the user agrees; false means the user declined. Without a key the user
    // is told that the seal was not checked.
    bool approve(QIODevice& file);
    // What the order reader reads: the file itself, or the order records inside the seal.
    QIODevice& orderRecords();
    // The verdict of reading orderRecords() with its line numbers counted in the file itself.
    ReadVerdict inFileLines(const ReadVerdict& verdict) const { return inFileLines(verdict, m_linesBefore); }
    static ReadVerdict inFileLines(ReadVerdict verdict, int linesBefore);

    static QString notCheckedMessage(const QString& problem);
    static QString openAnywayQuestion(const QString& checkText);

private:
    UserPrompt& m_prompt;
    QIODevice* m_file = nullptr;
    QBuffer m_inside;
    bool m_sealed = false;
    int m_linesBefore = 0;
};
