#include "app/RowSortModel.h"
#include "app/RowList.h"
#include "app/RowListModel.h"

#include <gtest/gtest.h>

namespace {

TEST(RowSortModelTest, SortsByValueAndFollowsAChangedRow)
{
    RowList rows(1);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("Typ"), QStringLiteral("Belopp")}, loading);
    model.setNumberColumns({1});
    for (const char* amount : {"1 000,00", "99,00", "5,00"})
        rows.append(QStringLiteral("Debitering"), {QString::fromUtf8(amount)});
    RowSortModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(RowListModel::SortRole);
    sorted.setDynamicSortFilter(true);
    sorted.sort(1);
    auto order = [&] {
        QStringList texts;
        for (int row = 0; row < sorted.rowCount(); ++row)
            texts.append(sorted.index(row, 1).data().toString());
        return texts.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(order(), "5,00|99,00|1 000,00");
    // The values read for the sort are not used once a row has changed.
    rows.replace(0, QStringLiteral("Debitering"), {QStringLiteral("1,00")});
    EXPECT_EQ(order(), "1,00|5,00|99,00");
    rows.append(QStringLiteral("Debitering"), {QStringLiteral("2,00")});
    EXPECT_EQ(order(), "1,00|2,00|5,00|99,00");
}

} // namespace
