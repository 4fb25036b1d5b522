#pragma once

#include "calendar/DeliveryFinding.h"
#include "rules/RowChecks.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdio>
#include <optional>

class OrderDocument;

// The moment `check` looks from: --now YYYY-MM-DDTHH:MM in local time, or the system clock.
// Throws CliUsageError for any other form.
QDateTime CheckMoment(const std::optional<QString>& option);

// What `check` prints: the findings of the row rules and of the check before delivery, in line
// order, as FILE:LINE: COLUMN: message (a warning with "varning: " before its message) or, with
// json, as a JSON array of one object per finding. Returns true when nothing is a "fel": a
// warning alone lets the file pass.
bool PrintCheckFindings(FILE* stream, const QString& file, const QList<RowProblem>& rowProblems,
                        const QList<DeliveryFinding>& findings, const RowLines& lines, bool json);
