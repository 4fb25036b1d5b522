#pragma once

#include <QDateEdit>

// The date field of the entry dialogs. Tab and Shift+Tab move to the next or previous control,
// as in every other field; the arrow keys move between year, month and day. A separator typed
// right after a part has filled itself is skipped, so that 2027-01-15 typed in full gives that
// date: the part moves on by itself once it is full, and the separator must not move it again.
class DatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_sectionMovedOn = false;
};
