#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Applies a widget's own colours now and again whenever the desktop palette changes, so a switch
// between a light and a dark desktop reaches a window that is already open, and every widget in it.
class PaletteFollower : public QObject
{
public:
    static void follow(QWidget* widget, std::function<void()> apply);
    ~PaletteFollower() override;

private:
    PaletteFollower(QWidget* widget, std::function<void()> apply);

    std::function<void()> m_apply;
};
