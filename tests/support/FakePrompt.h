#pragma once

#include "FakeProgress.h"
#include "format/UserPrompt.h"

#include <QList>
#include <QStringList>

// The one way tests answer the user's questions: answers and file names from queues, and a record
// of every message and file dialog. Core tests hand it to the command; GUI tests get it through
// guiPrompt(), which every window's prompt hands its questions to.
class FakePrompt : public UserPrompt
{
public:
    struct Message
    {
        QString caption;
        QString text;
        Buttons buttons;
        Icon icon;
        int busyDepth; // wait cursors in force while the box was shown: a box never shows one
        QString details = QString();
    };

    QList<Answer> answers;        // answers to the next message boxes, in order
    QStringList saveFileNames;    // results of the next save dialogs ("" cancels)
    QStringList openFileNames;    // results of the next open dialogs ("" cancels)
    QList<Message> messages;      // every message shown
    QList<FileDialogOptions> dialogs; // options of every file dialog shown
    int busyDepth = 0;
    int busyCount = 0;
    int cancelProgressAtStep = 0; // the progress of long work cancels at this step (0: never)
    QStringList progressLabels;   // the label of every long work's progress

    Answer showMessage(const QString& caption, const QString& text, Buttons buttons, Icon icon) override
    {
        messages.append({caption, text, buttons, icon, busyDepth});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    Answer showDetailedMessage(const QString& caption, const QString& text, const QString& details,
                               Buttons buttons, Icon icon) override
    {
        const Answer answer = showMessage(caption, text, buttons, icon);
        messages.last().details = details;
        return answer;
    }
    QString askSaveFileName(const FileDialogOptions& options) override
    {
        dialogs.append(options);
        return saveFileNames.isEmpty() ? QString() : saveFileNames.takeFirst();
    }
    QString askOpenFileName(const FileDialogOptions& options) override
    {
        dialogs.append(options);
        return openFileNames.isEmpty() ? QString() : openFileNames.takeFirst();
    }
    void beginBusy() override
    {
        ++busyDepth;
        ++busyCount;
    }
    void endBusy() override { --busyDepth; }
    std::unique_ptr<Progress> startProgress(const QString& label, qint64) override
    {
        progressLabels.append(label);
        return std::make_unique<FakeProgress>(cancelProgressAtStep);
    }

    // Forgets the queued answers and what was shown.
    void clear()
    {
        answers.clear();
        saveFileNames.clear();
        openFileNames.clear();
        messages.clear();
        dialogs.clear();
        busyCount = 0;
        cancelProgressAtStep = 0;
        progressLabels.clear();
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Message& m : messages)
            result.append(m.text);
        return result;
    }
};
