#pragma once

#include <QDate>
#include <QDateTime>

// Today's date and the moment, injectable so that tests fix them.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    // The local date and time; a clock that knows only the date gives its midnight.
    virtual QDateTime now() const { return today().startOfDay(); }
    // The real local date.
    static const Clock& system();
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDate& date) : m_moment(date.startOfDay()) {}
    explicit FixedClock(const QDateTime& moment) : m_moment(moment) {}
    QDate today() const override { return m_moment.date(); }
    QDateTime now() const override { return m_moment; }
    void setDate(const QDate& date) { m_moment = date.startOfDay(); }
    void setMoment(const QDateTime& moment) { m_moment = moment; }

private:
    QDateTime m_moment;
};
