#include "app/RowList.h"

#include "app/RowListObserver.h"

#include <stdexcept>

void RowList::checkShape(const ListRow& row) const
{
    if (row.subItemCount() != m_subItemCount)
        throw std::invalid_argument("RowList: row has the wrong number of sub-items");
}

void RowList::checkIndex(int index) const
{
    if (index < 0 || index >= count())
        throw std::out_of_range("RowList: no such row");
}

const ListRow& RowList::row(int index) const
{
    checkIndex(index);
    return m_rows[index];
}

int RowList::append(const QString& caption, const QStringList& subItems)
{
    return append(ListRow(caption, subItems));
}

int RowList::append(const ListRow& row)
{
    checkShape(row);
    const int index = count();
    if (m_observer)
        m_observer->rowsAboutToBeAppended(index, index);
    m_rows.append(row);
    if (m_observer)
        m_observer->rowsAppended();
    return index;
}

int RowList::append(ListRow&& row)
{
    checkShape(row);
    const int index = count();
    if (m_observer)
        m_observer->rowsAboutToBeAppended(index, index);
    m_rows.append(std::move(row));
    if (m_observer)
        m_observer->rowsAppended();
    return index;
}

void RowList::insert(int index, const ListRow& row)
{
    checkShape(row);
    if (index < 0 || index > count())
        throw std::out_of_range("RowList: no such position");
    if (m_observer)
        m_observer->rowAboutToBeInserted(index);
    m_rows.insert(index, row);
    if (m_observer)
        m_observer->rowInserted();
}

void RowList::replace(int index, const QString& caption, const QStringList& subItems)
{
    replace(index, ListRow(caption, subItems));
}

void RowList::replace(int index, const ListRow& row)
{
    checkShape(row);
    checkIndex(index);
    m_rows[index] = row;
    if (m_observer)
        m_observer->rowChanged(index);
}

void RowList::remove(int index)
{
    checkIndex(index);
    if (m_observer)
        m_observer->rowAboutToBeRemoved(index);
    m_rows.remove(index);
    if (m_observer)
        m_observer->rowRemoved();
}

void RowList::clear()
{
    if (m_observer)
        m_observer->listAboutToBeReset();
    m_rows.clear();
    if (m_observer)
        m_observer->listReset();
}
