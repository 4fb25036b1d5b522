#include "register/RegisterDeliveryCheck.h"

#include "app/OrderDocument.h"
#include "calendar/DeliveryCheck.h"
#include "register/RegisterError.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterQuery.h"
#include "register/RegisterStates.h"
#include "register/RegisterText.h"
#include "register/SqliteStatement.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Columns of the payment orders, the mandates and the cancellations as the lists hold them.
constexpr int OrderPayerColumn = 5;
constexpr int MandatePayerColumn = 1, CompanyMandatePayerColumn = 0;
constexpr int CancellationPayerColumn = 1, CancellationDateColumn = 2, CancellationAmountColumn = 4,
              CancellationTypeColumn = 5, CancellationReferenceColumn = 6;
// A cancellation of one payment, and of all of a payer's payments on a day.
const QString SingleCancellationCode = QStringLiteral("25");
const QString DayCancellationCode = QStringLiteral("24");

struct Mandate
{
    QString state;
    QString since;
};

// The mandates of the payers named, read in one pass over the register's payers.
QHash<QString, Mandate> Mandates(const RegisterDatabase& database, const QSet<QString>& payers)
{
    QHash<QString, Mandate> found;
    SqliteStatement query(database, "SELECT payer, state, state_date FROM payers WHERE state <> ''");
    while (query.step()) {
        const QString payer = query.text(0);
        if (payers.contains(payer))
            found.insert(payer, {query.text(1), query.text(2)});
    }
    return found;
}

DeliveryFinding Warning(ListId list, int row, int column, const QString& title, const QString& message)
{
    DeliveryFinding finding;
    finding.list = list;
    finding.row = row;
    finding.column = column;
    finding.columnTitle = title;
    finding.level = FindingLevel::Warning;
    finding.message = message;
    return finding;
}

QString Payer(const ListRow& row, int column)
{
    return RegisterText::digits(row.text(column));
}

// Whether the register holds a made payment that the cancellation in row names: the one payment, or
// with anyOnDay any of the payer's payments on the day.
bool PaymentMade(const RegisterDatabase& database, const ListRow& row, bool anyOnDay)
{
    PaymentFilter filter;
    filter.payer = Payer(row, CancellationPayerColumn);
    filter.from = filter.to = RegisterText::fromDateText(row.text(CancellationDateColumn));
    filter.state = RegisterStates::paymentDone();
    if (filter.payer.isEmpty() || !filter.from.isValid())
        return false;
    const qint64 amount = RegisterText::number(RegisterText::digits(row.text(CancellationAmountColumn))).value_or(-1);
    const QString type = row.text(CancellationTypeColumn) == RowTexts::credit() ? QStringLiteral("32") : QStringLiteral("82");
    const QString reference = row.text(CancellationReferenceColumn).trimmed();
    bool made = false;
    RegisterQuery(database).payments(filter, [&](const RegisterPaymentRow& payment) {
        made = anyOnDay ||
               (payment.amount == amount && payment.type == type && payment.reference.trimmed() == reference);
        return !made;
    });
    return made;
}

} // namespace

QList<DeliveryFinding> CheckAgainstRegister(const OrderDocument& document, const RegisterDatabase& database)
{
    QSet<QString> payers;
    for (int i = 0; i < document.BtuList.count(); ++i)
        payers.insert(Payer(document.BtuList[i], OrderPayerColumn));
    for (int i = 0; i < document.MdgList.count(); ++i)
        payers.insert(Payer(document.MdgList[i], MandatePayerColumn));
    for (int i = 0; i < document.MdgListComp.count(); ++i)
        payers.insert(Payer(document.MdgListComp[i], CompanyMandatePayerColumn));
    const QHash<QString, Mandate> mandates = Mandates(database, payers);

    QList<DeliveryFinding> findings;
    for (int i = 0; i < document.BtuList.count(); ++i) {
        const QString payer = Payer(document.BtuList[i], OrderPayerColumn);
        const auto mandate = mandates.constFind(payer);
        const QString state = mandate == mandates.constEnd() ? QString() : mandate->state;
        if (state == RegisterStates::mandateApproved())
            continue;
        findings.append(Warning(ListId::Btu, i, OrderPayerColumn, QStringLiteral("Betalarnummer"),
                                state.isEmpty()
                                    ? QStringLiteral("Betalare %1 har inget medgivande i registret.").arg(payer)
                                    : QStringLiteral("Betalare %1 har inget godkänt medgivande: %2 sedan %3.")
                                          .arg(payer, state, mandate->since)));
    }
    const auto newMandate = [&](ListId list, int row, int column, const QString& payer) {
        if (mandates.value(payer).state == RegisterStates::mandateApproved())
            findings.append(Warning(list, row, column, QStringLiteral("Betalarnummer"),
                                    QStringLiteral("Betalare %1 har redan ett godkänt medgivande sedan %2.")
                                        .arg(payer, mandates.value(payer).since)));
    };
    for (int i = 0; i < document.MdgList.count(); ++i) {
        const ListRow& row = document.MdgList[i];
        if (row.text(0) != RowTexts::rejectedMandate())
            newMandate(ListId::Mdg, i, MandatePayerColumn, Payer(row, MandatePayerColumn));
    }
    // A company payer's row begins with its payer number.
    for (int i = 0; i < document.MdgListComp.count(); ++i)
        newMandate(ListId::MdgComp, i, CompanyMandatePayerColumn,
                   Payer(document.MdgListComp[i], CompanyMandatePayerColumn));
    for (int i = 0; i < document.MakList.count(); ++i) {
        const QString code = document.MakList.code(i);
        const ListRow& row = document.MakList[i];
        if (code == SingleCancellationCode && PaymentMade(database, row, false))
            findings.append(Warning(ListId::Mak, i, 0, QStringLiteral("Beskrivning"),
                                    QStringLiteral("Registret säger att betalningen redan är genomförd.")));
        else if (code == DayCancellationCode && PaymentMade(database, row, true))
            findings.append(
                Warning(ListId::Mak, i, 0, QStringLiteral("Beskrivning"),
                        QStringLiteral("Registret säger att betalare %1 redan har en genomförd "
                                       "betalning %2.")
                            .arg(Payer(row, CancellationPayerColumn), row.text(CancellationDateColumn))));
    }
    return findings;
}

QList<DeliveryFinding> CheckDeliveryWithRegister(const OrderDocument& document, const QDateTime& now,
                                                 const QString& registerPath)
{
    QList<DeliveryFinding> findings = CheckDelivery(document, now);
    // A register is never made by a check: without one there is nothing to compare with.
    if (registerPath.isEmpty() || !QFileInfo(registerPath).isFile())
        return findings;
    try {
        const RegisterDatabase database(registerPath);
        findings += CheckAgainstRegister(document, database);
    } catch (const RegisterError&) {
        return findings;
    }
    std::stable_sort(findings.begin(), findings.end(), [](const DeliveryFinding& a, const DeliveryFinding& b) {
        return std::make_pair(int(a.list), a.row) < std::make_pair(int(b.list), b.row);
    });
    return findings;
}
