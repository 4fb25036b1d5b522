#include "app/MainForm.h"
#include "app/WidgetPrompt.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/ColumnMappingDialog.h"
#include "format/CsvReader.h"
#include "format/PayerImport.h"
#include "dialogs/ImportErrorsDialog.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "settings/HelpWindow.h"
#include "settings/SettingsUnit.h"
#include "support/TestSupport.h"
#include "viewer/ViewerUnit.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QDateEdit>
#include <QLineEdit>
#include <QToolBar>
#include <QTreeView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// What a user can act on: every role a screen reader offers for input or navigation. A label is
// read by its text; the list that drops down from a combo box is announced with the combo box.
bool isInteractive(QAccessibleInterface* item)
{
    const QObject* object = item->object();
    const QObject* parent = object ? object->parent() : nullptr;
    if (qobject_cast<const QLabel*>(object) || qobject_cast<const QComboBox*>(parent) ||
        (parent && qobject_cast<const QComboBox*>(parent->parent())))
        return false;
    switch (item->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ToolBar:
    case QAccessible::PageTabList:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::Link:
        return true;
    default:
        return item->state().focusable;
    }
}

bool isItemInsideView(QAccessibleInterface* item)
{
    switch (item->role()) {
    case QAccessible::Cell:
    case QAccessible::Row:
    case QAccessible::ColumnHeader:
    case QAccessible::RowHeader:
    case QAccessible::TreeItem:
    case QAccessible::ListItem:
        return true;
    default:
        return false;
    }
}

QString describe(QAccessibleInterface* item)
{
    QObject* object = item->object();
    const QString objectName = object ? object->objectName() : QString();
    return QStringLiteral("%1 %2 (role %3)")
        .arg(object ? QString::fromLatin1(object->metaObject()->className()) : QStringLiteral("?"), objectName)
        .arg(int(item->role()));
}

// Walks the accessible tree from the window down, as a screen reader does, and lists every
// interactive object without a name. The rows and cells of item views take their text from the
// data and are left out.
void collectUnnamed(QAccessibleInterface* item, QStringList& unnamed, int depth = 0)
{
    if (!item || depth > 40 || isItemInsideView(item))
        return;
    if (isInteractive(item) && item->text(QAccessible::Name).trimmed().isEmpty())
        unnamed.append(describe(item));
    for (int i = 0; i < item->childCount(); ++i)
        collectUnnamed(item->child(i), unnamed, depth + 1);
}

QStringList unnamedControls(QWidget& window)
{
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(&window), unnamed);
    return unnamed;
}

QString accessibleName(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

class Accessibility : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_mainForm.createWindows();
        m_mainForm.resize(900, 600);
        m_mainForm.show();
    }

    void TearDown() override { HelpWindow::closeAll(); }

    TestEnvironment m_environment;
    TMainForm m_mainForm;
};

TEST_F(Accessibility, EveryInteractiveControlOfEveryWindowHasAName)
{
    const QString report = QStringLiteral(VALMO_TEST_DATA "/bank/autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt");
    ASSERT_TRUE(m_mainForm.Viewer->LoadFile(report));
    CsvTable table;
    table.header = {QStringLiteral("Betalarnummer"), QStringLiteral("Belopp")};
    ColumnMappingDialog mapping(table, ColumnMapping(), true, &m_mainForm);
    ImportErrorsDialog errors(QStringLiteral("fil.csv"), {{2, QStringLiteral("Belopp"), QStringLiteral("Fel")}}, &m_mainForm);
    HelpWindow* help = HelpWindow::open();

    struct Window
    {
        const char* name;
        QWidget* widget;
    };
    const Window windows[] = {
        {"main window", &m_mainForm},
        {"payment order", m_mainForm.BtuForm},
        {"mandate", m_mainForm.MdgForm},
        {"company mandate", m_mainForm.MdgCompForm},
        {"cancellation", m_mainForm.MakForm},
        {"settings", m_mainForm.SettingsForm},
        {"viewer", m_mainForm.Viewer},
        {"column mapping", &mapping},
        {"import errors", &errors},
        {"help", help},
    };
    for (const Window& window : windows)
        EXPECT_EQ(unnamedControls(*window.widget).join(QStringLiteral("; ")).toStdString(), "") << window.name;
}

TEST_F(Accessibility, ListsToolbarAndFieldsWithoutABesideLabelAreNamed)
{
    struct Named
    {
        QWidget* widget;
        QString name;
    };
    const Named cases[] = {
        {m_mainForm.BtuList, QStringLiteral("Betaluppdrag")},
        {m_mainForm.MdgList, QStringLiteral("Medgivanden")},
        {m_mainForm.MdgListComp, QStringLiteral("Medgivanden")},
        {m_mainForm.MakList, QStringLiteral("Makuleringar och ändringar")},
        {m_mainForm.ToolBar1, QStringLiteral("Verktygsfält")},
        {m_mainForm.BtuForm->DateEdit, QStringLiteral("Betalningsdatum")},
        {m_mainForm.MdgForm->ClearingNrEdit, QStringLiteral("Clearingnummer")},
        {m_mainForm.MdgForm->KontoNrEdit, QStringLiteral("Kontonummer")},
        {m_mainForm.BtuForm->BtNrHelp, QStringLiteral("Hjälp om Betalarnummer")},
        {m_mainForm.BtuForm->RefHlp, QStringLiteral("Hjälp om Referens")},
        {m_mainForm.MdgForm->PersNrHelp, QStringLiteral("Hjälp om Betalarens personnummer")},
        {m_mainForm.MdgForm->KontoHelp, QStringLiteral("Hjälp om Betalarens kontonummer")},
        {m_mainForm.MakForm->BtNrHelp, QStringLiteral("Hjälp om Betalarnummer")},
    };
    for (const Named& c : cases)
        EXPECT_EQ(accessibleName(c.widget), c.name) << c.widget->objectName().toStdString();
}

TEST(MessageBoxAccess, IsReadAsOneTextWithTheFocusOnItsDefaultButton)
{
    struct Case
    {
        QString caption;
        QString text;
        UserPrompt::Buttons buttons;
        QString spoken;
        QMessageBox::StandardButton focused;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("Filen är sparad."), UserPrompt::Buttons::Ok, QStringLiteral("Filen är sparad."),
         QMessageBox::Ok},
        {QStringLiteral("Info"), QStringLiteral("Första meningen.\rAndra meningen."), UserPrompt::Buttons::OkCancel,
         QStringLiteral("Info Första meningen. Andra meningen."), QMessageBox::Ok},
        {QString(), QStringLiteral("Spara ändringarna?"), UserPrompt::Buttons::YesNoCancel,
         QStringLiteral("Spara ändringarna?"), QMessageBox::Yes},
    };
    for (const Case& c : cases) {
        const auto box = WidgetPrompt::makeMessageBox(nullptr, c.caption, c.text, c.buttons, UserPrompt::Icon::None);
        box->show();
        QApplication::setActiveWindow(box.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(box.get()));
        EXPECT_EQ(accessibleName(box.get()), c.spoken);
        EXPECT_EQ(QApplication::focusWidget(), box->button(c.focused)) << c.text.toStdString();
        box->hide();
    }
}

} // namespace
