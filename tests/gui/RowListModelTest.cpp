#include "app/RowListModel.h"
#include "app/RowList.h"

#include <QBrush>
#include <QColor>
#include <QIcon>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

TEST(RowListModelTest, RowsAreStripedByPositionAndShowTheListPicture)
{
    RowList rows(1);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("A"), QStringLiteral("B")}, loading);
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    model.setRowPicture(QIcon(picture));
    for (int i = 0; i < 4; ++i)
        rows.append(QStringLiteral("row %1").arg(i), {QStringLiteral("sub")});
    rows.remove(1);
    const QColor expected[] = {QColor(218, 218, 255), QColor(236, 236, 255), QColor(218, 218, 255)};
    ASSERT_EQ(model.rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        for (int column = 0; column < 2; ++column)
            EXPECT_EQ(model.index(i, column).data(Qt::BackgroundRole).value<QBrush>().color(), expected[i]);
    }
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("row 2"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("sub"));
    EXPECT_FALSE(model.index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.index(0, 1).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

TEST(RowListModelTest, RowsAppendedInBulkAreAnnouncedOnceAndChangesStayConsistent)
{
    RowList rows(0);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("A")}, loading);
    int inserts = 0;
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    rows.append(QStringLiteral("before"), {});
    EXPECT_EQ(inserts, 1);
    loading = true;
    rows.clear();
    for (int i = 0; i < 1000; ++i)
        rows.append(QString::number(i), {});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(inserts, 1);
    loading = false;
    model.synchronize();
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(inserts, 2);

    // A removal while rows are still unannounced resets the model so it never shows a stale row.
    loading = true;
    rows.append(QStringLiteral("late"), {});
    rows.remove(0);
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(model.index(999, 0).data().toString(), QStringLiteral("late"));
    rows.replace(0, QStringLiteral("changed"), {});
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("changed"));
}

TEST(RowListModelTest, PayerCaptionCanBeSwitched)
{
    RowList rows(1);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("Beskrivning"), QStringLiteral("Betalarnummer")}, loading);
    int changes = 0;
    QObject::connect(&model, &QAbstractItemModel::headerDataChanged, [&] { ++changes; });
    model.setColumnCaption(1, QStringLiteral("Bankgironummer"));
    model.setColumnCaption(1, QStringLiteral("Bankgironummer"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Bankgironummer"));
    EXPECT_EQ(changes, 1);
}

} // namespace
