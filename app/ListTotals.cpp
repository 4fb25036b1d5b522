#include "app/ListTotals.h"

#include "app/NumberReader.h"
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

namespace {

// Sums the rows at the positions that `forEachShown` hands to its argument.
template <typename ForEachShown>
ListTotals sum(const RowList& rows, int typeColumn, int amountColumn, int shownCount,
               const ForEachShown& forEachShown)
{
    ListTotals totals;
    totals.allRows = rows.count();
    totals.rows = shownCount;
    totals.hasAmounts = amountColumn >= 0;
    if (!totals.hasAmounts)
        return totals;
    const QString debit = RowTexts::debit();
    const QString credit = RowTexts::credit();
    // The plain amounts the rows show are read directly, the rest by the locale.
    const NumberReader reader;
    const auto oreOf = [&](const ListRow& row) {
        const QStringView amount = row.textView(amountColumn);
        const std::optional<qint64> ore = reader.ore(amount);
        return ore ? *ore : AmountTextToOre(amount.toString());
    };
    forEachShown([&](const ListRow& row) {
        const QStringView type = row.textView(typeColumn);
        if (type == debit)
            totals.debitOre += oreOf(row);
        else if (type == credit)
            totals.creditOre += oreOf(row);
    });
    return totals;
}

} // namespace

ListTotals ListTotals::of(const RowList& rows, int typeColumn, int amountColumn, const QList<int>* shown)
{
    return sum(rows, typeColumn, amountColumn, shown ? int(shown->size()) : rows.count(),
               [&](const auto& add) {
                   if (shown) {
                       for (const int index : *shown)
                           add(rows.row(index));
                   } else {
                       for (const ListRow& row : rows)
                           add(row);
                   }
               });
}

ListTotals ListTotals::of(const RowList& rows, int typeColumn, int amountColumn,
                          const std::vector<int>& shown)
{
    return sum(rows, typeColumn, amountColumn, int(shown.size()), [&](const auto& add) {
        for (const int index : shown)
            add(rows.row(index));
    });
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
