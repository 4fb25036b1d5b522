#pragma once

#include "app/ListRow.h"

#include <QVector>

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
    void clear();
    void reserve(int count) { m_rows.reserve(count); }

    void setObserver(RowListObserver* observer) { m_observer = observer; }

private:
    void checkShape(const ListRow& row) const;
    void checkIndex(int index) const;

    int m_subItemCount;
    QVector<ListRow> m_rows;
    RowListObserver* m_observer = nullptr;
};
