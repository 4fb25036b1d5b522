#pragma once

#include "format/UserPrompt.h"

#include <QList>
#include <QStringList>

// A UserPrompt for core tests: answers from queues and records every message.
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
    };

    QList<Answer> answers;        // answers to the next message boxes, in order
    QStringList saveFileNames;    // results of the next save dialogs ("" cancels)
    QStringList openFileNames;    // results of the next open dialogs ("" cancels)
    QList<Message> messages;      // every message shown
    QList<FileDialogOptions> dialogs; // options of every file dialog shown
    int busyDepth = 0;
    int busyCount = 0;

    Answer showMessage(const QString& caption, const QString& text, Buttons buttons, Icon icon) override
    {
        messages.append({caption, text, buttons, icon, busyDepth});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
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

    QStringList texts() const
    {
        QStringList result;
        for (const Message& m : messages)
            result.append(m.text);
        return result;
    }
};
