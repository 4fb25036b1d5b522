#pragma once

#include "format/SealOnSave.h"

#include <QString>

#include <functional>

class Clock;
class DocumentView;
class OrderDocument;
class UserPrompt;
struct PayeeNumbers;

// "&Spara fil": checks the payee's numbers, asks for the file and writes the whole document.
class SaveCommand
{
public:
    SaveCommand(OrderDocument& doc, DocumentView& view, UserPrompt& prompt, const Clock& clock);

    // True only when the file was written completely. False when the user cancelled, the settings
    // were refused or the file could not be written; the document then still counts as modified.
    bool SparaBtnClick();

    // Writes the document over CurrentFile without asking for a name; asks as SparaBtnClick does
    // while the document has no file yet. True only when the file was written completely.
    bool saveToCurrentFile();

    // The folder Autogirofiler in the user's documents folder, created when missing. Empty when
    // the documents folder is unknown.
    static QString DefaultFolder();

    // Asked before every save, ahead of the file dialog: false stops the save and leaves the
    // document as it was.
    void setCheckBeforeSaving(std::function<bool()> check) { m_checkBeforeSaving = std::move(check); }

private:
    bool readPayeeNumbers(PayeeNumbers& payee);
    bool mayBeSaved();
    QString initialFolder();
    QString initialFileName() const;
    void rememberFolder(const QString& path);
    bool writeFile(const QString& path, const PayeeNumbers& payee);
    qint64 documentRows() const;
    void showError(const QString& text);

    OrderDocument& m_doc;
    DocumentView& m_view;
    UserPrompt& m_prompt;
    const Clock& m_clock;
    SealOnSave m_seal;
    std::function<bool()> m_checkBeforeSaving;
    bool m_writeCancelled = false; // the last writeFile() was stopped by the user
};
