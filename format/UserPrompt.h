#pragma once

#include "progress/Progress.h"

#include <QString>
#include <QStringList>

#include <memory>

// How the commands below the window layer talk to the user: message boxes and file dialogs.
// The main window implements it with real dialogs; tests answer it.
class UserPrompt
{
public:
    enum class Buttons { Ok, OkCancel, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Icon { None, Information, Warning, Error };

    struct FileDialogOptions
    {
        QString initialFolder;   // may be empty, or name a file
        QString initialFileName; // name or full path proposed in the dialog
        QString defaultSuffix;   // appended to a name typed without extension, e.g. "ag"
        QStringList filters;     // Qt form, e.g. "Autogirofil (*.ag)"; the first is selected
        bool confirmOverwrite = false;

        // The dialog that saves a CSV file under the name proposed, asking before it replaces one.
        static FileDialogOptions csvFile(const QString& folder, const QString& fileName)
        {
            return {folder, fileName, QStringLiteral("csv"),
                    {QStringLiteral("CSV-fil (*.csv)"), QStringLiteral("Alla filer (*)")}, true};
        }
    };

    virtual ~UserPrompt() = default;

    // An empty caption shows an empty title.
    virtual Answer showMessage(const QString& caption, const QString& text, Buttons buttons,
                               Icon icon = Icon::None) = 0;
    // A message with a technical details part that the user opens on request. Shown as a plain
    // message where the prompt has no room for details.
    virtual Answer showDetailedMessage(const QString& caption, const QString& text, const QString& details,
                                       Buttons buttons, Icon icon = Icon::None)
    {
        Q_UNUSED(details);
        return showMessage(caption, text, buttons, icon);
    }
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString askSaveFileName(const FileDialogOptions& options) = 0;
    virtual QString askOpenFileName(const FileDialogOptions& options) = 0;
    // A question with three answers of their own texts, for example "Spara ändå", "Visa" and
    // "Avbryt": Yes stands for the first, No for the second, Cancel for the third and for closing
    // the box. A prompt without such boxes asks Yes, No or Cancel instead.
    virtual Answer askChoice(const QString& caption, const QString& text, const QStringList& choices,
                             Icon icon = Icon::Warning)
    {
        Q_UNUSED(choices);
        return showMessage(caption, text, Buttons::YesNoCancel, icon);
    }
    // Shown while a long file operation runs (a wait cursor); nestable.
    virtual void beginBusy() {}
    virtual void endBusy() {}
    // How far a long piece of work has come, with a way to stop it; nothing is shown for work that
    // ends within about half a second. A prompt without such a window never stops the work.
    virtual std::unique_ptr<Progress> startProgress(const QString& label, qint64 total)
    {
        Q_UNUSED(label);
        Q_UNUSED(total);
        return std::make_unique<NoProgress>();
    }
};

// Shows the wait cursor from construction until end() or destruction, so it is restored also when
// the work in between throws.
class BusyScope
{
public:
    explicit BusyScope(UserPrompt& prompt) : m_prompt(prompt) { m_prompt.beginBusy(); }
    ~BusyScope() { end(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    void end()
    {
        if (m_active)
            m_prompt.endBusy();
        m_active = false;
    }

private:
    UserPrompt& m_prompt;
    bool m_active = true;
};

// The file-type filter of the save and open dialogs.
inline QStringList OrderFileFilters()
{
    return {QStringLiteral("Autogirofil (*.ag)"), QStringLiteral("Textfil (*.txt)"),
            QStringLiteral("Alla filer (*)")};
}

// The application title, shown with run-time errors and the report-file notice.
inline QString ApplicationTitle()
{
    return QStringLiteral("Lumora Valmo");
}
