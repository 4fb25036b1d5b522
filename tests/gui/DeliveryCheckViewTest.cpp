#include "calendar/DeliveryCheckView.h"
#include "app/Clock.h"
#include "app/MainForm.h"
#include "app/OrderDocument.h"
#include "app/WidgetPrompt.h"
#include "calendar/BankingDayMarks.h"
#include "calendar/FindingsWindow.h"
#include "dialogs/BtuUnit.h"
#include "support/FakePrompt.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTimer>
#include <QTreeView>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

void AddOrder(OrderDocument& document, const QString& date)
{
    document.BtuList.append(QStringLiteral("Debitering"),
                            {QStringLiteral("Engångsbetalning"), date, QStringLiteral("100,00"),
                             QStringLiteral("1"), QStringLiteral("4711"), QString()});
}

class DeliveryCheckViewTest : public ::testing::Test
{
protected:
    DeliveryCheckView& view()
    {
        if (!m_view)
            m_view =
                new DeliveryCheckView(&m_window, m_document, m_prompt, m_clock, [this](ListId list, int row) {
                    m_edited.append({list, row});
                });
        return *m_view;
    }

    QMainWindow m_window;
    OrderDocument m_document;
    FakePrompt m_prompt;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 9), QTime(18, 59))};
    DeliveryCheckView* m_view = nullptr;
    QList<std::pair<ListId, int>> m_edited;
};

} // namespace

TEST_F(DeliveryCheckViewTest, DeadlineOfTheEarliestOrderTurnsRedOncePassed)
{
    AddOrder(m_document, QStringLiteral("2026-12-21"));
    AddOrder(m_document, QStringLiteral("2026-12-12")); // a Saturday: the bank's day is Monday 14
    AddOrder(m_document, QStringLiteral("GENAST"));
    const struct
    {
        QDateTime now;
        bool passed;
    } table[] = {
        {QDateTime(QDate(2026, 12, 11), QTime(18, 59)), false},
        {QDateTime(QDate(2026, 12, 11), QTime(19, 0)), true},
    };
    for (const auto& row : table) {
        m_clock.setMoment(row.now);
        view().documentChanged();
        QLabel* label = view().deadlineLabel();
        EXPECT_FALSE(label->isHidden());
        EXPECT_EQ(label->text(), QStringLiteral("Leverera till Bankgirot senast fre 11 dec 2026 kl. 19.00"));
        EXPECT_EQ(label->property("passed").toBool(), row.passed);
    }
    m_document.BtuList.clear();
    view().documentChanged();
    EXPECT_TRUE(view().deadlineLabel()->isHidden());
}

// The window stays open past 19.00: the deadline turns red without any change to the document.
TEST_F(DeliveryCheckViewTest, DeadlineTurnsRedWhileTheWindowStaysOpen)
{
    AddOrder(m_document, QStringLiteral("2026-12-14"));
    m_clock.setMoment(QDateTime(QDate(2026, 12, 11), QTime(18, 59)));
    view().documentChanged();
    auto* refresh = view().findChild<QTimer*>();
    ASSERT_NE(refresh, nullptr);
    EXPECT_TRUE(refresh->isActive());
    EXPECT_FALSE(view().deadlineLabel()->property("passed").toBool());

    m_clock.setMoment(QDateTime(QDate(2026, 12, 11), QTime(19, 0)));
    QMetaObject::invokeMethod(refresh, "timeout");
    EXPECT_TRUE(view().deadlineLabel()->property("passed").toBool());
    EXPECT_FALSE(view().deadlineLabel()->styleSheet().isEmpty());
}

TEST_F(DeliveryCheckViewTest, SavingAsksOnlyOnAnErrorAndVisaShowsTheFindings)
{
    const struct
    {
        const char* name;
        QString date;
        QList<UserPrompt::Answer> answers;
        bool saved;
        bool shown;
    } table[] = {
        {"a warning only", QStringLiteral("2026-12-24"), {}, true, false},
        {"Spara ändå", QStringLiteral("2026-11-01"), {UserPrompt::Answer::Yes}, true, false},
        {"Visa", QStringLiteral("2026-11-01"), {UserPrompt::Answer::No}, false, true},
        {"Avbryt", QStringLiteral("2026-11-01"), {UserPrompt::Answer::Cancel}, false, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        m_document.BtuList.clear();
        AddOrder(m_document, row.date);
        m_prompt.clear();
        m_prompt.answers = row.answers;
        if (view().findingsWindow())
            view().findingsWindow()->hide();
        EXPECT_EQ(view().mayBeSaved(), row.saved);
        EXPECT_EQ(m_prompt.messages.size(), row.answers.size());
        if (!row.answers.isEmpty())
            EXPECT_TRUE(m_prompt.messages[0].text.contains(QStringLiteral("2026-11-01")));
        EXPECT_EQ(view().findingsWindow() && view().findingsWindow()->isVisible(), row.shown);
    }
}

TEST_F(DeliveryCheckViewTest, ActivatingAFindingAsksForItsRow)
{
    AddOrder(m_document, QStringLiteral("2026-12-21"));
    AddOrder(m_document, QStringLiteral("2026-12-24"));
    view().showFindings();
    FindingsWindow* window = view().findingsWindow();
    ASSERT_NE(window, nullptr);
    const QAbstractItemModel* model = window->list()->model();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("varning"));
    EXPECT_TRUE(window->findChild<QLabel*>()->text().startsWith(QStringLiteral("0 fel och 1 varning om")));
    EXPECT_EQ(model->index(0, 2).data().toString(), QStringLiteral("2"));
    emit window->list()->activated(model->index(0, 0));
    EXPECT_EQ(m_edited, (QList<std::pair<ListId, int>>{{ListId::Btu, 1}}));

    // An edit that mends the row empties the open window.
    m_document.BtuList.remove(1);
    view().documentChanged();
    EXPECT_EQ(model->rowCount(), 0);
}

// Going to a row changes the main window's selection: the open list stays as it is, on the user's
// line. An edit checks anew, and the user stays on the same line, or the last one.
TEST_F(DeliveryCheckViewTest, TheOpenWindowKeepsItsPlaceAndFollowsEdits)
{
    for (const char* date : {"2026-12-24", "2026-12-25", "2026-12-26"})
        AddOrder(m_document, QString::fromLatin1(date));
    view().showFindings();
    QTreeView* list = view().findingsWindow()->list();
    ASSERT_EQ(list->model()->rowCount(), 3);
    list->setCurrentIndex(list->model()->index(2, 0));

    view().documentChanged();
    EXPECT_EQ(list->currentIndex().row(), 2);

    m_document.BtuList.remove(2);
    view().documentChanged();
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->currentIndex().row(), 1);

    // A minute later an unchanged document is checked anew as well: the moment counts.
    m_clock.setMoment(m_clock.now().addSecs(60));
    view().documentChanged();
    EXPECT_TRUE(view().findingsWindow()->findChild<QLabel*>()->text().contains(QStringLiteral("kl. 19.00")));
    EXPECT_EQ(list->currentIndex().row(), 1);
}

TEST(BankingDays, DatePickerMarksAndTheLineUnderTheDate)
{
    QDateEdit date(QDate(2026, 12, 24));
    date.setCalendarPopup(true);
    QComboBox period;
    period.addItems({QStringLiteral("Engångsbetalning"), QStringLiteral("Sista bankdagen varje månad")});
    QCheckBox immediate;
    BankingDayNote note(&date, &period, &immediate);
    const struct
    {
        QDate date;
        int period;
        bool immediate;
        QString text;
    } table[] = {
        {QDate(2026, 12, 24), 0, false,
         QStringLiteral("Ingen bankdag (julafton): banken använder 2026-12-28")},
        {QDate(2026, 12, 26), 1, false,
         QStringLiteral("Ingen bankdag (annandag jul): banken använder 2026-12-23")},
        {QDate(2026, 12, 26), 1, true, QString()},
        {QDate(2026, 12, 23), 0, false, QString()},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.date.toString(Qt::ISODate).toStdString());
        date.setDate(row.date);
        period.setCurrentIndex(row.period);
        immediate.setChecked(row.immediate);
        EXPECT_EQ(note.text(), row.text);
    }

    QCalendarWidget* calendar = date.calendarWidget();
    ASSERT_NE(calendar, nullptr);
    MarkNonBankingDays(calendar);
    calendar->setCurrentPage(2027, 6);
    EXPECT_TRUE(
        calendar->dateTextFormat(QDate(2027, 6, 25)).toolTip().contains(QStringLiteral("midsommarafton")));
    EXPECT_TRUE(calendar->dateTextFormat(QDate(2027, 6, 24)).toolTip().isEmpty());
}

TEST(BankingDays, TheSaveQuestionShowsItsOwnButtons)
{
    WidgetPrompt::setStandIn(nullptr);
    QWidget parent;
    WidgetPrompt prompt(&parent);
    const struct
    {
        const char* click;
        UserPrompt::Answer answer;
    } table[] = {{"Spara ändå", UserPrompt::Answer::Yes},
                 {"Visa", UserPrompt::Answer::No},
                 {"Avbryt", UserPrompt::Answer::Cancel}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.click);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons()) {
                shown << button->text();
                if (button->text() == QString::fromUtf8(row.click))
                    button->click();
            }
        });
        EXPECT_EQ(prompt.askChoice(
                      QString(), QStringLiteral("Fråga"),
                      {QStringLiteral("Spara ändå"), QStringLiteral("Visa"), QStringLiteral("Avbryt")}),
                  row.answer);
        EXPECT_EQ(shown.size(), 3);
    }
    WidgetPrompt::setStandIn(&guiPrompt());
}

// In the main window a finding leads to its row, also in a list sorted otherwise, and opens it for
// editing; the mended row leaves the findings.
TEST(DeliveryCheckInTheMainWindow, AFindingOpensItsRowForEditing)
{
    TestEnvironment::instance().resetSettings();
    guiPrompt().clear();
    TMainForm form;
    const FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    form.DeliveryCheck->setClock(clock);
    form.show();
    form.createWindows();
    OrderDocument& document = form.document();
    for (const char* date : {"2026-12-21", "2026-12-24", "2026-12-22"})
        AddOrder(document, QString::fromLatin1(date));
    form.UpdateView(true);
    form.BtuList->sortByColumn(2, Qt::DescendingOrder);

    form.DeliveryCheck->action()->trigger();
    FindingsWindow* window = form.DeliveryCheck->findingsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->list()->model()->rowCount(), 1);
    QDate shownDate;
    QString note;
    QString calendarTip;
    TBtuForm* dialog = form.BtuForm;
    QTimer::singleShot(0, dialog, [&] {
        shownDate = dialog->DateEdit->date();
        note = dialog->DateNote->text();
        calendarTip = dialog->DateEdit->calendarWidget()->dateTextFormat(shownDate).toolTip();
        dialog->DateEdit->setDate(QDate(2026, 12, 23));
        dialog->SaveBtnClick();
        if (dialog->isVisible())
            dialog->reject();
    });
    emit window->list()->activated(window->list()->model()->index(0, 0));
    QApplication::processEvents();

    EXPECT_EQ(shownDate, QDate(2026, 12, 24));
    EXPECT_EQ(note, QStringLiteral("Ingen bankdag (julafton): banken använder 2026-12-28"));
    EXPECT_EQ(calendarTip, QStringLiteral("Ingen bankdag: julafton"));
    EXPECT_EQ(document.BtuList[1].text(2), QStringLiteral("2026-12-23"));
    EXPECT_EQ(window->list()->model()->rowCount(), 0);
}
