#include "theme/PaletteFollower.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QWidget>

namespace {

// The application hears of every new desktop palette; a widget inside a window, or one whose
// palette is its own, may not. One filter on the application tells every follower.
class PaletteWatch : public QObject
{
public:
    static PaletteWatch& instance()
    {
        static PaletteWatch watch;
        return watch;
    }

    void add(std::function<void()>* apply) { m_applies.append(apply); }
    void remove(std::function<void()>* apply) { m_applies.removeOne(apply); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
            const QList<std::function<void()>*> applies = m_applies;
            for (std::function<void()>* apply : applies) {
                if (m_applies.contains(apply))
                    (*apply)();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    PaletteWatch() { QCoreApplication::instance()->installEventFilter(this); }

    QList<std::function<void()>*> m_applies;
};

} // namespace

PaletteFollower::PaletteFollower(QWidget* widget, std::function<void()> apply)
    : QObject(widget), m_apply(std::move(apply))
{
    m_apply();
    PaletteWatch::instance().add(&m_apply);
}

PaletteFollower::~PaletteFollower()
{
    PaletteWatch::instance().remove(&m_apply);
}

void PaletteFollower::follow(QWidget* widget, std::function<void()> apply)
{
    new PaletteFollower(widget, std::move(apply));
}
