#include "app/ListTotals.h"

#include "app/OrderDocument.h"
#include "app/RowList.h"
#include "rules/Extra.h"

#include <QLocale>

#include <cmath>

qint64 AmountTextToOre(const QString& text)
{
    const QLocale locale;
    QString plain = RemoveGroupSeparators(NormalizeMinusSign(text, locale), locale);
    bool ok = false;
    double value = locale.toDouble(QString(plain).replace(QLatin1Char('-'), locale.negativeSign()), &ok);
    if (!ok)
        value = QLocale::c().toDouble(plain, &ok);
    return ok ? std::llround(value * 100.0) : 0;
}

ListTotals ListTotals::of(const RowList& rows, int typeColumn, int amountColumn, const QList<int>* shown)
{
    ListTotals totals;
    totals.allRows = rows.count();
    totals.rows = shown ? int(shown->size()) : rows.count();
    totals.hasAmounts = amountColumn >= 0;
    if (!totals.hasAmounts)
        return totals;
    const QString debit = RowTexts::debit();
    const QString credit = RowTexts::credit();
    auto add = [&](const ListRow& row) {
        const QStringView type = row.textView(typeColumn);
        if (type == debit)
            totals.debitOre += AmountTextToOre(row.text(amountColumn));
        else if (type == credit)
            totals.creditOre += AmountTextToOre(row.text(amountColumn));
    };
    if (shown) {
        for (const int index : *shown)
            add(rows.row(index));
    } else {
        for (const ListRow& row : rows)
            add(row);
    }
    return totals;
}

QString ListTotals::text() const
{
    const QLocale locale;
    QString count =
        rows == 1 ? QStringLiteral("1 rad") : QStringLiteral("%1 rader").arg(locale.toString(rows));
    if (rows != allRows)
        count = QStringLiteral("%1 av %2").arg(count, locale.toString(allRows));
    if (!hasAmounts)
        return count;
    return QStringLiteral("%1   Debiteringar %2   Krediteringar %3")
        .arg(count, FormatAmount(double(debitOre) / 100.0, locale),
             FormatAmount(double(creditOre) / 100.0, locale));
}
