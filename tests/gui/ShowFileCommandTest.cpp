#include "viewer/ShowFileCommand.h"

#include "app/OrderDocument.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"
#include "viewer/PresentationProgram.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '[' << texts.join(QStringLiteral("|")).toStdString() << ']';
}

namespace {

const QString Recorder = QStringLiteral(VALMO_ARGUMENT_RECORDER);

class ShowFileCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_system.isValid() && m_user.isValid() && m_files.isValid());
        PresentationProgram::setTestFolders(m_system.path(), m_user.path());
        guiPrompt().clear();
    }

    void TearDown() override
    {
        PresentationProgram::setTestFolders(QString(), QString());
        qunsetenv("VALMO_RECORD_FILE");
        qunsetenv("VALMO_RECORD_GATE");
    }

    static void registerValue(const QTemporaryDir& scope, const QString& name, const QVariant& value)
    {
        QSettings store(PresentationProgram::testSettingsFile(scope.path()), QSettings::IniFormat);
        store.setValue(name, value);
        store.sync();
        ASSERT_EQ(store.status(), QSettings::NoError);
    }

    // A file in a folder with blanks and Swedish letters in its name.
    QString orderFile(const QString& name, const QByteArray& bytes)
    {
        QDir folder(m_files.path());
        folder.mkpath(QStringLiteral("Mina filer/Autogiro åäö"));
        const QString path = folder.filePath(QStringLiteral("Mina filer/Autogiro åäö/") + name);
        WriteFileBytes(path, bytes);
        return path;
    }

    QString filesPath(const QString& name) const { return QDir(m_files.path()).filePath(name); }

    // Polls for the recorder's output, so a slow machine only takes longer.
    static QStringList waitForRecord(const QString& recordFile)
    {
        QDeadlineTimer deadline(30000);
        while (!QFile::exists(recordFile) && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        QFile file(recordFile);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("<no record>")};
        QStringList arguments;
        for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array())
            arguments.append(value.toString());
        return arguments;
    }

    // Runs the command; true when the viewer came up meanwhile (it is closed again at once).
    bool viewerShownByCommand()
    {
        bool shown = false;
        QTimer::singleShot(0, &m_viewer, [&] {
            shown = m_viewer.isVisible();
            m_viewer.close();
        });
        m_command.VisaBtnClick();
        QApplication::processEvents();
        return shown;
    }

    QTemporaryDir m_system;
    QTemporaryDir m_user;
    QTemporaryDir m_files;
    OrderDocument m_document;
    QWidget m_mainWindow;
    TViewer m_viewer{&m_mainWindow};
    ShowFileCommand m_command{m_document, m_viewer, guiPrompt()};
};

TEST_F(ShowFileCommandTest, UnsavedDocumentGetsTheInfoNotice)
{
    registerValue(m_system, QStringLiteral("exe"), Recorder);
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    m_command.VisaBtnClick();
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages.at(0).caption, QStringLiteral("Info"));
    EXPECT_EQ(guiPrompt().messages.at(0).text, QStringLiteral("Du måste först spara filen."));
    EXPECT_EQ(guiPrompt().messages.at(0).buttons, UserPrompt::Buttons::Ok);
    EXPECT_FALSE(m_viewer.isVisible());
}

// The program path counts only system-wide, the index file only in the user's own settings.
TEST_F(ShowFileCommandTest, LookupsReadEachValueFromItsOwnScope)
{
    struct Case
    {
        const char* name;
        QTemporaryDir* scope;
        QString valueName;
        QVariant value;
        QString program;
        QString indexFile;
    };
    const QString program = QStringLiteral("/opt/Lumora Presentation/presentation");
    const QString index = QStringLiteral("/home/anna/Arlo index/index.xml");
    const Case cases[] = {
        {"nothing registered", nullptr, QString(), QVariant(), QString(), QString()},
        {"program system-wide", &m_system, QStringLiteral("exe"), program, program, QString()},
        {"program only for the user", &m_user, QStringLiteral("exe"), program, QString(), QString()},
        {"index file for the user", &m_user, QStringLiteral("arloindexfile"), index, QString(), index},
        {"index file only system-wide", &m_system, QStringLiteral("arloindexfile"), index, QString(),
         QString()},
        {"empty program path", &m_system, QStringLiteral("exe"), QString(), QString(), QString()},
        {"list instead of a path", &m_system, QStringLiteral("exe"), QStringList{program, index}, QString(),
         QString()},
    };
    for (const Case& c : cases) {
        QFile::remove(PresentationProgram::testSettingsFile(m_system.path()));
        QFile::remove(PresentationProgram::testSettingsFile(m_user.path()));
        if (c.scope)
            registerValue(*c.scope, c.valueName, c.value);
        EXPECT_EQ(PresentationProgram::ProgramPath(), c.program) << c.name;
        EXPECT_EQ(PresentationProgram::IndexFilePath(), c.indexFile) << c.name;
    }
}

#ifndef Q_OS_WIN
// The machine's own stores: system-wide and user settings of the same name, the user's never
// falling back on the system-wide value.
TEST_F(ShowFileCommandTest, LookupsReadTheSystemAndUserSettings)
{
    PresentationProgram::setTestFolders(QString(), QString());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, m_system.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_user.path());
    const QString program = QStringLiteral("/opt/Lumora Presentation/presentation");
    const QString index = QStringLiteral("/home/anna/index fil.idx");

    registerValue(m_user, QStringLiteral("exe"), program);
    registerValue(m_system, QStringLiteral("arloindexfile"), index);
    EXPECT_EQ(PresentationProgram::ProgramPath(), QString());
    EXPECT_EQ(PresentationProgram::IndexFilePath(), QString());

    registerValue(m_system, QStringLiteral("exe"), program);
    registerValue(m_user, QStringLiteral("arloindexfile"), index);
    EXPECT_EQ(PresentationProgram::ProgramPath(), program);
    EXPECT_EQ(PresentationProgram::IndexFilePath(), index);
}
#endif

TEST_F(ShowFileCommandTest, WindowsParameterTextQuotesBothPathsUnaltered)
{
    EXPECT_EQ(PresentationProgram::ParameterText(QStringLiteral("C:\\Mina filer\\Valmo 2026-12-08.ag"),
                                                 QStringLiteral("C:\\Arlo\\index fil.idx")),
              QStringLiteral("-filename \"C:\\Mina filer\\Valmo 2026-12-08.ag\" -indexfile "
                             "\"C:\\Arlo\\index fil.idx\" -bank handelsbanken"));
    EXPECT_EQ(PresentationProgram::ParameterText(QStringLiteral("C:\\a.ag"), QString()),
              QStringLiteral("-filename \"C:\\a.ag\" -indexfile \"\" -bank handelsbanken"));
}

// The registered program is started with the three options and is not waited for: it does not
// record anything before the test, back from the command, opens the gate.
TEST_F(ShowFileCommandTest, RegisteredProgramIsStartedWithTheFileAndTheIndexFile)
{
    const QString file = orderFile(QStringLiteral("Valmo 2026-12-08.ag"), "01\r\n");
    struct Case
    {
        const char* name;
        QString indexFile; // null: not registered
    };
    const Case cases[] = {
        {"index file with blanks", filesPath(QStringLiteral("Arlo index/mitt index.idx"))},
        {"no index file registered", QString()},
        {"empty index file path", QStringLiteral("")},
    };
    registerValue(m_system, QStringLiteral("exe"), Recorder);
    m_document.CurrentFile = file;
    int run = 0;
    for (const Case& c : cases) {
        QFile::remove(PresentationProgram::testSettingsFile(m_user.path()));
        if (!c.indexFile.isNull())
            registerValue(m_user, QStringLiteral("arloindexfile"), c.indexFile);
        const QString recordFile = filesPath(QStringLiteral("record %1.json").arg(++run));
        const QString gate = filesPath(QStringLiteral("gate %1").arg(run));
        qputenv("VALMO_RECORD_FILE", recordFile.toUtf8());
        qputenv("VALMO_RECORD_GATE", gate.toUtf8());

        m_command.VisaBtnClick();
        EXPECT_FALSE(QFile::exists(recordFile)) << c.name << ": the command waited for the program";
        WriteFileBytes(gate, QByteArray());

        const QStringList expected{
            QStringLiteral("-filename"),  file,
            QStringLiteral("-indexfile"), c.indexFile.isNull() ? QString() : c.indexFile,
            QStringLiteral("-bank"),      QStringLiteral("handelsbanken")};
        EXPECT_EQ(waitForRecord(recordFile), expected) << c.name;
        EXPECT_TRUE(guiPrompt().messages.isEmpty()) << c.name;
        EXPECT_FALSE(m_viewer.isVisible()) << c.name;
    }
}

TEST_F(ShowFileCommandTest, FailedStartReportsNothingAndShowsNothing)
{
    registerValue(m_system, QStringLiteral("exe"), filesPath(QStringLiteral("Finns inte/presentation")));
    m_document.CurrentFile = orderFile(QStringLiteral("a.ag"), "01\r\n");
    EXPECT_FALSE(viewerShownByCommand());
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
}

// Without a registered program the viewer shows the stored file modally, once per command.
TEST_F(ShowFileCommandTest, ViewerShowsTheFileWhenNoProgramIsRegistered)
{
    m_mainWindow.resize(760, 560);
    m_mainWindow.show();
    const QString file = orderFile(QStringLiteral("Valmo 1.ag"), "01 rad ett\r\n32 rad tv\xe5\r\n");
    m_document.CurrentFile = file;
    for (const bool emptyExe : {false, true}) {
        if (emptyExe)
            registerValue(m_system, QStringLiteral("exe"), QString());
        bool shown = false;
        QTimer::singleShot(0, &m_viewer, [&] {
            shown = true;
            EXPECT_TRUE(m_viewer.isVisible());
            EXPECT_TRUE(m_viewer.isModal());
            EXPECT_EQ(QApplication::activeModalWidget(), &m_viewer);
            EXPECT_EQ(m_viewer.memo()->toPlainText(), QStringLiteral(u"01 rad ett\n32 rad två"));
            EXPECT_EQ(m_viewer.statusText(),
                      QStringLiteral("Filnamn:  ") + file + QStringLiteral("        Rad: 1   Kolumn: 1"));
            m_viewer.close();
        });
        m_command.VisaBtnClick();
        EXPECT_TRUE(shown);
        EXPECT_FALSE(m_viewer.isVisible());
        EXPECT_TRUE(guiPrompt().messages.isEmpty());
    }
}

TEST_F(ShowFileCommandTest, MissingFileIsReportedAndTheViewerNotShown)
{
    m_document.CurrentFile = filesPath(QStringLiteral("borttagen.ag"));
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    EXPECT_FALSE(viewerShownByCommand());
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages.at(0).text,
              QStringLiteral("Filen kunde inte öppnas: ") + QDir::toNativeSeparators(m_document.CurrentFile) + QStringLiteral("\nFilen finns inte."));
}

} // namespace
