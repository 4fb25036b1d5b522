#pragma once

#include <QCursor>
#include <QList>

// Lifts every override cursor (the wait cursor of a long file operation) for as long as it lives
// and puts them back afterwards, so a message box or file dialog shown in the middle of such an
// operation has the ordinary arrow.
class CursorPause
{
public:
    CursorPause();
    ~CursorPause();
    CursorPause(const CursorPause&) = delete;
    CursorPause& operator=(const CursorPause&) = delete;

private:
    QList<QCursor> m_lifted; // innermost first
};
