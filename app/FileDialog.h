#pragma once

#include "format/UserPrompt.h"

#include <QString>

class QWidget;

// Every file dialog of the editor goes through here, so tests can choose the next file name.
class FileDialog
{
public:
    static QString getSaveFileName(QWidget* parent, const UserPrompt::FileDialogOptions& options);
    static QString getOpenFileName(QWidget* parent, const UserPrompt::FileDialogOptions& options);

    // Tests: the next dialog is not shown and returns this name (an empty name cancels).
    static void setNextFileName(const QString& fileName);
    // Tests: the options that the last dialog was given.
    static const UserPrompt::FileDialogOptions& lastOptions();
};
