#include "calendar/BankingDayMarks.h"

#include "calendar/BankCalendar.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QTextCharFormat>

namespace {

const QColor NonBankingColour(190, 0, 0);

// The page shows some days of the months before and after.
void markPage(QCalendarWidget* calendar, int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return;
    for (QDate day = first.addDays(-14); day <= first.addDays(45); day = day.addDays(1)) {
        if (BankCalendar::IsBankingDay(day))
            continue;
        QTextCharFormat format = calendar->dateTextFormat(day);
        const QString holiday = BankCalendar::HolidayName(day);
        format.setForeground(NonBankingColour);
        format.setToolTip(holiday.isEmpty() ? QStringLiteral("Ingen bankdag")
                                            : QStringLiteral("Ingen bankdag: %1").arg(holiday));
        calendar->setDateTextFormat(day, format);
    }
}

} // namespace

void MarkNonBankingDays(QCalendarWidget* calendar)
{
    if (!calendar)
        return;
    markPage(calendar, calendar->yearShown(), calendar->monthShown());
    QObject::connect(calendar, &QCalendarWidget::currentPageChanged, calendar,
                     [calendar](int year, int month) { markPage(calendar, year, month); });
}

BankingDayNote::BankingDayNote(QDateEdit* date, QComboBox* period, QCheckBox* immediate, QWidget* parent)
    : QLabel(parent), m_date(date), m_period(period), m_immediate(immediate)
{
    setObjectName(QStringLiteral("BankingDayNote"));
    setStyleSheet(QStringLiteral("color: #a00000;"));
    // The line keeps its place when empty, so the dialog's size never depends on the date shown.
    setMinimumHeight(fontMetrics().height());
    connect(date, &QDateEdit::dateChanged, this, [this] { refresh(); });
    if (period)
        connect(period, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    if (immediate)
        connect(immediate, &QCheckBox::toggled, this, [this] { refresh(); });
    refresh();
}

void BankingDayNote::refresh()
{
    const QDate date = m_date->date();
    if ((m_immediate && m_immediate->isChecked()) || !date.isValid() || BankCalendar::IsBankingDay(date)) {
        clear();
        return;
    }
    const bool lastBankingDay =
        m_period && m_period->currentText().startsWith(QStringLiteral("Sista bankdagen"));
    const QDate used =
        lastBankingDay ? BankCalendar::BankingDayOnOrBefore(date) : BankCalendar::BankingDayOnOrAfter(date);
    const QString holiday = BankCalendar::HolidayName(date);
    setText(QStringLiteral("Ingen bankdag%1: banken använder %2")
                .arg(holiday.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(holiday),
                     used.toString(Qt::ISODate)));
}
