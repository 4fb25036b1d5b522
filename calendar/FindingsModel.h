#pragma once

#include "calendar/DeliveryFinding.h"

#include <QAbstractTableModel>
#include <QList>

// The findings of the check before delivery as a table: level, list, row, column and message. The
// rows are the findings themselves, so a file with a finding on each of a million rows costs no more
// than the findings.
class FindingsModel : public QAbstractTableModel
{
public:
    enum Column
    {
        LevelColumn,
        ListColumn,
        RowColumn,
        ColumnColumn,
        MessageColumn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setFindings(const QList<DeliveryFinding>& findings);
    const QList<DeliveryFinding>& findings() const { return m_findings; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(const DeliveryFinding& finding, int column) const;

    QList<DeliveryFinding> m_findings;
};
