#pragma once

#include <QString>

// The message shown when a file cannot be opened for reading: the sentence "Filen kunde inte
// öppnas", the file's full name, and the reason in plain Swedish where it is a common one (the
// file is missing, it is a folder, the user may not read it), or else the system's own words.
namespace OpenFailure {

QString message(const QString& path, const QString& systemReason);
// The reason alone, as the second line of the message.
QString reason(const QString& path, const QString& systemReason);

} // namespace OpenFailure
