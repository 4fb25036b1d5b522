#include "viewer/ViewerUnit.h"

#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

class ViewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        guiPrompt().clear();
        // The viewer remembers its size and place; each test starts with nothing remembered.
        TestEnvironment::instance().resetSettings();
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(m_folder.path()).filePath(name);
        WriteFileBytes(path, bytes);
        return path;
    }

    QString status(const QString& path, int line, int column)
    {
        return QStringLiteral("Filnamn:  %1        Rad: %2   Kolumn: %3").arg(path).arg(line).arg(column);
    }

    void select(int anchor, int position)
    {
        QTextCursor cursor = m_viewer.memo()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        m_viewer.memo()->setTextCursor(cursor);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(m_viewer.memo(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(m_viewer.memo(), &up);
    }

    QTemporaryDir m_folder;
    TViewer m_viewer;
};

TEST_F(ViewerTest, WindowIsAReadOnlyFixedPitchViewerWithoutWrapping)
{
    EXPECT_EQ(m_viewer.objectName(), QStringLiteral("Viewer"));
    EXPECT_EQ(m_viewer.windowTitle(), QStringLiteral("Autogiro filvisning"));
    EXPECT_EQ(m_viewer.size(), QSize(667, 463));
    QPlainTextEdit* memo = m_viewer.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_NE(m_viewer.findChild<QStatusBar*>(QStringLiteral("StatusBar1")), nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
}

// The numbers are those of the selection's end, its later position, in either direction.
TEST_F(ViewerTest, StatusTextNamesTheFileAndTheEndOfTheSelection)
{
    const QString path = writeFile(QStringLiteral("rapport fil.txt"), "abc\r\ndefgh\r\nij");
    ASSERT_TRUE(m_viewer.LoadFile(path));
    EXPECT_EQ(m_viewer.statusText(), status(path, 1, 1));

    struct Case
    {
        int anchor;
        int position;
        int line;
        int column;
    };
    // Positions in "abc\ndefgh\nij": a=0, d=4, h=8, i=10, end=12.
    const Case cases[] = {
        {2, 2, 1, 3},  // caret inside the first line
        {3, 3, 1, 4},  // caret at the end of the first line
        {4, 4, 2, 1},  // caret at the start of the second line
        {1, 6, 2, 3},  // selection made forwards
        {6, 1, 2, 3},  // the same selection made backwards
        {12, 5, 3, 3}, // backwards from the end of the text
        {0, 12, 3, 3}, // everything
    };
    for (const Case& c : cases) {
        select(c.anchor, c.position);
        EXPECT_EQ(m_viewer.statusText(), status(path, c.line, c.column))
            << "anchor " << c.anchor << " position " << c.position;
    }
}

TEST_F(ViewerTest, KeysMoveTheCaretOfTheReadOnlyMemoAndTheStatusFollows)
{
    const QString path = writeFile(QStringLiteral("a.txt"), "abc\r\ndefgh\r\nij\r\n");
    ASSERT_TRUE(m_viewer.LoadFile(path));
    press(Qt::Key_Down);
    EXPECT_EQ(m_viewer.statusText(), status(path, 2, 1));
    press(Qt::Key_End);
    EXPECT_EQ(m_viewer.statusText(), status(path, 2, 6));
    press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(m_viewer.statusText(), status(path, 2, 6)); // the end of a selection made backwards
    press(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(m_viewer.statusText(), status(path, 2, 6));
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m_viewer.statusText(), status(path, 3, 3));
    EXPECT_EQ(m_viewer.memo()->toPlainText(), QStringLiteral("abc\ndefgh\nij")); // nothing typed in
    press(Qt::Key_X);
    EXPECT_EQ(m_viewer.memo()->toPlainText(), QStringLiteral("abc\ndefgh\nij"));
}

TEST_F(ViewerTest, EmptyFileShowsAnEmptyMemoAtLineOneColumnOne)
{
    ASSERT_TRUE(m_viewer.LoadFile(writeFile(QStringLiteral("full.txt"), "first\r\nsecond\r\n")));
    select(8, 8);
    const QString path = writeFile(QStringLiteral("tom.ag"), QByteArray());
    ASSERT_TRUE(m_viewer.LoadFile(path));
    EXPECT_EQ(m_viewer.memo()->toPlainText(), QString());
    EXPECT_EQ(m_viewer.statusText(), status(path, 1, 1));
}

TEST_F(ViewerTest, SecondFileReplacesTheFirstEntirely)
{
    const QString first = writeFile(QStringLiteral("first.ag"), "1111\r\n2222\r\n3333\r\n4444\r\n");
    const QString second = writeFile(QStringLiteral("second.ag"), "ab\r\n");
    ASSERT_TRUE(m_viewer.LoadFile(first));
    select(17, 17);
    ASSERT_TRUE(m_viewer.LoadFile(second));
    EXPECT_EQ(m_viewer.memo()->toPlainText(), QStringLiteral("ab"));
    EXPECT_EQ(m_viewer.statusText(), status(second, 1, 1));
    EXPECT_EQ(m_viewer.fileName(), second);
}

TEST_F(ViewerTest, LinesAreReadLikeOrderFiles)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"CR LF line ends", "ab\r\ncd\r\n", QStringLiteral("ab\ncd")},
        {"LF alone ends a line", "ab\ncd\n", QStringLiteral("ab\ncd")},
        {"last line without a line end", "ab\r\ncd", QStringLiteral("ab\ncd")},
        {"lone CR dropped", "ab\rcd\r\nef\r", QStringLiteral("abcd\nef")},
        {"blank lines kept", "a\r\n\r\n\r\nb\r\n", QStringLiteral("a\n\n\nb")},
        {"Ctrl-Z ends the text",
         QByteArray("ab\r\ncd\x1a"
                    "ef\r\ngh\r\n"),
         QStringLiteral("ab\ncd")},
        {"Ctrl-Z after the last line end", QByteArray("ab\r\n\x1a"), QStringLiteral("ab")},
        {"Windows-1252", QByteArray("\xe5\xe4\xf6 \xc5\xc4\xd6 \x80 \x96 \xe9\r\n"),
         QStringLiteral(u"åäö ÅÄÖ € – é")},
        {"UTF-8 with a byte-order mark", QByteArray("\xEF\xBB\xBF\xC3\x85r \xE2\x82\xAC\r\n"),
         QStringLiteral(u"År €")},
        {"UTF-8 line cut by characters", QByteArray(9999, 'a') + "\xC3\xA5\xC3\xA4\r\nd",
         QString(9999, QLatin1Char('a')) + QStringLiteral(u"å\u2026\nd")},
        // A line too long to lay out is cut; the lines after it are whole.
        {"long line cut", QByteArray(10000, 'a') + "bc\r\nd",
         QString(10000, QLatin1Char('a')) + QStringLiteral(u"\u2026\nd")},
        {"longest line whole", QByteArray(10000, 'a') + "\r\nd",
         QString(10000, QLatin1Char('a')) + QStringLiteral("\nd")},
    };
    const QString path = QDir(m_folder.path()).filePath(QStringLiteral("lines.txt"));
    for (const Case& c : cases) {
        WriteFileBytes(path, c.bytes);
        ASSERT_TRUE(m_viewer.LoadFile(path)) << c.name;
        EXPECT_EQ(m_viewer.memo()->toPlainText(), c.text) << c.name;
        EXPECT_EQ(m_viewer.textNotice().isEmpty(), !c.text.contains(QChar(0x2026))) << c.name;
    }
}

TEST_F(ViewerTest, FileThatCannotBeOpenedIsReportedAndTheMemoKept)
{
    ASSERT_TRUE(m_viewer.LoadFile(writeFile(QStringLiteral("kept.ag"), "kept\r\n")));
    const QString missing = QDir(m_folder.path()).filePath(QStringLiteral("saknas.ag"));
    const QList<std::pair<QString, QString>> cases = {{missing, QStringLiteral("Filen finns inte.")},
                                                      {m_folder.path(), QStringLiteral("Det är en mapp, inte en fil.")}};
    for (const auto& [path, reason] : cases) {
        guiPrompt().messages.clear();
        guiPrompt().answers.append(UserPrompt::Answer::Ok);
        EXPECT_FALSE(m_viewer.LoadFile(path));
        ASSERT_EQ(guiPrompt().messages.size(), 1);
        EXPECT_EQ(guiPrompt().messages.at(0).caption, QString());
        EXPECT_EQ(guiPrompt().messages.at(0).text,
                  QStringLiteral("Filen kunde inte öppnas: ") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + reason);
        EXPECT_EQ(guiPrompt().messages.at(0).buttons, UserPrompt::Buttons::Ok);
        EXPECT_EQ(m_viewer.memo()->toPlainText(), QStringLiteral("kept"));
    }
}

TEST_F(ViewerTest, EmptyPathKeepsTheMemo)
{
    ASSERT_TRUE(m_viewer.LoadFile(writeFile(QStringLiteral("kept.ag"), "kept\r\n")));
    EXPECT_TRUE(m_viewer.LoadFile(QString()));
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
    EXPECT_EQ(m_viewer.memo()->toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(m_viewer.statusText(), status(QString(), 1, 1));
}

TEST_F(ViewerTest, LongLineIsNotWrappedAndScrollsSideways)
{
    const QByteArray line(400, 'x');
    ASSERT_TRUE(m_viewer.LoadFile(writeFile(QStringLiteral("lang.ag"), line + "\r\nkort\r\n")));
    m_viewer.show();
    QApplication::processEvents();
    EXPECT_EQ(m_viewer.memo()->document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(m_viewer.memo()->horizontalScrollBar()->value(), 0);
    press(Qt::Key_End);
    QApplication::processEvents();
    EXPECT_GT(m_viewer.memo()->horizontalScrollBar()->value(), 0);
    EXPECT_TRUE(m_viewer.statusText().endsWith(QStringLiteral("Rad: 1   Kolumn: 401")));
    m_viewer.hide();
}

TEST_F(ViewerTest, ALongFileNameNeverWidensTheWindow)
{
    // The status text is as long as the path; the window keeps the size the user gave it.
    const QString folder = QDir(m_folder.path()).filePath(QString(120, QLatin1Char('k')));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("rapport.ag"));
    WriteFileBytes(path, "rad\r\n");
    const QSize sizes[] = {QSize(667, 463), QSize(400, 300)};
    for (const QSize& size : sizes) {
        m_viewer.resize(size);
        ASSERT_TRUE(m_viewer.LoadFile(path));
        m_viewer.show();
        QApplication::processEvents();
        EXPECT_EQ(m_viewer.size(), size);
        EXPECT_TRUE(m_viewer.statusText().startsWith(QStringLiteral("Filnamn:  ") + path));
        m_viewer.hide();
    }
}

TEST_F(ViewerTest, ShownCentredOverItsParent)
{
    QWidget parent;
    parent.setGeometry(40, 30, 720, 540); // inside the 800 x 600 screen of the test platform
    parent.show();
    TViewer viewer(&parent);
    QTimer::singleShot(0, &viewer, [&] {
        EXPECT_TRUE(viewer.isModal());
        EXPECT_LE((viewer.frameGeometry().center() - parent.frameGeometry().center()).manhattanLength(), 40);
        viewer.close();
    });
    viewer.ShowModal();
    EXPECT_FALSE(viewer.isVisible());
}

} // namespace

namespace {

// A report of many thousand records takes a moment to read and lay out: the wait cursor shows
// while the memo is filled, and is gone again afterwards and for the failure message.
TEST_F(ViewerTest, WaitCursorWhileAFileIsReadIntoTheMemo)
{
    std::optional<Qt::CursorShape> shapeWhileFilled;
    QObject::connect(m_viewer.memo(), &QPlainTextEdit::textChanged, &m_viewer, [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        shapeWhileFilled = cursor ? cursor->shape() : Qt::ArrowCursor;
    });
    ASSERT_TRUE(m_viewer.LoadFile(writeFile(QStringLiteral("rapport.ag"), "rad 1\r\nrad 2\r\n")));
    ASSERT_TRUE(shapeWhileFilled.has_value());
    EXPECT_EQ(*shapeWhileFilled, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    EXPECT_FALSE(m_viewer.LoadFile(QDir(m_folder.path()).filePath(QStringLiteral("saknas.ag"))));
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages.at(0).busyDepth, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
