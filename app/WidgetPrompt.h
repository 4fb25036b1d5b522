#pragma once

#include "format/UserPrompt.h"

class QWidget;

// The window's side of UserPrompt: real message boxes and file dialogs over a parent widget. Every
// message box and file dialog of the editor is shown here.
class WidgetPrompt : public UserPrompt
{
public:
    explicit WidgetPrompt(QWidget* parent) : m_parent(parent) {}

    Answer showMessage(const QString& caption, const QString& text, Buttons buttons,
                       Icon icon = Icon::None) override;
    QString askSaveFileName(const FileDialogOptions& options) override;
    QString askOpenFileName(const FileDialogOptions& options) override;
    Answer askChoice(const QString& caption, const QString& text, const QStringList& choices,
                     Icon icon = Icon::Warning) override;
    void beginBusy() override;
    void endBusy() override;

    // Tests: every WidgetPrompt hands its questions to this prompt instead of showing a window;
    // nullptr shows the real dialogs again.
    static void setStandIn(UserPrompt* standIn);
    // The width a message box with this caption and text opens with.
    static int openingWidth(const QString& caption, const QString& text);

private:
    QWidget* m_parent;
};
