#include "app/FileDialog.h"

#include <QFileDialog>

#include <optional>

namespace {

std::optional<QString>& nextFileName()
{
    static std::optional<QString> name;
    return name;
}

UserPrompt::FileDialogOptions& lastDialogOptions()
{
    static UserPrompt::FileDialogOptions options;
    return options;
}

QString runDialog(QWidget* parent, const UserPrompt::FileDialogOptions& options, QFileDialog::AcceptMode mode)
{
    lastDialogOptions() = options;
    if (nextFileName()) {
        const QString name = *nextFileName();
        nextFileName().reset();
        return name;
    }

    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setNameFilters(options.filters);
    if (!options.filters.isEmpty())
        dialog.selectNameFilter(options.filters.first());
    if (!options.initialFolder.isEmpty())
        dialog.setDirectory(options.initialFolder);
    if (!options.initialFileName.isEmpty())
        dialog.selectFile(options.initialFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString FileDialog::getSaveFileName(QWidget* parent, const UserPrompt::FileDialogOptions& options)
{
    return runDialog(parent, options, QFileDialog::AcceptSave);
}

QString FileDialog::getOpenFileName(QWidget* parent, const UserPrompt::FileDialogOptions& options)
{
    return runDialog(parent, options, QFileDialog::AcceptOpen);
}

void FileDialog::setNextFileName(const QString& fileName)
{
    nextFileName() = fileName;
}

const UserPrompt::FileDialogOptions& FileDialog::lastOptions()
{
    return lastDialogOptions();
}
