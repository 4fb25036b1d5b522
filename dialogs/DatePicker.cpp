#include "dialogs/DatePicker.h"

#include <QKeyEvent>

namespace {

bool isDigit(const QString& text)
{
    return text.size() == 1 && text.at(0).isDigit();
}

bool isSeparator(const QString& text)
{
    return text.size() == 1 && text.at(0).isPrint() && !text.at(0).isLetterOrNumber();
}

} // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {}

bool DatePicker::focusNextPrevChild(bool next)
{
    // QDateEdit would move between its parts; the focus leaves the field instead.
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (m_sectionMovedOn && isSeparator(text)) {
        m_sectionMovedOn = false;
        event->accept();
        return;
    }
    const int before = currentSectionIndex();
    QDateEdit::keyPressEvent(event);
    const bool movedOn = currentSectionIndex() != before;
    // A separator ends a part typed short, such as the 1 of 2027-1-15, and goes on to the next.
    if (isSeparator(text) && !movedOn && before + 1 < sectionCount())
        setSelectedSection(sectionAt(before + 1));
    m_sectionMovedOn = isDigit(text) && movedOn;
}

void DatePicker::focusInEvent(QFocusEvent* event)
{
    m_sectionMovedOn = false;
    QDateEdit::focusInEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent* event)
{
    m_sectionMovedOn = false;
    QDateEdit::mousePressEvent(event);
}
