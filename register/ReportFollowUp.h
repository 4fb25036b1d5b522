#pragma once

#include "register/RegisterFollowUps.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class ReportView;
class UserPrompt;
struct ReportRegisterRows;

// The follow-up commands under a report of the register's payee: "Nytt försök" and
// "Nytt betaluppdrag..." for payments, "Nytt betaluppdrag...", "Rätta medgivande", "Godkänn" and
// "Avvisa" for mandates, each for the items selected that the register holds. The row is shown
// only when the register exists and belongs to the report's payee; each command shows only for the
// kinds of report it serves.
class ReportFollowUp : public QWidget
{
    Q_OBJECT

public:
    // registerPath gives the register in use at the moment asked; the row puts itself under the
    // report's table.
    ReportFollowUp(ReportView& view, UserPrompt& prompt, std::function<QString()> registerPath,
                   RegisterFollowUps followUps);

    // Looks again whether the report on view has a register to follow up in.
    void refresh();

    QPushButton* retryButton() const { return m_retry; }
    QPushButton* newPaymentsButton() const { return m_newPayments; }
    QPushButton* correctButton() const { return m_correct; }
    QPushButton* approveButton() const { return m_approve; }
    QPushButton* refuseButton() const { return m_refuse; }

private:
    QPushButton* addButton(const QString& text, const QString& toolTip, std::function<void()> onClick);
    bool registerHoldsPayee() const;
    void updateButtons();
    // The register's rows for the selected items; false (after telling the user) when none is there.
    bool selectedRows(ReportRegisterRows& rows);
    void retry();
    void forPayers(const std::function<void(const QList<RegisterPayerRow>&)>& action);

    ReportView& m_view;
    UserPrompt& m_prompt;
    std::function<QString()> m_registerPath;
    RegisterFollowUps m_followUps;
    QPushButton* m_retry = nullptr;
    QPushButton* m_newPayments = nullptr;
    QPushButton* m_correct = nullptr;
    QPushButton* m_approve = nullptr;
    QPushButton* m_refuse = nullptr;
};
