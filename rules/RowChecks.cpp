#include "rules/RowChecks.h"

#include "app/OrderDocument.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/ValmoError.h"

#include <algorithm>
#include <functional>

namespace {

class Collector
{
public:
    void add(int line, const QString& column, const QString& message)
    {
        if (!message.isEmpty())
            m_problems.append({line, column, message});
    }
    // A check that fails inside a conversion reports the conversion's message.
    void add(int line, const QString& column, const std::function<QString()>& check)
    {
        try {
            add(line, column, check());
        } catch (const ValmoError& error) {
            add(line, column, error.text());
        }
    }
    QList<RowProblem> sorted()
    {
        std::stable_sort(m_problems.begin(), m_problems.end(),
                         [](const RowProblem& a, const RowProblem& b) { return a.line < b.line; });
        return m_problems;
    }

private:
    QList<RowProblem> m_problems;
};

int lineOf(const QVector<int>& lines, int row)
{
    return row < lines.size() ? lines[row] : 0;
}

void checkPayer(Collector& out, int line, bool privateService, const QString& payer)
{
    if (privateService)
        out.add(line, QStringLiteral("Betalarnummer"), CheckPayerNumber(payer));
    else
        out.add(line, QStringLiteral("Bankgironummer"), CheckBankgiroNumber(payer));
}

void checkPayments(Collector& out, const OrderDocument& document, const QVector<int>& lines)
{
    for (int i = 0; i < document.BtuList.count(); ++i) {
        const ListRow& row = document.BtuList[i];
        const int line = lineOf(lines, i);
        checkPayer(out, line, document.PrivateService, row.text(5));
        out.add(line, QStringLiteral("Belopp"), CheckAmount(row.text(3)));
    }
}

void checkMandates(Collector& out, const OrderDocument& document, const QVector<int>& lines)
{
    const QString account = QStringLiteral("Konto/id-nummer");
    for (int i = 0; i < document.MdgList.count(); ++i) {
        const ListRow& row = document.MdgList[i];
        const int line = lineOf(lines, i);
        out.add(line, QStringLiteral("Betalarnummer"), CheckPayerNumber(row.text(1)));
        out.add(line, QStringLiteral("Personnummer"), [&] { return CheckPersonNumber(row.text(3)); });
        if (row.caption() != RowTexts::paperMandate())
            continue;
        const ClearingAccountParts parts = SplitClearingAccount(row.textView(2));
        out.add(line, account, CheckClearingAndAccount(parts.clearing.toString(), parts.account.toString()));
    }
}

void checkCompanyMandates(Collector& out, const OrderDocument& document, const QVector<int>& lines)
{
    for (int i = 0; i < document.MdgListComp.count(); ++i)
        out.add(lineOf(lines, i), QStringLiteral("Bankgironummer"),
                CheckBankgiroNumber(document.MdgListComp[i].caption()));
}

void checkChanges(Collector& out, const OrderDocument& document, const QVector<int>& lines)
{
    for (int i = 0; i < document.MakList.count(); ++i) {
        const ListRow& row = document.MakList[i];
        const int line = lineOf(lines, i);
        const QString code = document.MakList.code(i);
        if (code != QLatin1String("26") && code != QLatin1String("27"))
            checkPayer(out, line, document.PrivateService, row.text(1));
        if (code == QLatin1String("25") || code == QLatin1String("29"))
            out.add(line, QStringLiteral("Belopp"), CheckAmount(row.text(4)));
    }
}

} // namespace

QList<RowProblem> CheckDocumentRows(const OrderDocument& document, const RowLines& lines,
                                    const QList<OpeningRecordEntry>& openingRecords)
{
    Collector out;
    for (const OpeningRecordEntry& record : openingRecords)
        out.add(record.line, QStringLiteral("Bankgironummer"), CheckBankgiroNumber(record.bankgiro));
    checkPayments(out, document, lines.btu);
    checkMandates(out, document, lines.mdg);
    checkCompanyMandates(out, document, lines.mdgComp);
    checkChanges(out, document, lines.mak);
    return out.sorted();
}
