#pragma once

// The four lists of the main window.
enum class ListId { Btu, Mdg, MdgComp, Mak };

// What the list commands need of the lists on screen: the selected row and the keyboard focus.
class ListSelection
{
public:
    virtual ~ListSelection() = default;
    // The selected row, or -1.
    virtual int selectedRow(ListId list) const = 0;
    // Selects the row (-1 clears the selection) and scrolls it fully into view.
    virtual void selectRow(ListId list, int row) = 0;
    virtual bool hasFocus(ListId list) const = 0;
};
