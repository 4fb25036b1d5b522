#include "app/WidgetPrompt.h"

#include "app/CursorPause.h"
#include "app/WaitCursor.h"
#include "progress/ProgressWindow.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace {

UserPrompt*& standIn()
{
    static UserPrompt* prompt = nullptr;
    return prompt;
}

QMessageBox::StandardButtons standardButtons(UserPrompt::Buttons buttons)
{
    switch (buttons) {
    case UserPrompt::Buttons::Ok:
        return QMessageBox::Ok;
    case UserPrompt::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case UserPrompt::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(UserPrompt::Icon icon)
{
    switch (icon) {
    case UserPrompt::Icon::None:
        return QMessageBox::NoIcon;
    case UserPrompt::Icon::Information:
        return QMessageBox::Information;
    case UserPrompt::Icon::Warning:
        return QMessageBox::Warning;
    case UserPrompt::Icon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton defaultButtonOf(UserPrompt::Buttons buttons)
{
    return buttons == UserPrompt::Buttons::YesNoCancel ? QMessageBox::Yes : QMessageBox::Ok;
}

UserPrompt::Answer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return UserPrompt::Answer::Ok;
    case QMessageBox::Yes:
        return UserPrompt::Answer::Yes;
    case QMessageBox::No:
        return UserPrompt::Answer::No;
    default:
        return UserPrompt::Answer::Cancel;
    }
}

// Closing a box without a button counts as Cancel, or OK where OK is the only button.
UserPrompt::Answer closedAnswer(UserPrompt::Buttons buttons)
{
    return buttons == UserPrompt::Buttons::Ok ? UserPrompt::Answer::Ok : UserPrompt::Answer::Cancel;
}

// The box is made wide enough for its caption beside the title bar's buttons, and for its longest
// line up to a width where wrapping reads better; a message box otherwise cuts its caption off.
void widenForCaptionAndText(QMessageBox& box, const QString& caption, const QString& text)
{
    constexpr int TitleBarButtons = 140;
    constexpr int WidestLine = 560;
    const QFontMetrics metrics(box.font());
    int width = metrics.horizontalAdvance(caption) + TitleBarButtons;
    for (const QString& line : text.split(QLatin1Char('\n')))
        width = qMax(width, qMin(metrics.horizontalAdvance(line) + 80, WidestLine));
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
}

QString runFileDialog(QWidget* parent, const UserPrompt::FileDialogOptions& options,
                      QFileDialog::AcceptMode mode)
{
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

UserPrompt::Answer WidgetPrompt::showMessage(const QString& caption, const QString& text, Buttons buttons,
                                             Icon icon)
{
    const CursorPause arrowCursor;
    if (standIn())
        return standIn()->showMessage(caption, text, buttons, icon);

    return run(*makeMessageBox(m_parent, caption, text, buttons, icon), buttons);
}

UserPrompt::Answer WidgetPrompt::showDetailedMessage(const QString& caption, const QString& text,
                                                     const QString& details, Buttons buttons, Icon icon)
{
    const CursorPause arrowCursor;
    if (standIn())
        return standIn()->showDetailedMessage(caption, text, details, buttons, icon);

    const std::unique_ptr<QMessageBox> box = makeMessageBox(m_parent, caption, text, buttons, icon);
    box->setDetailedText(details);
    return run(*box, buttons);
}

UserPrompt::Answer WidgetPrompt::run(QMessageBox& box, Buttons buttons)
{
    const int result = box.exec();
    if (box.clickedButton() == nullptr)
        return closedAnswer(buttons);
    return answerOf(result);
}

UserPrompt::Answer WidgetPrompt::askChoice(const QString& caption, const QString& text, const QStringList& choices,
                                           Icon icon)
{
    const CursorPause arrowCursor;
    if (standIn())
        return standIn()->askChoice(caption, text, choices, icon);

    QMessageBox box(standardIcon(icon), caption, text, QMessageBox::NoButton, m_parent);
    const QMessageBox::ButtonRole roles[] = {QMessageBox::YesRole, QMessageBox::NoRole, QMessageBox::RejectRole};
    const Answer answers[] = {Answer::Yes, Answer::No, Answer::Cancel};
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < 3; ++i)
        buttons.append(box.addButton(choices.value(i), roles[i]));
    box.setEscapeButton(buttons[2]);
    box.setDefaultButton(static_cast<QPushButton*>(buttons[1]));
    widenForCaptionAndText(box, caption, text);
    box.setAccessibleName(spokenText(caption, text));
    box.defaultButton()->setFocus(Qt::OtherFocusReason);
    box.exec();
    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen < 0 ? Answer::Cancel : answers[chosen];
}

std::unique_ptr<QMessageBox> WidgetPrompt::makeMessageBox(QWidget* parent, const QString& caption,
                                                          const QString& text, Buttons buttons, Icon icon)
{
    auto box = std::make_unique<QMessageBox>(standardIcon(icon), caption, text, standardButtons(buttons),
                                             parent);
    if (buttons != Buttons::Ok)
        box->setEscapeButton(QMessageBox::Cancel);
    widenForCaptionAndText(*box, caption, text);
    // A screen reader announces the box as one text, caption and message together; most boxes
    // have no caption, and the message alone would otherwise be left for the reader to find.
    box->setAccessibleName(spokenText(caption, text));
    box->setDefaultButton(defaultButtonOf(buttons));
    box->defaultButton()->setFocus(Qt::OtherFocusReason);
    return box;
}

QString WidgetPrompt::spokenText(const QString& caption, const QString& text)
{
    QString message = text;
    message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = message.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList parts;
    if (!caption.trimmed().isEmpty())
        parts.append(caption.trimmed());
    for (const QString& line : lines)
        parts.append(line.trimmed());
    return parts.join(QLatin1Char(' '));
}

QString WidgetPrompt::askSaveFileName(const FileDialogOptions& options)
{
    const CursorPause arrowCursor;
    if (standIn())
        return standIn()->askSaveFileName(options);
    return runFileDialog(m_parent, options, QFileDialog::AcceptSave);
}

QString WidgetPrompt::askOpenFileName(const FileDialogOptions& options)
{
    const CursorPause arrowCursor;
    if (standIn())
        return standIn()->askOpenFileName(options);
    return runFileDialog(m_parent, options, QFileDialog::AcceptOpen);
}

// The wait cursor is the window's own state, not a question: it is shown also while a stand-in
// answers, so tests see the cursor the user would see.
void WidgetPrompt::beginBusy()
{
    BeginWaitCursor(m_parent);
}

void WidgetPrompt::endBusy()
{
    EndWaitCursor();
}

std::unique_ptr<Progress> WidgetPrompt::startProgress(const QString& label, qint64 total)
{
    if (standIn())
        return standIn()->startProgress(label, total);
    return std::make_unique<ProgressWindow>(m_parent, label, total);
}

void WidgetPrompt::setStandIn(UserPrompt* prompt)
{
    standIn() = prompt;
}

int WidgetPrompt::openingWidth(const QString& caption, const QString& text)
{
    const std::unique_ptr<QMessageBox> box = makeMessageBox(nullptr, caption, text, Buttons::Ok, Icon::None);
    box->adjustSize();
    return box->width();
}
