#pragma once

#include <QString>

// Refuses, with a ValmoError naming it, an output path that is not a regular file or a new name:
// a directory, a device, a FIFO, a socket or a loop of symbolic links. Such a target is left
// alone. Other faults (a missing folder, no permission) are left to the writer to report.
void RefuseOutputThatIsNoFile(const QString& path);
