#pragma once

#include "app/ListRow.h"
#include "app/ListSelection.h"

#include <QList>
#include <QString>
#include <QUndoCommand>

#include <functional>

class OrderDocument;

// One undoable change to a list of the document: rows added at the end, one row replaced, or
// several rows deleted. The cancellation codes travel with their rows.
class RowChange : public QUndoCommand
{
public:
    struct Row
    {
        int index;
        ListRow row;
        QString code; // cancellations and changes only
    };
    // Told after every redo and undo: the list, the rows to select (document positions) and
    // whether the list has just received its first row.
    using Applied = std::function<void(ListId list, const QList<int>& rows, bool firstRow)>;

    static RowChange* add(OrderDocument& document, ListId list, const ListRow& row, const QString& code,
                          Applied applied);
    static RowChange* edit(OrderDocument& document, ListId list, int index, const ListRow& row,
                           const QString& code, Applied applied);
    // The rows at these positions, in ascending order.
    static RowChange* remove(OrderDocument& document, ListId list, const QList<int>& indices,
                             Applied applied);

    void redo() override;
    void undo() override;

private:
    enum class Kind
    {
        Add,
        Edit,
        Delete
    };

    RowChange(OrderDocument& document, ListId list, Kind kind, Applied applied);
    Row current(int index) const;
    void put(const Row& row);
    void insert(const Row& row);
    void erase(int index);
    // The deleted rows all at once: removed, or put back at their places.
    void eraseDeleted();
    void insertDeleted();
    int count() const;
    // After a deletion (done or undone as the redo) the row below the first deleted one is selected.
    QList<int> selectionAfterDelete() const;
    void tell(const QList<int>& rows, int countBefore);

    OrderDocument& m_document;
    ListId m_list;
    Kind m_kind;
    Applied m_applied;
    QList<Row> m_before; // Edit: the old row; Delete: the deleted rows in ascending order
    QList<Row> m_after;  // Add and Edit: the new row
};
