#pragma once

#include "app/ListRow.h"

#include <QList>
#include <QVector>

#include <utility>
#include <vector>

class RowListObserver;

// A list of rows that all have the same number of sub-items. A row with another count is refused
// (std::invalid_argument), so every row always has exactly one text per column.
class RowList
{
public:
    explicit RowList(int subItemCount) : m_subItemCount(subItemCount) {}
    RowList(const RowList&) = delete;
    RowList& operator=(const RowList&) = delete;

    int subItemCount() const { return m_subItemCount; }
    int count() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Throws std::out_of_range for an index outside the list.
    const ListRow& row(int index) const;
    const ListRow& operator[](int index) const { return row(index); }
    QVector<ListRow>::const_iterator begin() const { return m_rows.cbegin(); }
    QVector<ListRow>::const_iterator end() const { return m_rows.cend(); }

    // Returns the index of the new row.
    int append(const QString& caption, const QStringList& subItems);
    int append(const ListRow& row);
    int append(ListRow&& row);
    // Puts the row at index (0..count()); the rows from there on move down by one.
    void insert(int index, const ListRow& row);
    void replace(int index, const QString& caption, const QStringList& subItems);
    void replace(int index, const ListRow& row);
    void remove(int index);
    // Removes the rows at these positions (ascending, each once) in one step.
    void removeRows(const QList<int>& indices);
    // Puts the rows back at these positions (ascending), the positions they have afterwards.
    void insertRows(const QList<int>& indices, const QList<ListRow>& rows);
    void clear();
    // Exchanges the rows with those of a list of the same shape in one step, whatever their
    // number; an observer of either list sees it start anew.
    void swapRows(RowList& other);

    // Changes at up to this many places are announced range by range; more make a rebuilt list.
    static constexpr int MostRangesAnnounced = 16;
    // Ascending positions joined into ranges (first, last) of consecutive positions.
    static std::vector<std::pair<int, int>> rangesOf(const QList<int>& indices);
    // The elements of `items` without those at the ascending positions `indices`.
    template <typename Item> static QVector<Item> without(QVector<Item>& items, const QList<int>& indices);
    // `items` with `added[i]` put at position `indices[i]` (ascending, positions afterwards).
    template <typename Item>
    static QVector<Item> with(QVector<Item>& items, const QList<int>& indices, const QList<Item>& added);
    void reserve(int count) { m_rows.reserve(count); }

    void setObserver(RowListObserver* observer) { m_observer = observer; }
    // Counts the changes: a value worked out from the rows stays good while it is the same.
    quint64 revision() const { return m_revision; }

private:
    void checkShape(const ListRow& row) const;
    void checkIndex(int index) const;

    int m_subItemCount;
    QVector<ListRow> m_rows;
    RowListObserver* m_observer = nullptr;
    quint64 m_revision = 0;
};

template <typename Item> QVector<Item> RowList::without(QVector<Item>& items, const QList<int>& indices)
{
    QVector<Item> kept;
    kept.reserve(items.size() - indices.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (next < indices.size() && indices[next] == i)
            ++next;
        else
            kept.append(std::move(items[i]));
    }
    return kept;
}

template <typename Item>
QVector<Item> RowList::with(QVector<Item>& items, const QList<int>& indices, const QList<Item>& added)
{
    QVector<Item> merged;
    merged.reserve(items.size() + added.size());
    qsizetype next = 0;
    qsizetype old = 0;
    while (old < items.size() || next < added.size()) {
        if (next < added.size() && indices[next] == merged.size())
            merged.append(added[next++]);
        else
            merged.append(std::move(items[old++]));
    }
    return merged;
}
