#pragma once

#include "progress/Progress.h"

#include <QAbstractProxyModel>

#include <array>
#include <vector>

class RowListModel;

// The lists' view of the rows: filtered by the search text and sorted by a column.
//
// It keeps every row of the list in the order of the sort column (the document's order while no
// column is chosen) and shows those that contain the search text. Sorting reads the value of each
// row once; a longer search text checks only the rows already shown, a shorter one only the rows
// hidden, and an emptied search checks none. A change of the rows moves only the rows it touched,
// announced to the views range by range, or as one new start when it touched rows in more
// places than that is worth.
class RowSortModel : public QAbstractProxyModel
{
    Q_OBJECT
public:
    static constexpr int MostRangesAnnounced = 16;

    explicit RowSortModel(QObject* parent = nullptr);

    // The rows must come from a RowListModel.
    void setSourceModel(QAbstractItemModel* model) override;
    // Column -1 gives back the document's order. A long sort shows its progress and may be
    // stopped: the rows then keep the order they had and sortCancelled() is emitted.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Where a sort of many rows gets its progress; by default nothing is shown.
    void setProgressStarter(ProgressStarter starter) { m_startProgress = std::move(starter); }
    // Sorting is split into steps of progress from this many rows.
    static constexpr int SortInStepsFrom = 4096;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Shows only the rows with the text in some column, whatever the case; empty shows all.
    void setFilterFixedString(const QString& text);
    QString filterText() const { return m_filter; }
    // The document positions of the rows shown, in the order shown.
    const std::vector<int>& shownRows() const { return m_shown; }

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // A sort was stopped by the user; sortColumn() and sortOrder() are as they were before it.
    void sortCancelled();

private:
    // The last text each column was checked in, and whether it held the search text: the fixed
    // texts that many rows share in turn are checked once per run of rows.
    struct Recent
    {
        const QChar* text = nullptr;
        qsizetype length = 0;
        bool hit = false;
    };
    using RecentTexts = std::array<Recent, 8>;

    int sourceCount() const;
    bool matches(int sourceRow, RecentTexts* recent = nullptr) const;
    bool comesBefore(int left, int right) const;
    void sortRows(std::vector<int>& rows) const;
    // Sorts by the column in that order; false when the progress was cancelled (rows unchanged).
    bool sortRows(std::vector<int>& rows, int column, Qt::SortOrder order, Progress* progress) const;
    void placeRow(int sourceRow);
    std::vector<int> shownInOrder() const;
    void rebuild();
    // Makes `rows` the rows shown: those no longer shown are removed and the new ones inserted,
    // range by range; the rows that stay must keep their order.
    void show(const std::vector<int>& rows);
    // Makes `rows` the rows shown when only their order changes; the selection follows its rows.
    void reorder(const std::vector<int>& rows);
    const std::vector<int>& sourceToProxy() const;
    void forgetSourceToProxy() { m_sourceToProxyKnown = false; }

    void sourceRowsInserted(const QModelIndex& parent, int first, int last);
    void sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void sourceRowsRemoved(const QModelIndex& parent, int first, int last);
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceAboutToBeReset();
    void sourceReset();

    RowListModel* m_rows = nullptr;
    ProgressStarter m_startProgress = NoProgressStarter();
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QString m_filter;
    std::vector<int> m_order;                 // every row of the list, in the order shown
    std::vector<char> m_matches;              // per row of the list: it contains the search text
    std::vector<int> m_shown;                 // the rows shown: the matching rows of m_order
    mutable std::vector<int> m_sourceToProxy; // per row of the list: its place among those shown, or -1
    mutable bool m_sourceToProxyKnown = false;
    quint64 m_changes = 0; // changes of the rows seen, so a long sort knows they stayed as they were
};
