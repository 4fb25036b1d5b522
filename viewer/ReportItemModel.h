#pragma once

#include "format/Report.h"
#include "format/ReportTable.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>

// One section's items as table rows, in the columns of ReportTable and a last column "Underlag":
// the delivered order each item answers, from the register. The display texts follow the user's
// locale; Qt::UserRole gives the sort key (numbers for the line and the amount). The row background
// shows the outcome.
class ReportItemModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ReportItemModel(QObject* parent = nullptr);

    static constexpr int SourceColumn = ReportTable::ColumnCount;

    void setReport(const Report* report);
    // The source of each item by its line; an item whose line is absent has an empty cell.
    void setSources(const QHash<int, QString>& sources);
    QString source(const ReportItem& item) const { return m_sources.value(item.line); }
    const QHash<int, QString>& sources() const { return m_sources; }
    const ReportItem* item(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QColor outcomeColour(ItemOutcome outcome);

private:
    const Report* m_report = nullptr;
    QHash<int, QString> m_sources;
};
