#include "app/MessageBox.h"

#include "app/CursorPause.h"

#include <QList>
#include <QGuiApplication>
#include <QMessageBox>

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

} // namespace

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
