#include "app/MakRowList.h"

#include "app/RowListObserver.h"

#include <stdexcept>

ListRow MakRowList::shaped(const ListRow& row) const
{
    if (row.subItemCount() == SubItemCountWithoutReference)
        return ListRow(row.caption(), row.subItems() << QString());
    if (row.subItemCount() != SubItemCount)
        throw std::invalid_argument("MakRowList: row has the wrong number of sub-items");
    return row;
}

void MakRowList::checkIndex(int index) const
{
    if (index < 0 || index >= count())
        throw std::out_of_range("MakRowList: no such row");
}

const QString& MakRowList::code(int index) const
{
    checkIndex(index);
    return m_codes[index];
}

int MakRowList::append(const QString& code, const QString& caption, const QStringList& subItems)
{
    return append(code, ListRow(caption, subItems));
}

int MakRowList::append(const QString& code, const ListRow& given)
{
    return append(code, shaped(given));
}

int MakRowList::append(const QString& code, ListRow&& given)
{
    ListRow row = given.subItemCount() == SubItemCount ? std::move(given) : shaped(given);
    const int index = count();
    if (m_observer)
        m_observer->rowsAboutToBeAppended(index, index);
    m_codes.append(code);
    try {
        m_rows.append(std::move(row));
    } catch (...) {
        m_codes.removeLast();
        throw;
    }
    if (m_observer)
        m_observer->rowsAppended();
    return index;
}

void MakRowList::insert(int index, const QString& code, const ListRow& given)
{
    const ListRow row = shaped(given);
    if (index < 0 || index > count())
        throw std::out_of_range("MakRowList: no such position");
    if (m_observer)
        m_observer->rowAboutToBeInserted(index);
    m_rows.insert(index, row);
    m_codes.insert(index, code);
    if (m_observer)
        m_observer->rowInserted();
}

void MakRowList::replace(int index, const QString& code, const QString& caption, const QStringList& subItems)
{
    replace(index, code, ListRow(caption, subItems));
}

void MakRowList::replace(int index, const QString& code, const ListRow& given)
{
    const ListRow row = shaped(given);
    checkIndex(index);
    m_rows.replace(index, row);
    m_codes[index] = code;
    if (m_observer)
        m_observer->rowChanged(index);
}

void MakRowList::remove(int index)
{
    checkIndex(index);
    if (m_observer)
        m_observer->rowAboutToBeRemoved(index);
    m_rows.remove(index);
    m_codes.removeAt(index);
    if (m_observer)
        m_observer->rowRemoved();
}

void MakRowList::removeRows(const QList<int>& indices)
{
    for (qsizetype i = 0; i < indices.size(); ++i) {
        checkIndex(indices[i]);
        if (i > 0 && indices[i] <= indices[i - 1])
            throw std::invalid_argument("MakRowList: positions out of order");
    }
    const auto ranges = RowList::rangesOf(indices);
    if (ranges.size() > size_t(RowList::MostRangesAnnounced)) {
        if (m_observer)
            m_observer->listAboutToBeRebuilt();
        m_rows.removeRows(indices);
        m_codes = RowList::without(m_codes, indices);
        if (m_observer)
            m_observer->listRebuilt();
        return;
    }
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        const int length = range->second - range->first + 1;
        if (m_observer)
            m_observer->rangeAboutToBeRemoved(range->first, range->second);
        QList<int> one;
        for (int index = range->first; index <= range->second; ++index)
            one.append(index);
        m_rows.removeRows(one);
        m_codes.remove(range->first, length);
        if (m_observer)
            m_observer->rangeRemoved();
    }
}

void MakRowList::insertRows(const QList<int>& indices, const QStringList& codes, const QList<ListRow>& given)
{
    if (indices.size() != codes.size() || indices.size() != given.size())
        throw std::invalid_argument("MakRowList: one position and code per row");
    QList<ListRow> rows;
    rows.reserve(given.size());
    for (qsizetype i = 0; i < given.size(); ++i) {
        rows.append(shaped(given[i]));
        if (indices[i] < 0 || indices[i] > count() + i || (i > 0 && indices[i] <= indices[i - 1]))
            throw std::out_of_range("MakRowList: no such position");
    }
    const auto ranges = RowList::rangesOf(indices);
    if (ranges.size() > size_t(RowList::MostRangesAnnounced)) {
        if (m_observer)
            m_observer->listAboutToBeRebuilt();
        m_rows.insertRows(indices, rows);
        m_codes = RowList::with(m_codes, indices, codes);
        if (m_observer)
            m_observer->listRebuilt();
        return;
    }
    qsizetype next = 0;
    for (const auto& [first, last] : ranges) {
        if (m_observer)
            m_observer->rangeAboutToBeInserted(first, last);
        const qsizetype length = last - first + 1;
        m_rows.insertRows(indices.mid(next, length), rows.mid(next, length));
        for (qsizetype i = 0; i < length; ++i)
            m_codes.insert(first + i, codes[next + i]);
        next += length;
        if (m_observer)
            m_observer->rangeInserted();
    }
}

void MakRowList::clear()
{
    if (m_observer)
        m_observer->listAboutToBeReset();
    m_rows.clear();
    m_codes.clear();
    if (m_observer)
        m_observer->listReset();
}

void MakRowList::swapRows(MakRowList& other)
{
    for (MakRowList* list : {this, &other}) {
        if (list->m_observer)
            list->m_observer->listAboutToBeReset();
    }
    m_rows.swapRows(other.m_rows);
    m_codes.swap(other.m_codes);
    for (MakRowList* list : {this, &other}) {
        if (list->m_observer)
            list->m_observer->listReset();
    }
}

void MakRowList::reserve(int count)
{
    m_codes.reserve(count);
    m_rows.reserve(count);
}
