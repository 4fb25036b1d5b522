// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "app/ListRow.h"
#include "app/OrderDocument.h"
#include "rules/Periods.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Rows keep the model's fixed texts once for the program and their own texts in one string; every
// mix of the two must give back exactly the texts it was made of.
TEST(ListRowTest, SharedAndOwnTextsComeBackInTheirColumns)
{
    const QString period = PeriodTexts()[3];
    const QList<QStringList> rows = {
        {"Debitering", period, "2024-03-05", "1234,50", "", "4711", "Faktura"},
        {"4711", "Debitering", "", "Kreditering", "x", period, ""},
        {"", "", "", "", "", "", ""},
        {RowTexts::rejectedMandate(), "42", "123", "19650101-1234"},
        {"Debiterin", "Debiteringen", "debitering", "Engångsbetalning ", "X", "Ändring av en transaktion"},
        {"123-4567"},
        {RowTexts::paperMandate()},
    };
    for (const QStringList& texts : rows) {
        const ListRow row(texts[0], texts.mid(1));
        ASSERT_EQ(row.columnCount(), texts.size());
        for (int column = 0; column < texts.size(); ++column) {
            EXPECT_EQ(row.text(column), texts[column]) << column;
            EXPECT_EQ(row.textView(column), texts[column]) << column;
        }
        EXPECT_EQ(row.caption(), texts[0]);
        EXPECT_EQ(row.subItems(), texts.mid(1));
        EXPECT_TRUE(row.text(texts.size()).isEmpty());
        EXPECT_TRUE(row.textView(-1).isEmpty());
    }
}

TEST(ListRowTest, EqualityComparesTextsWhereverTheyAreKept)
{
    const QString ownCopy = QString("Debit") + QString("ering"); // equal text, its own data
    const ListRow shared("Debitering", {"a", "b"});
    EXPECT_EQ(shared, ListRow(ownCopy, {"a", "b"}));
    EXPECT_NE(shared, ListRow("Debitering", {"ab", ""}));
    EXPECT_NE(shared, ListRow("Debitering", {"a"}));
    EXPECT_NE(shared, ListRow("Kreditering", {"a", "b"}));
}

TEST(ListRowTest, RefusesRowsThatDoNotFit)
{
    EXPECT_THROW(ListRow("a", QStringList(ListRow::MaxColumns, "b")), std::invalid_argument);
    EXPECT_THROW(ListRow(QString(0x8000, QLatin1Char('x')), {}), std::invalid_argument);
    EXPECT_NO_THROW(ListRow(QString(0x7000, QLatin1Char('x')), {RowTexts::rejectedMandate()}));
}

} // namespace
