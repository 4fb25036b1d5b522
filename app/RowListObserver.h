#pragma once

// Told of every change to a RowList, so a view over it (a Qt model) can follow.
class RowListObserver
{
public:
    virtual ~RowListObserver() = default;
    virtual void rowsAboutToBeAppended(int first, int last) = 0;
    virtual void rowsAppended() = 0;
    // A row put between others (undoing a deletion).
    virtual void rowAboutToBeInserted(int /*row*/) {}
    virtual void rowInserted() {}
    virtual void rowChanged(int row) = 0;
    virtual void rowAboutToBeRemoved(int row) = 0;
    virtual void rowRemoved() = 0;
    virtual void listAboutToBeReset() = 0;
    virtual void listReset() = 0;
};
