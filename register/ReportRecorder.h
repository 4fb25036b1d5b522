#pragma once

#include "format/Report.h"

#include <QDate>
#include <QStringList>

class RegisterStore;
struct ImportSummary;

// Records the items of one report from the bank in the register: each item becomes a fact about
// the mandate or the payments it belongs to, and an item that belongs to nothing is kept as
// without basis.
void RecordReport(RegisterStore& store, const Report& report, const QStringList& lines, qint64 fileId,
                  const QDate& today, ImportSummary& summary);
