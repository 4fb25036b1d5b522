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
    ++m_revision;
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
    ++m_revision;
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
    ++m_revision;
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
    ++m_revision;
    m_rows[index] = row;
    if (m_observer)
        m_observer->rowChanged(index);
}

void RowList::remove(int index)
{
    checkIndex(index);
    if (m_observer)
        m_observer->rowAboutToBeRemoved(index);
    ++m_revision;
    m_rows.remove(index);
    if (m_observer)
        m_observer->rowRemoved();
}

std::vector<std::pair<int, int>> RowList::rangesOf(const QList<int>& indices)
{
    std::vector<std::pair<int, int>> ranges;
    for (const int index : indices) {
        if (!ranges.empty() && ranges.back().second + 1 == index)
            ranges.back().second = index;
        else
            ranges.emplace_back(index, index);
    }
    return ranges;
}

void RowList::removeRows(const QList<int>& indices)
{
    for (qsizetype i = 0; i < indices.size(); ++i) {
        checkIndex(indices[i]);
        if (i > 0 && indices[i] <= indices[i - 1])
            throw std::invalid_argument("RowList: positions out of order");
    }
    ++m_revision;
    const auto ranges = rangesOf(indices);
    if (ranges.size() > size_t(MostRangesAnnounced)) {
        if (m_observer)
            m_observer->listAboutToBeRebuilt();
        m_rows = without(m_rows, indices);
        if (m_observer)
            m_observer->listRebuilt();
        return;
    }
    // From the bottom up, so the positions of the ranges still to go do not move.
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        if (m_observer)
            m_observer->rangeAboutToBeRemoved(range->first, range->second);
        m_rows.remove(range->first, range->second - range->first + 1);
        if (m_observer)
            m_observer->rangeRemoved();
    }
}

void RowList::insertRows(const QList<int>& indices, const QList<ListRow>& rows)
{
    if (indices.size() != rows.size())
        throw std::invalid_argument("RowList: one position per row");
    for (qsizetype i = 0; i < indices.size(); ++i) {
        checkShape(rows[i]);
        if (indices[i] < 0 || indices[i] > count() + i || (i > 0 && indices[i] <= indices[i - 1]))
            throw std::out_of_range("RowList: no such position");
    }
    ++m_revision;
    const auto ranges = rangesOf(indices);
    if (ranges.size() > size_t(MostRangesAnnounced)) {
        if (m_observer)
            m_observer->listAboutToBeRebuilt();
        m_rows = with(m_rows, indices, rows);
        if (m_observer)
            m_observer->listRebuilt();
        return;
    }
    // From the top down: each range's positions are those it has once the ranges above are in.
    qsizetype next = 0;
    for (const auto& [first, last] : ranges) {
        if (m_observer)
            m_observer->rangeAboutToBeInserted(first, last);
        m_rows.insert(first, last - first + 1, ListRow());
        for (int index = first; index <= last; ++index)
            m_rows[index] = rows[next++];
        if (m_observer)
            m_observer->rangeInserted();
    }
}

void RowList::swapRows(RowList& other)
{
    if (other.m_subItemCount != m_subItemCount)
        throw std::invalid_argument("RowList: rows of another shape");
    for (RowList* list : {this, &other}) {
        if (list->m_observer)
            list->m_observer->listAboutToBeReset();
    }
    ++m_revision;
    ++other.m_revision;
    m_rows.swap(other.m_rows);
    for (RowList* list : {this, &other}) {
        if (list->m_observer)
            list->m_observer->listReset();
    }
}

void RowList::clear()
{
    if (m_observer)
        m_observer->listAboutToBeReset();
    ++m_revision;
    m_rows.clear();
    if (m_observer)
        m_observer->listReset();
}
