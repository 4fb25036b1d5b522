#pragma once

#include <QLabel>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDateEdit;

// Marks, in a date picker's calendar, the days that are no banking days: holidays in red with their
// names as tool tips (weekends are red already), page by page as the user turns them.
void MarkNonBankingDays(QCalendarWidget* calendar);

// The line under a payment date: empty on a banking day, else the day the bank will use instead.
// With a "Sista bankdagen ..." period that is the banking day before, otherwise the one after;
// with "Genast" ticked there is no date to speak of.
class BankingDayNote : public QLabel
{
    Q_OBJECT

public:
    BankingDayNote(QDateEdit* date, QComboBox* period, QCheckBox* immediate, QWidget* parent = nullptr);

    // Shows the line for the fields as they are now.
    void refresh();

private:
    QDateEdit* m_date;
    QComboBox* m_period;
    QCheckBox* m_immediate;
};
