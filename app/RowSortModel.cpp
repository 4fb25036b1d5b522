#include "app/RowSortModel.h"

void RowSortModel::setSourceModel(QAbstractItemModel* model)
{
    // Connected before the proxy's own handlers, so a re-sort after a change never uses old values.
    const auto forget = [this] {
        m_numbers.clear();
        m_texts.clear();
    };
    if (model) {
        connect(model, &QAbstractItemModel::dataChanged, this, forget);
        connect(model, &QAbstractItemModel::rowsInserted, this, forget);
        connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
        connect(model, &QAbstractItemModel::modelReset, this, forget);
    }
    QSortFilterProxyModel::setSourceModel(model);
}

void RowSortModel::sort(int column, Qt::SortOrder order)
{
    readKeys(column);
    QSortFilterProxyModel::sort(column, order);
}

void RowSortModel::readKeys(int column) const
{
    m_keyColumn = column;
    m_numbers.clear();
    m_texts.clear();
    const QAbstractItemModel* rows = sourceModel();
    if (!rows || column < 0 || rows->rowCount() == 0)
        return;
    const int count = rows->rowCount();
    if (rows->index(0, column).data(sortRole()).userType() == QMetaType::Double) {
        m_numbers.reserve(size_t(count));
        for (int row = 0; row < count; ++row)
            m_numbers.push_back(rows->index(row, column).data(sortRole()).toDouble());
    } else {
        m_texts.reserve(size_t(count));
        for (int row = 0; row < count; ++row)
            m_texts.push_back(rows->index(row, column).data(sortRole()).toString());
    }
}

bool RowSortModel::keysFit(int column) const
{
    const size_t count = size_t(sourceModel()->rowCount());
    return column == m_keyColumn && (m_numbers.size() == count || m_texts.size() == count);
}

bool RowSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (left.column() != right.column() || left.row() < 0 || right.row() < 0)
        return QSortFilterProxyModel::lessThan(left, right);
    if (!keysFit(left.column()))
        readKeys(left.column());
    if (!keysFit(left.column()))
        return QSortFilterProxyModel::lessThan(left, right);
    if (!m_numbers.empty())
        return m_numbers[size_t(left.row())] < m_numbers[size_t(right.row())];
    return m_texts[size_t(left.row())].compare(m_texts[size_t(right.row())], sortCaseSensitivity()) < 0;
}
