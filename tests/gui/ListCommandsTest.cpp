#include "app/ListCommands.h"
#include "support/GuiPrompt.h"

#include "gui/DialogTestSupport.h"
#include "rules/NumberEdit.h"
#include "support/ListCommandsFixture.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace DialogTest;

namespace {

class ListCommandsTest : public ListCommandsFixture
{
protected:
    void addPaymentOrder(const QString& payer)
    {
        whenShown(btu, [this, payer] {
            btu.BetalarEdit->setText(payer);
            btu.BeloppEdit->setValue(100);
            btu.SaveBtnClick();
        });
        commands.BtuBtnClick();
    }

    void addMak(int listPosition, bool change)
    {
        whenShown(mak, [this, listPosition, change] {
            (change ? mak.ChangeRadio : mak.MakRadio)->setChecked(true);
            (change ? mak.ChangeTypCmbo : mak.MakTypCmbo)->setCurrentIndex(listPosition);
            mak.BetalarNrEdit->setText(QStringLiteral("4711"));
            mak.BeloppEdit->setValue(10);
            mak.SaveBtnClick();
        });
        commands.MakBtnClick();
    }
};

TEST_F(ListCommandsTest, AddingPaymentOrdersAppendsSelectsAndResizesForTheFirstOnly)
{
    addPaymentOrder(QStringLiteral("4711"));
    ASSERT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(document.BtuList[0].text(5), QStringLiteral("4711"));
    EXPECT_TRUE(document.DocModified);
    EXPECT_EQ(selection.selectedRow(ListId::Btu), 0);
    EXPECT_EQ(view.calls.last(), true);

    addPaymentOrder(QStringLiteral("4712"));
    ASSERT_EQ(document.BtuList.count(), 2);
    EXPECT_EQ(document.BtuList[1].text(5), QStringLiteral("4712"));
    EXPECT_EQ(selection.selectedRow(ListId::Btu), 1);
    EXPECT_EQ(view.calls.last(), false);
}

TEST_F(ListCommandsTest, PaymentDialogFollowsTheServiceType)
{
    document.PrivateService = false;
    whenShown(btu, [this] {
        EXPECT_FALSE(btu.PrivatePayer);
        btu.BetalarEdit->setText(QStringLiteral("12345674"));
        btu.SaveBtnClick();
    });
    commands.BtuBtnClick();
    ASSERT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(document.BtuList[0].text(5), QStringLiteral("1234-5674"));
}

TEST_F(ListCommandsTest, MandateGoesToTheListOfTheServiceType)
{
    document.PrivateService = true;
    whenShown(mdg, [this] {
        mdg.BetalarEdit->setText(QStringLiteral("4711"));
        mdg.PersonNrEdit->setText(QStringLiteral("6501011230"));
        mdg.ClearingNrEdit->setText(QStringLiteral("5000"));
        mdg.KontoNrEdit->setText(QStringLiteral("1234560"));
        mdg.SaveBtnClick();
    });
    commands.MdgBtnClick();
    ASSERT_EQ(document.MdgList.count(), 1);
    EXPECT_EQ(document.MdgList[0], ListRow(QStringLiteral("Medgivande på papper"),
                                           {QStringLiteral("4711"), QStringLiteral("5000-1234560"),
                                            QStringLiteral("19650101-1230")}));
    EXPECT_EQ(view.calls.last(), true);

    document.PrivateService = false;
    whenShown(mdgComp, [this] {
        mdgComp.BgNrEdit->setText(QStringLiteral("1234 5674"));
        mdgComp.SaveBtnClick();
    });
    commands.MdgBtnClick();
    ASSERT_EQ(document.MdgListComp.count(), 1);
    EXPECT_EQ(document.MdgListComp[0].caption(), QStringLiteral("1234-5674"));
    EXPECT_EQ(document.MdgList.count(), 1);
    EXPECT_EQ(selection.selectedRow(ListId::MdgComp), 0);
    EXPECT_EQ(view.calls.last(), true); // both lists count
}

TEST_F(ListCommandsTest, CancelledAddAndEditChangeNothing)
{
    whenShown(btu, [this] { btu.QuiteBtnClick(); });
    commands.BtuBtnClick();
    whenShown(mak, [this] { mak.reject(); }); // Escape or the close box
    commands.MakBtnClick();
    EXPECT_TRUE(document.BtuList.isEmpty());
    EXPECT_TRUE(document.MakList.isEmpty());
    EXPECT_FALSE(document.DocModified);
    EXPECT_TRUE(view.calls.isEmpty());

    document.MdgListComp.append(QStringLiteral("123-4566"), {});
    selection.selectRow(ListId::MdgComp, 0);
    whenShown(mdgComp, [this] {
        EXPECT_EQ(mdgComp.BgNrEdit->text(), QStringLiteral("123-4566"));
        mdgComp.BgNrEdit->setText(QStringLiteral("1234-5674"));
        mdgComp.QuiteBtnClick();
    });
    commands.MdgListCompDblClick();
    EXPECT_EQ(document.MdgListComp[0].caption(), QStringLiteral("123-4566"));
    EXPECT_FALSE(document.DocModified);
}

TEST_F(ListCommandsTest, EditingACancellationCanChangeItsCode)
{
    addMak(0, false); // 25
    addMak(1, false); // 3
    addMak(0, false); // 25
    ASSERT_EQ(document.MakCodes(),
              (QStringList{QStringLiteral("25"), QStringLiteral("3"), QStringLiteral("25")}));
    const ListRow first = document.MakList[0];
    const ListRow second = document.MakList[1];
    EXPECT_EQ(second.caption(), QStringLiteral("Makulering av ett medgivande"));
    document.DocModified = false;

    selection.selectRow(ListId::Mak, 2);
    whenShown(mak, [this] {
        EXPECT_TRUE(mak.MakRadio->isChecked());
        EXPECT_EQ(mak.MakCode, 25);
        mak.ChangeRadio->setChecked(true);
        mak.ChangeTypCmbo->setCurrentIndex(1); // Alla transaktioner: 26
        mak.SaveBtnClick();
    });
    commands.MakListDblClick();
    EXPECT_EQ(document.MakCodes(),
              (QStringList{QStringLiteral("25"), QStringLiteral("3"), QStringLiteral("26")}));
    EXPECT_EQ(document.MakList[2].caption(), QStringLiteral("Ändring av alla transaktioner"));
    EXPECT_EQ(document.MakList[2].text(1), QString());
    EXPECT_EQ(document.MakList[2].text(3), QStringLiteral("2026-03-15"));
    EXPECT_EQ(document.MakList[0], first);
    EXPECT_EQ(document.MakList[1], second);
    EXPECT_TRUE(document.DocModified);
    EXPECT_EQ(selection.selectedRow(ListId::Mak), 2);
    EXPECT_EQ(view.calls.last(), false);
}

TEST_F(ListCommandsTest, DeletingInTheMiddleKeepsCodesWithTheirRows)
{
    addMak(0, false); // 25
    addMak(1, false); // 3
    addMak(3, true);  // 28
    selection.focused = ListId::Mak;
    selection.selectRow(ListId::Mak, 1);
    document.DocModified = false;
    commands.DelBtnClick();
    EXPECT_EQ(document.MakCodes(), (QStringList{QStringLiteral("25"), QStringLiteral("28")}));
    EXPECT_EQ(document.MakList[0].caption(), document.MakText(25));
    EXPECT_EQ(document.MakList[1].caption(), document.MakText(28));
    EXPECT_TRUE(document.DocModified);
    EXPECT_EQ(view.calls.last(), false);

    selection.selectRow(ListId::Mak, 0);
    commands.DelBtnClick();
    selection.selectRow(ListId::Mak, 0);
    commands.DelBtnClick();
    EXPECT_TRUE(document.MakList.isEmpty());
    EXPECT_TRUE(document.MakCodes().isEmpty());
}

TEST_F(ListCommandsTest, SelectionAfterDelete)
{
    const struct
    {
        int deleted;
        int selectedAfter;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, -1}, {4, -1}};
    for (const auto& c : cases) {
        document.BtuList.clear();
        for (int i = 0; i < 5; ++i)
            document.BtuList.append(QString::number(i),
                                    {QString(), QString(), QString(), QString(), QString(), QString()});
        selection.focused = ListId::Btu;
        selection.selectRow(ListId::Btu, c.deleted);
        commands.DelBtnClick();
        ASSERT_EQ(document.BtuList.count(), 4);
        EXPECT_EQ(selection.selectedRow(ListId::Btu), c.selectedAfter) << c.deleted;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(document.BtuList[i].caption(), QString::number(i < c.deleted ? i : i + 1));
    }
}

TEST_F(ListCommandsTest, DeleteNeedsTheFocusAndASelection)
{
    document.MdgListComp.append(QStringLiteral("123-4566"), {});
    selection.selectRow(ListId::MdgComp, 0);
    selection.focused = ListId::Btu; // another list has the focus
    commands.DelBtnClick();
    selection.focused = ListId::MdgComp;
    selection.selectRow(ListId::MdgComp, -1);
    commands.DelBtnClick();
    EXPECT_EQ(document.MdgListComp.count(), 1);
    EXPECT_FALSE(document.DocModified);
    EXPECT_EQ(view.calls, (QList<bool>{false, false}));
}

TEST_F(ListCommandsTest, EditFromTheToolbarWorksOnTheFocusedList)
{
    document.MdgListComp.append(QStringLiteral("123-4566"), {});
    document.MdgListComp.append(QStringLiteral("1234-5674"), {});
    selection.selectRow(ListId::MdgComp, 1);
    commands.ChangeBtnClick(); // no list has the focus: nothing opens

    selection.focused = ListId::MdgComp;
    whenShown(mdgComp, [this] {
        EXPECT_EQ(mdgComp.BgNrEdit->text(), QStringLiteral("1234-5674"));
        mdgComp.BgNrEdit->setText(QStringLiteral("00012345674"));
        mdgComp.SaveBtnClick();
    });
    commands.ChangeBtnClick();
    EXPECT_EQ(document.MdgListComp[0].caption(), QStringLiteral("123-4566"));
    EXPECT_EQ(document.MdgListComp[1].caption(), QStringLiteral("1234-5674"));
    EXPECT_TRUE(document.DocModified);
}

TEST_F(ListCommandsTest, EditKeepsThePositionOfAPaymentOrder)
{
    addPaymentOrder(QStringLiteral("1"));
    addPaymentOrder(QStringLiteral("2"));
    addPaymentOrder(QStringLiteral("3"));
    selection.selectRow(ListId::Btu, 1);
    document.PrivateService = true;
    whenShown(btu, [this] {
        EXPECT_EQ(btu.BetalarEdit->text(), QStringLiteral("2"));
        btu.RefEdit->setText(QStringLiteral("Ändrad"));
        btu.SaveBtnClick();
    });
    commands.BtuListDblClick();
    EXPECT_EQ(document.BtuList[1].text(5), QStringLiteral("2"));
    EXPECT_EQ(document.BtuList[1].text(6), QStringLiteral("Ändrad"));
    EXPECT_EQ(document.BtuList[2].text(5), QStringLiteral("3"));
    EXPECT_EQ(document.BtuList[2].text(6), QString());
}

TEST_F(ListCommandsTest, RowThatCannotBeLoadedIsReportedAndNotOpened)
{
    document.MakList.append(
        QStringLiteral("25"), QStringLiteral("Makulering av en transaktion"),
        {QStringLiteral("4711"), QStringLiteral("2026-02-30"), QString(), QString(), QString()});
    selection.selectRow(ListId::Mak, 0);
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    commands.MakListDblClick();
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages[0].caption, QStringLiteral("Lumora Valmo"));
    EXPECT_EQ(guiPrompt().messages[0].text,
              QStringLiteral("'2026-02-30' är inte ett giltigt datum\nFältet Betalningsdag på rad 1 i "
                             "Makuleringar och ändringar kan inte läsas, så raden kan inte redigeras."));
    EXPECT_EQ(guiPrompt().messages[0].icon, UserPrompt::Icon::Error);
    EXPECT_FALSE(document.DocModified);
    EXPECT_TRUE(view.calls.isEmpty());
}

TEST_F(ListCommandsTest, EditWithoutASelectionDoesNothing)
{
    document.BtuList.append(QStringLiteral("Debitering"),
                            {QString(), QString(), QString(), QString(), QString(), QString()});
    commands.BtuListDblClick();
    EXPECT_FALSE(document.DocModified);
    EXPECT_TRUE(view.calls.isEmpty());
}

} // namespace

namespace {

std::string payers(const OrderDocument& document)
{
    QStringList texts;
    for (const ListRow& row : document.BtuList)
        texts.append(row.text(5));
    return texts.join(QLatin1Char(',')).toStdString();
}

TEST_F(ListCommandsTest, EveryChangeCanBeUndoneAndRedone)
{
    addPaymentOrder(QStringLiteral("1"));
    addPaymentOrder(QStringLiteral("2"));
    addPaymentOrder(QStringLiteral("3"));
    QUndoStack& undo = commands.undoStack();
    commands.markSaved();
    document.DocModified = false;

    const struct
    {
        const char* name;
        std::function<void()> change;
        const char* after;
    } cases[] = {
        {"add", [this] { addPaymentOrder(QStringLiteral("4")); }, "1,2,3,4"},
        {"edit",
         [this] {
             selection.selectRow(ListId::Btu, 1);
             whenShown(btu, [this] {
                 btu.BetalarEdit->setText(QStringLiteral("22"));
                 btu.SaveBtnClick();
             });
             commands.BtuListDblClick();
         },
         "1,22,3"},
        {"delete two",
         [this, &undo] {
             selection.focused = ListId::Btu;
             selection.selected[ListId::Btu] = 0;
             commands.DelBtnClick(); // one selected row
             undo.undo();
             selection.rows = {0, 2};
             commands.DelBtnClick();
         },
         "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        EXPECT_EQ(payers(document), c.after);
        EXPECT_TRUE(document.DocModified);
        undo.undo();
        EXPECT_EQ(payers(document), "1,2,3");
        EXPECT_FALSE(document.DocModified); // back at the saved state
        undo.redo();
        EXPECT_EQ(payers(document), c.after);
        undo.undo();
        selection.rows.clear();
    }
    commands.forgetHistory();
    EXPECT_FALSE(undo.canUndo());
}

} // namespace
