#pragma once

#include "register/RegisterListQuery.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTableView;
class QTreeWidget;
class RegisterTableModel;
class UserPrompt;

// One tab of the register window: a filter box and a state filter over the list, the list sorted
// by any column, the sums per state of what is shown, export and printing, and the history of the
// selected row under the list. A double-click on an event asks for its source file at that line.
class RegisterTab : public QWidget
{
    Q_OBJECT

public:
    RegisterTab(const RegisterDatabase& database, RegisterList list, UserPrompt& prompt, QWidget* parent = nullptr);
    ~RegisterTab() override;

    QString title() const;
    void reload();

    QLineEdit* filterEdit() const { return m_filter; }
    QComboBox* stateBox() const { return m_state; }
    QTableView* table() const { return m_table; }
    QLabel* sumsLabel() const { return m_sums; }
    QTreeWidget* historyList() const { return m_history; }
    RegisterTableModel* model() const { return m_model; }

    // The rows shown, in their order, as CSV.
    QByteArray shownCsv() const;
    // Asks for a file name and writes the shown rows; true when a file was written.
    bool exportCsv();
    void printTo(QPrinter& printer) const;
    void print();
    // The rows now selected in the table, in their order.
    QList<RegisterListRow> selectedRows() const;

signals:
    void sourceRequested(const QString& file, int line);

private:
    void createControls();
    void showSums();
    void showHistory();
    void openEvent(int index);

    std::unique_ptr<RegisterListQuery> m_query;
    UserPrompt& m_prompt;
    RegisterTableModel* m_model = nullptr;
    QLineEdit* m_filter = nullptr;
    QComboBox* m_state = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_sums = nullptr;
    QTreeWidget* m_history = nullptr;
    QList<RegisterEventRow> m_events;
};
