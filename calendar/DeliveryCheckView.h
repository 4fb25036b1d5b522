#pragma once

#include "calendar/FindingsWindow.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

class Clock;
class OrderDocument;
class QAction;
class QLabel;
class QMainWindow;
class QTimer;
class UserPrompt;

// The check before delivery in the main window: the command "Kontrollera" with its findings window,
// the question before a save the bank would reject in part, and the delivery deadline of the
// earliest payment order in the status bar, red once it has passed.
class DeliveryCheckView : public QObject
{
    Q_OBJECT

public:
    // editRow goes to a row of a list and opens it for editing.
    DeliveryCheckView(QMainWindow* window, const OrderDocument& document, UserPrompt& prompt,
                      const Clock& clock, std::function<void(ListId, int)> editRow);

    // "&Kontrollera...", F7 in the window.
    QAction* action() const { return m_action; }
    QLabel* deadlineLabel() const { return m_deadline; }
    // The moment the check looks from; the system clock unless set.
    void setClock(const Clock& clock) { m_clock = &clock; }
    // The window of the last "Kontrollera", or nullptr before the first.
    FindingsWindow* findingsWindow() const { return m_window; }

    // Checks the document now and shows the findings.
    void showFindings();
    // Run before a save: true when it may go ahead. A "fel" asks "Spara ändå", "Visa" or "Avbryt";
    // "Visa" shows the findings and stops the save.
    bool mayBeSaved();
    // The document has changed: the deadline is worked out again and an open findings window
    // checks anew.
    void documentChanged();

private:
    using DocumentState = std::array<quint64, 5>;

    QString momentText() const;
    void showDeadline();
    FindingsWindow* ensureWindow();
    // Checks the document at the clock's moment and fills the window with the findings.
    void fillWindow(const QList<DeliveryFinding>& findings);
    // The revisions of the four lists and the service type: what the findings depend on.
    DocumentState documentState() const;

    QMainWindow* m_mainWindow;
    const OrderDocument& m_document;
    UserPrompt& m_prompt;
    const Clock* m_clock;
    std::function<void(ListId, int)> m_editRow;
    QAction* m_action = nullptr;
    QLabel* m_deadline = nullptr;
    QTimer* m_minute = nullptr;
    QPointer<FindingsWindow> m_window;
    QDateTime m_deadlineMoment;
    quint64 m_deadlineRevision = 0; // the revision of the payment orders it was worked out from
    bool m_deadlineKnown = false;
    DocumentState m_checkedState{}; // the document the window's findings were worked out from
    QDateTime m_checkedAt;          // and the moment
};
