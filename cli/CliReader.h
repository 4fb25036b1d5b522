#pragma once

#include "cli/DocumentJson.h"
#include "rules/RowChecks.h"

#include <QString>

class OrderDocument;

// What reading a file without questions gives the command-line tool.
struct CliReadResult
{
    bool shownInstead = false;
    QString message; // the Swedish message the editor shows, when shown instead
    int line = 0;    // the line that made the file be shown instead
    QList<OpeningRecordEntry> openingRecords;
    RowLines rowLines;
};

// Reads an order file as the open command would, but asks nothing: the opening records are
// listed instead of compared with the settings. Throws ValmoError when the file cannot be read.
CliReadResult ReadOrderFileForCli(const QString& path, OrderDocument& document);
