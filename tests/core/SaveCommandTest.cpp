#include "format/SaveCommand.h"
#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "settings/SettingsStore.h"
#include "support/FakeDocumentView.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString setting(const char* name)
{
    return ReadSetting(SettingsStore::section(), QString::fromLatin1(name), QString());
}

QByteArray blanks(int count)
{
    return QByteArray(count, ' ');
}

const QString SettingsRefused =
    QStringLiteral("Filen kan inte sparas eftersom inställningarna inte är godkända.");

class SaveCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        ASSERT_TRUE(m_home.isValid());
        // The documents folder is looked up under this home, never the user's own.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("55555555")});
        m_doc.FillMakTexts();
        m_doc.DocModified = true;
    }

    bool save() { return SaveCommand(m_doc, m_view, m_prompt, m_clock).SparaBtnClick(); }
    QString documentsFolder() const { return m_home.filePath(QStringLiteral("Documents/Autogirofiler")); }
    QString filePath(const QString& name) const { return QDir(m_files.path()).filePath(name); }

    void addPayment(const QString& date = QStringLiteral("2024-03-05"))
    {
        m_doc.BtuList.append(QStringLiteral("Debitering"),
                             {QStringLiteral("Engångsbetalning"), date, QStringLiteral("250,00"),
                              QStringLiteral("1"), QStringLiteral("4711"), QStringLiteral("Faktura 12")});
    }

    QTemporaryDir m_home;
    QTemporaryDir m_files;
    OrderDocument m_doc;
    FakeDocumentView m_view;
    FakePrompt m_prompt;
    FixedClock m_clock{QDate(2024, 3, 5)};
};

} // namespace

TEST_F(SaveCommandTest, RefusesWithoutBothPayeeNumbers)
{
    struct Case
    {
        QString bankgiro;
        QString customer;
    };
    const Case cases[] = {{QString(), QStringLiteral("123456")}, {QStringLiteral("55555555"), QString()}, {}};
    for (const Case& c : cases) {
        TestEnvironment::instance().resetSettings();
        SettingsStore::setPayeeNumbers({c.customer, c.bankgiro});
        m_prompt = FakePrompt();
        m_prompt.saveFileNames = {filePath(QStringLiteral("x.ag"))};

        EXPECT_FALSE(save());
        ASSERT_EQ(m_prompt.messages.size(), 1);
        EXPECT_EQ(m_prompt.messages[0].text, SettingsRefused + QStringLiteral("\nVill du öppna inställningarna?"));
        EXPECT_EQ(m_prompt.messages[0].caption, QString());
        EXPECT_EQ(m_prompt.messages[0].buttons, UserPrompt::Buttons::OkCancel);
        EXPECT_TRUE(m_prompt.dialogs.isEmpty());
        EXPECT_TRUE(m_doc.CurrentFile.isEmpty());
        EXPECT_TRUE(m_doc.DocModified);
        EXPECT_EQ(setting("LastPath"), QString());
        EXPECT_FALSE(QFileInfo::exists(filePath(QStringLiteral("x.ag"))));
    }
    EXPECT_TRUE(m_view.calls.isEmpty());
}

TEST_F(SaveCommandTest, MissingNumbersOfferTheSettingsAndTheSaveGoesOnOnceTheyAreIn)
{
    struct Case
    {
        const char* name;
        UserPrompt::Answer answer;
        bool stored;   // the user stores both numbers in the dialog
        int opened;    // times the dialog was shown
        bool saved;
        int messages;
    };
    const Case cases[] = {
        {"declined", UserPrompt::Answer::Cancel, false, 0, false, 1},
        {"numbers entered", UserPrompt::Answer::Ok, true, 1, true, 1},
        {"dialog cancelled", UserPrompt::Answer::Ok, false, 1, false, 1},
    };
    addPayment();
    for (const Case& c : cases) {
        TestEnvironment::instance().resetSettings();
        m_prompt = FakePrompt();
        m_prompt.answers = {c.answer};
        m_prompt.saveFileNames = {filePath(QStringLiteral("x.ag"))};
        QFile::remove(filePath(QStringLiteral("x.ag")));
        m_view = FakeDocumentView();
        m_view.settingsAnswer = [&c] {
            if (c.stored)
                SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("55555555")});
            return c.stored;
        };

        EXPECT_EQ(save(), c.saved) << c.name;
        EXPECT_EQ(m_view.settingsOpened, c.opened) << c.name;
        EXPECT_EQ(m_prompt.messages.size(), c.messages) << c.name;
        EXPECT_EQ(QFileInfo::exists(filePath(QStringLiteral("x.ag"))), c.saved) << c.name;
    }
}

TEST_F(SaveCommandTest, FirstSaveProposesTodaysNameInAutogirofilerAndWritesTheFile)
{
    // A payment order and a private mandate: mandate section first, then the payment section.
    addPayment();
    m_doc.MdgList.append(
        QStringLiteral("Medgivande på papper"),
        {QStringLiteral("123-4567"), QStringLiteral("5000-1234567"), QStringLiteral("19800101-1234")});
    const QString chosen = QDir(documentsFolder()).filePath(QStringLiteral("Valmo 2024-03-05.ag"));
    m_prompt.saveFileNames = {chosen};

    EXPECT_TRUE(save());

    ASSERT_EQ(m_prompt.dialogs.size(), 1);
    const UserPrompt::FileDialogOptions& options = m_prompt.dialogs[0];
    EXPECT_EQ(options.initialFolder, documentsFolder());
    EXPECT_TRUE(QFileInfo(documentsFolder()).isDir());
    EXPECT_EQ(options.initialFileName, QStringLiteral("Valmo 2024-03-05"));
    EXPECT_EQ(options.defaultSuffix, QStringLiteral("ag"));
    EXPECT_EQ(options.filters, OrderFileFilters());
    EXPECT_TRUE(options.confirmOverwrite);

    const QByteArray bg("0055555555");
    const QByteArray opening = "01"
                               "20240305"
                               "AUTOGIRO" +
                               blanks(44) + "123456" + bg + blanks(2) + "\r\n";
    const QByteArray expected = opening + "04" + bg +
                                "0000000001234567"
                                "5000"
                                "000001234567"
                                "198001011234" +
                                blanks(24) + "\r\n" + opening +
                                "82"
                                "20240305"
                                "0" +
                                blanks(4) +
                                "0000000000004711"
                                "000000025000" +
                                bg + "Faktura 12      " + blanks(11) + "\r\n";
    EXPECT_EQ(ReadFileBytes(chosen), expected);

    EXPECT_EQ(m_doc.CurrentFile, chosen);
    EXPECT_EQ(setting("LastPath"), documentsFolder() + QLatin1Char('/'));
    EXPECT_FALSE(m_doc.DocModified);
    EXPECT_EQ(m_view.calls, QList<bool>{false});
    EXPECT_TRUE(m_prompt.messages.isEmpty());
    EXPECT_EQ(m_prompt.busyCount, 1);
    EXPECT_EQ(m_prompt.busyDepth, 0);
    EXPECT_EQ(QDir(documentsFolder()).entryList(QDir::Files),
              QStringList{QStringLiteral("Valmo 2024-03-05.ag")});
}

TEST_F(SaveCommandTest, LaterSaveProposesTheCurrentFileInTheLastFolder)
{
    addPayment();
    const QString first = filePath(QStringLiteral("first.ag"));
    m_prompt.saveFileNames = {first};
    ASSERT_TRUE(save());

    m_doc.DocModified = true;
    m_prompt.saveFileNames = {first};
    EXPECT_TRUE(save());
    ASSERT_EQ(m_prompt.dialogs.size(), 2);
    EXPECT_EQ(m_prompt.dialogs[1].initialFileName, first);
    EXPECT_EQ(m_prompt.dialogs[1].initialFolder, m_files.path() + QLatin1Char('/'));
    EXPECT_FALSE(m_doc.DocModified);
}

TEST_F(SaveCommandTest, ProposedNameKeepsTheFileDateFormWhateverTheRegion)
{
    const QLocale previous;
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German),
                                  QLocale(QLocale::Swedish, QLocale::Sweden)}) {
        QLocale::setDefault(locale);
        m_prompt = FakePrompt();
        EXPECT_FALSE(save()); // cancelled
        ASSERT_EQ(m_prompt.dialogs.size(), 1);
        EXPECT_EQ(m_prompt.dialogs[0].initialFileName, QStringLiteral("Valmo 2024-03-05"))
            << qPrintable(locale.name());
    }
    QLocale::setDefault(previous);
}

TEST_F(SaveCommandTest, CancelledDialogChangesNothing)
{
    addPayment();
    m_doc.CurrentFile = filePath(QStringLiteral("old.ag"));
    SettingsStore::setLastSaveFolder(QStringLiteral("/somewhere/"));
    m_prompt.saveFileNames = {QString()};

    EXPECT_FALSE(save());
    EXPECT_EQ(m_prompt.dialogs.size(), 1);
    EXPECT_EQ(m_prompt.dialogs[0].initialFolder, QStringLiteral("/somewhere/"));
    EXPECT_EQ(m_doc.CurrentFile, filePath(QStringLiteral("old.ag")));
    EXPECT_EQ(setting("LastPath"), QStringLiteral("/somewhere/"));
    EXPECT_TRUE(m_doc.DocModified);
    EXPECT_TRUE(m_view.calls.isEmpty());
    EXPECT_TRUE(m_prompt.messages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(filePath(QStringLiteral("old.ag"))));
}

TEST_F(SaveCommandTest, FileThatCannotBeCreatedKeepsTheDocumentModified)
{
    addPayment();
    const QString missingFolder = filePath(QStringLiteral("gone"));
    const QString chosen = missingFolder + QStringLiteral("/a.ag");
    m_prompt.saveFileNames = {chosen};

    EXPECT_FALSE(save());
    ASSERT_EQ(m_prompt.messages.size(), 1);
    EXPECT_TRUE(m_prompt.messages[0].text.startsWith(QStringLiteral("Filen kunde inte skapas\n") + chosen))
        << qPrintable(m_prompt.messages[0].text);
    EXPECT_EQ(m_prompt.messages[0].caption, QString());
    EXPECT_EQ(m_prompt.messages[0].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(m_doc.CurrentFile, chosen);
    EXPECT_EQ(setting("LastPath"), missingFolder + QLatin1Char('/'));
    EXPECT_TRUE(m_doc.DocModified);
    EXPECT_EQ(m_view.calls, QList<bool>{false});
    EXPECT_FALSE(QFileInfo::exists(missingFolder));
}

TEST_F(SaveCommandTest, RowThatCannotBeWrittenLeavesTheEarlierFileAlone)
{
    const QString chosen = filePath(QStringLiteral("kept.ag"));
    const QByteArray earlier("earlier contents\r\n");
    WriteFileBytes(chosen, earlier);
    addPayment();
    addPayment(QStringLiteral("2024-02-30"));
    m_prompt.saveFileNames = {chosen};

    EXPECT_FALSE(save());
    ASSERT_EQ(m_prompt.messages.size(), 1);
    EXPECT_EQ(m_prompt.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(m_prompt.messages[0].text,
              QStringLiteral("Filen kunde inte sparas\n%1\nRad 2 i Betaluppdrag, fältet Betalningsdag: "
                             "'2024-02-30' är inte ett giltigt datum\nDen tidigare filen är oförändrad.")
                  .arg(QDir::toNativeSeparators(chosen)));
    EXPECT_EQ(m_prompt.messages[0].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(m_prompt.messages[0].busyDepth, 0);
    EXPECT_EQ(ReadFileBytes(chosen), earlier);
    EXPECT_EQ(QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("kept.ag")});
    EXPECT_TRUE(m_doc.DocModified);
    EXPECT_EQ(m_prompt.busyDepth, 0);
}

TEST_F(SaveCommandTest, CharacterThatCannotBeWrittenNamesItsRowAndFieldAndCreatesNoFile)
{
    const QString chosen = filePath(QStringLiteral("new.ag"));
    addPayment();
    m_doc.MdgList.append(QStringLiteral("Autogiro elektroniskt medgivande"),
                         {QStringLiteral("1"), QStringLiteral("Id\u0142"), QString()});
    m_prompt.saveFileNames = {chosen};

    EXPECT_FALSE(save());
    ASSERT_EQ(m_prompt.messages.size(), 1);
    EXPECT_EQ(
        m_prompt.messages[0].text,
        QStringLiteral("Filen kunde inte sparas\n%1\nRad 1 i Medgivanden, fältet Konto/id-nummer: texten "
                       "'Id\u0142' innehåller tecknet '\u0142', som inte kan skrivas i en Autogirofil.\n"
                       "Ingen fil har skapats.")
            .arg(QDir::toNativeSeparators(chosen)));
    EXPECT_TRUE(QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(m_doc.DocModified);
}

TEST_F(SaveCommandTest, DocumentWithoutRowsReplacesTheFileWithAnEmptyOne)
{
    const QString chosen = filePath(QStringLiteral("emptied.ag"));
    WriteFileBytes(chosen, QByteArray(500, 'x'));
    m_doc.CurrentFile = chosen;
    m_prompt.saveFileNames = {chosen};

    EXPECT_TRUE(save());
    EXPECT_EQ(ReadFileBytes(chosen), QByteArray());
    EXPECT_FALSE(m_doc.DocModified);
}

namespace {
// A clock that changes the stored payee numbers every time it is asked, as another running copy
// of the program might while a file is being written.
class MeddlingClock : public Clock
{
public:
    QDate today() const override
    {
        ++m_calls;
        SettingsStore::setPayeeNumbers(
            {QStringLiteral("99999%1").arg(m_calls), QStringLiteral("9999999%1").arg(m_calls)});
        return QDate(2024, 3, 5);
    }

private:
    mutable int m_calls = 0;
};
} // namespace

TEST_F(SaveCommandTest, AllRecordsOfOneFileCarryTheNumbersReadWhenTheSaveStarted)
{
    addPayment();
    m_doc.MdgList.append(QStringLiteral("Medgivande på papper"),
                         {QStringLiteral("1"), QStringLiteral("5000-1"), QStringLiteral("19800101-1234")});
    m_doc.MakList.append(QStringLiteral("26"), QString(),
                         {QString(), QString(), QStringLiteral("2024-04-25"), QString(), QString()});
    const QString chosen = filePath(QStringLiteral("numbers.ag"));
    m_prompt.saveFileNames = {chosen};
    MeddlingClock clock;

    EXPECT_TRUE(SaveCommand(m_doc, m_view, m_prompt, clock).SparaBtnClick());
    const QList<QByteArray> lines = ReadFileBytes(chosen).split('\n');
    ASSERT_EQ(lines.size(), 7); // six records and the empty text after the last line end
    for (const QByteArray& line : lines.mid(0, 6)) {
        if (line.startsWith("01")) {
            EXPECT_EQ(line.mid(62, 16), QByteArray("1234560055555555")) << line.constData();
        } else if (line.startsWith("82")) {
            EXPECT_EQ(line.mid(43, 10), QByteArray("0055555555")) << line.constData();
        } else {
            EXPECT_EQ(line.mid(2, 10), QByteArray("0055555555")) << line.constData();
        }
    }
}

TEST_F(SaveCommandTest, WriteThatReallyFailsKeepsTheEarlierFileAndTheModifiedFlag)
{
    // A child process saves under a file-size limit, so the system refuses the write part-way,
    // exactly as on a full disk. The limit holds for root as well.
    const QString chosen = filePath(QStringLiteral("limited.ag"));
    const QByteArray earlier("01earlier file that must survive\r\n");
    WriteFileBytes(chosen, earlier);
    for (int i = 0; i < 5000; ++i)
        addPayment();
    m_prompt.saveFileNames = {chosen};

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = save();
        QByteArray report;
        report += saved ? '1' : '0';
        report += m_doc.DocModified ? '1' : '0';
        report += m_prompt.messages.isEmpty() ? QByteArray() : m_prompt.messages.last().text.toUtf8();
        const ssize_t written = write(pipeEnds[1], report.constData(), size_t(report.size()));
        _exit(written == report.size() ? 0 : 1);
    }
    close(pipeEnds[1]);
    QByteArray report;
    char chunk[4096];
    for (ssize_t n; (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        report.append(chunk, n);
    close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_GE(report.size(), 2);
    EXPECT_EQ(report[0], '0') << "the save reported success";
    EXPECT_EQ(report[1], '1') << "DocModified was cleared";
    const QString message = QString::fromUtf8(report.mid(2));
    EXPECT_TRUE(message.startsWith(QStringLiteral("Filen kunde inte sparas\n") + chosen + QLatin1Char('\n')))
        << qPrintable(message);
    EXPECT_TRUE(message.contains(QStringLiteral("File too large"))) << qPrintable(message);
    EXPECT_TRUE(message.endsWith(QStringLiteral("Den tidigare filen är oförändrad.")));
    EXPECT_EQ(ReadFileBytes(chosen), earlier);
    EXPECT_EQ(QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("limited.ag")});
}

TEST_F(SaveCommandTest, WriteProtectedFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    const QString chosen = filePath(QStringLiteral("protected.ag"));
    WriteFileBytes(chosen, QByteArray("protected\r\n"));
    QFile::setPermissions(chosen, QFile::ReadOwner);
    addPayment();
    m_prompt.saveFileNames = {chosen};

    EXPECT_FALSE(save());
    ASSERT_EQ(m_prompt.messages.size(), 1);
    EXPECT_TRUE(m_prompt.messages[0].text.startsWith(QStringLiteral("Filen kunde inte skapas\n")));
    EXPECT_EQ(ReadFileBytes(chosen), QByteArray("protected\r\n"));
    EXPECT_TRUE(m_doc.DocModified);
}

TEST_F(SaveCommandTest, StateAfterEachWayASaveCanEnd)
{
    enum class Ends
    {
        RefusedSettings,
        Cancelled,
        FailedCreate,
        UnwritableRow,
        Completed
    };
    struct Case
    {
        const char* what;
        Ends ends;
        bool movesToChosenFile; // CurrentFile and LastPath follow the chosen file
        bool staysModified;
    };
    const Case cases[] = {
        {"refused settings", Ends::RefusedSettings, false, true},
        {"cancelled dialog", Ends::Cancelled, false, true},
        {"file that cannot be created", Ends::FailedCreate, true, true},
        {"row that cannot be written", Ends::UnwritableRow, true, true},
        {"completed save", Ends::Completed, true, false},
    };
    const QString previousFile = filePath(QStringLiteral("old/previous.ag"));
    const QString previousFolder = filePath(QStringLiteral("old")) + QLatin1Char('/');
    const QString newFolder = filePath(QStringLiteral("new"));
    ASSERT_TRUE(QDir().mkpath(newFolder));
    for (const Case& c : cases) {
        TestEnvironment::instance().resetSettings();
        SettingsStore::setPayeeNumbers({QStringLiteral("123456"), c.ends == Ends::RefusedSettings
                                                                      ? QString()
                                                                      : QStringLiteral("55555555")});
        SettingsStore::setLastSaveFolder(previousFolder);
        m_doc.BtuList.clear();
        addPayment(c.ends == Ends::UnwritableRow ? QStringLiteral("2024-02-30")
                                                 : QStringLiteral("2024-03-05"));
        m_doc.CurrentFile = previousFile;
        m_doc.DocModified = true;
        const QString chosen = c.ends == Ends::FailedCreate
                                   ? filePath(QStringLiteral("missing/a.ag"))
                                   : QDir(newFolder).filePath(QStringLiteral("a.ag"));
        m_prompt = FakePrompt();
        m_prompt.saveFileNames = {c.ends == Ends::Cancelled ? QString() : chosen};

        EXPECT_EQ(save(), c.ends == Ends::Completed) << c.what;
        EXPECT_EQ(m_doc.CurrentFile, c.movesToChosenFile ? chosen : previousFile) << c.what;
        EXPECT_EQ(setting("LastPath"),
                  c.movesToChosenFile ? QFileInfo(chosen).path() + QLatin1Char('/') : previousFolder)
            << c.what;
        EXPECT_EQ(m_doc.DocModified, c.staysModified) << c.what;
        EXPECT_EQ(m_doc.BtuList.count(), 1) << c.what;
        EXPECT_EQ(QFileInfo::exists(chosen), c.ends == Ends::Completed) << c.what;
    }
}

TEST_F(SaveCommandTest, TheCheckBeforeSavingCanStopBothSaves)
{
    addPayment();
    const QString target = filePath(QStringLiteral("checked.ag"));
    for (const bool askForName : {true, false}) {
        SCOPED_TRACE(askForName ? "with a name asked" : "to the current file");
        m_doc.CurrentFile = askForName ? QString() : target;
        QFile::remove(target);
        m_prompt = FakePrompt();
        m_prompt.saveFileNames = {target};
        int asked = 0;
        bool allow = false;
        SaveCommand command(m_doc, m_view, m_prompt, m_clock);
        command.setCheckBeforeSaving([&] {
            ++asked;
            return allow;
        });
        const auto run = [&] { return askForName ? command.SparaBtnClick() : command.saveToCurrentFile(); };
        EXPECT_FALSE(run());
        EXPECT_TRUE(m_prompt.dialogs.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_TRUE(m_doc.DocModified);
        allow = true;
        EXPECT_TRUE(run());
        EXPECT_TRUE(QFileInfo::exists(target));
        EXPECT_EQ(asked, 2);
        m_doc.DocModified = true;
    }
}

// "Avbryt" in the save's progress leaves the earlier file, the document's
// name and its modified flag as they were, and says nothing more.
TEST_F(SaveCommandTest, StoppedSaveLeavesTheEarlierFileAndTheDocument)
{
    const QString chosen = filePath(QStringLiteral("kept.ag"));
    const QByteArray earlier("earlier contents\r\n");
    WriteFileBytes(chosen, earlier);
    for (int i = 0; i < 5000; ++i)
        addPayment();
    m_doc.CurrentFile = filePath(QStringLiteral("former.ag"));
    m_prompt.saveFileNames = {chosen};
    m_prompt.cancelProgressAtStep = 1;

    EXPECT_FALSE(save());
    EXPECT_EQ(m_prompt.progressLabels, QStringList(QStringLiteral("Sparar kept.ag …")));
    EXPECT_TRUE(m_prompt.messages.isEmpty());
    EXPECT_EQ(ReadFileBytes(chosen), earlier);
    EXPECT_EQ(QDir(m_files.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("kept.ag")));
    EXPECT_EQ(m_doc.CurrentFile, filePath(QStringLiteral("former.ag")));
    EXPECT_TRUE(m_doc.DocModified);
    EXPECT_EQ(m_prompt.busyDepth, 0);
}
