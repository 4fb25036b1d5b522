#include "calendar/DeliveryCheckView.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "calendar/CalendarTexts.h"
#include "calendar/DeliveryCheck.h"
#include "calendar/DeliveryQuestion.h"
#include "calendar/FindingsWindow.h"
#include "register/RegisterDeliveryCheck.h"
#include "register/RegisterSettings.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace {

// The deadline turns red within this time of passing.
constexpr int RefreshMilliseconds = 30 * 1000;
// An open findings window is checked anew after this time even when the document is unchanged.
constexpr int FindingsAgeSeconds = 60;

} // namespace

DeliveryCheckView::DeliveryCheckView(QMainWindow* window, const OrderDocument& document, UserPrompt& prompt,
                                     const Clock& clock, std::function<void(ListId, int)> editRow)
    : QObject(window), m_mainWindow(window), m_document(document), m_prompt(prompt), m_clock(&clock),
      m_editRow(std::move(editRow))
{
    m_action = new QAction(QStringLiteral("&Kontrollera...\tF7"), this);
    m_action->setObjectName(QStringLiteral("check"));
    m_action->setShortcut(QKeySequence(Qt::Key_F7));
    m_action->setShortcutContext(Qt::WindowShortcut);
    m_action->setToolTip(QStringLiteral("Kontrollera filen mot Bankgirots kalender och tidsgränser (F7)"));
    window->addAction(m_action);
    connect(m_action, &QAction::triggered, this, [this] { showFindings(); });

    m_deadline = new QLabel(window);
    m_deadline->setObjectName(QStringLiteral("DeadlineLabel"));
    window->statusBar()->addPermanentWidget(m_deadline);
    m_deadline->hide();

    m_minute = new QTimer(this);
    m_minute->setInterval(RefreshMilliseconds);
    connect(m_minute, &QTimer::timeout, this, [this] { showDeadline(); });
}

QString DeliveryCheckView::momentText() const
{
    return CalendarTexts::ShortSwedishMoment(m_clock->now());
}

FindingsWindow* DeliveryCheckView::ensureWindow()
{
    if (!m_window) {
        m_window = new FindingsWindow(m_mainWindow);
        connect(m_window, &FindingsWindow::rowRequested, this, [this](ListId list, int row) {
            if (m_editRow)
                m_editRow(list, row);
        });
    }
    return m_window;
}

DeliveryCheckView::DocumentState DeliveryCheckView::documentState() const
{
    return {m_document.BtuList.revision(), m_document.MdgList.revision(), m_document.MdgListComp.revision(),
            m_document.MakList.rows().revision(), m_document.PrivateService ? 1u : 0u};
}

void DeliveryCheckView::fillWindow(const QList<DeliveryFinding>& findings)
{
    m_checkedState = documentState();
    m_checkedAt = m_clock->now();
    ensureWindow()->setFindings(findings, momentText());
}

void DeliveryCheckView::showFindings()
{
    fillWindow(CheckDeliveryWithRegister(m_document, m_clock->now(), RegisterSettings::path()));
    FindingsWindow* window = m_window;
    window->show();
    window->raise();
    window->activateWindow();
}

bool DeliveryCheckView::mayBeSaved()
{
    const QList<DeliveryFinding> findings = CheckDeliveryWithRegister(m_document, m_clock->now(), RegisterSettings::path());
    switch (AskBeforeSaving(findings, m_prompt)) {
    case DeliveryAnswer::Save:
        return true;
    case DeliveryAnswer::Show:
        fillWindow(findings);
        m_window->show();
        m_window->raise();
        return false;
    case DeliveryAnswer::Cancel:
        break;
    }
    return false;
}

void DeliveryCheckView::documentChanged()
{
    // The window calls this on every change of selection or focus as well: the payment orders
    // are read again only when they have changed.
    if (m_deadlineRevision != m_document.BtuList.revision() || !m_deadlineKnown) {
        m_deadlineMoment = EarliestDeliveryDeadline(m_document);
        m_deadlineRevision = m_document.BtuList.revision();
        m_deadlineKnown = true;
    }
    showDeadline();
    // A change of selection or focus alone leaves the open window as it is, with the line the
    // user is on; an edit, or a minute gone by, checks anew.
    if (!m_window || !m_window->isVisible())
        return;
    const QDateTime now = m_clock->now();
    if (documentState() == m_checkedState && m_checkedAt.isValid() && now >= m_checkedAt &&
        m_checkedAt.secsTo(now) < FindingsAgeSeconds)
        return;
    fillWindow(CheckDeliveryWithRegister(m_document, now, RegisterSettings::path()));
}

void DeliveryCheckView::showDeadline()
{
    if (!m_deadlineMoment.isValid()) {
        m_deadline->hide();
        m_minute->stop();
        return;
    }
    const bool passed = m_deadlineMoment <= m_clock->now();
    m_deadline->setText(QStringLiteral("Leverera till Bankgirot senast %1")
                            .arg(CalendarTexts::ShortSwedishMoment(m_deadlineMoment)));
    const QString style = passed ? QStringLiteral("color: #b00000; font-weight: bold;") : QString();
    if (m_deadline->styleSheet() != style) // a style sheet set again lays the label out again
        m_deadline->setStyleSheet(style);
    m_deadline->setToolTip(passed ? QStringLiteral("Tiden har passerat: banken behandlar betalningen senare "
                                                   "än den första betalningsdagen.")
                                  : QStringLiteral("Den tidigaste betalningsdagens sista leveranstid"));
    m_deadline->setProperty("passed", passed);
    m_deadline->show();
    if (passed)
        m_minute->stop();
    else if (!m_minute->isActive())
        m_minute->start();
}
