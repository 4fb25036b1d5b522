#pragma once

#include "format/UserPrompt.h"

#include <memory>

class QMessageBox;
class QWidget;

// The window's side of UserPrompt: real message boxes and file dialogs over a parent widget. Every
// message box and file dialog of the editor is shown here.
class WidgetPrompt : public UserPrompt
{
public:
    explicit WidgetPrompt(QWidget* parent) : m_parent(parent) {}

    Answer showMessage(const QString& caption, const QString& text, Buttons buttons,
                       Icon icon = Icon::None) override;
    Answer showDetailedMessage(const QString& caption, const QString& text, const QString& details,
                               Buttons buttons, Icon icon = Icon::None) override;
    QString askSaveFileName(const FileDialogOptions& options) override;
    QString askOpenFileName(const FileDialogOptions& options) override;
    Answer askChoice(const QString& caption, const QString& text, const QStringList& choices,
                     Icon icon = Icon::Warning) override;
    void beginBusy() override;
    void endBusy() override;
    std::unique_ptr<Progress> startProgress(const QString& label, qint64 total) override;

    // Tests: every WidgetPrompt hands its questions to this prompt instead of showing a window;
    // nullptr shows the real dialogs again.
    static void setStandIn(UserPrompt* standIn);
    // The message box showMessage shows: named for a screen reader by its caption and message,
    // with the keyboard focus on its default button (OK, or Yes where it asks Yes, No or Cancel).
    static std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& caption,
                                                       const QString& text, Buttons buttons, Icon icon);
    // Caption and message as one sentence run, as a screen reader reads the box.
    static QString spokenText(const QString& caption, const QString& text);
    // The width a message box with this caption and text opens with.
    static int openingWidth(const QString& caption, const QString& text);

private:
    static Answer run(QMessageBox& box, Buttons buttons);

    QWidget* m_parent;
};
