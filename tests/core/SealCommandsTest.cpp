#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "format/FileShower.h"
#include "format/OpenCommand.h"
#include "format/OrderFileWriter.h"
#include "format/SaveCommand.h"
#include "format/Seal.h"
#include "format/SealKeys.h"
#include "format/SealOnOpen.h"
#include "format/SealOnSave.h"
#include "settings/SettingsStore.h"
#include "support/FakeDocumentView.h"
#include "support/FakeKeyStore.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using Answer = UserPrompt::Answer;
const SealKey Key = *SealKey::fromText(QStringLiteral("1234567890ABCDEF1234567890ABCDEF"));
const SealKey OtherKey = *SealKey::fromText(QStringLiteral("00112233445566778899AABBCCDDEEFF"));

class NoShower : public FileShower
{
public:
    void VisaBtnClick() override { ++shown; }
    int shown = 0;
};

class SealCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("55555555")});
        SealKeys::setSealingOn(true);
        m_store.key = Key.text();
        SealKeys::setKeyStore(&m_store);
        SealKeys::setKeyForNextSave(std::nullopt);
        m_doc.FillMakTexts();
        m_doc.BtuList.append(QStringLiteral("Debitering"),
                             {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                              QStringLiteral("250,00"), QStringLiteral("1"), QStringLiteral("4711"),
                              QStringLiteral("Åsa Öberg")});
    }
    void TearDown() override { SealKeys::setKeyStore(nullptr); }

    QString path(const QString& name) const { return QDir(m_files.path()).filePath(name); }
    bool save(const QString& name) { return save(name, m_doc); }
    bool save(const QString& name, OrderDocument& doc)
    {
        m_prompt.saveFileNames = {path(name)};
        return SaveCommand(doc, m_view, m_prompt, m_clock).SparaBtnClick();
    }
    QByteArray unsealed()
    {
        SaveOrderFile(path(QStringLiteral("plain.ag")), m_doc,
                      PayeeNumbers{QStringLiteral("123456"), QStringLiteral("55555555")}, m_clock);
        return ReadFileBytes(path(QStringLiteral("plain.ag")));
    }
    // Opens into a fresh document; the number of its payment rows, or -1 when it stayed empty.
    int open(const QString& file)
    {
        m_opened = std::make_unique<OrderDocument>();
        m_opened->FillMakTexts();
        OpenCommand(*m_opened, m_view, m_prompt, m_shower).openPath(file);
        return m_opened->CurrentFile.isEmpty() ? -1 : m_opened->BtuList.count();
    }

    QTemporaryDir m_files;
    FakeKeyStore m_store;
    OrderDocument m_doc;
    std::unique_ptr<OrderDocument> m_opened;
    FakeDocumentView m_view;
    FakePrompt m_prompt;
    NoShower m_shower;
    FixedClock m_clock{QDate(2026, 12, 8)};
};

} // namespace

TEST_F(SealCommandsTest, SavesSealedWithTodaysDateOpensWithoutRowsOfItsOwnAndSealsAfresh)
{
    const QByteArray records = unsealed();
    ASSERT_TRUE(save(QStringLiteral("a.ag")));
    EXPECT_EQ(ReadFileBytes(path(QStringLiteral("a.ag"))), Seal::SealedFile(records, Key, m_clock.today()));
    EXPECT_TRUE(m_prompt.messages.isEmpty());

    EXPECT_EQ(open(path(QStringLiteral("a.ag"))), 1);
    EXPECT_TRUE(m_prompt.messages.isEmpty());
    EXPECT_TRUE(m_opened->MdgList.isEmpty() && m_opened->MakList.isEmpty());

    m_clock.setDate(QDate(2027, 1, 4));
    ASSERT_TRUE(save(QStringLiteral("a.ag"), *m_opened));
    const Seal::Contents again = Seal::Read(ReadFileBytes(path(QStringLiteral("a.ag"))));
    EXPECT_EQ(again.date, QDate(2027, 1, 4));
    EXPECT_EQ(Seal::Verify(again, Key), Seal::Check::Matches);
    EXPECT_FALSE(again.orderBytes.contains("HMAC"));
}

TEST_F(SealCommandsTest, WithoutAKeyTheUserMaySaveUnsealedOrStop)
{
    struct Case
    {
        KeyStore::Status status;
        QString problem;
        Answer answer;
    };
    const Case cases[] = {
        {KeyStore::Status::NotFound, QStringLiteral("ingen sigillnyckel är sparad"), Answer::Cancel},
        {KeyStore::Status::Unavailable, QStringLiteral("nyckelringen inte kan nås (borta)"), Answer::Ok},
    };
    for (const Case& c : cases) {
        m_store.status = c.status;
        m_prompt = FakePrompt();
        m_prompt.answers = {c.answer};
        QFile::remove(path(QStringLiteral("b.ag")));

        EXPECT_EQ(save(QStringLiteral("b.ag")), c.answer == Answer::Ok);
        ASSERT_EQ(m_prompt.texts(), QStringList{SealOnSave::noKeyQuestion(c.problem)});
        // The question comes before the file dialog.
        EXPECT_EQ(m_prompt.dialogs.size(), c.answer == Answer::Ok ? 1 : 0);
        EXPECT_EQ(QFileInfo::exists(path(QStringLiteral("b.ag"))), c.answer == Answer::Ok);
    }
    EXPECT_EQ(ReadFileBytes(path(QStringLiteral("b.ag"))), unsealed());
}

TEST_F(SealCommandsTest, AKeyTypedWhenTheKeyringIsAwaySealsOneSave)
{
    m_store.status = KeyStore::Status::Unavailable;
    SealKeys::setKeyForNextSave(OtherKey);
    ASSERT_TRUE(save(QStringLiteral("c.ag")));
    EXPECT_EQ(Seal::Verify(Seal::Read(ReadFileBytes(path(QStringLiteral("c.ag")))), OtherKey),
              Seal::Check::Matches);
    EXPECT_FALSE(SealKeys::keyForNextSave().has_value());
    m_prompt.answers = {Answer::Cancel};
    EXPECT_FALSE(save(QStringLiteral("c.ag")));
}

TEST_F(SealCommandsTest, OpeningChecksTheSealAndAsksBeforeOpeningAChangedFile)
{
    using Check = Seal::Check;
    const QByteArray sealed = Seal::SealedFile(unsealed(), Key, m_clock.today());
    QByteArray changed = sealed;
    changed.replace("0000025000", "0000925000");
    struct Case
    {
        QByteArray file;
        KeyStore::Status status;
        Answer answer;
        Check check;
        int rows;
    };
    const Case cases[] = {
        {sealed, KeyStore::Status::Done, Answer::Ok, Check::Matches, 1},
        {sealed, KeyStore::Status::NotFound, Answer::Ok, Check::Unsealed, 1}, // not checked
        {changed, KeyStore::Status::Done, Answer::Cancel, Check::Changed, -1},
        {changed, KeyStore::Status::Done, Answer::Ok, Check::Changed, 1},
        {Seal::SealedFile(unsealed(), OtherKey, m_clock.today()), KeyStore::Status::Done, Answer::Cancel,
         Check::OtherKey, -1},
        {sealed.left(sealed.lastIndexOf("99")), KeyStore::Status::Done, Answer::Cancel, Check::Damaged, -1},
        // What follows the seal record is found without a key, and is never opened unasked.
        {sealed + "\x1a" + unsealed().right(82), KeyStore::Status::NotFound, Answer::Cancel,
         Check::TextAfterSeal, -1},
    };
    for (const Case& c : cases) {
        m_store.status = c.status;
        m_prompt = FakePrompt();
        m_prompt.answers = {c.answer};
        WriteFileBytes(path(QStringLiteral("d.ag")), c.file);
        QStringList messages;
        if (c.check == Check::Unsealed)
            messages = {SealOnOpen::notCheckedMessage(QStringLiteral("ingen sigillnyckel är sparad"))};
        else if (c.check != Check::Matches)
            messages = {SealOnOpen::openAnywayQuestion(Seal::CheckText(c.check, Seal::Read(c.file)))};

        EXPECT_EQ(open(path(QStringLiteral("d.ag"))), c.rows);
        EXPECT_EQ(m_prompt.texts(), messages);
        if (c.rows == 1)
            EXPECT_EQ(m_opened->BtuList.row(0).text(3),
                      c.file == changed ? QStringLiteral("9\u00a0250,00") : QStringLiteral("250,00"));
    }
    EXPECT_EQ(m_shower.shown, 0);
}
