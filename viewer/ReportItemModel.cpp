#include "viewer/ReportItemModel.h"

#include "format/ReportTable.h"

#include <QFont>
#include <QLocale>

ReportItemModel::ReportItemModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportItemModel::setReport(const Report* report)
{
    beginResetModel();
    m_report = report;
    endResetModel();
}

void ReportItemModel::setSources(const QHash<int, QString>& sources)
{
    m_sources = sources;
    if (rowCount() > 0)
        emit dataChanged(index(0, SourceColumn), index(rowCount() - 1, SourceColumn));
}

const ReportItem* ReportItemModel::item(int row) const
{
    if (!m_report || row < 0 || row >= m_report->items.size())
        return nullptr;
    return &m_report->items[row];
}

int ReportItemModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_report ? 0 : int(m_report->items.size());
}

int ReportItemModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ReportTable::ColumnCount + 1;
}

QColor ReportItemModel::outcomeColour(ItemOutcome outcome)
{
    switch (outcome) {
    case ItemOutcome::Paid:
    case ItemOutcome::Approved:
        return QColor(218, 242, 218);
    case ItemOutcome::NotPaid:
    case ItemOutcome::Refunded:
        return QColor(255, 236, 204);
    case ItemOutcome::Rejected:
    case ItemOutcome::Unknown:
        return QColor(250, 214, 214);
    case ItemOutcome::Cancelled:
        return QColor(232, 232, 232);
    case ItemOutcome::Changed:
        return QColor(217, 234, 247);
    case ItemOutcome::Summary:
        return QColor(236, 236, 255);
    case ItemOutcome::Pending:
        break;
    }
    return QColor();
}

QVariant ReportItemModel::data(const QModelIndex& index, int role) const
{
    const ReportItem* row = item(index.row());
    if (!row || index.column() < 0 || index.column() > SourceColumn)
        return QVariant();
    if (index.column() == SourceColumn && (role == Qt::DisplayRole || role == Qt::UserRole))
        return source(*row);
    switch (role) {
    case Qt::DisplayRole:
        return ReportTable::cell(*row, index.column(), QLocale(), true);
    case Qt::ToolTipRole:
        if (index.column() == ReportTable::CodesColumn || index.column() == ReportTable::DetailsColumn)
            return ReportTable::cell(*row, index.column(), QLocale(), true);
        return QVariant();
    case Qt::UserRole:
        if (index.column() == ReportTable::LineColumn)
            return row->line;
        if (index.column() == ReportTable::AmountColumn)
            return row->amount ? QVariant(*row->amount) : QVariant(qint64(-1));
        return ReportTable::cell(*row, index.column(), QLocale(), false);
    case Qt::BackgroundRole: {
        const QColor colour = outcomeColour(row->outcome);
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::ForegroundRole:
        return outcomeColour(row->outcome).isValid() ? QVariant(QColor(Qt::black)) : QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() == ReportTable::AmountColumn || index.column() == ReportTable::LineColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::FontRole:
        if (row->outcome == ItemOutcome::Summary) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant ReportItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section == SourceColumn ? QStringLiteral("Underlag") : ReportTable::header(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
