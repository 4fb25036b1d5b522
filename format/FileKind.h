#pragma once

#include <QString>

// What a path names, its symbolic links followed. Opening a FIFO for reading waits until something
// writes to it and a device may never end, so commands look before they open.
enum class FileKind
{
    Regular,
    Missing,
    Folder,
    Device,
    Fifo,
    Socket,
    LinkLoop,
    Unknown, // stat failed for another reason (no permission): opening it will say why
};

FileKind KindOfFile(const QString& path);
// The kind in a sentence: "en mapp", "en enhet", ... Empty for Regular, Missing and Unknown.
QString FileKindText(FileKind kind);
