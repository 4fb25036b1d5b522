#pragma once

#include "app/ListSelection.h"

#include <map>
#include <optional>

// A ListSelection for tests: the selected row of each list, and the list that has the focus.
class FakeListSelection : public ListSelection
{
public:
    int selectedRow(ListId list) const override
    {
        const auto found = selected.find(list);
        return found == selected.end() ? -1 : found->second;
    }
    void selectRow(ListId list, int row) override { selected[list] = row; }
    bool hasFocus(ListId list) const override { return focused && *focused == list; }
    // Several selected rows, when set; otherwise the one of `selected`.
    QList<int> selectedRows(ListId list) const override
    {
        return rows.isEmpty() ? ListSelection::selectedRows(list) : rows;
    }

    QList<int> rows;

    std::map<ListId, int> selected;
    std::optional<ListId> focused;
};
