#pragma once

#include <QDate>

// Today's date, injectable so that tests fix it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    // The real local date.
    static const Clock& system();
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDate& date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void setDate(const QDate& date) { m_date = date; }

private:
    QDate m_date;
};
