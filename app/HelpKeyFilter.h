#pragma once

#include <QObject>

#include <functional>

class QWidget;

// F1 anywhere in the program opens the help of the window that has the focus. The handler gets
// that window and tells whether it had a topic for it.
class HelpKeyFilter : public QObject
{
public:
    using Handler = std::function<bool(QWidget* window)>;

    HelpKeyFilter(Handler handler, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};
