#include "app/RowSortModel.h"
#include "app/RowList.h"
#include "app/RowListModel.h"
#include "support/FakeProgress.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>

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

// The rows a list should show, worked out plainly: those containing the text in some column,
// stably sorted by the column's value.
std::vector<int> expectedRows(const RowList& rows, const QString& filter, int column, Qt::SortOrder order)
{
    std::vector<int> shown;
    for (int row = 0; row < rows.count(); ++row) {
        bool hit = filter.isEmpty();
        for (int c = 0; c < rows[row].columnCount(); ++c)
            hit = hit || rows[row].text(c).contains(filter, Qt::CaseInsensitive);
        if (hit)
            shown.push_back(row);
    }
    if (column < 0)
        return shown;
    std::stable_sort(shown.begin(), shown.end(), [&](int left, int right) {
        const QString a = rows[left].text(column);
        const QString b = rows[right].text(column);
        const int cmp = column == 1 ? (a.toDouble() < b.toDouble()   ? -1
                                       : b.toDouble() < a.toDouble() ? 1
                                                                     : 0)
                                    : a.compare(b, Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? cmp < 0 : cmp > 0;
    });
    return shown;
}

// Every kind of change, applied in a random mix, leaves the view showing exactly the rows it
// should, in the right order, and a selection that still names the same rows.
TEST(RowSortModelTest, FollowsEveryChangeOfRowsSearchAndSort)
{
    RowList rows(2);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("Typ"), QStringLiteral("Belopp"), QStringLiteral("Text")},
                       loading);
    model.setNumberColumns({1});
    RowSortModel sorted;
    sorted.setSourceModel(&model);
    QRandomGenerator random(4711);
    const auto randomRow = [&] {
        const QString type = random.bounded(2) ? QStringLiteral("Debitering") : QStringLiteral("kreditering");
        return ListRow(type,
                       {QString::number(random.bounded(50)), QStringLiteral("Ab%1").arg(random.bounded(30))});
    };
    const QStringList searches = {QString(),
                                  QStringLiteral("a"),
                                  QStringLiteral("ab1"),
                                  QStringLiteral("AB12"),
                                  QStringLiteral("b"),
                                  QStringLiteral("KRED"),
                                  QString()};
    for (int i = 0; i < 300; ++i)
        rows.append(randomRow());
    for (int step = 0; step < 400; ++step) {
        switch (random.bounded(8)) {
        case 0:
            rows.append(randomRow());
            break;
        case 1:
            rows.insert(random.bounded(rows.count() + 1), randomRow());
            break;
        case 2:
            if (!rows.isEmpty())
                rows.remove(random.bounded(rows.count()));
            break;
        case 3:
            if (!rows.isEmpty())
                rows.replace(random.bounded(rows.count()), randomRow());
            break;
        case 4: { // a few ranges or rows at many places, and back
            QList<int> picked;
            const int every = 1 + random.bounded(40);
            for (int row = random.bounded(every); row < rows.count(); row += every)
                picked.append(row);
            QList<ListRow> removed;
            for (const int row : picked)
                removed.append(rows[row]);
            rows.removeRows(picked);
            if (random.bounded(2))
                rows.insertRows(picked, removed);
            break;
        }
        case 5:
            sorted.setFilterFixedString(searches[random.bounded(searches.size())]);
            break;
        case 6:
            sorted.sort(int(random.bounded(4)) - 1,
                        random.bounded(2) ? Qt::AscendingOrder : Qt::DescendingOrder);
            break;
        default:
            break;
        }
        const std::vector<int> expected =
            expectedRows(rows, sorted.filterText(), sorted.sortColumn(), sorted.sortOrder());
        ASSERT_EQ(sorted.shownRows(), expected) << "step " << step;
        ASSERT_EQ(sorted.rowCount(), int(expected.size()));
        for (size_t row = 0; row < expected.size(); row += 37) {
            ASSERT_EQ(sorted.mapToSource(sorted.index(int(row), 2)).row(), expected[row]);
            ASSERT_EQ(sorted.mapFromSource(model.index(expected[row], 1)).row(), int(row));
        }
    }
}

// A persistent index (what a selection holds) stays on its row through sorting and searching.
TEST(RowSortModelTest, APersistentIndexStaysOnItsRow)
{
    RowList rows(1);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("Typ"), QStringLiteral("Belopp")}, loading);
    model.setNumberColumns({1});
    for (const char* amount : {"30,00", "10,00", "20,00"})
        rows.append(QStringLiteral("Debitering"), {QString::fromUtf8(amount)});
    RowSortModel sorted;
    sorted.setSourceModel(&model);
    const QPersistentModelIndex twenty(sorted.index(2, 0));
    sorted.sort(1, Qt::DescendingOrder);
    EXPECT_EQ(twenty.row(), 1);
    sorted.setFilterFixedString(QStringLiteral("20"));
    EXPECT_EQ(twenty.row(), 0);
    sorted.setFilterFixedString(QString());
    EXPECT_EQ(twenty.data(Qt::DisplayRole).toString(), QStringLiteral("Debitering"));
    EXPECT_EQ(sorted.index(twenty.row(), 1).data().toString(), QStringLiteral("20,00"));
}

// A sort of many rows goes in steps of progress. Stopped at any step, the rows keep the order they
// had and so do the sort column and order; let run to its end, the order is right.
TEST(RowSortModelTest, AStoppedSortKeepsTheOrderAndACompletedOneIsRight)
{
    RowList rows(2);
    bool loading = false;
    RowListModel model(rows, {QStringLiteral("Typ"), QStringLiteral("Belopp"), QStringLiteral("Text")},
                       loading);
    model.setNumberColumns({1});
    QRandomGenerator random(17);
    for (int i = 0; i < 2 * RowSortModel::SortInStepsFrom; ++i)
        rows.append(random.bounded(2) ? QStringLiteral("Debitering") : QStringLiteral("kreditering"),
                    {QString::number(random.bounded(500)), QStringLiteral("Ab%1").arg(random.bounded(3000))});
    RowSortModel sorted;
    sorted.setSourceModel(&model);
    int cancelAtStep = 0;
    sorted.setProgressStarter(
        [&](const QString&, qint64) { return std::make_unique<FakeProgress>(cancelAtStep); });
    int cancelledSorts = 0;
    QObject::connect(&sorted, &RowSortModel::sortCancelled, [&] { ++cancelledSorts; });
    const struct
    {
        int column;
        Qt::SortOrder order;
        int cancelAtStep;
    } cases[] = {
        {2, Qt::AscendingOrder, 1},  {2, Qt::DescendingOrder, 20}, {1, Qt::AscendingOrder, 32},
        {1, Qt::DescendingOrder, 0}, {2, Qt::AscendingOrder, 0},   {0, Qt::DescendingOrder, 0},
    };
    for (const auto& c : cases) {
        cancelAtStep = 0;
        sorted.sort(-1);
        sorted.sort(0, Qt::AscendingOrder);
        cancelledSorts = 0;
        cancelAtStep = c.cancelAtStep;
        sorted.sort(c.column, c.order);
        const bool stopped = c.cancelAtStep > 0;
        const int column = stopped ? 0 : c.column;
        const Qt::SortOrder order = stopped ? Qt::AscendingOrder : c.order;
        EXPECT_EQ(cancelledSorts, stopped ? 1 : 0) << c.column << " " << c.cancelAtStep;
        EXPECT_EQ(sorted.sortColumn(), column) << c.column << " " << c.cancelAtStep;
        EXPECT_EQ(sorted.sortOrder(), order) << c.column << " " << c.cancelAtStep;
        EXPECT_EQ(sorted.shownRows(), expectedRows(rows, QString(), column, order))
            << c.column << " " << c.cancelAtStep;
    }
}

} // namespace
