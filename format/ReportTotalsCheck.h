#pragma once

#include "format/Report.h"

#include <QStringList>
#include <QStringView>

// Compares a section's totals record with its items and fills report.totals: the counts and
// amounts the record states, those counted from the items, and each disagreement in a sentence.
// The fields of the totals record depend on the kind and the layout.
void CheckReportTotals(Report& report, QStringView totalsRecord, int lineNumber);
// A section of a kind that ends in a totals record, without one: said in a warning.
void NoteMissingTotals(Report& report);
// The summary records of a new-layout Betalningsspecifikation (deposits, payouts, refunds) against
// the items that follow each of them; one sentence per summary that disagrees.
QStringList SummaryDisagreements(const Report& report);
