#pragma once

#include <QString>

// Refuses, with a ValmoError that gives the true reason, an input that cannot be read as a file:
// a name that does not exist, a folder, a socket or a loop of symbolic links. Pipes are read as
// files are, so a FIFO, standard input and process substitution (<(command)) are all accepted.
void RequireInputFile(const QString& path);
