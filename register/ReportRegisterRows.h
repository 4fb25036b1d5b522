#pragma once

#include "format/Report.h"
#include "register/RegisterQuery.h"

#include <QList>

class RegisterDatabase;

// The register's rows for items of a report: the payments the items report on, or the payers
// they name, and the items the register does not hold.
struct ReportRegisterRows
{
    QList<RegisterPaymentRow> payments;
    QList<RegisterPayerRow> payers;
    QList<const ReportItem*> missing;
};

namespace ReportInRegister {

// True when the report's items are payments (else mandates).
bool ReportsPayments(ReportKind kind);
// The payments: same payer, payment day, type, amount and reference. A report of mandates gives
// payers only; a report of payments gives the payers of the payments found as well.
ReportRegisterRows Find(const RegisterDatabase& database, ReportKind kind,
                        const QList<const ReportItem*>& items);
// "rad 12 (betalare 1001)" for each item, one a line.
QString MissingText(const QList<const ReportItem*>& missing);

} // namespace ReportInRegister
