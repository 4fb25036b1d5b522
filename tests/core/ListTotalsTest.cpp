#include "app/ListTotals.h"
#include "app/RowList.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(ListTotals, AmountTextsInEveryFormRowsHold)
{
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    const struct
    {
        QString text;
        qint64 ore;
    } cases[] = {
        {QStringLiteral("1 234,50"), 123450},
        {QStringLiteral("1") + QChar(0x00A0) + QStringLiteral("234,50"), 123450},
        {QChar(0x2212) + QStringLiteral("12,05"), -1205},
        {QStringLiteral("-0,01"), -1},
        {QStringLiteral("1234,5"), 123450},
        {QStringLiteral("125.00"), 12500}, // a point, as some rows of other programs hold
        {QString(), 0},
        {QStringLiteral("abc"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(AmountTextToOre(c.text), c.ore);
    }
}

TEST(ListTotals, SumsDebitsAndCreditsOfTheRowsShown)
{
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    RowList rows(1);
    rows.append(QStringLiteral("Debitering"), {QStringLiteral("0,10")});
    rows.append(QStringLiteral("Debitering"), {QStringLiteral("0,20")});
    rows.append(QStringLiteral("Kreditering"), {QStringLiteral("5,00")});
    rows.append(QStringLiteral("Okänd"), {QStringLiteral("7,00")});
    const ListTotals all = ListTotals::of(rows, 0, 1);
    EXPECT_EQ(all.debitOre, 30); // in öre: no binary rounding of 0,1 + 0,2
    EXPECT_EQ(all.creditOre, 500);
    EXPECT_EQ(all.text(), QStringLiteral("4 rader   Debiteringar 0,30   Krediteringar 5,00"));
    const QList<int> shown = {2};
    EXPECT_EQ(ListTotals::of(rows, 0, 1, &shown).text(),
              QStringLiteral("1 rad av 4   Debiteringar 0,00   Krediteringar 5,00"));
    EXPECT_EQ(ListTotals::of(rows, -1, -1).text(), QStringLiteral("4 rader"));
}

} // namespace
