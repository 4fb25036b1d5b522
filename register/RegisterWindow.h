#pragma once

#include "register/RegisterQuery.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class QPushButton;
class QTabWidget;
class RegisterDatabase;
class RegisterTab;
class UserPrompt;

// The register window: the payers and the payments of the register in two tabs. It opens the
// register when shown and closes it when closed, so no database stays open between uses.
class RegisterWindow : public QDialog
{
    Q_OBJECT

public:
    // showSource shows a file at a line (counted from 1); folders are where source files are looked
    // for when an event is double-clicked.
    RegisterWindow(UserPrompt& prompt, std::function<void(const QString&, int)> showSource, QWidget* parent = nullptr);
    ~RegisterWindow() override;

    // Opens the register at path and shows its lists; false (after telling the user) when the
    // register cannot be used.
    bool openRegister(const QString& path);
    void setSourceFolders(const QStringList& folders) { m_folders = folders; }
    // What "Nytt försök" does with the payments selected in the payments' tab.
    void setRetry(std::function<void(const QList<RegisterPaymentRow>&)> retry) { m_retry = std::move(retry); }
    // The payments selected in the payments' tab, as the register holds them.
    QList<RegisterPaymentRow> selectedPayments() const;
    QPushButton* retryButton() const { return m_retryButton; }
    // What "Godkänn" (true) and "Avvisa" (false) do with the payers selected in the payers' tab.
    void setAnswer(std::function<void(const QList<RegisterPayerRow>&, bool)> answer) { m_answer = std::move(answer); }
    QList<RegisterPayerRow> selectedPayers() const;
    QPushButton* approveButton() const { return m_approveButton; }
    QPushButton* refuseButton() const { return m_refuseButton; }
    // What "Nytt betaluppdrag..." and "Rätta medgivande" do with the payers selected in the payers' tab.
    void setNewPayments(std::function<void(const QList<RegisterPayerRow>&)> newPayments)
    {
        m_newPayments = std::move(newPayments);
    }
    void setCorrect(std::function<void(const QList<RegisterPayerRow>&)> correct) { m_correct = std::move(correct); }
    QPushButton* newPaymentsButton() const { return m_newPaymentsButton; }
    QPushButton* correctButton() const { return m_correctButton; }

    QTabWidget* tabs() const { return m_tabs; }
    RegisterTab* payersTab() const { return m_payers; }
    RegisterTab* paymentsTab() const { return m_payments; }
    RegisterDatabase* database() const { return m_database.get(); }

    // Where a file named in the register lies: the name itself when it is a path that exists,
    // else the first of the folders that holds a file of that name; empty when none does.
    static QString locateSourceFile(const QString& name, const QStringList& folders);

protected:
    void done(int result) override;

private:
    void showSource(const QString& file, int line);
    void clearTabs();

    UserPrompt& m_prompt;
    std::function<void(const QString&, int)> m_showSource;
    QStringList m_folders;
    std::function<void(const QList<RegisterPaymentRow>&)> m_retry;
    QPushButton* m_retryButton = nullptr;
    std::function<void(const QList<RegisterPayerRow>&, bool)> m_answer;
    QPushButton* m_approveButton = nullptr;
    QPushButton* m_refuseButton = nullptr;
    std::function<void(const QList<RegisterPayerRow>&)> m_newPayments;
    QPushButton* m_newPaymentsButton = nullptr;
    std::function<void(const QList<RegisterPayerRow>&)> m_correct;
    QPushButton* m_correctButton = nullptr;
    QTabWidget* m_tabs = nullptr;
    RegisterTab* m_payers = nullptr;
    RegisterTab* m_payments = nullptr;
    std::unique_ptr<RegisterDatabase> m_database;
};
