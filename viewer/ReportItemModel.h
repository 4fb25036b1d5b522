#pragma once

#include "format/Report.h"

#include <QAbstractTableModel>
#include <QColor>

// One section's items as table rows, in the columns of ReportTable. The display texts follow the
// user's locale; Qt::UserRole gives the sort key (numbers for the line and the amount). The row
// background shows the outcome.
class ReportItemModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ReportItemModel(QObject* parent = nullptr);

    void setReport(const Report* report);
    const ReportItem* item(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QColor outcomeColour(ItemOutcome outcome);

private:
    const Report* m_report = nullptr;
};
