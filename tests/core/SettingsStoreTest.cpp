#include "settings/SettingsStore.h"
#include "rules/ValmoError.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString Section = SettingsStore::section();

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        SettingsStore::setTestFolder(folder());
    }
    void TearDown() override
    {
        QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(iniPath()).removeRecursively(); // when a test made it a folder
        SettingsStore::setTestFolder(folder());
    }

    static QString folder() { return TestEnvironment::instance().settingsFolder(); }
    static QString iniPath() { return QDir(folder()).filePath(QStringLiteral("Valmo.ini")); }
    static void writeIni(const QByteArray& bytes) { WriteFileBytes(iniPath(), bytes); }
    static QString read(const QString& name, const QString& defaultValue = QStringLiteral("default"))
    {
        return ReadSetting(Section, name, defaultValue);
    }
};

QString settingsErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const SettingsError& error) {
        return error.text();
    }
    return QString();
}

// True when file permissions stop this process (they do not stop root).
bool permissionsBind(const QString& readOnlyFile)
{
    QFile file(readOnlyFile);
    return !file.open(QIODevice::WriteOnly | QIODevice::Append);
}

} // namespace

TEST_F(SettingsStoreTest, MissingOrEmptyValuesReadAsTheDefault)
{
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default")); // no file at all
    EXPECT_EQ(ReadSetting(Section, QStringLiteral("Tjänst"), QStringLiteral("Privat")),
              QStringLiteral("Privat"));

    writeIni("[Other]\nBgNr=123\n[Settings]\nKundNr=\nLastPath=\"\"\n");
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default")); // only in another section
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("default"));
    EXPECT_EQ(read(QStringLiteral("LastPath")), QStringLiteral("default"));
    EXPECT_EQ(ReadSetting(QStringLiteral("Other"), QStringLiteral("BgNr"), QString()), QStringLiteral("123"));

    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1234566"));
    WriteSetting(Section, QStringLiteral("BgNr"), QString());
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default"));

    writeIni(QByteArray());
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default"));
}

TEST_F(SettingsStoreTest, TextsAreKeptExactly)
{
    const QString texts[] = {
        QStringLiteral("012345"),
        QStringLiteral(" 12 "),
        QStringLiteral("  "),
        QStringLiteral("Företag"),
        QStringLiteral("a=b;c, d"),
        QStringLiteral("#not a comment"),
        QStringLiteral("@ByteArray(x)"),
        QStringLiteral("C:\\Users\\Åsa\\Autogirofiler\\"),
        QStringLiteral("/home/åsa/Autogirofiler/"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("two\nlines"),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        WriteSetting(Section, QStringLiteral("LastPath"), text);
        EXPECT_EQ(read(QStringLiteral("LastPath")), text);
    }
    // Other values are untouched by a write.
    WriteSetting(Section, QStringLiteral("KundNr"), QStringLiteral("012345"));
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1234566"));
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("012345"));
    EXPECT_EQ(read(QStringLiteral("LastPath")), QStringLiteral("two\nlines"));
}

TEST_F(SettingsStoreTest, ATextIsCutAtItsFirstNul)
{
    WriteSetting(Section, QStringLiteral("KundNr"), QStringLiteral("12") + QChar(0) + QStringLiteral("34"));
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("12"));
    WriteSetting(Section, QStringLiteral("KundNr"), QString(QChar(0)) + QStringLiteral("34"));
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("default"));
}

TEST_F(SettingsStoreTest, ServiceNameWithALetterAOfTheSwedishAlphabet)
{
    const QString service = QStringLiteral("Tjänst");
    WriteSetting(Section, service, QStringLiteral("Företag"));
    EXPECT_EQ(ReadSetting(Section, service, QStringLiteral("Privat")), QStringLiteral("Företag"));
    EXPECT_EQ(ReadSetting(Section, QStringLiteral("Tjanst"), QStringLiteral("Privat")),
              QStringLiteral("Privat"));

    // Another Qt program sees the same name.
    QSettings other(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(other.value(QStringLiteral("Settings/Tjänst")).toString(), QStringLiteral("Företag"));

    // A file written by hand in UTF-8 is read too.
    writeIni("[Settings]\nTj\xC3\xA4nst=Privat\n");
    EXPECT_EQ(ReadSetting(Section, service, QStringLiteral("x")), QStringLiteral("Privat"));
}

TEST_F(SettingsStoreTest, ServiceTypeIsPrivateUnlessAnotherTypeIsStored)
{
    const struct
    {
        const char* ini;
        bool privateService;
    } cases[] = {
        {"", true},
        {"[Settings]\nTj\xC3\xA4nst=\n", true},
        {"[Settings]\nTj\xC3\xA4nst=Privat\n", true},
        {"[Settings]\nTj\xC3\xA4nst=F\xC3\xB6retag\n", false},
        {"[Settings]\nTj\xC3\xA4nst=privat\n", false},
    };
    for (const auto& c : cases) {
        writeIni(c.ini);
        EXPECT_EQ(SettingsStore::readPrivateService(), c.privateService) << c.ini;
    }
    for (const bool privateService : {false, true}) {
        SettingsStore::writePrivateService(privateService);
        EXPECT_EQ(read(QStringLiteral("Tjänst")),
                  privateService ? QStringLiteral("Privat") : QStringLiteral("Företag"));
        EXPECT_EQ(SettingsStore::readPrivateService(), privateService);
    }
}

// The names and value forms of the stores that users already have: each value is read from them
// and written back under the same name.
TEST_F(SettingsStoreTest, EachValueKeepsTheNameOfExistingStores)
{
    using namespace SettingsStore;
    struct Case
    {
        const char* section;
        const char* name;
        std::function<QString()> read;
        std::function<void(const QString&)> write;
    };
    const auto flag = [](bool on) { return on ? QStringLiteral("Ja") : QStringLiteral("Nej"); };
    const Case cases[] = {
        {"Settings", "KundNr", customerNumber, setCustomerNumber},
        {"Settings", "BgNr", bankgiroNumber, setBankgiroNumber},
        {"Settings", "KundNr", [] { return payeeNumbers().customerNumber; },
         [](const QString& v) {
             setPayeeNumbers({v, QStringLiteral("1")});
         }},
        {"Settings", "BgNr", [] { return payeeNumbers().bankgiroNumber; },
         [](const QString& v) {
             setPayeeNumbers({QStringLiteral("1"), v});
         }},
        {"Settings", "LastPath", lastSaveFolder, setLastSaveFolder},
        {"Settings", "LastDir", lastOpenFolder, setLastOpenFolder},
        {"Import", "LastDir", lastImportFolder, setLastImportFolder},
        {"Import", "Kolumner", importColumns, setImportColumns},
        {"Settings", "Sigillering", [&] { return flag(sealingOn()); },
         [](const QString& v) { setSealingOn(v == QLatin1String("Ja")); }},
        {"Settings", "RecentFile2", [] { return recentFile(1); },
         [](const QString& v) { setRecentFile(1, v); }},
        {"Settings", "WindowGeometry", windowGeometry, setWindowGeometry},
        {"Settings", "ColumnsBtu", [] { return columnWidths(QStringLiteral("Btu")); },
         [](const QString& v) { setColumnWidths(QStringLiteral("Btu"), v); }},
        {"Settings", "BtuMdgShare", [] { return splitterShare(QStringLiteral("BtuMdg")); },
         [](const QString& v) { setSplitterShare(QStringLiteral("BtuMdg"), v); }},
    };
    for (const Case& c : cases) {
        const QString section = QString::fromLatin1(c.section);
        const QString name = QString::fromUtf8(c.name);
        for (const QString& value : {QStringLiteral("Ja"), QStringLiteral("Nej")}) {
            writeIni(QStringLiteral("[%1]\n%2=%3\n").arg(section, name, value).toUtf8());
            EXPECT_EQ(c.read(), value) << c.section << '/' << c.name;
            writeIni(QByteArray());
            c.write(value);
            EXPECT_EQ(ReadSetting(section, name, QString()), value) << c.section << '/' << c.name;
        }
    }
}

TEST_F(SettingsStoreTest, AValueWrittenByAnotherWriterIsSeenByTheNextRead)
{
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1111111"));
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("1111111"));

    {
        QSettings other(iniPath(), QSettings::IniFormat);
        other.setValue(QStringLiteral("Settings/BgNr"), QStringLiteral("2222222"));
        other.sync();
        ASSERT_EQ(other.status(), QSettings::NoError);
    }
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("2222222"));

    // Values of the same length written straight into the file, one after another, faster than the
    // file system's clock ticks: every read must see the latest one.
    for (int round = 0; round < 50; ++round) {
        const QByteArray digits = QByteArray(7, char('0' + round % 10));
        writeIni("[Settings]\nBgNr=" + digits + "\n");
        ASSERT_EQ(read(QStringLiteral("BgNr")), QString::fromLatin1(digits)) << "round " << round;
    }

    QFile::remove(iniPath());
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default"));
}

TEST_F(SettingsStoreTest, AValueThatIsNotTextIsRefused)
{
    const QByteArray files[] = {
        "[Settings]\nBgNr=1, 2\nKundNr=012345\n",
        "[Settings]\nBgNr=@ByteArray(1234566)\nKundNr=012345\n",
        "[Settings]\nBgNr=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nKundNr=012345\n",
        "[Settings]\nBgNr=@Invalid()\nKundNr=012345\n",
        "[Settings]\nBgNr=@Size(1 2)\nKundNr=012345\n",
    };
    for (const QByteArray& bytes : files) {
        SCOPED_TRACE(bytes.toStdString());
        writeIni(bytes);
        EXPECT_EQ(settingsErrorOf([] { read(QStringLiteral("BgNr")); }),
                  QStringLiteral("Inställningen 'BgNr' har fel datatyp och kan inte läsas"));
        EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("012345"));
    }
    // A quoted list is one text.
    writeIni("[Settings]\nBgNr=\"1, 2\"\n");
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("1, 2"));
}

TEST_F(SettingsStoreTest, AReadOnlySettingsFileRefusesTheWriteAndKeepsItsValues)
{
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1111111"));
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (!permissionsBind(iniPath()))
        GTEST_SKIP() << "file permissions do not stop this user (root); see SettingsPathThatCannotBeWritten";

    EXPECT_EQ(
        settingsErrorOf([] { WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("2222222")); }),
        QStringLiteral("Inställningen 'BgNr' kunde inte sparas"));
    // The refused value is not read back as if it had been stored.
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("1111111"));
    EXPECT_EQ(settingsErrorOf([] { WriteSetting(Section, QStringLiteral("KundNr"), QStringLiteral("1")); }),
              QStringLiteral("Inställningen 'KundNr' kunde inte sparas"));

    // Writable again: the refused value does not turn up with the next write.
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner));
    WriteSetting(Section, QStringLiteral("KundNr"), QStringLiteral("1"));
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("1111111"));
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("1"));
}

TEST_F(SettingsStoreTest, AReadOnlyFolderRefusesTheWrite)
{
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1111111"));
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
    const QString probe = QDir(folder()).filePath(QStringLiteral("probe"));
    QFile probeFile(probe);
    const bool folderWritable = probeFile.open(QIODevice::WriteOnly);
    probeFile.remove();
    if (folderWritable)
        GTEST_SKIP()
            << "folder permissions do not stop this user (root); see SettingsPathThatCannotBeWritten";

    // The file itself is writable, but it is only ever replaced whole.
    EXPECT_EQ(
        settingsErrorOf([] { WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("2222222")); }),
        QStringLiteral("Inställningen 'BgNr' kunde inte sparas"));
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("1111111"));

    // No settings file yet, and none can be made.
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString empty = QDir(folder()).filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(empty));
    ASSERT_TRUE(QFile::setPermissions(empty, QFile::ReadOwner | QFile::ExeOwner));
    SettingsStore::setTestFolder(empty);
    EXPECT_EQ(settingsErrorOf([] { WriteSetting(Section, QStringLiteral("KundNr"), QStringLiteral("1")); }),
              QStringLiteral("Inställningen 'KundNr' kunde inte sparas"));
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("default"));
    QFile::setPermissions(empty, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(empty).removeRecursively();
}

TEST_F(SettingsStoreTest, SettingsPathThatCannotBeWritten)
{
    // Ways of making the write fail that hold for root too.

    // The settings file's name is taken by a folder.
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("Valmo.ini")));
    EXPECT_EQ(
        settingsErrorOf([] { WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1234566")); }),
        QStringLiteral("Inställningen 'BgNr' kunde inte sparas"));
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default"));
    EXPECT_TRUE(QFileInfo(iniPath()).isDir());

    // The settings folder would have to be made inside a regular file.
    const QString regularFile = QDir(folder()).filePath(QStringLiteral("plain"));
    WriteFileBytes(regularFile, "not a folder");
    SettingsStore::setTestFolder(QDir(regularFile).filePath(QStringLiteral("Orvida")));
    EXPECT_EQ(settingsErrorOf([] { WriteSetting(Section, QStringLiteral("KundNr"), QStringLiteral("1")); }),
              QStringLiteral("Inställningen 'KundNr' kunde inte sparas"));
    EXPECT_EQ(read(QStringLiteral("KundNr")), QStringLiteral("default"));
    EXPECT_EQ(ReadFileBytes(regularFile), QByteArray("not a folder"));
}

TEST_F(SettingsStoreTest, MissingFoldersAreCreated)
{
    SettingsStore::setTestFolder(QDir(folder()).filePath(QStringLiteral("a/b")));
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("1234566"));
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("1234566"));
    EXPECT_TRUE(QFileInfo::exists(QDir(folder()).filePath(QStringLiteral("a/b/Valmo.ini"))));
    QDir(QDir(folder()).filePath(QStringLiteral("a"))).removeRecursively();
}

namespace {

TEST_F(SettingsStoreTest, TheMemoryStoreKeepsValuesWithoutAFile)
{
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("on disk"));
    SettingsStore::useMemoryStore();
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("default")); // starts empty
    WriteSetting(Section, QStringLiteral("BgNr"), QStringLiteral("12345674"));
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("12345674"));
    SettingsStore::useMemoryStore(false);
    EXPECT_EQ(read(QStringLiteral("BgNr")), QStringLiteral("on disk"));
}

} // namespace
