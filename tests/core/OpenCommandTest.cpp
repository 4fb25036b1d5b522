// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "format/OpenCommand.h"
#include "app/DocumentView.h"
#include "app/OrderDocument.h"
#include "format/FileShower.h"
#include "format/OrderFileReader.h"
#include "format/SettingsOpeningRecordPolicy.h"
#include "settings/SettingsStore.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Records every call with the document state at that moment.
class RecordingView : public DocumentView
{
public:
    explicit RecordingView(const OrderDocument& document) : m_document(document) {}
    void UpdateView(bool resizePanels) override
    {
        calls.append(QStringLiteral("UpdateView(%1)%2")
                         .arg(resizePanels ? "true" : "false", m_document.Loading ? " loading" : ""));
    }
    void showStartSection() override
    {
        calls.append(QStringLiteral("showStartSection%1").arg(m_document.Loading ? " loading" : ""));
    }
    QStringList calls;

private:
    const OrderDocument& m_document;
};

class RecordingShower : public FileShower
{
public:
    explicit RecordingShower(const OrderDocument& document) : m_document(document) {}
    void VisaBtnClick() override
    {
        shownFiles.append(m_document.CurrentFile);
        rowsWhenShown += m_document.BtuList.count() + m_document.MakList.count();
    }
    QStringList shownFiles;
    int rowsWhenShown = 0;

private:
    const OrderDocument& m_document;
};

QByteArray record(int position, const char* text)
{
    QByteArray line(80, ' ');
    line.replace(position - 1, int(qstrlen(text)), text);
    return line;
}

const QByteArray Opening = "0120240305AUTOGIRO                                            1234560055555555  ";
const QByteArray Payment = "82202403050    0000000000004711000000025000" + QByteArray(37, ' ');
// The question for a file of bankgiro number 1234-5674, customer number 42, with the fixture's settings.
const QString OtherPayeeQuestion =
    QStringLiteral("Kund- eller Bankgironummer stämmer inte med dina nuvarande inställningar.\n"
                   "Filen är skapad för bankgironummer 1234-5674, kundnummer 42. "
                   "Inställningarna har bankgironummer 5555-5555, kundnummer 123456.\n"
                   "Vill du att programmet uppdaterar dina inställningar?");
const QByteArray Cancellation = "0300555555550000000000004711" + QByteArray(52, ' ');

class OpenCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        SettingsStore::setPayeeNumbers({"123456", "55555555"});
        document.FillMakTexts();
    }

    QString makeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        WriteFileBytes(path, bytes);
        return path;
    }

    void open(const QString& path)
    {
        prompt.openFileNames = {path};
        command.OpenBtnClick();
    }

    void givePreviousRows()
    {
        document.BtuList.append("Debitering", {"", "", "", "", "", ""});
        document.CurrentFile = "previous.ag";
    }

    QTemporaryDir folder;
    OrderDocument document;
    FakePrompt prompt;
    RecordingView view{document};
    RecordingShower shower{document};
    OpenCommand command{document, view, prompt, shower};
};

TEST_F(OpenCommandTest, UnsavedChangesCancelledOrDialogCancelledChangeNothing)
{
    givePreviousRows();
    document.DocModified = true;
    prompt.answers = {UserPrompt::Answer::Cancel};
    command.OpenBtnClick();
    ASSERT_EQ(prompt.texts(), QStringList({OpenCommand::unsavedChangesQuestion()}));
    EXPECT_EQ(prompt.messages[0].buttons, UserPrompt::Buttons::OkCancel);
    EXPECT_EQ(prompt.messages[0].caption, "");
    EXPECT_TRUE(prompt.dialogs.isEmpty());

    prompt.answers = {UserPrompt::Answer::Ok};
    command.OpenBtnClick(); // the dialog is cancelled: no file name given
    EXPECT_EQ(prompt.dialogs.size(), 1);
    EXPECT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(document.CurrentFile, "previous.ag");
    EXPECT_TRUE(document.DocModified);
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_EQ(ReadSetting(SettingsStore::section(), "LastDir", "<none>"), "<none>");
}

TEST_F(OpenCommandTest, DialogStartsInTheLastFolderWithThePreviousChoice)
{
    const QString path = makeFile("a.ag", Opening + "\r\n");
    open(path);
    ASSERT_EQ(prompt.dialogs.size(), 1);
    EXPECT_EQ(prompt.dialogs[0].filters, OrderFileFilters());
    EXPECT_EQ(prompt.dialogs[0].defaultSuffix, "ag");
    EXPECT_FALSE(prompt.dialogs[0].initialFolder.isEmpty());
    EXPECT_EQ(ReadSetting(SettingsStore::section(), "LastDir", ""), QFileInfo(path).absolutePath());

    command.OpenBtnClick(); // cancelled
    ASSERT_EQ(prompt.dialogs.size(), 2);
    EXPECT_EQ(prompt.dialogs[1].initialFolder, QFileInfo(path).absolutePath());
    EXPECT_EQ(prompt.dialogs[1].initialFileName, path);
}

TEST_F(OpenCommandTest, AFileThatCannotBeOpenedIsNamedWithTheReason)
{
    const QString unreadable = makeFile(QStringLiteral("låst.ag"), Opening + "\r\n");
    QFile::setPermissions(unreadable, QFileDevice::WriteOwner);
    const bool permissionsHold = !QFileInfo(unreadable).isReadable(); // not so for a superuser
    const struct
    {
        QString path;
        QString reason;
    } cases[] = {
        {folder.filePath("saknas.ag"), QStringLiteral("Filen finns inte.")},
        {folder.path(), QStringLiteral("Det är en mapp, inte en vanlig fil. Bara vanliga filer kan öppnas.")},
        {unreadable, QStringLiteral("Du har inte behörighet att läsa filen.")},
    };
    for (const auto& c : cases) {
        if (c.path == unreadable && !permissionsHold)
            continue;
        prompt.messages.clear();
        open(c.path);
        EXPECT_EQ(prompt.texts(), QStringList({QStringLiteral("Filen kunde inte öppnas: ") +
                                               QDir::toNativeSeparators(c.path) + "\n" + c.reason}));
        EXPECT_FALSE(document.hasRows());
    }
}

TEST_F(OpenCommandTest, AFileThatCannotBeOpenedLeavesTheDocumentAlone)
{
    givePreviousRows();
    document.CurrentFile = "previous.ag";
    const QString path = folder.filePath("missing.ag");
    open(path);
    EXPECT_EQ(prompt.texts(), QStringList({OpenCommand::cannotOpenMessage() + ": " +
                                           QDir::toNativeSeparators(path) + "\nFilen finns inte."}));
    EXPECT_EQ(prompt.messages[0].caption, "");
    EXPECT_EQ(document.BtuList.count(), 1);
    // The rows still belong to the previous file: a save or "Visa fil" must not aim at the file
    // that could not be opened.
    EXPECT_EQ(document.CurrentFile, "previous.ag");
    EXPECT_FALSE(document.Loading);
    EXPECT_EQ(prompt.busyCount, 0);
}

TEST_F(OpenCommandTest, ACompletedOpenFillsTheListsAndLaysOutTwice)
{
    givePreviousRows();
    document.DocModified = true;
    prompt.answers = {UserPrompt::Answer::Ok};
    const QString path = makeFile("order.ag", Opening + "\r\n" + Cancellation + "\r\n" + Opening + "\r\n" +
                                                  Payment + "\r\n" + Payment + "\r\n");
    open(path);
    EXPECT_EQ(prompt.texts(), QStringList({OpenCommand::unsavedChangesQuestion()}));
    EXPECT_EQ(document.BtuList.count(), 2);
    EXPECT_EQ(document.MakCodes(), QStringList({"3"}));
    EXPECT_EQ(document.CurrentFile, path);
    EXPECT_FALSE(document.DocModified);
    EXPECT_FALSE(document.Loading);
    EXPECT_EQ(view.calls, QStringList({"showStartSection loading", "UpdateView(true)", "UpdateView(true)"}));
    EXPECT_TRUE(shower.shownFiles.isEmpty());
    EXPECT_EQ(prompt.busyCount, 1);
    EXPECT_EQ(prompt.busyDepth, 0);
}

TEST_F(OpenCommandTest, FilesThatLoadKeepTheirNameAndAskNothing)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int payments;
        int changes;
    };
    const QByteArray crlf = "\r\n";
    const QList<Case> cases = {
        {"only an opening record that matches the settings", Opening + crlf, 0, 0},
        {"payments without an opening record", Payment + crlf + Payment + crlf, 2, 0},
        {"three sections, each opening record matching",
         Opening + crlf + Cancellation + crlf + Opening + crlf + Payment + crlf + Opening + crlf +
             record(1, "26") + crlf,
         1, 2},
        {"Ctrl-Z after the last line end", Payment + crlf + "\x1a", 1, 0},
        {"codes 20 to 22 and 2 alone",
         record(1, "20") + crlf + record(1, "21") + crlf + record(1, "22") + crlf + "2", 0, 4},
    };
    for (const Case& c : cases) {
        givePreviousRows();
        document.DocModified = false;
        prompt.messages.clear();
        view.calls.clear();
        const QString path = makeFile("loaded.ag", c.bytes);
        open(path);
        EXPECT_TRUE(prompt.messages.isEmpty()) << c.name << ": " << prompt.texts().join("|").toStdString();
        EXPECT_EQ(document.BtuList.count(), c.payments) << c.name;
        EXPECT_EQ(document.MakList.count(), c.changes) << c.name;
        EXPECT_EQ(document.CurrentFile, path) << c.name;
        EXPECT_FALSE(document.Loading) << c.name;
        EXPECT_TRUE(shower.shownFiles.isEmpty()) << c.name;
        EXPECT_EQ(view.calls,
                  QStringList({"showStartSection loading", "UpdateView(true)", "UpdateView(true)"}))
            << c.name;
    }
}

TEST_F(OpenCommandTest, AnEmptyFileGivesAnEmptyDocumentWithItsName)
{
    const QString path = makeFile("empty.ag", "");
    open(path);
    EXPECT_FALSE(document.hasRows());
    EXPECT_EQ(document.CurrentFile, path);
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(OpenCommandTest, FilesThatCannotBeEditedAreShownInstead)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QList<UserPrompt::Answer> answers;
        QStringList texts;
        QString caption;
        UserPrompt::Icon icon;
    };
    const QString title = ApplicationTitle();
    const QList<Case> cases = {
        {"report",
         Payment + "\r\n" + record(1, "0120240305        9900") + "\r\n",
         {},
         {OrderFileReader::reportFileMessage()},
         title,
         UserPrompt::Icon::None},
        {"newer report layout",
         record(1, "01AUTOGIRO") + "\r\n",
         {},
         {OrderFileReader::reportFileMessage()},
         title,
         UserPrompt::Icon::None},
        {"incoming mandates",
         Payment + "\r\n" + record(1, "51") + "\r\n",
         {},
         {OrderFileReader::incomingMandatesMessage()},
         "",
         UserPrompt::Icon::None},
        {"third line unknown",
         Payment + "\r\n" + Payment + "\r\n" + record(1, "05") + "\r\n",
         {},
         {OrderFileReader::unsupportedContentMessage()},
         "",
         UserPrompt::Icon::None},
        {"blank line between records",
         Payment + "\r\n\r\n" + Payment + "\r\n",
         {},
         {OrderFileReader::unsupportedContentMessage()},
         "",
         UserPrompt::Icon::None},
        {"line that cannot be converted",
         Payment + "\r\n" + record(1, "8220241301") + "\r\n",
         {},
         {OrderFileReader::unreadableLineMessage("'2024-13-01' är inte ett giltigt datum", 2)},
         title,
         UserPrompt::Icon::Error},
        {"other payee declined",
         record(1, "0120240305AUTOGIRO                                            0000420012345674") +
             "\r\n" + Payment + "\r\n",
         {UserPrompt::Answer::Cancel},
         {OtherPayeeQuestion},
         "",
         UserPrompt::Icon::None},
    };
    for (const Case& c : cases) {
        givePreviousRows();
        document.DocModified = false;
        prompt.messages.clear();
        view.calls.clear();
        shower.shownFiles.clear();
        prompt.answers = c.answers;
        const QString path = makeFile("shown.ag", c.bytes);
        open(path);
        EXPECT_EQ(prompt.texts(), c.texts) << c.name;
        ASSERT_FALSE(prompt.messages.isEmpty()) << c.name;
        EXPECT_EQ(prompt.messages.last().caption, c.caption) << c.name;
        EXPECT_EQ(prompt.messages.last().icon, c.icon) << c.name;
        EXPECT_EQ(shower.shownFiles, QStringList({path})) << c.name << ": shown while the name was set";
        EXPECT_EQ(shower.rowsWhenShown, 0) << c.name << ": emptied before it was shown";
        EXPECT_FALSE(document.hasRows()) << c.name;
        EXPECT_TRUE(document.CurrentFile.isEmpty()) << c.name;
        EXPECT_FALSE(document.Loading) << c.name;
        EXPECT_EQ(view.calls, QStringList({"showStartSection loading", "UpdateView(false)"})) << c.name;
        EXPECT_EQ(prompt.busyDepth, 0) << c.name;
        for (const FakePrompt::Message& message : prompt.messages)
            EXPECT_EQ(message.busyDepth, 0) << c.name << ": a message box under a wait cursor";
    }
    EXPECT_EQ(ReadSetting(SettingsStore::section(), "BgNr", ""), "55555555");
}

// Every report the bank publishes as an example, as it is, with the title line the bank prints above
// it or with the byte-order mark an editor writes, goes to the presenter with the notice for its kind.
TEST_F(OpenCommandTest, EveryBankExampleReportIsShownInThePresenter)
{
    const QStringList reports = {
        "autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt",
        "autogiro_gl_betalningar-stoppadebetalningar-tackningskontroll_fran-bankgirot-medgivanden-"
        "bankgironummer_exempelfil_sv.txt",
        "autogiro_exempelfiler_medgivandeavisering_sv.txt",
        "autogiro_gl_exempelfil_medgivandeavisering_fran-bankgirot-medgivanden-kontonummer_exemeplfil_sv.txt",
        "autogiro_gl_medgivandeavisering_fran-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt",
        "autogiro_exempelfilavvisade_betalningsuppdrag_sv.txt",
        "autogiro_gl_avvisadebetaln_fran-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt",
        "autogiro_gl_exempelfil_avvisadebetalningar_fran-bankgirot-medgivanden-kontonummer_exemeplfil_sv.txt",
        "autogiro_exempelfilermakuleringar_andringar-av-betalningar_sv.txt",
        "autogiro_gl_exempelfil_makulering-andring_fran-bankgirot-medgivanden-kontonummer_exempelfil_sv.txt",
        "autogiro_exempelfilutdrag-ur-bevakningsregistret_sv.txt",
        "autogiro_exempelfil-utdrag-ur-medgivanderegistret_sv.txt",
        "utdrag-ur-medgivanderegistret_gammal-layout.txt",
        "autogiro_exempelfil_nya_medgivanden_via_internetbank_sv.txt",
        "autogiro_gl_medgivanden_via_internetbanken_exempelfil_fran-bankgirot.txt",
    };
    for (const QString& name : reports) {
        const QByteArray bytes = ReadFileBytes(QStringLiteral(VALMO_TEST_DATA "/bank/") + name);
        const QString expected = name.contains("internetbank") ? OrderFileReader::incomingMandatesMessage()
                                                               : OrderFileReader::reportFileMessage();
        const QByteArray longTitle = "Exempelfil " + QByteArray(90, '-') + "\r\n";
        for (const QByteArray& title :
             {QByteArray(), QByteArray("Exempelfil\r\n\r\n"), longTitle,
              QByteArray("2008-06-11 Exempelfil\r\n\r\n"), QByteArray("\xEF\xBB\xBF")}) {
            prompt.messages.clear();
            shower.shownFiles.clear();
            const QString path = makeFile(name, title + bytes);
            open(path);
            EXPECT_EQ(prompt.texts(), QStringList({expected}))
                << name.toStdString() << (title.isEmpty() ? "" : " with title");
            EXPECT_EQ(shower.shownFiles, QStringList({path})) << name.toStdString();
        }
    }
}

TEST_F(OpenCommandTest, AdoptingAnotherPayeesNumbersLoadsTheFile)
{
    prompt.answers = {UserPrompt::Answer::Ok};
    const QString path =
        makeFile("other.ag", record(1, "0120240305AUTOGIRO").replace(62, 16, "0000420012345674") + "\r\n" +
                                 Payment + "\r\n");
    open(path);
    EXPECT_EQ(prompt.texts(), QStringList({OtherPayeeQuestion}));
    EXPECT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(document.CurrentFile, path);
    EXPECT_EQ(ReadSetting(SettingsStore::section(), "BgNr", ""), "12345674");
    EXPECT_EQ(ReadSetting(SettingsStore::section(), "KundNr", ""), "42");
    EXPECT_EQ(prompt.busyDepth, 0);
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(prompt.messages[0].busyDepth, 0);
}

TEST_F(OpenCommandTest, ALaterRowMakesTheLayoutWorkAgainAfterShowingInstead)
{
    open(makeFile("report.ag", record(1, "01AUTOGIRO") + "\r\n"));
    EXPECT_FALSE(document.Loading);
    open(makeFile("good.ag", Payment + "\r\n"));
    EXPECT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(view.calls.mid(view.calls.size() - 2), QStringList({"UpdateView(true)", "UpdateView(true)"}));
}

// The program started with a file: the steps after the dialog, without any question first.
TEST_F(OpenCommandTest, OpeningANamedFileActsAsIfItHadBeenChosen)
{
    // The working folder comes back without symbolic links, so the expected paths must too.
    const QString base = QDir(folder.path()).canonicalPath();
    const QString good =
        QFileInfo(makeFile("named.ag", Opening + "\r\n" + Payment + "\r\n")).canonicalFilePath();
    const QString report =
        QFileInfo(makeFile("report.ag", record(1, "01AUTOGIRO") + "\r\n")).canonicalFilePath();
    struct Case
    {
        const char* name;
        QString path; // relative paths are relative to the working folder
        QStringList texts;
        int payments;
        QString currentFile;
        QStringList shown;
    };
    const QList<Case> cases = {
        {"absolute path", good, {}, 1, good, {}},
        {"relative path", "named.ag", {}, 1, good, {}},
        {"relative path with folders", "./sub/../named.ag", {}, 1, good, {}},
        {"missing file", "missing.ag",
         {OpenCommand::cannotOpenMessage() + ": " + QDir::toNativeSeparators(QDir(base).filePath("missing.ag")) +
          "\nFilen finns inte."},
         0, "", {}},
        {"report file", "report.ag", {OrderFileReader::reportFileMessage()}, 0, "", {report}},
    };
    QDir(folder.path()).mkdir("sub");
    const QString previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(base));
    for (const Case& c : cases) {
        document.clearLists();
        document.CurrentFile.clear();
        document.DocModified = false;
        prompt.messages.clear();
        prompt.dialogs.clear();
        shower.shownFiles.clear();
        TestEnvironment::instance().resetSettings();
        SettingsStore::setPayeeNumbers({"123456", "55555555"});

        command.openPath(c.path);
        EXPECT_TRUE(prompt.dialogs.isEmpty()) << c.name;
        EXPECT_EQ(prompt.texts(), c.texts) << c.name;
        EXPECT_EQ(document.BtuList.count(), c.payments) << c.name;
        EXPECT_EQ(document.CurrentFile, c.currentFile) << c.name;
        EXPECT_EQ(shower.shownFiles, c.shown) << c.name;
        EXPECT_FALSE(document.Loading) << c.name;
        EXPECT_EQ(prompt.busyDepth, 0) << c.name;
        EXPECT_EQ(ReadSetting(SettingsStore::section(), "LastDir", ""), base) << c.name;
    }
    QDir::setCurrent(previousFolder);

    // The open dialog then comes up with the named file filled in.
    command.OpenBtnClick();
    ASSERT_EQ(prompt.dialogs.size(), 1);
    EXPECT_EQ(QFileInfo(prompt.dialogs[0].initialFileName).fileName(), "report.ag");
    EXPECT_TRUE(QFileInfo(prompt.dialogs[0].initialFileName).isAbsolute());
}

TEST_F(OpenCommandTest, MandatesOfTheOtherServiceOfferASwitch)
{
    const QByteArray companyMandates = Opening + "\r\n" + record(1, "0400555555550000000001234567") + "\r\n";
    const QByteArray both =
        companyMandates + record(1, "0400555555550000000000000042500000000123456719800101") + "\r\n";
    const QString needsCompany =
        OpenCommand::switchServiceQuestion(OrderFileReader::serviceMismatchMessage(false), false);
    const struct
    {
        const char* name;
        QByteArray bytes;
        UserPrompt::Answer answer;
        QStringList texts;
        bool loaded;
        bool privateAfter;
    } cases[] = {
        {"switched", companyMandates, UserPrompt::Answer::Ok, {needsCompany}, true, false},
        {"declined: shown read-only",
         companyMandates,
         UserPrompt::Answer::Cancel,
         {needsCompany},
         false,
         true},
        {"both kinds: shown read-only",
         both,
         UserPrompt::Answer::Ok,
         {needsCompany, OpenCommand::mixedServicesMessage()},
         false,
         true},
    };
    for (const auto& c : cases) {
        SettingsStore::writePrivateService(true);
        document.PrivateService = true;
        prompt.messages.clear();
        shower.shownFiles.clear();
        prompt.answers = {c.answer};
        open(makeFile("mandates.ag", c.bytes));
        EXPECT_EQ(prompt.texts(), c.texts) << c.name;
        EXPECT_EQ(document.MdgListComp.count(), c.loaded ? 1 : 0) << c.name;
        EXPECT_EQ(shower.shownFiles.isEmpty(), c.loaded) << c.name;
        EXPECT_EQ(document.PrivateService, c.privateAfter) << c.name;
        EXPECT_EQ(SettingsStore::readPrivateService(), c.privateAfter) << c.name;
    }
}

TEST_F(OpenCommandTest, AFileInUtf8IsReadAsUtf8AndTheUserIsToldOnce)
{
    const QByteArray payment = "82202403050    0000000000004711000000025000" + QByteArray(10, ' ') +
                               "\xc3\x85RSKORT \xc3\xa4" + QByteArray(17, ' ');
    open(makeFile("utf8.ag", Opening + "\r\n" + payment + "\r\n" + payment + "\r\n"));
    EXPECT_EQ(prompt.texts(), QStringList({OrderFileReader::utf8Notice()}));
    ASSERT_EQ(document.BtuList.count(), 2);
    EXPECT_EQ(document.BtuList[1].text(6), "ÅRSKORT ä");

    prompt.messages.clear();
    open(makeFile("cp1252.ag", Opening + "\r\n" + Payment.left(53) + "\xc5RSKORT \xe4\r\n"));
    EXPECT_TRUE(prompt.messages.isEmpty());
    ASSERT_EQ(document.BtuList.count(), 1);
    EXPECT_EQ(document.BtuList[0].text(6), "ÅRSKORT ä");
}

} // namespace

TEST_F(OpenCommandTest, OnlyRegularFilesAreOpenedAndOthersAreRefusedAtOnce)
{
    // A FIFO with no writer would block the open for ever; the test would then hit its timeout.
    const QString fifo = folder.filePath("pipe.ag");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString subfolder = folder.filePath("folder.ag");
    QDir(folder.path()).mkdir("folder.ag");
    const struct
    {
        QString path;
        QString kind;
    } cases[] = {
        {fifo, "en namngiven rörledning (FIFO)"},
        {subfolder, "en mapp"},
        {"/dev/zero", "en enhet"},
    };
    for (const auto& c : cases) {
        document.clearLists();
        givePreviousRows();
        prompt.messages.clear();
        command.openPath(c.path);
        ASSERT_EQ(prompt.texts(), QStringList({OpenCommand::notAFileMessage(c.path, c.kind)}))
            << c.kind.toStdString();
        EXPECT_TRUE(prompt.texts()[0].contains(c.path)) << c.kind.toStdString();
        EXPECT_EQ(document.BtuList.count(), 1) << c.kind.toStdString();
        EXPECT_EQ(document.CurrentFile, "previous.ag") << c.kind.toStdString();
        EXPECT_TRUE(shower.shownFiles.isEmpty()) << c.kind.toStdString();
    }
}

// "Avbryt" in the progress of a long reading: the document stays as it was, rows, file name,
// modified state and service alike; a reading let run to its end takes the whole file.
TEST_F(OpenCommandTest, AStoppedReadingLeavesThePreviousDocumentAsItWas)
{
    const int lines = 3 * OrderFileReader::LinesPerStep;
    QByteArray payments = Opening + "\r\n";
    for (int line = 1; line < lines; ++line)
        payments += Payment + "\r\n";
    QByteArray companyMandates = Opening + "\r\n";
    for (int line = 1; line < lines; ++line)
        companyMandates += record(1, "0400555555550000000001234567") + "\r\n";
    const struct
    {
        const char* name;
        QByteArray bytes;
        int cancelAtStep;
        bool modified;
        bool loaded;
    } cases[] = {
        {"stopped at the first step", payments, 1, false, false},
        {"stopped at the last step, unsaved changes", payments, 3, true, false},
        {"stopped after switching the service", companyMandates, 1, false, false},
        {"read to its end", payments, 0, true, true},
    };
    for (const auto& c : cases) {
        SettingsStore::writePrivateService(true);
        document.PrivateService = true;
        document.clearLists();
        givePreviousRows();
        document.DocModified = c.modified;
        prompt.clear();
        prompt.answers = {UserPrompt::Answer::Ok, UserPrompt::Answer::Ok};
        prompt.cancelProgressAtStep = c.cancelAtStep;
        view.calls.clear();
        const QString path = makeFile("big.ag", c.bytes);
        open(path);
        EXPECT_FALSE(prompt.progressLabels.isEmpty()) << c.name;
        EXPECT_FALSE(document.Loading) << c.name;
        EXPECT_TRUE(shower.shownFiles.isEmpty()) << c.name;
        EXPECT_TRUE(document.PrivateService) << c.name;
        EXPECT_TRUE(SettingsStore::readPrivateService()) << c.name;
        if (c.loaded) {
            EXPECT_EQ(document.BtuList.count(), lines - 1) << c.name;
            EXPECT_EQ(document.CurrentFile, path) << c.name;
            EXPECT_FALSE(document.DocModified) << c.name;
            continue;
        }
        EXPECT_EQ(document.BtuList.count(), 1) << c.name;
        EXPECT_FALSE(document.MdgListComp.count()) << c.name;
        EXPECT_EQ(document.CurrentFile, "previous.ag") << c.name;
        EXPECT_EQ(document.DocModified, c.modified) << c.name;
        EXPECT_EQ(view.calls, QStringList({"UpdateView(false)"})) << c.name;
    }
}
