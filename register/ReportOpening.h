#pragma once

#include <QString>

class Clock;
class UserPrompt;

// Opening a report of the register's payee reads it into the register. Returns the one line the
// viewer shows above the report: what was read ("Inläst i registret: 12 genomförda, ..."), that it
// was read before, or why it was not (another payee, totals the user did not accept, a register
// that cannot be used). Empty when there is no register at registerPath: none is made by opening.
QString ImportReportOnOpening(const QString& path, const QString& registerPath, UserPrompt& prompt,
                              const Clock& clock);
