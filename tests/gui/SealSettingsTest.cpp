#include "support/TestSupport.h"

#include "app/OrderDocument.h"
#include "format/SealKeys.h"
#include "settings/SettingsCommand.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"
#include "support/FakeDocumentView.h"
#include "support/FakeKeyStore.h"
#include "support/GuiPrompt.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"1234567890ABCDEF1234567890ABCDEF"_s;

// Every settings file under the test's store that holds the key as text.
bool settingsHoldKey()
{
    QDirIterator it(TestEnvironment::instance().settingsFolder(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (ReadFileBytes(it.next()).contains(Key.toLatin1()))
            return true;
    }
    return false;
}

class SealSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        guiPrompt().clear();
        SealKeys::setKeyStore(&m_store);
        SealKeys::setKeyForNextSave(std::nullopt);
    }
    void TearDown() override { SealKeys::setKeyStore(nullptr); }

    // Opens the dialog, types the key, sets the switch and presses Ok; true when it was stored.
    bool enter(const QString& key, bool sealing, const std::function<void()>& check = {})
    {
        QTimer::singleShot(0, &m_form, [&] {
            m_form.BgNrEdit->setText(u"5050-1055"_s);
            m_form.SealKeyEdit->setFocus();
            m_form.SealKeyEdit->clear();
            QTest::keyClicks(m_form.SealKeyEdit, key);
            m_form.SealChk->setChecked(sealing);
            if (check)
                check();
            guiPrompt().answers.append(UserPrompt::Answer::Ok);
            QTest::mouseClick(m_form.SaveBtn, Qt::LeftButton);
            if (m_form.isVisible())
                m_form.reject();
        });
        return m_command.SettingsBtnClick();
    }

    FakeKeyStore m_store;
    OrderDocument m_document;
    FakeDocumentView m_view;
    TSettingsForm m_form;
    SettingsCommand m_command{m_document, m_view, m_form, guiPrompt()};
};

} // namespace

TEST_F(SealSettingsTest, TheKeyGoesToTheKeyringWithItsCheckValueShownAndClearingRemovesIt)
{
    EXPECT_TRUE(enter(u"1234567890abcdef 1234567890abcdef"_s, true,
                      [&] { EXPECT_EQ(m_form.KvvLabel->text(), u"FF365893D899291C3BF505FB3175E880"_s); }));
    EXPECT_TRUE(guiPrompt().messages.isEmpty());
    EXPECT_EQ(m_store.key, Key);
    EXPECT_TRUE(SealKeys::sealingOn());
    EXPECT_FALSE(settingsHoldKey());

    // The dialog comes back with the stored key; clearing it removes it from the keyring.
    EXPECT_TRUE(enter(QString(), false, [&] { EXPECT_EQ(m_form.LoadedSealKey, Key); }));
    EXPECT_EQ(m_store.removals, 1);
    EXPECT_TRUE(m_store.key.isEmpty());
    EXPECT_FALSE(SealKeys::sealingOn());
}

TEST_F(SealSettingsTest, AMalformedKeyKeepsTheDialogOpenAndStoresNothing)
{
    struct Case
    {
        QString key;
        bool sealing;
        QString message;
    };
    const Case cases[] = {
        {u"1234"_s, false, u"Sigillnyckeln ska ha 32 hexadecimala tecken, inte 4."_s},
        {QString(), true, u"Ange sigillnyckeln: 32 hexadecimala tecken (0-9 och A-F)."_s},
    };
    for (const Case& c : cases) {
        guiPrompt().messages.clear();
        EXPECT_FALSE(enter(c.key, c.sealing));
        ASSERT_EQ(guiPrompt().messages.size(), 1);
        EXPECT_EQ(guiPrompt().messages.first().text, c.message);
        EXPECT_TRUE(m_store.key.isEmpty());
    }
}

TEST_F(SealSettingsTest, WithoutAKeyringTheKeySealsTheNextSaveOnly)
{
    m_store.status = KeyStore::Status::Unavailable;
    EXPECT_TRUE(enter(Key, true, [&] {
        // Plain Swedish in the dialog; the keyring's own words only behind "Detaljer…".
        EXPECT_TRUE(m_form.KeyringLabel->isVisibleTo(&m_form));
        EXPECT_TRUE(m_form.KeyringLabel->text().startsWith(u"Ingen nyckelring hittades. "_s));
        EXPECT_FALSE(m_form.KeyringLabel->text().contains(FakeKeyStore::detail()));
        EXPECT_TRUE(m_form.KeyringDetailsBtn->isVisibleTo(&m_form));
        m_form.KeyringDetailsBtn->click();
        ASSERT_EQ(guiPrompt().messages.size(), 1);
        EXPECT_EQ(guiPrompt().messages.first().text, m_form.KeyringLabel->text());
        EXPECT_EQ(guiPrompt().messages.first().details, FakeKeyStore::detail());
        guiPrompt().messages.clear();
    }));
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_TRUE(guiPrompt().messages.first().text.startsWith(
        u"Sigillnyckeln kan inte sparas i nyckelringen. Ingen nyckelring hittades. "_s));
    EXPECT_EQ(guiPrompt().messages.first().details, FakeKeyStore::detail());
    ASSERT_TRUE(SealKeys::keyForNextSave().has_value());
    EXPECT_EQ(SealKeys::keyForNextSave()->text(), Key);
    EXPECT_FALSE(settingsHoldKey());
}
