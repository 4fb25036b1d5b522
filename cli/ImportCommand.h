#pragma once

#include <QString>

#include <optional>

// valmo-cli import FILE.csv [--service Privat|Företag]: the imported rows as the JSON document
// that read prints, exit status 0. Rows that the dialogs would refuse: nothing on standard output,
// one "FILE:LINE: COLUMN: message" line per finding on standard error, exit status 1. A file that
// cannot be read or whose columns fit no list throws ValmoError (exit status 2).
int RunImportCommand(const QString& path, const std::optional<QString>& service);
