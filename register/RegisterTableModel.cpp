#include "register/RegisterTableModel.h"

#include <limits>

RegisterTableModel::RegisterTableModel(const RegisterListQuery& query, QObject* parent)
    : QAbstractTableModel(parent), m_query(query)
{
    reload();
}

int RegisterTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int RegisterTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(RegisterListQuery::captions(m_query.list()).size());
}

QVariant RegisterTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count)
        return QVariant();
    if (role == Qt::TextAlignmentRole && m_query.list() == RegisterList::Payments &&
        index.column() == RegisterListQuery::PaymentAmountColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const QList<RegisterListRow>& rows = pageOf(index.row());
    const int inPage = index.row() % PageSize;
    return inPage < rows.size() ? rows[inPage].texts.value(index.column()) : QString();
}

QVariant RegisterTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return RegisterListQuery::captions(m_query.list()).value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RegisterTableModel::sort(int column, Qt::SortOrder order)
{
    m_filter.sortColumn = column;
    m_filter.descending = order == Qt::DescendingOrder;
    reload();
}

void RegisterTableModel::setTextFilter(const QString& text)
{
    m_filter.text = text;
    reload();
}

void RegisterTableModel::setStateFilter(const QString& state)
{
    m_filter.state = state;
    reload();
}

void RegisterTableModel::reload()
{
    beginResetModel();
    m_pages.clear();
    // A view counts its rows in int; a register beyond that shows its first rows.
    // One pass over the register gives both the sums and, added up, the count.
    m_sums = m_query.sums(m_filter);
    qint64 count = 0;
    for (const RegisterStateSum& sum : m_sums)
        count += sum.count;
    m_count = int(qMin<qint64>(count, std::numeric_limits<int>::max()));
    endResetModel();
}

RegisterListRow RegisterTableModel::row(int place) const
{
    if (place < 0 || place >= m_count)
        return RegisterListRow();
    const QList<RegisterListRow>& rows = pageOf(place);
    return rows.value(place % PageSize);
}

const QList<RegisterListRow>& RegisterTableModel::pageOf(int place) const
{
    const qint64 page = place / PageSize;
    auto found = m_pages.find(page);
    if (found != m_pages.end())
        return *found;
    if (m_pages.size() >= KeptPages)
        m_pages.clear();
    return *m_pages.insert(page, m_query.page(m_filter, page * PageSize, PageSize));
}
