// The tables below compare with plain UTF-8 literals.
#undef QT_NO_CAST_FROM_ASCII

#include "format/ReplacingFile.h"
#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "format/OrderFileWriter.h"
#include "format/SealOnSave.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class ReplacingFileTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return m_folder.filePath(name); }
    QStringList names() const
    {
        return QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir m_folder;
};

TEST_F(ReplacingFileTest, TemporaryNamesAreHiddenAndBelongToOneTarget)
{
    const struct
    {
        const char* name;
        bool belongs;
    } cases[] = {
        {".a.ag.valmo-x1Y2z3", true},  {".a.ag.valmo-12345", false}, {".a.ag.valmo-1234567", false},
        {".a.ag.valmo-12345.", false}, {"a.ag.valmo-123456", false}, {".b.ag.valmo-123456", false},
        {".a.ag.valmo-12345å", false}, {"a.ag.123456", false},       {".a.ag.valmo-../../", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplacingFile::isTemporaryNameFor(QString::fromUtf8(c.name), QStringLiteral("a.ag")),
                  c.belongs)
            << c.name;
}

TEST_F(ReplacingFileTest, ASaveRemovesLeftoversOfItsTargetOnlyAndLeavesNoneOfItsOwn)
{
    const QStringList leftovers = {".a.ag.valmo-abc123", ".a.ag.valmo-ZZZZZZ"};
    const QStringList others = {".b.ag.valmo-abc123", ".a.ag.valmo-abc12", "a.ag.abc123", "b.ag"};
    for (const QString& name : leftovers + others)
        WriteFileBytes(path(name), "old");
    WriteFileBytes(path("a.ag"), "earlier");
    ASSERT_EQ(::chmod(QFile::encodeName(path("a.ag")).constData(), 0640), 0);

    OrderDocument document;
    document.FillMakTexts();
    document.BtuList.append(QStringLiteral("Debitering"),
                            {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                             QStringLiteral("250,00"), QStringLiteral("1"), QStringLiteral("4711"),
                             QStringLiteral("Faktura 12")});
    const FixedClock clock(QDate(2024, 3, 1));
    SaveOrderFile(path("a.ag"), document, {QStringLiteral("123456"), QStringLiteral("55555555")}, clock);

    QStringList expected = others;
    expected << "a.ag";
    expected.sort();
    EXPECT_EQ(names(), expected);
    EXPECT_TRUE(ReadFileBytes(path("a.ag")).startsWith("01"));
    EXPECT_EQ(QFile(path("a.ag")).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
}

TEST_F(ReplacingFileTest, TheTargetChangesOnlyAtCommitAndALinkIsWrittenThrough)
{
    WriteFileBytes(path("real.ag"), "earlier");
    ASSERT_TRUE(QFile::link(path("real.ag"), path("link.ag")));
    for (const bool commit : {false, true}) {
        ReplacingFile file(path("link.ag"));
        ASSERT_TRUE(file.open()) << file.errorString().toStdString();
        ASSERT_TRUE(file.writeAll("new"));
        EXPECT_EQ(ReadFileBytes(path("real.ag")), "earlier");
        EXPECT_EQ(names().size(), 3) << "the temporary file beside the target";
        if (commit)
            ASSERT_TRUE(file.commit()) << file.errorString().toStdString();
        else
            file.cancel();
        EXPECT_EQ(ReadFileBytes(path("real.ag")), commit ? "new" : "earlier");
        EXPECT_EQ(names(), QStringList({"link.ag", "real.ag"}));
        EXPECT_TRUE(QFileInfo(path("link.ag")).isSymLink());
    }
    // A folder is no target; nothing is created beside it.
    QDir(m_folder.path()).mkdir("folder.ag");
    ReplacingFile folder(path("folder.ag"));
    EXPECT_FALSE(folder.open());
    EXPECT_EQ(names(), QStringList({"link.ag", "real.ag"}));
}

} // namespace
