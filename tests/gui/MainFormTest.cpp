#include "app/MainForm.h"
#include "app/Clock.h"
#include "app/MainActions.h"
#include "app/RecentFiles.h"
#include "app/RowSortModel.h"
#include "app/StartPicture.h"
#include "app/WidgetPrompt.h"
#include "calendar/DeliveryCheckView.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "rules/NumberEdit.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QStringList BtuRow = {QStringLiteral("Engångsbetalning"),
                            QStringLiteral("2024-03-05"),
                            QStringLiteral("100,00"),
                            QStringLiteral("1"),
                            QStringLiteral("1234"),
                            QStringLiteral("ref")};
const QStringList MdgRow = {QStringLiteral("123-4567"), QStringLiteral("5000-1234567"),
                            QStringLiteral("19800101-1234")};
const QStringList MakRow = {QStringLiteral("1234"), QStringLiteral("2024-03-05"), QString(), QString(),
                            QString()};

// The room a header caption needs to be drawn whole: its text and the header's margins.
int captionWidth(const QHeaderView* header, const QString& caption)
{
    return header->fontMetrics().horizontalAdvance(caption) +
           2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
}

void settle()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// "&Betaluppdrag" with a payment order to payer 4711 of 100,00 entered and confirmed in the dialog.
void addPaymentOrderFromTheToolbar(TMainForm& form)
{
    TBtuForm* dialog = form.BtuForm;
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->BetalarEdit->setText(QStringLiteral("4711"));
        dialog->BeloppEdit->setValue(100);
        dialog->SaveBtnClick();
        if (dialog->isVisible())
            dialog->reject();
    });
    form.BtuBtn->click();
}

class MainFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        guiPrompt().clear();
    }

    FixedClock m_beforeThePaymentDates{QDateTime(QDate(2024, 3, 1), QTime(10, 0))};

    std::unique_ptr<TMainForm> shownForm()
    {
        auto form = std::make_unique<TMainForm>();
        // The rows' payment dates lie in March 2024: the file reaches the bank in time.
        form->DeliveryCheck->setClock(m_beforeThePaymentDates);
        form->show();
        QApplication::setActiveWindow(form.get());
        settle();
        return form;
    }

    static void addRows(OrderDocument& doc, int btu, int mdg, int comp, int mak)
    {
        for (int i = 0; i < btu; ++i)
            doc.BtuList.append(QStringLiteral("Debitering"), BtuRow);
        for (int i = 0; i < mdg; ++i)
            doc.MdgList.append(QStringLiteral("Medgivande på papper"), MdgRow);
        for (int i = 0; i < comp; ++i)
            doc.MdgListComp.append(QStringLiteral("123-4567"), {});
        for (int i = 0; i < mak; ++i)
            doc.MakList.append(QStringLiteral("25"), QStringLiteral("Makulering av en transaktion"), MakRow);
    }

    // Resizes the window so that the document area below the toolbar is exactly `height` high.
    static void setAreaHeight(TMainForm& form, int height)
    {
        form.resize(form.width(), form.height() - form.OuterPanel->height() + height);
        settle();
        ASSERT_EQ(form.OuterPanel->height(), height);
    }
};

TEST_F(MainFormTest, StartsWithTheStartSectionAndTheDocumentCommandsDisabled)
{
    auto form = shownForm();
    EXPECT_TRUE(form->StartPanel->isVisibleTo(form.get()));
    for (QWidget* section : {form->BtuPanel, static_cast<QWidget*>(form->InnerPanel)})
        EXPECT_FALSE(section->isVisibleTo(form.get()));
    for (QToolButton* button : {form->NewBtn, form->SparaBtn, form->VisaBtn, form->ChangeBtn, form->DelBtn})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    for (QToolButton* button :
         {form->OpenBtn, form->MdgBtn, form->BtuBtn, form->MakBtn, form->SettingsBtn, form->HelpBtn})
        EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Lumora Valmo 1.0.0"));
    EXPECT_EQ(form->document().MakText(25), QStringLiteral("Makulering av en transaktion"));
}

TEST_F(MainFormTest, ToolbarHasElevenButtonsInFourGroups)
{
    TMainForm form;
    QStringList layout;
    for (QAction* action : form.ToolBar1->actions()) {
        if (action->isSeparator()) {
            layout << QStringLiteral("|");
            continue;
        }
        auto* button = qobject_cast<QToolButton*>(form.ToolBar1->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->size(), QSize(78, 52));
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        // The "&" letter is the Alt accelerator.
        EXPECT_EQ(button->shortcut(), QKeySequence::mnemonic(button->text()));
        EXPECT_FALSE(button->shortcut().isEmpty());
        layout << button->text();
    }
    EXPECT_EQ(
        layout.join(QLatin1Char(',')),
        QStringLiteral("Öppna &fil,&Ny fil,&Spara fil,&Visa fil,Im&portera...,E&xportera...,|,&Medgivande,"
                       "&Betaluppdrag,Ma&kulering,|,&Redigera,&Ta bort,|,Re&gister,&Inställningar,&Hjälp"));
    // Fourteen buttons and three separators: the window is as wide as the toolbar.
    EXPECT_EQ(form.size(), QSize(14 * 78 + 3 * 5, 546));
}

TEST_F(MainFormTest, ListsHaveTheirColumnsAndWidths)
{
    TMainForm form;
    struct Column
    {
        QTreeView* list;
        int column;
        const char* caption;
        int width;
    };
    const Column columns[] = {
        {form.BtuList, 0, "Typ", 100},
        {form.BtuList, 1, "Period", 180},
        {form.BtuList, 2, "Betalningsdag", 90},
        {form.BtuList, 3, "Belopp", 100},
        {form.BtuList, 5, "Betalarnummer", 120},
        {form.BtuList, 6, "Referens", 120},
        {form.MdgList, 0, "Typ", 230},
        {form.MdgList, 2, "Konto/id-nummer", 150},
        {form.MdgList, 3, "Personnummer", 130},
        {form.MdgListComp, 0, "Bankgironummer", 200},
        {form.MakList, 0, "Beskrivning", 300},
        {form.MakList, 3, "Ny betaldag", 90},
        {form.MakList, 5, "Transaktionstyp", 100},
        {form.MakList, 6, "Referens", 120},
    };
    for (const Column& c : columns) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.list->model()->headerData(c.column, Qt::Horizontal).toString(),
                  QString::fromUtf8(c.caption));
        // The width given, or more where the desktop's font needs it for the caption.
        EXPECT_EQ(c.list->header()->sectionSize(c.column),
                  qMax(c.width, captionWidth(c.list->header(), QString::fromUtf8(c.caption))));
    }
    EXPECT_EQ(form.BtuList->model()->columnCount(), 7);
    EXPECT_EQ(form.MdgList->model()->columnCount(), 4);
    EXPECT_EQ(form.MdgListComp->model()->columnCount(), 1);
    EXPECT_EQ(form.MakList->model()->columnCount(), 7);
    for (QTreeView* list : {form.BtuList, form.MdgList, form.MdgListComp, form.MakList}) {
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(list->frameShape(), QFrame::NoFrame);
    }
}

struct CaptionCase
{
    const char* name;
    bool privateService;
};

TEST_F(MainFormTest, EveryColumnCaptionFitsItsColumn)
{
    // A caption that the desktop's font makes wider than its column widens the column rather
    // than being cut off, also after the payer captions switch either way.
    const CaptionCase cases[] = {{"private service", true}, {"company service", false}};
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnvironment::instance().resetSettings();
        if (!c.privateService)
            SettingsStore::writePrivateService(false);
        auto form = shownForm();
        for (const bool privateService : {c.privateService, !c.privateService}) {
            form->document().PrivateService = privateService;
            form->UpdateView(false);
            settle();
            for (QTreeView* list : {form->BtuList, form->MdgList, form->MdgListComp, form->MakList}) {
                QHeaderView* header = list->header();
                for (int column = 0; column < header->count(); ++column) {
                    const QString caption = header->model()->headerData(column, Qt::Horizontal).toString();
                    SCOPED_TRACE(caption.toStdString());
                    EXPECT_GE(header->sectionSize(column), captionWidth(header, caption));
                }
            }
        }
    }
}

enum class Focus
{
    None,
    Btu,
    Mdg,
    MdgComp,
    Mak
};

struct ViewCase
{
    const char* name;
    int btu, mdg, comp, mak;
    bool privateService;
    bool hasFile;
    bool modified;
    Focus focus;
    bool selected; // the focused list has a selected row
    // expected
    bool start, payment, lower, mandate, cancellation, upperSplitter, lowerSplitter;
    bool newEnabled, saveEnabled, showEnabled, editEnabled;
};

// clang-format off
const ViewCase ViewCases[] = {
    //name                          btu mdg cmp mak priv  file   mod    focus          sel    start  pay    lower  mdg    mak    upS    loS    new    save   show   edit
    {"empty new document",          0,  0,  0,  0,  true, false, false, Focus::None,   false, true,  false, false, false, false, false, false, false, false, false, false},
    {"empty but modified",          0,  0,  0,  0,  true, false, true,  Focus::None,   false, true,  false, false, false, false, false, false, false, true,  false, false},
    {"empty with a file",           0,  0,  0,  0,  true, true,  false, Focus::None,   false, true,  false, false, false, false, false, false, false, true,  true,  false},
    {"payments only",               2,  0,  0,  0,  true, false, true,  Focus::None,   false, false, true,  false, false, false, false, false, true,  true,  false, false},
    {"payments focused, selected",  2,  0,  0,  0,  true, false, true,  Focus::Btu,    true,  false, true,  false, false, false, false, false, true,  true,  false, true},
    {"payments focused, none sel.", 2,  0,  0,  0,  true, false, true,  Focus::Btu,    false, false, true,  false, false, false, false, false, true,  true,  false, false},
    {"mandates only",               0,  1,  0,  0,  true, true,  false, Focus::None,   false, false, false, true,  true,  false, false, false, true,  true,  true,  false},
    {"cancellations only",          0,  0,  0,  3,  true, true,  true,  Focus::Mak,    true,  false, false, true,  false, true,  false, false, true,  true,  true,  true},
    {"payments and cancellations",  1,  0,  0,  1,  true, false, true,  Focus::None,   false, false, true,  true,  false, true,  true,  false, true,  true,  false, false},
    {"everything, private",         1,  1,  0,  1,  true, true,  true,  Focus::Mdg,    true,  false, true,  true,  true,  true,  true,  true,  true,  true,  true,  true},
    {"everything, company",         1,  0,  1,  1,  false,false, true,  Focus::MdgComp,true,  false, true,  true,  true,  true,  true,  true,  true,  true,  false, true},
    {"private rows, company shown", 0,  2,  0,  0,  false,false, true,  Focus::None,   false, false, false, true,  true,  false, false, false, true,  true,  false, false},
    {"company rows, private shown", 1,  0,  2,  0,  true, false, true,  Focus::None,   false, false, true,  true,  true,  false, true,  false, true,  true,  false, false},
    {"mandates and cancellations",  0,  1,  0,  1,  true, false, false, Focus::Mak,    false, false, false, true,  true,  true,  false, true,  true,  false, false, false},
};
// clang-format on

TEST_F(MainFormTest, UpdateViewFollowsRowsServiceFileModifiedAndFocus)
{
    for (const ViewCase& c : ViewCases) {
        SCOPED_TRACE(c.name);
        auto form = shownForm();
        OrderDocument& doc = form->document();
        doc.PrivateService = c.privateService;
        doc.CurrentFile = c.hasFile ? QStringLiteral("/tmp/order.ag") : QString();
        addRows(doc, c.btu, c.mdg, c.comp, c.mak);
        doc.DocModified = c.modified;
        form->UpdateView(false);
        settle();

        const ListId focusList[] = {ListId::Btu, ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak};
        if (c.focus != Focus::None) {
            const ListId list = focusList[int(c.focus)];
            form->listView(list)->setFocus();
            form->selectRow(list, c.selected ? 0 : -1);
            settle();
            ASSERT_TRUE(form->hasFocus(list));
        }

        TMainForm* w = form.get();
        EXPECT_EQ(form->StartPanel->isVisibleTo(w), c.start);
        EXPECT_EQ(form->BtuPanel->isVisibleTo(w), c.payment);
        EXPECT_EQ(form->InnerPanel->isVisibleTo(w), c.lower);
        EXPECT_EQ(form->MdgPanel->isVisibleTo(w), c.mandate);
        EXPECT_EQ(form->MakPanel->isVisibleTo(w), c.cancellation);
        EXPECT_EQ(form->BtuMdgSplitter->isVisibleTo(w), c.upperSplitter);
        EXPECT_EQ(form->MdgMakSplitter->isVisibleTo(w), c.lowerSplitter);
        // Exactly one mandate list, by the service type, whatever the two lists hold.
        EXPECT_EQ(form->MdgList->isVisibleTo(form->MdgPanel), c.privateService);
        EXPECT_EQ(form->MdgListComp->isVisibleTo(form->MdgPanel), !c.privateService);
        const QString payer =
            c.privateService ? QStringLiteral("Betalarnummer") : QStringLiteral("Bankgironummer");
        EXPECT_EQ(form->BtuList->model()->headerData(5, Qt::Horizontal).toString(), payer);
        EXPECT_EQ(form->MakList->model()->headerData(1, Qt::Horizontal).toString(), payer);
        EXPECT_EQ(form->NewBtn->isEnabled(), c.newEnabled);
        EXPECT_EQ(form->SparaBtn->isEnabled(), c.saveEnabled);
        EXPECT_EQ(form->VisaBtn->isEnabled(), c.showEnabled);
        EXPECT_EQ(form->ChangeBtn->isEnabled(), c.editEnabled);
        EXPECT_EQ(form->DelBtn->isEnabled(), c.editEnabled);
    }
}

TEST_F(MainFormTest, EditAndDeleteFollowTheFocusNotAnOldSelection)
{
    auto form = shownForm();
    addRows(form->document(), 2, 0, 0, 0);
    form->UpdateView(true);
    form->BtuList->setFocus();
    form->selectRow(ListId::Btu, 1);
    settle();
    EXPECT_TRUE(form->ChangeBtn->isEnabled());
    // The focus leaves the lists; the row stays selected but the commands are disabled.
    form->OuterPanel->setFocusPolicy(Qt::StrongFocus);
    form->OuterPanel->setFocus();
    settle();
    EXPECT_EQ(form->selectedRow(ListId::Btu), 1);
    EXPECT_FALSE(form->ChangeBtn->isEnabled());
    EXPECT_FALSE(form->DelBtn->isEnabled());
    form->BtuList->setFocus();
    settle();
    EXPECT_TRUE(form->DelBtn->isEnabled());
}

struct LayoutCase
{
    const char* name;
    int btu, mdg, mak;
    int payment, lower, mandate, cancellation; // heights, -1 for a hidden piece
};

TEST_F(MainFormTest, ResizePanelsSharesTheDocumentArea)
{
    // A 600-pixel document area: the lower block gets 600 * 2 / 3, the cancellations half of it.
    const LayoutCase cases[] = {
        {"payments and cancellations", 1, 0, 1, 196, 400, -1, 400},
        {"payments, mandates and cancellations", 1, 1, 1, 196, 400, 196, 200},
        {"payments and mandates", 1, 1, 0, 196, 400, 400, -1},
        {"mandates and cancellations", 0, 1, 1, -1, 600, 296, 300},
        {"cancellations only", 0, 0, 2, -1, 600, -1, 600},
        {"payments only", 3, 0, 0, 600, -1, -1, -1},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = shownForm();
        setAreaHeight(*form, 600);
        addRows(form->document(), c.btu, c.mdg, 0, c.mak);
        form->UpdateView(true);
        settle();
        auto height = [&](QWidget* w) { return w->isVisibleTo(form.get()) ? w->height() : -1; };
        EXPECT_EQ(height(form->BtuPanel), c.payment);
        EXPECT_EQ(height(form->InnerPanel), c.lower);
        EXPECT_EQ(height(form->MdgPanel), c.mandate);
        EXPECT_EQ(height(form->MakPanel), c.cancellation);
    }
}

TEST_F(MainFormTest, TheLowerPiecesKeepTheirHeightWhenTheWindowGrows)
{
    auto form = shownForm();
    setAreaHeight(*form, 600);
    addRows(form->document(), 1, 1, 0, 1);
    form->UpdateView(true);
    settle();
    setAreaHeight(*form, 750);
    EXPECT_EQ(form->InnerPanel->height(), 400);
    EXPECT_EQ(form->MakPanel->height(), 200);
    EXPECT_EQ(form->BtuPanel->height(), 346);
    // A call without resizePanels leaves the user's sharing alone.
    form->UpdateView(false);
    settle();
    EXPECT_EQ(form->InnerPanel->height(), 400);
}

TEST_F(MainFormTest, UpdateViewDoesNothingWhileLoading)
{
    auto form = shownForm();
    OrderDocument& doc = form->document();
    doc.Loading = true;
    form->showStartSection();
    addRows(doc, 5, 0, 0, 5);
    form->UpdateView(true);
    settle();
    EXPECT_TRUE(form->StartPanel->isVisibleTo(form.get()));
    EXPECT_EQ(form->BtuList->model()->rowCount(), 0);
    doc.Loading = false;
    form->UpdateView(true);
    settle();
    EXPECT_FALSE(form->StartPanel->isVisibleTo(form.get()));
    EXPECT_EQ(form->BtuList->model()->rowCount(), 5);
    EXPECT_EQ(form->MakList->model()->rowCount(), 5);
}

struct ServiceCase
{
    const char* stored; // nullptr: no setting
    bool privateService;
};

TEST_F(MainFormTest, ServiceTypeIsReadAtCreationExactly)
{
    const ServiceCase cases[] = {
        {nullptr, true}, {"Privat", true}, {"privat", false}, {"Företag", false}, {"Privat ", false}};
    for (const ServiceCase& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        TestEnvironment::instance().resetSettings();
        if (c.stored)
            WriteSetting(SettingsStore::section(), QStringLiteral("Tjänst"), QString::fromUtf8(c.stored));
        TMainForm form;
        EXPECT_EQ(form.document().PrivateService, c.privateService);
    }
}

TEST_F(MainFormTest, NewFileAsksBeforeDiscardingChanges)
{
    const QString question = QStringLiteral(
        "Du har inte sparat nuvarande inmatningar.\nVill du fortsätta och förlora osparad data?");
    auto form = shownForm();
    OrderDocument& doc = form->document();
    addRows(doc, 2, 1, 1, 1);
    doc.DocModified = true;
    doc.CurrentFile = QStringLiteral("/tmp/order.ag");
    form->UpdateView(true);

    guiPrompt().answers.append(UserPrompt::Answer::Cancel);
    form->NewBtnClick();
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages.last().text, question);
    EXPECT_TRUE(guiPrompt().messages.last().caption.isEmpty());
    EXPECT_EQ(guiPrompt().messages.last().buttons, UserPrompt::Buttons::OkCancel);
    EXPECT_EQ(doc.BtuList.count(), 2);
    EXPECT_TRUE(doc.DocModified);
    EXPECT_EQ(doc.CurrentFile, QStringLiteral("/tmp/order.ag"));

    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    form->NewBtnClick();
    settle();
    EXPECT_FALSE(doc.hasRows());
    EXPECT_TRUE(doc.MakCodes().isEmpty());
    EXPECT_FALSE(doc.DocModified);
    EXPECT_TRUE(doc.CurrentFile.isEmpty());
    EXPECT_TRUE(form->StartPanel->isVisibleTo(form.get()));
    EXPECT_FALSE(form->NewBtn->isEnabled());
    EXPECT_FALSE(form->SparaBtn->isEnabled());

    // Without changes there is nothing to ask.
    addRows(doc, 1, 0, 0, 0);
    form->NewBtnClick();
    EXPECT_EQ(guiPrompt().messages.size(), 2);
    EXPECT_FALSE(doc.hasRows());
}

enum class SaveOutcome
{
    NotAsked,
    RefusedSettings,
    DialogCancelled,
    CannotCreate,
    Written
};

struct CloseCase
{
    const char* name;
    bool modified;
    UserPrompt::Answer answer;
    SaveOutcome save;
    bool closes;
};

TEST_F(MainFormTest, ClosingNeverLosesUnsavedWork)
{
    using A = UserPrompt::Answer;
    const CloseCase cases[] = {
        {"nothing unsaved", false, A::Cancel, SaveOutcome::NotAsked, true},
        {"cancel", true, A::Cancel, SaveOutcome::NotAsked, false},
        {"discard", true, A::No, SaveOutcome::NotAsked, true},
        {"save refused for want of settings", true, A::Yes, SaveOutcome::RefusedSettings, false},
        {"save dialog cancelled", true, A::Yes, SaveOutcome::DialogCancelled, false},
        {"file cannot be created", true, A::Yes, SaveOutcome::CannotCreate, false},
        {"saved", true, A::Yes, SaveOutcome::Written, true},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnvironment::instance().resetSettings();
        guiPrompt().clear();
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("order.ag"));
        if (c.save != SaveOutcome::RefusedSettings) {
            SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
        }
        SettingsStore::setLastSaveFolder(folder.path() + QLatin1Char('/'));
        auto form = shownForm();
        OrderDocument& doc = form->document();
        addRows(doc, 1, 0, 0, 1);
        doc.DocModified = c.modified;
        if (c.modified)
            guiPrompt().answers.append(c.answer);
        switch (c.save) {
        case SaveOutcome::RefusedSettings:
        case SaveOutcome::CannotCreate:
            guiPrompt().answers.append(A::Ok);
            break;
        default:
            break;
        }
        if (c.save == SaveOutcome::DialogCancelled)
            guiPrompt().saveFileNames.append(QString());
        else if (c.save == SaveOutcome::CannotCreate)
            guiPrompt().saveFileNames.append(folder.filePath(QStringLiteral("no such folder/order.ag")));
        else if (c.save == SaveOutcome::Written)
            guiPrompt().saveFileNames.append(target);

        EXPECT_EQ(form->close(), c.closes);
        EXPECT_EQ(form->isVisible(), !c.closes);
        if (c.modified) {
            ASSERT_FALSE(guiPrompt().messages.isEmpty());
            EXPECT_EQ(guiPrompt().messages.first().text,
                      QStringLiteral("Du har inte sparat. Vill spara innan du stänger?"));
            EXPECT_TRUE(guiPrompt().messages.first().caption.isEmpty());
            EXPECT_EQ(guiPrompt().messages.first().buttons, UserPrompt::Buttons::YesNoCancel);
        } else {
            EXPECT_TRUE(guiPrompt().messages.isEmpty());
        }
        // Whatever happened, the rows are still there, and unsaved work still counts as unsaved.
        EXPECT_EQ(doc.BtuList.count(), 1);
        EXPECT_EQ(doc.MakList.count(), 1);
        EXPECT_EQ(doc.DocModified, c.modified && c.save != SaveOutcome::Written);
        EXPECT_EQ(QFile::exists(target), c.save == SaveOutcome::Written);
    }
}

TEST_F(MainFormTest, SavedFileOpensAgainIntoTheLists)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("order.ag"));
    SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
    SettingsStore::setLastSaveFolder(folder.path() + QLatin1Char('/'));
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    for (int i = 0; i < 3; ++i)
        doc.BtuList.append(QStringLiteral("Debitering"),
                           {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                            QStringLiteral("100.00"), QStringLiteral("1"), QString::number(1000 + i),
                            QStringLiteral("ref")});
    doc.MakList.append(QStringLiteral("23"), doc.MakText(23),
                       {QStringLiteral("1000"), QString(), QString(), QString(), QString()});
    doc.DocModified = true;
    form->UpdateView(true);

    guiPrompt().saveFileNames.append(path);
    ASSERT_TRUE(form->SparaBtnClick());
    EXPECT_TRUE(form->VisaBtn->isEnabled());
    form->NewBtnClick();
    ASSERT_FALSE(doc.hasRows());

    guiPrompt().openFileNames.append(path);
    form->OpenBtnClick();
    settle();
    EXPECT_TRUE(guiPrompt().messages.isEmpty()) << guiPrompt().messages.value(0).text.toStdString();
    EXPECT_EQ(doc.CurrentFile, path);
    EXPECT_FALSE(doc.Loading);
    EXPECT_EQ(form->BtuList->model()->rowCount(), 3);
    EXPECT_EQ(form->MakList->model()->rowCount(), 1);
    EXPECT_EQ(form->BtuList->model()->index(2, 5).data().toString(), QStringLiteral("1002"));
    EXPECT_TRUE(form->BtuPanel->isVisibleTo(form.get()));
    EXPECT_TRUE(form->MakPanel->isVisibleTo(form.get()));
    EXPECT_FALSE(form->StartPanel->isVisibleTo(form.get()));
    EXPECT_TRUE(form->SparaBtn->isEnabled());
    EXPECT_TRUE(form->VisaBtn->isEnabled());
}

// Runs an action and tells which modal dialog it opened, if any; the dialog is cancelled at once.
QWidget* dialogOpenedBy(const std::function<void()>& action)
{
    QWidget* opened = nullptr;
    QTimer::singleShot(0, [&opened] {
        opened = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(opened))
            dialog->reject();
    });
    action();
    settle();
    return opened;
}

void pressEnter(QWidget* list)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(list, &press);
}

void doubleClickRow(QTreeView* list, int row, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, list->viewport()->mapToGlobal(at), button,
                        Qt::NoButton, Qt::NoModifier);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &press);
    QApplication::sendEvent(list->viewport(), &release);
    QApplication::sendEvent(list->viewport(), &twice);
}

enum class Gesture
{
    Enter,
    DoubleClick,
    RightDoubleClick,
    MiddleDoubleClick,
    EditButton,
    AddButton
};

struct DialogCase
{
    const char* name;
    bool privateService;
    ListId list;
    bool selected;
    Gesture gesture;
    // Which dialog opens: 'B' payment, 'M' mandate, 'C' company mandate, 'K' cancellation, '-' none.
    char dialog;
};

TEST_F(MainFormTest, EnterDoubleClickAndTheToolbarOpenTheRightDialog)
{
    const DialogCase cases[] = {
        {"Enter on a payment order", true, ListId::Btu, true, Gesture::Enter, 'B'},
        {"Enter without a selected row", true, ListId::Btu, false, Gesture::Enter, '-'},
        {"Enter on a mandate", true, ListId::Mdg, true, Gesture::Enter, 'M'},
        {"Enter on a company mandate", false, ListId::MdgComp, true, Gesture::Enter, 'C'},
        {"double-click on a cancellation", true, ListId::Mak, true, Gesture::DoubleClick, 'K'},
        {"double-click on a payment order", true, ListId::Btu, true, Gesture::DoubleClick, 'B'},
        {"right double-click on a payment order", true, ListId::Btu, true, Gesture::RightDoubleClick, '-'},
        {"right double-click on a mandate", true, ListId::Mdg, true, Gesture::RightDoubleClick, '-'},
        {"middle double-click on a cancellation", true, ListId::Mak, true, Gesture::MiddleDoubleClick, '-'},
        {"Redigera in the cancellations", true, ListId::Mak, true, Gesture::EditButton, 'K'},
        {"Medgivande, private service", true, ListId::Mdg, false, Gesture::AddButton, 'M'},
        {"Medgivande, company service", false, ListId::MdgComp, false, Gesture::AddButton, 'C'},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = shownForm();
        form->createWindows();
        OrderDocument& doc = form->document();
        doc.PrivateService = c.privateService;
        addRows(doc, 2, 2, 2, 2);
        form->UpdateView(true);
        settle();
        QTreeView* list = form->listView(c.list);
        list->setFocus();
        form->selectRow(c.list, c.selected ? 1 : -1);
        settle();

        QWidget* opened = dialogOpenedBy([&] {
            switch (c.gesture) {
            case Gesture::Enter:
                pressEnter(list);
                break;
            case Gesture::DoubleClick:
                doubleClickRow(list, 1);
                break;
            case Gesture::RightDoubleClick:
                doubleClickRow(list, 1, Qt::RightButton);
                break;
            case Gesture::MiddleDoubleClick:
                doubleClickRow(list, 1, Qt::MiddleButton);
                break;
            case Gesture::EditButton:
                form->ChangeBtn->click();
                break;
            case Gesture::AddButton:
                form->MdgBtn->click();
                break;
            }
        });
        QWidget* expected = nullptr;
        switch (c.dialog) {
        case 'B':
            expected = form->BtuForm;
            break;
        case 'M':
            expected = form->MdgForm;
            break;
        case 'C':
            expected = form->MdgCompForm;
            break;
        case 'K':
            expected = form->MakForm;
            break;
        }
        EXPECT_EQ(opened, expected);
        // A cancelled dialog changes nothing.
        EXPECT_EQ(doc.BtuList.count() + doc.MdgList.count() + doc.MdgListComp.count() + doc.MakList.count(),
                  8);
        EXPECT_FALSE(doc.DocModified);
    }
}

TEST_F(MainFormTest, FirstPaymentOrderFromTheToolbarFillsTheDocumentArea)
{
    auto form = shownForm();
    form->createWindows();
    setAreaHeight(*form, 600);
    addPaymentOrderFromTheToolbar(*form);
    settle();

    OrderDocument& doc = form->document();
    ASSERT_EQ(doc.BtuList.count(), 1);
    EXPECT_TRUE(doc.DocModified);
    EXPECT_TRUE(form->BtuPanel->isVisibleTo(form.get()));
    EXPECT_EQ(form->BtuPanel->height(), 600);
    EXPECT_FALSE(form->StartPanel->isVisibleTo(form.get()));
    EXPECT_EQ(form->selectedRow(ListId::Btu), 0);
    EXPECT_TRUE(form->NewBtn->isEnabled());
    EXPECT_TRUE(form->SparaBtn->isEnabled());
    EXPECT_FALSE(form->VisaBtn->isEnabled());
}

} // namespace

TEST_F(MainFormTest, ANewRowTakesTheFocusSoEditAndDeleteActOnIt)
{
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    addRows(doc, 0, 2, 0, 0);
    form->UpdateView(true);
    form->MdgList->setFocus();
    form->selectRow(ListId::Mdg, 1);
    settle();
    ASSERT_TRUE(form->MdgList->hasFocus());

    addPaymentOrderFromTheToolbar(*form);
    // The window system hands the activation back to the main window once the dialog is gone.
    form->activateWindow();
    settle();

    ASSERT_EQ(doc.BtuList.count(), 1);
    EXPECT_TRUE(form->BtuList->hasFocus());
    EXPECT_EQ(form->selectedRow(ListId::Btu), 0);
    EXPECT_TRUE(form->ChangeBtn->isEnabled());
    // "Ta bort" now removes the new payment order, not the mandate that had the focus before.
    form->DelBtn->click();
    settle();
    EXPECT_EQ(doc.BtuList.count(), 0);
    EXPECT_EQ(doc.MdgList.count(), 2);
}

TEST_F(MainFormTest, DeletingTheLastRowOfAListDeletesNothingElse)
{
    const struct
    {
        const char* name;
        ListId focused;
        ListId other;
    } cases[] = {
        {"payment order, then a selected mandate", ListId::Btu, ListId::Mdg},
        {"payment order, then a selected cancellation", ListId::Btu, ListId::Mak},
        {"mandate, then a selected cancellation", ListId::Mdg, ListId::Mak},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = shownForm();
        form->createWindows();
        OrderDocument& doc = form->document();
        addRows(doc, c.focused == ListId::Btu ? 1 : 0, c.focused == ListId::Mdg ? 1 : 2, 0, 2);
        form->UpdateView(true);
        form->selectRow(c.other, 1);
        form->activateWindow();
        form->listView(c.focused)->setFocus();
        form->selectRow(c.focused, 0);
        settle();
        ASSERT_TRUE(form->DelBtn->isEnabled());
        const auto rows = [&doc](ListId list) {
            switch (list) {
            case ListId::Btu:
                return doc.BtuList.count();
            case ListId::Mdg:
                return doc.MdgList.count();
            case ListId::MdgComp:
                return doc.MdgListComp.count();
            case ListId::Mak:
                return doc.MakList.count();
            }
            return -1;
        };
        const int otherRows = rows(c.other);

        // The emptied list disappears and the focus moves on to a list with a selected row,
        // which must not lose its row as well.
        form->DelBtn->click();
        settle();
        EXPECT_EQ(rows(c.focused), 0);
        EXPECT_EQ(rows(c.other), otherRows);
    }
}

TEST_F(MainFormTest, OnlyTheFocusedListShowsItsSelectedRowHighlighted)
{
    auto form = shownForm();
    OrderDocument& doc = form->document();
    addRows(doc, 2, 2, 0, 0);
    form->UpdateView(true);
    form->activateWindow();
    form->selectRow(ListId::Mdg, 1);
    form->BtuList->setFocus();
    form->selectRow(ListId::Btu, 0);
    settle();

    const auto highlight = [](const QTreeView* list) {
        return list->palette().color(QPalette::Active, QPalette::Highlight);
    };
    const QColor focusedHighlight =
        QApplication::palette(form->BtuList).color(QPalette::Active, QPalette::Highlight);
    // Both lists have a selected row; only the one that "Redigera" and "Ta bort" act on looks
    // selected in the usual colour.
    EXPECT_EQ(highlight(form->BtuList), focusedHighlight);
    EXPECT_NE(highlight(form->MdgList), focusedHighlight);

    form->MdgList->setFocus();
    settle();
    EXPECT_EQ(highlight(form->MdgList), focusedHighlight);
    EXPECT_NE(highlight(form->BtuList), focusedHighlight);
}

namespace {

// Drags a splitter handle by `distance` pixels (down when positive), as the mouse does.
void dragHandle(QWidget* handle, int distance)
{
    const QPoint start = handle->rect().center();
    const QPoint end = start + QPoint(0, distance);
    QMouseEvent press(QEvent::MouseButtonPress, start, handle->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    QMouseEvent move(QEvent::MouseMove, end, handle->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, end, handle->mapToGlobal(end), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &release);
    settle();
}

// However small the window or far a splitter is dragged, every shown section keeps its whole
// heading and at least one row of its list in view: a section is never squeezed to nothing.
TEST_F(MainFormTest, ShrinkingOrDraggingNeverHidesASectionsHeadingOrItsFirstRow)
{
    auto form = shownForm();
    setAreaHeight(*form, 600);
    addRows(form->document(), 3, 3, 0, 3);
    form->UpdateView(true);
    settle();

    auto expectSectionsReadable = [&](const char* situation) {
        SCOPED_TRACE(situation);
        const std::pair<QWidget*, QTreeView*> sections[] = {{form->BtuPanel, form->BtuList},
                                                            {form->MdgPanel, form->MdgList},
                                                            {form->MakPanel, form->MakList}};
        for (const auto& [panel, list] : sections) {
            SCOPED_TRACE(list->objectName().toStdString());
            auto* heading = panel->findChild<QLabel*>();
            ASSERT_NE(heading, nullptr);
            EXPECT_GE(heading->height(), heading->sizeHint().height());
            EXPECT_GE(list->viewport()->height(), list->sizeHintForRow(0));
        }
    };

    const struct
    {
        const char* name;
        QWidget* handle;
        int distance;
    } drags[] = {
        {"upper splitter dragged to the top", form->BtuMdgSplitter, -2000},
        {"upper splitter dragged to the bottom", form->BtuMdgSplitter, 2000},
        {"lower splitter dragged to the top", form->MdgMakSplitter, -2000},
        {"lower splitter dragged to the bottom", form->MdgMakSplitter, 2000},
    };
    for (const auto& drag : drags) {
        dragHandle(drag.handle, drag.distance);
        expectSectionsReadable(drag.name);
    }

    form->UpdateView(true);
    form->resize(form->width(), 120);
    settle();
    expectSectionsReadable("window made as small as it goes");
}

} // namespace

namespace {

// The settings dialog confirmed with the other service type checked. Should it come back (the
// switch declined), the user cancels it there.
void switchServiceInTheSettings(TMainForm& form)
{
    TSettingsForm* dialog = form.SettingsForm;
    QTimer::singleShot(0, dialog, [dialog, &form] {
        dialog->BgNrEdit->setText(QStringLiteral("9912346"));
        (form.document().PrivateService ? dialog->ChkComp : dialog->ChkPrivat)->setChecked(true);
        QTimer::singleShot(0, dialog, [dialog] {
            if (dialog->isVisible())
                dialog->reject();
        });
        dialog->SaveBtnClick();
    });
    form.SettingsBtnClick();
}

struct LeftOutCase
{
    const char* name;
    bool privateService;
    int mdg, comp;
    UserPrompt::Answer answer;
    const char* question; // nullptr: nothing asked
    bool switched;
};

TEST_F(MainFormTest, SwitchingTheServiceAsksBeforeMandatesAreLeftOut)
{
    using A = UserPrompt::Answer;
    const LeftOutCase cases[] = {
        {"two private mandates, confirmed", true, 2, 0, A::Ok,
         "Listan har 2 medgivanden för Autogiro Privat. Med Autogiro Företag kommer de inte med när filen "
         "sparas.\nVill du byta tjänst ändå?",
         true},
        {"one company mandate, declined", false, 0, 1, A::Cancel,
         "Listan har 1 medgivande för Autogiro Företag. Med Autogiro Privat kommer det inte med när filen "
         "sparas.\nVill du byta tjänst ändå?",
         false},
        {"only mandates of the new service", true, 0, 3, A::Ok, nullptr, true},
    };
    for (const LeftOutCase& c : cases) {
        SCOPED_TRACE(c.name);
        guiPrompt().messages.clear();
        auto form = shownForm();
        form->createWindows();
        OrderDocument& doc = form->document();
        doc.PrivateService = c.privateService;
        addRows(doc, 0, c.mdg, c.comp, 0);
        form->UpdateView(true);
        if (c.question)
            guiPrompt().answers.append(c.answer);
        switchServiceInTheSettings(*form);
        settle();
        if (c.question) {
            ASSERT_EQ(guiPrompt().messages.size(), 1);
            EXPECT_EQ(guiPrompt().messages[0].text, QString::fromUtf8(c.question));
        } else {
            EXPECT_TRUE(guiPrompt().messages.isEmpty());
        }
        EXPECT_EQ(doc.PrivateService, c.switched ? !c.privateService : c.privateService);
        EXPECT_EQ(doc.MdgList.count() + doc.MdgListComp.count(), c.mdg + c.comp);
    }
}

TEST_F(MainFormTest, SavingAsksBeforeMandatesAreLeftOutOfTheFile)
{
    QTemporaryDir folder;
    SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    addRows(doc, 1, 0, 2, 0); // company mandates under Autogiro Privat
    doc.DocModified = true;
    form->UpdateView(true);
    const QString path = folder.filePath(QStringLiteral("order.ag"));

    guiPrompt().answers.append(UserPrompt::Answer::Cancel);
    EXPECT_FALSE(form->SparaBtnClick());
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages[0].text,
              QStringLiteral("Listan har 2 medgivanden för Autogiro Företag. Med Autogiro Privat kommer de "
                             "inte med i filen.\nVill du spara ändå?"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(doc.DocModified);

    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    guiPrompt().saveFileNames.append(path);
    EXPECT_TRUE(form->SparaBtnClick());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(doc.MdgListComp.count(), 2);
}

TEST_F(MainFormTest, SaveWritesToTheCurrentFileAndSaveAsAsks)
{
    QTemporaryDir folder;
    SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    addRows(doc, 1, 0, 0, 0);
    doc.DocModified = true;
    form->UpdateView(true);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Namnlös[*] - Lumora Valmo 1.0.0"));
    EXPECT_TRUE(form->isWindowModified());

    const QString first = folder.filePath(QStringLiteral("a.ag"));
    guiPrompt().saveFileNames.append(first);
    ASSERT_TRUE(form->SparaBtnClick());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("a.ag[*] - Lumora Valmo 1.0.0"));
    EXPECT_FALSE(form->isWindowModified());

    // Once the document has a name, "Spara fil" asks nothing: a pending dialog answer stays unused.
    addRows(doc, 1, 0, 0, 0);
    doc.DocModified = true;
    guiPrompt().saveFileNames = {QStringLiteral("/nowhere/never.ag")};
    ASSERT_TRUE(form->SparaBtnClick());
    EXPECT_EQ(doc.CurrentFile, first);
    EXPECT_EQ(guiPrompt().saveFileNames.size(), 1);
    const QString second = folder.filePath(QStringLiteral("b.ag"));
    guiPrompt().saveFileNames = {second}; // replaces the unused answer
    ASSERT_TRUE(form->SparaSomClick());
    EXPECT_EQ(doc.CurrentFile, second);
    EXPECT_EQ(RecentFiles::load(), QStringList({second, first}));
    EXPECT_GT(ReadFileBytes(first).size(), 0);
}

TEST_F(MainFormTest, UndoBringsBackDeletedRowsAndTheUnmodifiedState)
{
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    addRows(doc, 4, 0, 0, 0);
    form->UpdateView(true);
    doc.DocModified = false;
    form->activateWindow();
    form->BtuList->setFocus();
    form->selectRows(ListId::Btu, {1, 2});
    settle();
    EXPECT_EQ(form->selectedRows(ListId::Btu), QList<int>({1, 2}));

    QTest::keyClick(form->BtuList, Qt::Key_Delete);
    EXPECT_EQ(doc.BtuList.count(), 2);
    EXPECT_TRUE(doc.DocModified);
    form->UndoAction->trigger();
    EXPECT_EQ(doc.BtuList.count(), 4);
    EXPECT_FALSE(doc.DocModified);
    EXPECT_EQ(form->selectedRows(ListId::Btu), QList<int>({1, 2}));
    form->RedoAction->trigger();
    EXPECT_EQ(doc.BtuList.count(), 2);
    EXPECT_TRUE(doc.DocModified);
    // A new file starts a new history.
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    form->NewBtnClick();
    EXPECT_FALSE(form->undoStack()->canUndo());
}

TEST_F(MainFormTest, SearchSortAndTotalsFollowTheRowsShown)
{
    auto form = shownForm();
    OrderDocument& doc = form->document();
    const QStringList amounts = {QStringLiteral("1 234,50"), QStringLiteral("99,00"), QStringLiteral("5,25")};
    const QStringList types = {QStringLiteral("Debitering"), QStringLiteral("Kreditering"),
                               QStringLiteral("Debitering")};
    for (int i = 0; i < 3; ++i)
        doc.BtuList.append(types[i], {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                                      amounts[i], QStringLiteral("1"), QString::number(100 + i), QString()});
    form->UpdateView(true);
    settle();
    const QString nbsp(QChar(0x00A0));
    EXPECT_EQ(form->totalsLabel(ListId::Btu)->text(), QStringLiteral("3 rader   Debiteringar 1") + nbsp +
                                                          QStringLiteral("239,75   Krediteringar 99,00"));

    // Amounts sort by value, not by text; the document keeps its order.
    form->BtuList->sortByColumn(3, Qt::AscendingOrder);
    EXPECT_EQ(form->BtuList->model()->index(0, 3).data().toString(), QStringLiteral("5,25"));
    form->selectRow(ListId::Btu, 0);
    EXPECT_EQ(form->BtuList->currentIndex().row(), 2);
    EXPECT_EQ(form->selectedRow(ListId::Btu), 0);
    EXPECT_EQ(form->BtuList->model()->index(0, 3).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              int(Qt::AlignRight));

    form->SearchEdit->setText(QStringLiteral("101"));
    EXPECT_EQ(form->BtuList->model()->rowCount(), 1);
    EXPECT_EQ(form->totalsLabel(ListId::Btu)->text(),
              QStringLiteral("1 rad av 3   Debiteringar 0,00   Krediteringar 99,00"));
    // Selecting a row that the search hides empties the search box.
    form->selectRow(ListId::Btu, 2);
    EXPECT_TRUE(form->SearchEdit->text().isEmpty());
    EXPECT_EQ(form->selectedRow(ListId::Btu), 2);
}

// Rows deleted at many places of a sorted list (more than are announced range by range) come
// back in their places and selected on undo, and go again on redo; the history stays.
TEST_F(MainFormTest, DeletingRowsAllOverASortedListIsUndoneAndRedone)
{
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    for (int i = 0; i < 200; ++i)
        doc.BtuList.append(QStringLiteral("Debitering"),
                           {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                            QStringLiteral("%1,00").arg((i * 37) % 200), QStringLiteral("1"),
                            QString::number(i), QString()});
    form->UpdateView(true);
    doc.DocModified = false;
    form->activateWindow();
    form->BtuList->setFocus();
    form->BtuList->sortByColumn(3, Qt::AscendingOrder);
    QList<ListRow> before(doc.BtuList.begin(), doc.BtuList.end());
    // The 50 smallest amounts lie scattered through the document.
    QTreeView* list = form->BtuList;
    list->selectionModel()->select(QItemSelection(list->model()->index(0, 0), list->model()->index(49, 6)),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QList<int> selected = form->selectedRows(ListId::Btu);
    ASSERT_EQ(selected.size(), 50);
    settle();

    form->DelBtnClick();
    ASSERT_EQ(doc.BtuList.count(), 150);
    EXPECT_EQ(list->model()->index(0, 3).data().toString(), QStringLiteral("50,00"));
    EXPECT_EQ(form->totalsLabel(ListId::Btu)->text().left(10), QStringLiteral("150 rader "));
    form->UndoAction->trigger();
    EXPECT_EQ(QList<ListRow>(doc.BtuList.begin(), doc.BtuList.end()), before);
    EXPECT_EQ(form->selectedRows(ListId::Btu), selected);
    EXPECT_EQ(list->model()->index(0, 3).data().toString(), QStringLiteral("0,00"));
    EXPECT_FALSE(doc.DocModified);
    form->RedoAction->trigger();
    EXPECT_EQ(doc.BtuList.count(), 150);
    EXPECT_TRUE(form->undoStack()->canUndo());
}

// In a large document the search runs once the typing pauses; an emptied box shows every row at once.
TEST_F(MainFormTest, ALargeDocumentIsSearchedWhenTheTypingPauses)
{
    auto form = shownForm();
    OrderDocument& doc = form->document();
    for (int i = 0; i < 30000; ++i)
        doc.BtuList.append(QStringLiteral("Debitering"),
                           {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                            QStringLiteral("1,00"), QStringLiteral("1"), QString::number(100000 + i),
                            QString()});
    form->UpdateView(true);
    form->SearchEdit->setText(QStringLiteral("123456"));
    EXPECT_EQ(form->BtuList->model()->rowCount(), 30000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->BtuList->model()->rowCount() == 1; }, 5000));
    form->SearchEdit->setText(QStringLiteral("12345"));
    form->searchNow();
    EXPECT_EQ(form->BtuList->model()->rowCount(), 11);
    form->SearchEdit->clear();
    EXPECT_EQ(form->BtuList->model()->rowCount(), 30000);
}

TEST_F(MainFormTest, TabIntoAListSelectsItsFirstRow)
{
    auto form = shownForm();
    addRows(form->document(), 2, 0, 0, 0);
    form->UpdateView(true);
    form->activateWindow();
    form->SearchEdit->setFocus();
    settle();
    QTest::keyClick(form->SearchEdit, Qt::Key_Tab);
    settle();
    ASSERT_TRUE(form->BtuList->hasFocus());
    EXPECT_EQ(form->selectedRow(ListId::Btu), 0);
    EXPECT_TRUE(form->DelBtn->isEnabled());
}

} // namespace

TEST_F(MainFormTest, EveryFieldAndButtonOfTheDialogsHasItsOwnAltLetter)
{
    auto form = shownForm();
    form->createWindows();
    for (QWidget* dialog : {static_cast<QWidget*>(form->BtuForm), static_cast<QWidget*>(form->MdgForm),
                            static_cast<QWidget*>(form->MakForm), static_cast<QWidget*>(form->SettingsForm),
                            static_cast<QWidget*>(form->MdgCompForm)}) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        QStringList texts;
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->buddy())
                texts.append(label->text());
        }
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            texts.append(button->text());
        QSet<QChar> letters;
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString());
            const QKeySequence key = QKeySequence::mnemonic(text);
            ASSERT_FALSE(key.isEmpty());
            const QChar letter = text[text.indexOf(QLatin1Char('&')) + 1].toLower();
            EXPECT_FALSE(letters.contains(letter));
            letters.insert(letter);
        }
    }
}

TEST_F(MainFormTest, TheListMenuOffersTheToolbarsCommandsInTheirState)
{
    auto form = shownForm();
    form->createWindows();
    OrderDocument& doc = form->document();
    addRows(doc, 2, 0, 0, 0);
    form->UpdateView(true);
    form->activateWindow();
    form->BtuList->setFocus();
    settle();
    const struct
    {
        const char* name;
        int selected;
        bool enabled;
    } cases[] = {{"no row selected", -1, false}, {"a row selected", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form->selectRow(ListId::Btu, c.selected);
        settle();
        QList<QAction*> entries;
        QList<bool> enabled; // as the open menu shows them
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                entries = menu->actions();
                for (QAction* entry : entries)
                    enabled.append(entry->isEnabled());
                menu->close();
            }
        });
        emit form->BtuList->customContextMenuRequested(QPoint(5, 5));
        ASSERT_GE(entries.size(), 2);
        EXPECT_EQ(entries[0], form->ChangeBtn->defaultAction());
        EXPECT_EQ(entries[1], form->DelBtn->defaultAction());
        EXPECT_EQ(entries[0]->text(), QStringLiteral("&Redigera...\tEnter"));
        EXPECT_EQ(entries[1]->text(), QStringLiteral("&Ta bort\tDelete"));
        EXPECT_EQ(enabled.mid(0, 2), QList<bool>({c.enabled, c.enabled}));
        // The offscreen platform does not give the window back its activation once the menu is gone.
        form->activateWindow();
        form->BtuList->setFocus();
        settle();
    }
    // The menu's "Ta bort" is the toolbar's command: it removes the selected row of the list.
    form->Actions->Del->trigger();
    EXPECT_EQ(doc.BtuList.count(), 1);
}

TEST_F(MainFormTest, CtrlSSavesOnlyWhenSpararFilCould)
{
    for (const bool modified : {false, true}) {
        SCOPED_TRACE(modified ? "unsaved changes" : "nothing to save");
        guiPrompt().messages.clear();
        auto form = shownForm();
        form->createWindows();
        form->document().DocModified = modified;
        form->UpdateView(false);
        ASSERT_EQ(form->SparaBtn->isEnabled(), modified);
        // Without a customer number the save command refuses with a message: it ran. The offer
        // to open the settings is declined.
        guiPrompt().answers.append(UserPrompt::Answer::Cancel);
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        settle();
        EXPECT_EQ(guiPrompt().messages.size(), modified ? 1 : 0);
        guiPrompt().answers.clear();
    }
}

TEST_F(MainFormTest, SavingAFileTheBankRejectsAsksFirst)
{
    QTemporaryDir folder;
    SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
    SettingsStore::setLastSaveFolder(folder.path() + QLatin1Char('/'));
    auto form = shownForm();
    const FixedClock later(QDateTime(QDate(2024, 3, 20), QTime(10, 0)));
    form->DeliveryCheck->setClock(later);
    addRows(form->document(), 1, 0, 0, 0);
    form->UpdateView(true);
    EXPECT_TRUE(form->SparaBtn->defaultAction()->menu()->actions().contains(form->DeliveryCheck->action()));

    guiPrompt().answers.append(UserPrompt::Answer::Cancel); // "Avbryt"
    EXPECT_FALSE(form->SparaBtnClick());
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_TRUE(guiPrompt().messages[0].text.contains(QStringLiteral("2024-03-05")));
    EXPECT_TRUE(guiPrompt().dialogs.isEmpty());

    guiPrompt().answers.append(UserPrompt::Answer::Yes); // "Spara ändå"
    guiPrompt().saveFileNames.append(folder.filePath(QStringLiteral("late.ag")));
    EXPECT_TRUE(form->SparaBtnClick());
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("late.ag"))));
}

// A sort of a long list that the user stops leaves the rows and the caption's arrow as they were;
// one let run sorts.
TEST_F(MainFormTest, AStoppedSortLeavesTheListAndItsArrowAsTheyWere)
{
    auto form = shownForm();
    OrderDocument& doc = form->document();
    const int rows = 2 * RowSortModel::SortInStepsFrom;
    for (int i = 0; i < rows; ++i)
        doc.BtuList.append(QStringLiteral("Debitering"),
                           {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                            QStringLiteral("1,00"), QStringLiteral("1"), QString::number(100000 + i),
                            QString()});
    form->UpdateView(true);
    QTreeView* list = form->BtuList;
    const auto firstPayer = [list] { return list->model()->index(0, 5).data().toString(); };

    guiPrompt().cancelProgressAtStep = 3;
    list->sortByColumn(5, Qt::DescendingOrder);
    EXPECT_EQ(guiPrompt().progressLabels, QStringList({QStringLiteral("Sorterar efter Betalarnummer …")}));
    EXPECT_EQ(firstPayer(), QStringLiteral("100000"));
    EXPECT_EQ(list->header()->sortIndicatorSection(), -1);

    guiPrompt().cancelProgressAtStep = 0;
    list->sortByColumn(5, Qt::DescendingOrder);
    EXPECT_EQ(firstPayer(), QString::number(100000 + rows - 1));
    EXPECT_EQ(list->header()->sortIndicatorSection(), 5);
}
