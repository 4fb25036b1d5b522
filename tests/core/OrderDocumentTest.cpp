#include "app/OrderDocument.h"
#include "app/RowListObserver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QStringList texts(int count, const QString& prefix = QStringLiteral("t"))
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(prefix + QString::number(i));
    return list;
}

QStringList makRow(const QString& payer)
{
    return {payer, QStringLiteral("2024-03-05"), QString(), QStringLiteral("100,00"),
            QStringLiteral("Debitering")};
}

// Records each notification, and checks on every one that the codes and the rows of the
// cancellation list agree at that moment.
class RecordingObserver : public RowListObserver
{
public:
    explicit RecordingObserver(const MakRowList* mak = nullptr) : m_mak(mak) {}

    QStringList events;

    void rowsAboutToBeAppended(int first, int last) override
    {
        record(QStringLiteral("aboutToAppend %1-%2").arg(first).arg(last));
    }
    void rowsAppended() override { record(QStringLiteral("appended")); }
    void rowChanged(int row) override { record(QStringLiteral("changed %1").arg(row)); }
    void rowAboutToBeRemoved(int row) override { record(QStringLiteral("aboutToRemove %1").arg(row)); }
    void rowRemoved() override { record(QStringLiteral("removed")); }
    void listAboutToBeReset() override { record(QStringLiteral("aboutToReset")); }
    void listReset() override { record(QStringLiteral("reset")); }
    void rangeAboutToBeInserted(int first, int last) override
    {
        record(QStringLiteral("aboutToInsert %1-%2").arg(first).arg(last));
    }
    void rangeInserted() override { record(QStringLiteral("inserted")); }
    void rangeAboutToBeRemoved(int first, int last) override
    {
        record(QStringLiteral("aboutToRemove %1-%2").arg(first).arg(last));
    }
    void rangeRemoved() override { record(QStringLiteral("removed")); }
    void listAboutToBeRebuilt() override { record(QStringLiteral("aboutToRebuild")); }
    void listRebuilt() override { record(QStringLiteral("rebuilt")); }

private:
    void record(const QString& event)
    {
        events.append(event);
        if (m_mak) {
            EXPECT_EQ(m_mak->codes().size(), m_mak->count()) << event.toStdString();
            for (int i = 0; i < m_mak->count(); ++i) // each row carries its code as its payer here
                EXPECT_EQ(m_mak->row(i).subItem(0), QStringLiteral("payer ") + m_mak->code(i))
                    << event.toStdString();
        }
    }

    const MakRowList* m_mak;
};

} // namespace

TEST(OrderDocument, EveryListHoldsRowsWithItsOwnSubItemCount)
{
    OrderDocument document;
    const struct
    {
        RowList* list;
        int subItems;
    } lists[] = {{&document.BtuList, 6}, {&document.MdgList, 3}, {&document.MdgListComp, 0}};
    for (const auto& entry : lists) {
        SCOPED_TRACE(entry.subItems);
        RowList& list = *entry.list;
        EXPECT_EQ(list.subItemCount(), entry.subItems);
        EXPECT_EQ(list.append(QStringLiteral("a"), texts(entry.subItems)), 0);
        for (const int wrong : {entry.subItems - 1, entry.subItems + 1}) {
            if (wrong < 0)
                continue;
            EXPECT_THROW(list.append(QStringLiteral("b"), texts(wrong)), std::invalid_argument);
            EXPECT_THROW(list.replace(0, QStringLiteral("b"), texts(wrong)), std::invalid_argument);
        }
        ASSERT_EQ(list.count(), 1);
        EXPECT_EQ(list.row(0).caption(), QStringLiteral("a"));
        EXPECT_EQ(list.row(0).subItems(), texts(entry.subItems));
    }
    EXPECT_EQ(document.MakList.append(QStringLiteral("25"), QStringLiteral("x"), texts(5)), 0);
    EXPECT_THROW(document.MakList.append(QStringLiteral("25"), QStringLiteral("x"), texts(4)),
                 std::invalid_argument);
    EXPECT_THROW(document.MakList.append(QStringLiteral("25"), QStringLiteral("x"), texts(7)),
                 std::invalid_argument);
}

TEST(OrderDocument, RowsKeepEmptyTextsAndTheirOrder)
{
    OrderDocument document;
    const QStringList items = {QStringLiteral("Engångsbetalning"),
                               QString(),
                               QStringLiteral("1 234,50"),
                               QString(),
                               QStringLiteral("12"),
                               QString()};
    document.BtuList.append(QStringLiteral("Debitering"), items);
    document.BtuList.append(QStringLiteral("Kreditering"), texts(6));
    document.BtuList.replace(0, QStringLiteral("Kreditering"), items);

    const ListRow& row = document.BtuList.row(0);
    EXPECT_EQ(row.caption(), QStringLiteral("Kreditering"));
    EXPECT_EQ(row.subItemCount(), 6);
    EXPECT_EQ(row.subItems(), items);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(row.subItem(i), items[i]);
    EXPECT_EQ(document.BtuList.row(1).caption(), QStringLiteral("Kreditering"));
    EXPECT_EQ(row, ListRow(QStringLiteral("Kreditering"), items));
    EXPECT_NE(row, ListRow(QStringLiteral("Kreditering"), texts(6)));
    // The same texts split differently are another row.
    EXPECT_NE(ListRow(QStringLiteral("ab"), {QStringLiteral("c")}),
              ListRow(QStringLiteral("a"), {QStringLiteral("bc")}));

    EXPECT_THROW(document.BtuList.row(2), std::out_of_range);
    EXPECT_THROW(document.BtuList.row(-1), std::out_of_range);
    EXPECT_THROW(document.BtuList.remove(2), std::out_of_range);
    EXPECT_THROW(document.BtuList.replace(2, QStringLiteral("x"), texts(6)), std::out_of_range);
    EXPECT_EQ(document.BtuList.count(), 2);
}

TEST(OrderDocument, MakCodesStayInStepWithTheRows)
{
    OrderDocument document;
    MakRowList& mak = document.MakList;
    for (const QString& code : {QStringLiteral("3"), QStringLiteral("24"), QStringLiteral("29")})
        mak.append(code, QStringLiteral("caption ") + code, makRow(QStringLiteral("payer ") + code));
    EXPECT_EQ(document.MakCodes(),
              QStringList({QStringLiteral("3"), QStringLiteral("24"), QStringLiteral("29")}));

    mak.remove(1); // the middle row
    ASSERT_EQ(mak.count(), 2);
    EXPECT_EQ(document.MakCodes(), QStringList({QStringLiteral("3"), QStringLiteral("29")}));
    EXPECT_EQ(mak.row(0).subItem(0), QStringLiteral("payer 3"));
    EXPECT_EQ(mak.row(1).subItem(0), QStringLiteral("payer 29"));

    mak.replace(1, QStringLiteral("26"), QStringLiteral("caption 26"), makRow(QStringLiteral("payer 26")));
    EXPECT_EQ(document.MakCodes(), QStringList({QStringLiteral("3"), QStringLiteral("26")}));
    EXPECT_EQ(mak.code(1), QStringLiteral("26"));
    EXPECT_EQ(mak.row(1).caption(), QStringLiteral("caption 26"));

    // Refused changes leave rows and codes as they were.
    EXPECT_THROW(mak.append(QStringLiteral("25"), QStringLiteral("x"), texts(4)), std::invalid_argument);
    EXPECT_THROW(mak.append(QStringLiteral("25"), ListRow(QStringLiteral("x"), texts(7))),
                 std::invalid_argument);
    EXPECT_THROW(mak.replace(0, QStringLiteral("25"), QStringLiteral("x"), texts(3)), std::invalid_argument);
    EXPECT_THROW(mak.replace(2, QStringLiteral("25"), QStringLiteral("x"), texts(5)), std::out_of_range);
    EXPECT_THROW(mak.remove(2), std::out_of_range);
    EXPECT_THROW(mak.remove(-1), std::out_of_range);
    EXPECT_THROW(mak.code(2), std::out_of_range);
    EXPECT_EQ(document.MakCodes(), QStringList({QStringLiteral("3"), QStringLiteral("26")}));
    EXPECT_EQ(mak.count(), 2);
    EXPECT_EQ(mak.row(0).caption(), QStringLiteral("caption 3"));

    document.clearLists();
    EXPECT_TRUE(mak.isEmpty());
    EXPECT_TRUE(document.MakCodes().isEmpty());
}

TEST(OrderDocument, ObserversHearOfEveryChangeWhileRowsAndCodesAgree)
{
    OrderDocument document;
    MakRowList& mak = document.MakList;
    RecordingObserver observer(&mak);
    mak.setObserver(&observer);

    mak.append(QStringLiteral("3"), QStringLiteral("a"), makRow(QStringLiteral("payer 3")));
    mak.append(QStringLiteral("24"), QStringLiteral("b"), makRow(QStringLiteral("payer 24")));
    mak.append(QStringLiteral("29"), QStringLiteral("c"), makRow(QStringLiteral("payer 29")));
    mak.replace(2, QStringLiteral("27"), QStringLiteral("c"), makRow(QStringLiteral("payer 27")));
    mak.remove(1);
    EXPECT_THROW(mak.append(QStringLiteral("25"), QStringLiteral("x"), texts(4)), std::invalid_argument);
    EXPECT_THROW(mak.remove(5), std::out_of_range);
    mak.clear();

    EXPECT_EQ(observer.events, QStringList({
                                   QStringLiteral("aboutToAppend 0-0"),
                                   QStringLiteral("appended"),
                                   QStringLiteral("aboutToAppend 1-1"),
                                   QStringLiteral("appended"),
                                   QStringLiteral("aboutToAppend 2-2"),
                                   QStringLiteral("appended"),
                                   QStringLiteral("changed 2"),
                                   QStringLiteral("aboutToRemove 1"),
                                   QStringLiteral("removed"),
                                   QStringLiteral("aboutToReset"),
                                   QStringLiteral("reset"),
                               }));
}

TEST(OrderDocument, RowListObserverHearsOfEveryChange)
{
    RowList list(3);
    RecordingObserver observer;
    list.setObserver(&observer);
    list.append(QStringLiteral("a"), texts(3));
    list.append(QStringLiteral("b"), texts(3));
    list.replace(0, QStringLiteral("c"), texts(3));
    EXPECT_THROW(list.append(QStringLiteral("d"), texts(2)), std::invalid_argument);
    list.remove(0);
    list.clear();
    list.setObserver(nullptr);
    list.append(QStringLiteral("e"), texts(3));

    EXPECT_EQ(observer.events, QStringList({QStringLiteral("aboutToAppend 0-0"), QStringLiteral("appended"),
                                            QStringLiteral("aboutToAppend 1-1"), QStringLiteral("appended"),
                                            QStringLiteral("changed 0"), QStringLiteral("aboutToRemove 0"),
                                            QStringLiteral("removed"), QStringLiteral("aboutToReset"),
                                            QStringLiteral("reset")}));
}

// Rows removed and put back together: a few ranges are announced one by one from the bottom up
// (put back from the top down), rows at many places as one rebuilt list; the codes travel along.
TEST(OrderDocument, RowsRemovedAndPutBackTogetherKeepTheirPlacesAndCodes)
{
    const struct
    {
        QList<int> positions;
        QStringList events;
    } cases[] = {
        {{1, 2, 5},
         {QStringLiteral("aboutToRemove 5-5"), QStringLiteral("removed"), QStringLiteral("aboutToRemove 1-2"),
          QStringLiteral("removed"), QStringLiteral("aboutToInsert 1-2"), QStringLiteral("inserted"),
          QStringLiteral("aboutToInsert 5-5"), QStringLiteral("inserted")}},
        {{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 34},
         {QStringLiteral("aboutToRebuild"), QStringLiteral("rebuilt"), QStringLiteral("aboutToRebuild"),
          QStringLiteral("rebuilt")}},
    };
    for (const auto& c : cases) {
        OrderDocument document;
        MakRowList& mak = document.MakList;
        for (int i = 0; i < 40; ++i)
            mak.append(QString::number(i), QStringLiteral("c"), makRow(QStringLiteral("payer %1").arg(i)));
        const QStringList codesBefore = mak.codes();
        RecordingObserver observer(&mak);
        mak.setObserver(&observer);
        QList<ListRow> removed;
        QStringList removedCodes;
        for (const int position : c.positions) {
            removed.append(mak.row(position));
            removedCodes.append(mak.code(position));
        }
        mak.removeRows(c.positions);
        ASSERT_EQ(mak.count(), 40 - c.positions.size());
        for (const int position : c.positions)
            EXPECT_FALSE(mak.codes().contains(codesBefore[position]));
        mak.insertRows(c.positions, removedCodes, removed);
        EXPECT_EQ(mak.codes(), codesBefore);
        EXPECT_EQ(observer.events, c.events);
        mak.setObserver(nullptr);
    }
    RowList list(1);
    EXPECT_THROW(list.removeRows({0}), std::out_of_range);
    list.append(QStringLiteral("a"), {QStringLiteral("x")});
    list.append(QStringLiteral("b"), {QStringLiteral("y")});
    EXPECT_THROW(list.removeRows({1, 0}), std::invalid_argument);
    EXPECT_THROW(list.insertRows({3}, {ListRow(QStringLiteral("c"), {QStringLiteral("z")})}),
                 std::out_of_range);
    EXPECT_EQ(list.count(), 2);
}

TEST(OrderDocument, MakTextsHoldTheEightDescriptions)
{
    OrderDocument document;
    ASSERT_EQ(document.MakTexts.size(), 99);
    for (const QString& text : document.MakTexts)
        EXPECT_TRUE(text.isEmpty());

    document.FillMakTexts();
    const struct
    {
        int code;
        QString text;
    } descriptions[] = {
        {3, QStringLiteral("Makulering av ett medgivande")},
        {23, QStringLiteral("Makulering av alla transaktioner för ett betaluppdrag")},
        {24, QStringLiteral("Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer")},
        {25, QStringLiteral("Makulering av en transaktion")},
        {26, QStringLiteral("Ändring av alla transaktioner")},
        {27, QStringLiteral("Ändring av alla transaktioner på angiven betaldag")},
        {28, QStringLiteral("Ändring av alla transaktioner, på angiven betaldag, för ett betalarnummer")},
        {29, QStringLiteral("Ändring av en transaktion")},
    };
    int filled = 0;
    for (const QString& text : document.MakTexts)
        filled += text.isEmpty() ? 0 : 1;
    EXPECT_EQ(filled, 8);
    for (const auto& d : descriptions) {
        EXPECT_EQ(document.MakTexts[d.code], d.text);
        EXPECT_EQ(document.MakText(d.code), d.text);
    }
    EXPECT_EQ(document.MakText(-1), QString());
    EXPECT_EQ(document.MakText(99), QString());
    EXPECT_EQ(document.MakText(0), QString());
}

TEST(OrderDocument, FlagsStartAsANewDocumentAndClearingEmptiesEveryList)
{
    OrderDocument document;
    EXPECT_FALSE(document.DocModified);
    EXPECT_TRUE(document.CurrentFile.isEmpty());
    EXPECT_TRUE(document.PrivateService);
    EXPECT_FALSE(document.Loading);
    EXPECT_FALSE(document.hasRows());

    document.MdgListComp.append(QStringLiteral("123-4566"), {});
    EXPECT_TRUE(document.hasRows());
    document.MdgList.append(QStringLiteral("Medgivande på papper"), texts(3));
    document.BtuList.append(QStringLiteral("Debitering"), texts(6));
    document.MakList.append(QStringLiteral("3"), QStringLiteral("x"), texts(5));
    document.clearLists();
    EXPECT_FALSE(document.hasRows());
    EXPECT_TRUE(document.BtuList.isEmpty());
    EXPECT_TRUE(document.MdgList.isEmpty());
    EXPECT_TRUE(document.MdgListComp.isEmpty());
    EXPECT_TRUE(document.MakCodes().isEmpty());
}
