#pragma once

// The show-file command: shows the document's current file read-only (an external presentation
// program or the viewer). The open command takes this way for files it cannot edit.
class FileShower
{
public:
    virtual ~FileShower() = default;
    virtual void VisaBtnClick() = 0;
};
