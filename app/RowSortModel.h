#pragma once

#include <QSortFilterProxyModel>

#include <vector>

// The lists' view of the rows: filtered by the search text and sorted by a column. The values of
// the sort column are read once per sort, not once per comparison, so sorting a hundred thousand
// rows by amount does not parse every amount twenty times over.
class RowSortModel : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setSourceModel(QAbstractItemModel* model) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    void readKeys(int column) const;
    bool keysFit(int column) const;

    // Read again after any change of the rows, at the first comparison that needs them.
    mutable int m_keyColumn = -1;
    mutable std::vector<double> m_numbers;
    mutable std::vector<QString> m_texts;
};
