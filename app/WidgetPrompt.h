#pragma once

#include "format/UserPrompt.h"

class QWidget;

// The window's side of UserPrompt: real message boxes and file dialogs over a parent widget.
class WidgetPrompt : public UserPrompt
{
public:
    explicit WidgetPrompt(QWidget* parent) : m_parent(parent) {}

    Answer showMessage(const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    QString askSaveFileName(const FileDialogOptions& options) override;
    QString askOpenFileName(const FileDialogOptions& options) override;
    void beginBusy() override;
    void endBusy() override;

private:
    QWidget* m_parent;
};
