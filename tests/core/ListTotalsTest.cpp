#include "app/ListTotals.h"
#include "app/NumberReader.h"
#include "app/RowList.h"

#include <QLocale>

#include <cmath>

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

// The quick reading of plain amounts gives what the locale gives, in each locale, and leaves every
// other text to the locale.
TEST(ListTotals, QuickReadingAgreesWithTheLocale)
{
    const QString nbsp(QChar(0x00A0));
    const struct
    {
        QLocale locale;
        QString text;
        bool plain;
    } cases[] = {
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1 234,50"), true},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1") + nbsp + QStringLiteral("234,5"),
         true},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QChar(0x2212) + QStringLiteral("12,05"), true},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("-0,01"), true},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("999"), true},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("125.00"), false},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1,005"), false},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("12 "), false},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral(",5"), false},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("-"), false},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QString(), false},
        {QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("1234567890123456"), false},
        {QLocale::c(), QStringLiteral("125.00"), true},
        {QLocale::c(), QStringLiteral("1,234.56"), true},
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("1.234,56"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.locale.name() + QLatin1Char(' ') + c.text).toStdString());
        QLocale::setDefault(c.locale);
        const NumberReader reader;
        const std::optional<qint64> ore = reader.ore(c.text);
        EXPECT_EQ(ore.has_value(), c.plain);
        if (ore) {
            EXPECT_EQ(*ore, AmountTextToOre(c.text));
            EXPECT_EQ(std::llround(*reader.value(c.text) * 100.0), *ore);
        }
    }
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
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
