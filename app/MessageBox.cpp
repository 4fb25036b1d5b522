#include "app/MessageBox.h"

#include "app/CursorPause.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QList>
#include <QMessageBox>
#include <QSpacerItem>

#include <cstdio>

namespace {

struct Seam
{
    QList<MessageBox::Answer> answers;
    QList<MessageBox::Shown> shown;
    bool failWhenUnanswered = false;
};

Seam& seam()
{
    static Seam s;
    return s;
}

QMessageBox::StandardButtons standardButtons(MessageBox::Buttons buttons)
{
    switch (buttons) {
    case MessageBox::Buttons::Ok:
        return QMessageBox::Ok;
    case MessageBox::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageBox::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::None:
        return QMessageBox::NoIcon;
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MessageBox::Answer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return MessageBox::Answer::Ok;
    case QMessageBox::Yes:
        return MessageBox::Answer::Yes;
    case QMessageBox::No:
        return MessageBox::Answer::No;
    default:
        return MessageBox::Answer::Cancel;
    }
}

// Closing a box without a button counts as Cancel, or OK where OK is the only button.
MessageBox::Answer closedAnswer(MessageBox::Buttons buttons)
{
    return buttons == MessageBox::Buttons::Ok ? MessageBox::Answer::Ok : MessageBox::Answer::Cancel;
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

} // namespace

int MessageBox::openingWidth(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    widenForCaptionAndText(box, caption, text);
    box.adjustSize();
    return box.width();
}

MessageBox::Answer MessageBox::show(QWidget* parent, const QString& caption, const QString& text,
                                    Buttons buttons, Icon icon)
{
    const CursorPause arrowCursor;
    seam().shown.append({caption, text, buttons, icon, QGuiApplication::overrideCursor() != nullptr});
    if (!seam().answers.isEmpty())
        return seam().answers.takeFirst();
    if (seam().failWhenUnanswered) {
        std::fprintf(stderr, "Unanswered message box: %s\n", qPrintable(text));
        return closedAnswer(buttons);
    }

    QMessageBox box(standardIcon(icon), caption, text, standardButtons(buttons), parent);
    if (buttons != Buttons::Ok)
        box.setEscapeButton(QMessageBox::Cancel);
    widenForCaptionAndText(box, caption, text);
    const int result = box.exec();
    if (box.clickedButton() == nullptr)
        return closedAnswer(buttons);
    return answerOf(result);
}

void MessageBox::setNextAnswer(Answer answer)
{
    seam().answers.append(answer);
}

void MessageBox::clearAnswers()
{
    seam().answers.clear();
}

const QList<MessageBox::Shown>& MessageBox::shown()
{
    return seam().shown;
}

void MessageBox::clearShown()
{
    seam().shown.clear();
}

void MessageBox::setFailWhenUnanswered(bool fail)
{
    seam().failWhenUnanswered = fail;
}
