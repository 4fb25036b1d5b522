#include "app/SwedishTranslations.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// English texts Qt's widgets show when a translation is missing.
// clang-format off
const char* const englishTexts[] = {
    "Look in:", "Computer", "File name:", "Files of type:", "Back", "Forward", "Parent Directory",
    "Create New Folder", "List View", "Detail View", "Name", "Size", "Type", "Date Modified",
    "New Folder", "Delete", "Rename", "Show hidden files", "Open", "Save", "Cancel", "Save As",
    "All Files (*)", "Remove", "Directory:", "Choose", "Recent Places", "Folder", "Drive",
    "Undo", "Redo", "Cut", "Copy", "Paste", "Select All", "Copy Link Location", "Yes", "No",
    "Show Details...", "Hide Details...", "Step up", "Step down",
};
// clang-format on

QString shown(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0); // drops the shortcut shown beside a menu entry
    return text.remove(QLatin1Char('&'));
}

bool isEnglish(const QString& text)
{
    for (const char* english : englishTexts) {
        if (shown(text) == QLatin1String(english))
            return true;
    }
    return false;
}

void settle()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// Every text a user can read in a widget tree: labels, buttons, tool tips, actions, column
// titles, combo box entries, window title.
QStringList visibleTexts(QWidget* root)
{
    QStringList texts{root->windowTitle()};
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        texts << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
            for (int column = 0; column < view->model()->columnCount(view->rootIndex()); ++column)
                texts << view->model()->headerData(column, Qt::Horizontal).toString();
        }
    }
    for (QAction* action : root->findChildren<QAction*>())
        texts << action->text() << action->toolTip();
    texts.removeAll(QString());
    return texts;
}

class SwedishTranslationsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InstallSwedishTranslations(*QCoreApplication::instance()); }

    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        QFile file(m_folder.filePath(QStringLiteral("order.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    std::unique_ptr<QFileDialog> fileDialog(QFileDialog::AcceptMode mode)
    {
        auto dialog = std::make_unique<QFileDialog>();
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setAcceptMode(mode);
        dialog->setNameFilters({QStringLiteral("Textfiler (*.txt)"), QStringLiteral("Alla filer (*)")});
        dialog->setDirectory(m_folder.path());
        dialog->setViewMode(QFileDialog::Detail);
        dialog->show();
        settle();
        return dialog;
    }

    QTemporaryDir m_folder;
};

TEST_F(SwedishTranslationsTest, FileDialogsShowNoEnglishText)
{
    for (QFileDialog::AcceptMode mode : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
        SCOPED_TRACE(mode == QFileDialog::AcceptOpen ? "open" : "save");
        auto dialog = fileDialog(mode);
        const QStringList texts = visibleTexts(dialog.get());
        EXPECT_GT(texts.size(), 20);
        for (const QString& text : texts)
            EXPECT_FALSE(isEnglish(text)) << text.toStdString();
    }
}

TEST_F(SwedishTranslationsTest, FileDialogReadsAsTheSwedishDesktop)
{
    auto dialog = fileDialog(QFileDialog::AcceptSave);
    auto label = [&](const char* name) {
        return shown(dialog->findChild<QLabel*>(QLatin1String(name))->text());
    };
    auto tip = [&](const char* name) {
        return dialog->findChild<QAbstractButton*>(QLatin1String(name))->toolTip();
    };
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Spara som"));
    EXPECT_EQ(label("lookInLabel"), QStringLiteral("Leta i:"));
    EXPECT_EQ(label("fileNameLabel"), QStringLiteral("Filnamn:"));
    EXPECT_EQ(label("fileTypeLabel"), QStringLiteral("Filformat:"));
    EXPECT_EQ(tip("backButton"), QStringLiteral("Tillbaka"));
    EXPECT_EQ(tip("forwardButton"), QStringLiteral("Framåt"));
    EXPECT_EQ(tip("toParentButton"), QStringLiteral("Upp en nivå"));
    EXPECT_EQ(tip("newFolderButton"), QStringLiteral("Skapa ny mapp"));
    EXPECT_EQ(tip("listModeButton"), QStringLiteral("Lista"));
    EXPECT_EQ(tip("detailModeButton"), QStringLiteral("Detaljer"));

    const QHeaderView* header =
        dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"))->findChild<QHeaderView*>();
    QStringList titles;
    for (int column = 0; column < header->count(); ++column)
        titles << header->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Namn"), QStringLiteral("Storlek"), QStringLiteral("Typ"),
                                   QStringLiteral("Ändringsdatum")}));

    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    EXPECT_EQ(shown(buttons->button(QDialogButtonBox::Cancel)->text()), QStringLiteral("Avbryt"));
    EXPECT_EQ(shown(buttons->button(QDialogButtonBox::Save)->text()), QStringLiteral("Spara"));
}

TEST_F(SwedishTranslationsTest, OverwriteQuestionIsSwedish)
{
    auto dialog = fileDialog(QFileDialog::AcceptSave);
    // Typed as a user would; the folder's contents load in the background.
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("order.txt"));
    QString question;
    QStringList answers;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            question = box->text();
            for (QAbstractButton* button : box->buttons())
                answers << shown(button->text());
            box->reject();
        }
    });
    QPushButton* save = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
    ASSERT_TRUE(save->isEnabled());
    save->click();
    settle();
    EXPECT_EQ(question, QStringLiteral("order.txt finns redan.\nVill du ersätta den?"));
    answers.sort();
    EXPECT_EQ(answers, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nej")}));
}

TEST_F(SwedishTranslationsTest, FileDialogMessagesAreSwedish)
{
    struct Case
    {
        const char* context;
        const char* source;
        const char* swedish;
    };
    const Case cases[] = {
        {"QFileDialog", "Are you sure you want to delete '%1'?", "Vill du ta bort ”%1”?"},
        {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
         "”%1” är skrivskyddad.\nVill du ta bort den ändå?"},
        {"QFileDialog", "New Folder", "Ny mapp"},
        {"QFileDialog", "Show &hidden files", "Visa &dolda filer"},
        {"QFileSystemModel", "Computer", "Dator"},
        {"QMessageBox", "Show Details...", "Visa detaljer..."},
        {"QWidgetTextControl", "Copy &Link Location", "Kopiera &länkadress"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), QString::fromUtf8(c.swedish));
    }
}

TEST_F(SwedishTranslationsTest, EditContextMenusAreSwedish)
{
    const QStringList expected{QStringLiteral("Ångra"),       QStringLiteral("Gör om"),
                               QStringLiteral("Klipp ut"),    QStringLiteral("Kopiera"),
                               QStringLiteral("Klistra in"),  QStringLiteral("Ta bort"),
                               QStringLiteral("Markera allt")};
    QLineEdit lineEdit(QStringLiteral("text"));
    QTextEdit textEdit(QStringLiteral("text"));
    const std::unique_ptr<QMenu> menus[] = {std::unique_ptr<QMenu>(lineEdit.createStandardContextMenu()),
                                            std::unique_ptr<QMenu>(textEdit.createStandardContextMenu())};
    for (const auto& menu : menus) {
        QStringList entries;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                entries << shown(action->text());
        }
        EXPECT_EQ(entries, expected);
    }
}

TEST_F(SwedishTranslationsTest, DateFieldContextMenuIsSwedish)
{
    QDateEdit dateEdit;
    dateEdit.show();
    settle();
    QStringList entries;
    // The menu runs its own event loop; it is read and closed from within.
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator())
                    entries << shown(action->text());
            }
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dateEdit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dateEdit, &event);
    ASSERT_FALSE(entries.isEmpty());
    for (const QString& entry : entries)
        EXPECT_FALSE(isEnglish(entry)) << entry.toStdString();
    EXPECT_TRUE(entries.contains(QStringLiteral("Stega upp")));
    EXPECT_TRUE(entries.contains(QStringLiteral("Stega ned")));
    EXPECT_TRUE(entries.contains(QStringLiteral("Markera allt")));
}

TEST_F(SwedishTranslationsTest, StandardButtonsReadSwedish)
{
    if (!InstallSwedishTranslations(*QCoreApplication::instance()))
        GTEST_SKIP() << "Qt's Swedish translations are not installed";
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel |
                         QDialogButtonBox::Save | QDialogButtonBox::Open);
    auto text = [&](QDialogButtonBox::StandardButton which) {
        return box.button(which)->text().remove(QLatin1Char('&'));
    };
    EXPECT_EQ(text(QDialogButtonBox::Yes), QStringLiteral("Ja"));
    EXPECT_EQ(text(QDialogButtonBox::No), QStringLiteral("Nej"));
    EXPECT_EQ(text(QDialogButtonBox::Cancel), QStringLiteral("Avbryt"));
    EXPECT_EQ(text(QDialogButtonBox::Save), QStringLiteral("Spara"));
    EXPECT_EQ(text(QDialogButtonBox::Open), QStringLiteral("Öppna"));
}

} // namespace

namespace {

// "valmo --help" and a mistyped option answer in Swedish like the rest of the program.
TEST_F(SwedishTranslationsTest, CommandLineHelpAndErrorsAreSwedish)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Redigerare för Autogirofiler."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("fil"), QStringLiteral("Orderfil som öppnas vid start."),
                                 QStringLiteral("[fil]"));
    const QString help = parser.helpText();
    for (const char* english : {"Usage", "Options", "Arguments", "Displays", "options]"})
        EXPECT_FALSE(help.contains(QLatin1String(english))) << english << "\n" << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("Användning:"))) << help.toStdString();

    const struct
    {
        QStringList arguments;
        const char* swedish;
    } errors[] = {
        {{QStringLiteral("valmo"), QStringLiteral("--okänd")}, "Okänt alternativ ”okänd”."},
        {{QStringLiteral("valmo"), QStringLiteral("--a"), QStringLiteral("--b")}, "Okända alternativ: a, b."},
        {{QStringLiteral("valmo"), QStringLiteral("--help=ja")}, "Oväntat värde efter ”--help”."},
    };
    for (const auto& error : errors) {
        SCOPED_TRACE(error.arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_FALSE(parser.parse(error.arguments));
        EXPECT_EQ(parser.errorText(), QString::fromUtf8(error.swedish));
    }
}

} // namespace

// Qt's own reasons why a file cannot be saved reach the user inside the save command's message.
TEST_F(SwedishTranslationsTest, SaveFailureReasonsFromQtAreSwedish)
{
    QSaveFile onAFolder(m_folder.path());
    EXPECT_FALSE(onAFolder.open(QIODevice::WriteOnly));
    EXPECT_EQ(onAFolder.errorString(), QStringLiteral("Filnamnet är namnet på en mapp"));

    // A failure Qt has no words for.
    QSaveFile cancelled(m_folder.filePath(QStringLiteral("new.ag")));
    ASSERT_TRUE(cancelled.open(QIODevice::WriteOnly));
    cancelled.cancelWriting();
    EXPECT_FALSE(cancelled.commit());
    EXPECT_EQ(cancelled.errorString(), QStringLiteral("Okänt fel"));
}
