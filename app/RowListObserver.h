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

    // Several rows at a time: a range of rows put between others or removed, or rows removed or
    // put back at so many places that the list counts as rebuilt. An observer that does not
    // follow these in detail sees the list start anew.
    virtual void rangeAboutToBeInserted(int /*first*/, int /*last*/) { listAboutToBeReset(); }
    virtual void rangeInserted() { listReset(); }
    virtual void rangeAboutToBeRemoved(int /*first*/, int /*last*/) { listAboutToBeReset(); }
    virtual void rangeRemoved() { listReset(); }
    virtual void listAboutToBeRebuilt() { listAboutToBeReset(); }
    virtual void listRebuilt() { listReset(); }
};
