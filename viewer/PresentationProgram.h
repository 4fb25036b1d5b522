#pragma once

#include <QString>
#include <QStringList>

// The external presentation program, which lies outside the editor: where it is registered and how
// it is started. Both values are written by the program's own installation, never by the editor.
//
// Windows: the registry key "Software\Orvida\Lumora Presentation", the program path "exe" in
// HKEY_LOCAL_MACHINE and the index file path "arloindexfile" in HKEY_CURRENT_USER.
// Elsewhere: the system-wide and the user's settings of organisation "Orvida", application
// "Lumora Presentation" (INI files, e.g. /etc/xdg/Orvida/Lumora Presentation.ini and
// ~/.config/Orvida/Lumora Presentation.ini), with the same value names.
namespace PresentationProgram {

// The registered program path; empty when none is registered.
QString ProgramPath();
// The user's index file path; empty when none is registered.
QString IndexFilePath();

// The command line handed to the program on Windows, one text with both paths in double quotes.
QString ParameterText(const QString& file, const QString& indexFile);
// The same three options as separate arguments, so that a path with blanks arrives whole.
QStringList Arguments(const QString& file, const QString& indexFile);

// Starts the program for the file and does not wait for it. A failed start is not reported.
void Start(const QString& program, const QString& file, const QString& indexFile);

// Tests: read the system-wide values from an INI file in systemFolder and the user's from one in
// userFolder (each "Orvida/Lumora Presentation.ini" below the folder), on every platform. Empty
// folders restore the machine's own store.
void setTestFolders(const QString& systemFolder, const QString& userFolder);
QString testSettingsFile(const QString& folder);

} // namespace PresentationProgram
