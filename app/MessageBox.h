#pragma once

#include "format/UserPrompt.h"

#include <QString>

class QWidget;

// Every message box of the editor goes through here, so tests can answer the next one.
class MessageBox
{
public:
    using Answer = UserPrompt::Answer;
    using Buttons = UserPrompt::Buttons;
    using Icon = UserPrompt::Icon;

    static Answer show(QWidget* parent, const QString& caption, const QString& text, Buttons buttons,
                       Icon icon = Icon::None);

    // Tests: the next boxes are not shown but answered in this order. Each answered box is
    // recorded, so a test can check what the user would have read.
    static void setNextAnswer(Answer answer);
    static void clearAnswers();
    struct Shown
    {
        QString caption;
        QString text;
        Buttons buttons;
        Icon icon;
        bool waitCursor; // an override cursor was in force while the box was up: never wanted
    };
    static const QList<Shown>& shown();
    static void clearShown();
    // The width a box with this caption and text opens with.
    static int openingWidth(const QString& caption, const QString& text);
    // Tests: a box that nobody answered fails loudly instead of waiting for a click.
    static void setFailWhenUnanswered(bool fail);
};
