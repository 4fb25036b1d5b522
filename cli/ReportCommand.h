#pragma once

#include "format/Report.h"

#include <QByteArray>
#include <QStringList>

// `valmo-cli report FILE [--csv]`: a report file from the bank as JSON, or its items as CSV.
// Exit status 0 for a report, 3 for an order file (which `valmo-cli read` reads), 2 for a file
// that is neither or cannot be read, and for a wrong command line.
int RunReportCommand(const QStringList& arguments);

// The reports as JSON, keys in a fixed order, amounts in the form "750.00".
QByteArray ReportsJson(const QList<Report>& reports);
