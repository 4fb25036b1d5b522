#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Runs a handler each time the keyboard focus leaves a field for another field or button of the
// same window. The focus going to another window (a menu, a message box) is no exit.
class FieldExitWatcher : public QObject
{
    Q_OBJECT

public:
    FieldExitWatcher(QWidget* field, std::function<void()> onExit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onExit;
};
