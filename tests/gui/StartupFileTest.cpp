// The program started with a file argument, and the wait cursor of long file operations.
#include "app/StartupFile.h"
#include "app/MainForm.h"
#include "app/StartPicture.h"
#include "app/WidgetPrompt.h"
#include "format/OpenCommand.h"
#include "format/SettingsOpeningRecordPolicy.h"
#include "settings/SettingsStore.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QByteArray Opening = "0120240305AUTOGIRO                                            1234560055555555  ";
const QByteArray Payment = "82202403050    0000000000004711000000025000" + QByteArray(37, ' ');

void settle()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// Runs the event loop until the condition holds or the time is up; returns the condition.
template <typename Condition> bool runEventsUntil(Condition condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

class StartupFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("55555555")});
        guiPrompt().clear();
        m_base = QDir(m_folder.path()).canonicalPath();
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_base);
    }
    void TearDown() override
    {
        QDir::setCurrent(m_previousFolder);
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }

    std::unique_ptr<TMainForm> startedWindow()
    {
        auto form = std::make_unique<TMainForm>();
        form->createWindows();
        form->show();
        return form;
    }

    QString makeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_base + QLatin1Char('/') + name;
        WriteFileBytes(path, bytes);
        return path;
    }

    QTemporaryDir m_folder;
    QString m_base;
    QString m_previousFolder;
};

TEST_F(StartupFileTest, TheNamedFileIsOpenedOnceTheWindowIsUp)
{
    const QString path =
        makeFile(QStringLiteral("start.ag"), Opening + "\r\n" + Payment + "\r\n" + Payment + "\r\n");
    auto form = startedWindow();
    OpenStartupFileLater(*form, {QStringLiteral("start.ag")});
    // Queued: nothing is read before the window has had its first events.
    EXPECT_FALSE(form->document().hasRows());
    ASSERT_TRUE(runEventsUntil([&] { return form->document().hasRows(); }, 5000));
    EXPECT_EQ(form->document().BtuList.count(), 2);
    EXPECT_EQ(form->document().CurrentFile, path);
    EXPECT_FALSE(form->document().DocModified);
    EXPECT_TRUE(form->BtuPanel->isVisible());
    EXPECT_TRUE(form->SparaBtn->isEnabled());
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A large file takes a moment to read: the window is on the screen, painted, before that starts,
// so the reading happens under the wait cursor in a drawn window instead of an empty frame.
TEST_F(StartupFileTest, TheFileIsReadOnlyOnceTheWindowIsOnTheScreen)
{
    makeFile(QStringLiteral("start.ag"), Opening + "\r\n" + Payment + "\r\n");
    auto form = std::make_unique<TMainForm>();
    form->createWindows();
    OpenStartupFileLater(*form, {QStringLiteral("start.ag")});
    EXPECT_FALSE(runEventsUntil([&] { return form->document().hasRows(); }, 100));
    form->show();
    ASSERT_TRUE(runEventsUntil([&] { return form->document().hasRows(); }, 5000));
    EXPECT_EQ(form->document().BtuList.count(), 1);
}

TEST_F(StartupFileTest, AMissingFileIsReportedAndLeavesAnEmptyDocument)
{
    auto form = startedWindow();
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    OpenStartupFileLater(*form, {QStringLiteral("saknas.ag")});
    runEventsUntil([] { return !guiPrompt().messages.isEmpty(); }, 5000);
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_TRUE(guiPrompt().messages[0].text.startsWith(OpenCommand::cannotOpenMessage() + QStringLiteral(": ")));
    EXPECT_TRUE(guiPrompt().messages[0].text.endsWith(QStringLiteral("saknas.ag\nFilen finns inte.")));
    EXPECT_FALSE(form->document().hasRows());
    EXPECT_TRUE(form->document().CurrentFile.isEmpty());
    EXPECT_TRUE(form->StartPanel->isVisible());
}

TEST_F(StartupFileTest, NoArgumentOpensNothing)
{
    auto form = startedWindow();
    OpenStartupFileLater(*form, {});
    OpenStartupFileLater(*form, {QString()});
    settle();
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
    EXPECT_TRUE(form->document().CurrentFile.isEmpty());
}

// The question about another payee's numbers comes in the middle of the reading, under the wait
// cursor; it is shown with the ordinary arrow and the wait cursor ends with the command.
TEST_F(StartupFileTest, QuestionsDuringAnOpenShowNoWaitCursor)
{
    QByteArray otherPayee = Opening;
    otherPayee.replace(62, 16, "0000420012345674");
    makeFile(QStringLiteral("other.ag"), otherPayee + "\r\n" + Payment + "\r\n");
    auto form = startedWindow();
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    form->openFileAtStart(QStringLiteral("other.ag"));
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_TRUE(guiPrompt().messages[0].text.contains(
        QStringLiteral("Filen är skapad för bankgironummer 1234-5674, kundnummer 42. "
                       "Inställningarna har bankgironummer 5555-5555, kundnummer 123456.")));
    EXPECT_EQ(guiPrompt().messages[0].busyDepth, 0);
    EXPECT_EQ(form->document().BtuList.count(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(StartupFileTest, WaitCursorIsLiftedForEveryMessageBoxAndComesBack)
{
    QWidget parent;
    WidgetPrompt prompt(&parent);
    prompt.beginBusy();
    prompt.beginBusy(); // nested operations
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    prompt.showMessage(QString(), QStringLiteral("Fråga"), UserPrompt::Buttons::Ok, UserPrompt::Icon::None);
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages[0].busyDepth, 0);

    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    prompt.endBusy();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    prompt.endBusy();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A save whose row cannot be written reports it after the wait cursor has ended.
TEST_F(StartupFileTest, AFailedSaveReportsWithoutAWaitCursor)
{
    auto form = startedWindow();
    form->document().BtuList.append(QStringLiteral("Debitering"),
                                    {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-02-30"),
                                     QStringLiteral("100,00"), QStringLiteral("1"), QStringLiteral("1234"),
                                     QString()});
    form->document().DocModified = true;
    form->document().CurrentFile = m_base + QStringLiteral("/fel.ag");
    form->UpdateView(true);
    guiPrompt().saveFileNames.append(form->document().CurrentFile);
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    form->SparaBtnClick();
    ASSERT_FALSE(guiPrompt().messages.isEmpty());
    for (const FakePrompt::Message& shown : guiPrompt().messages)
        EXPECT_EQ(shown.busyDepth, 0) << shown.text.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace

namespace {

class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A long file operation runs without the event loop: what the window still had to draw (the
// start section replacing the lists, the place a closed file dialog covered) is drawn before the
// operation starts, not after it.
TEST_F(StartupFileTest, TheWindowIsDrawnBeforeALongOperationStarts)
{
    QWidget window;
    auto* area = new PaintCounter;
    area->setParent(&window);
    area->resize(100, 100);
    window.resize(200, 200);
    window.show();
    settle();
    WidgetPrompt prompt(area);
    area->update();
    const int paintsBefore = area->paints;
    prompt.beginBusy();
    EXPECT_GT(area->paints, paintsBefore);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    prompt.endBusy();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
