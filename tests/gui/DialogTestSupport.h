#pragma once

#include "app/ListRow.h"
#include "support/GuiPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

#include <ostream>

inline void PrintTo(const ListRow& row, std::ostream* os)
{
    *os << '[';
    for (int i = 0; i < row.columnCount(); ++i)
        *os << (i ? " | " : "") << row.text(i).toStdString();
    *os << ']';
}

// Drives fields of a dialog that is not on screen: focus changes and typed keys are sent as the
// window system would send them.
namespace DialogTest {

inline void enterField(QWidget* field)
{
    QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(field, &event);
}

inline void leaveField(QWidget* field, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent event(QEvent::FocusOut, reason);
    QApplication::sendEvent(field, &event);
}

inline void typeKey(QWidget* field, const QString& character,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, int key = 0)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, character);
    QApplication::sendEvent(field, &event);
}

inline void typeText(QWidget* field, const QString& text)
{
    for (const QChar c : text)
        typeKey(field, QString(c));
}

// Runs OK; true when the dialog closed with OK.
template <typename Dialog> bool pressOk(Dialog& dialog)
{
    dialog.setResult(QDialog::Rejected);
    dialog.SaveBtnClick();
    return dialog.result() == QDialog::Accepted;
}

// The texts of the message boxes shown since the last reset.
inline QStringList shownTexts()
{
    QStringList texts;
    for (const auto& shown : guiPrompt().messages)
        texts.append(shown.text);
    return texts;
}

inline void resetMessages()
{
    guiPrompt().clear();
}

} // namespace DialogTest

namespace DialogTest {

// The given controls in the order the Tab key visits them, starting from the first.
inline QList<QWidget*> tabOrderOf(const QList<QWidget*>& controls)
{
    QList<QWidget*> order;
    QWidget* widget = controls.first();
    do {
        if (controls.contains(widget) && (widget->focusPolicy() & Qt::TabFocus) && !order.contains(widget))
            order.append(widget);
        widget = widget->nextInFocusChain();
    } while (widget != controls.first());
    return order;
}

} // namespace DialogTest
