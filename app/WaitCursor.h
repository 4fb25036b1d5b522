#pragma once

class QWidget;

// The wait cursor for an operation that runs without the event loop for a noticeable time.
// Before the operation starts, the window is brought up to date on the screen: a dialog that has
// just closed disappears and what the window still had to draw is drawn.
void BeginWaitCursor(QWidget* window);
void EndWaitCursor();

class WaitCursorScope
{
public:
    explicit WaitCursorScope(QWidget* window) { BeginWaitCursor(window); }
    ~WaitCursorScope() { EndWaitCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};
