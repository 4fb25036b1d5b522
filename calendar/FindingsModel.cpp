#include "calendar/FindingsModel.h"

#include "format/ListExport.h"
#include "theme/ThemeColours.h"

void FindingsModel::setFindings(const QList<DeliveryFinding>& findings)
{
    beginResetModel();
    m_findings = findings;
    endResetModel();
}

int FindingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_findings.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString FindingsModel::text(const DeliveryFinding& finding, int column) const
{
    switch (column) {
    case LevelColumn:
        return FindingLevelText(finding.level);
    case ListColumn:
        return ListName(finding.list);
    case RowColumn:
        return QString::number(finding.row + 1);
    case ColumnColumn:
        return finding.columnTitle;
    case MessageColumn:
        return finding.message;
    }
    return QString();
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_findings.size())
        return {};
    const DeliveryFinding& finding = m_findings[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return text(finding, index.column());
    case Qt::ToolTipRole:
        return index.column() == MessageColumn ? QVariant(finding.message) : QVariant();
    case Qt::ForegroundRole:
        // Red that stays readable on a dark palette too.
        return finding.level == FindingLevel::Error ? QVariant(ThemeColours::warningText()) : QVariant();
    default:
        return {};
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case LevelColumn:
        return QStringLiteral("Nivå");
    case ListColumn:
        return QStringLiteral("Lista");
    case RowColumn:
        return QStringLiteral("Rad");
    case ColumnColumn:
        return QStringLiteral("Kolumn");
    case MessageColumn:
        return QStringLiteral("Meddelande");
    }
    return {};
}
