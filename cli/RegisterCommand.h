#pragma once

#include <QStringList>

// `valmo-cli register [--register PATH] deliver|import|payers|payments|history ...`: the Autogiro
// register from the command line. Exit status 0 when done; 1 when a report was not imported
// because its totals disagree; 2 when a file cannot be read, belongs to another payee or is of no
// known kind, when the database cannot be used, and for a wrong command line; 3 when deliver is
// given a report.
int RunRegisterCommand(const QStringList& arguments);
