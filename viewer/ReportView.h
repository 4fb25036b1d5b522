#pragma once

#include "format/Report.h"

#include <QHash>
#include <QList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class ReportItemModel;

// The structured view of a report file: for the chosen section its kind, date, bankgiro and
// customer number, a plain warning when the totals disagree or lines are unknown, the sums per
// outcome, and its items in a sortable, filterable table that can be exported as CSV or printed.
class ReportView : public QWidget
{
    Q_OBJECT

public:
    explicit ReportView(QWidget* parent = nullptr);

    void setReports(const QList<Report>& reports, const QString& fileName);
    // The column "Underlag": the delivered order of each item by its line, from the register.
    void setItemSources(const QHash<int, QString>& sources);
    void focusFilter();

    // The shown rows (filtered and sorted) as CSV, and the export through the file dialog. The
    // export writes the whole file or nothing, and tells the user when it fails.
    QByteArray shownCsv() const;
    bool exportCsv();
    // Prints the shown rows with the section's heading; print() asks through the print dialog.
    void printTo(QPrinter& printer) const;
    void print();

    QTableView* table() const { return m_table; }
    QLineEdit* filterEdit() const { return m_filter; }
    QComboBox* sectionBox() const { return m_sections; }
    QString headingText() const;
    QString sumsText() const;
    // Empty when every section is complete and every line known.
    QString warningText() const;
    // The section on view; null when there is none.
    const Report* shownReport() const;
    // The items of the selected rows, in the order of the file.
    QList<const ReportItem*> selectedItems() const;

signals:
    // A row was double-clicked or Return pressed on it: the line of its record in the file.
    void lineActivated(int line);

private:
    void createControls();
    void showSection(int index);
    QString sectionHeading(const Report& report) const;
    QString sectionSums(const Report& report) const;
    QString sectionWarnings(const Report& report) const;
    QString leadingLines(const Report& report) const;
    QString printedHtml() const;
    QList<const ReportItem*> shownItems() const;

    QList<Report> m_reports;
    QString m_fileName;
    QLabel* m_warning = nullptr;
    QComboBox* m_sections = nullptr;
    QLabel* m_heading = nullptr;
    QLabel* m_sums = nullptr;
    QLineEdit* m_filter = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_print = nullptr;
    QTableView* m_table = nullptr;
    ReportItemModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
};
