#pragma once

#include <QList>

// The four lists of the main window.
enum class ListId
{
    Btu,
    Mdg,
    MdgComp,
    Mak
};

// What the list commands need of the lists on screen: the selected rows and the keyboard focus.
// Rows are counted in the document's order, whatever order the screen shows them in.
class ListSelection
{
public:
    virtual ~ListSelection() = default;
    // The selected row (the current one when several are selected), or -1.
    virtual int selectedRow(ListId list) const = 0;
    // Selects the row (-1 clears the selection) and scrolls it fully into view.
    virtual void selectRow(ListId list, int row) = 0;
    virtual bool hasFocus(ListId list) const = 0;
    // Every selected row, in ascending order.
    virtual QList<int> selectedRows(ListId list) const
    {
        const int row = selectedRow(list);
        return row < 0 ? QList<int>() : QList<int>{row};
    }
    // Selects exactly these rows; the first becomes the current one.
    virtual void selectRows(ListId list, const QList<int>& rows) { selectRow(list, rows.value(0, -1)); }
};
