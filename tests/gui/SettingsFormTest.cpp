#include "support/TestSupport.h"

#include "app/OrderDocument.h"
#include "register/RegisterDatabase.h"
#include "settings/RegisterFileField.h"
#include "settings/SettingsCommand.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"
#include "support/FakeDocumentView.h"
#include "support/GuiPrompt.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace Qt::StringLiterals;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QString stored(const QString& name)
{
    return ReadSetting(SettingsStore::section(), name, u"<missing>"_s);
}

void store(const QString& name, const QString& value)
{
    WriteSetting(SettingsStore::section(), name, value);
}

class SettingsFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestEnvironment::instance().resetSettings();
        guiPrompt().clear();
    }
    void TearDown() override { SettingsStore::setTestFolder(TestEnvironment::instance().settingsFolder()); }

    // Runs the command; `user` acts on the dialog while it is shown and must close it.
    bool run(const std::function<void()>& user)
    {
        m_dialogShown = false;
        QTimer::singleShot(0, &m_form, [this, user] {
            m_dialogShown = m_form.isVisible();
            if (m_dialogShown) {
                m_form.activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(&m_form));
            }
            user();
            if (m_form.isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                m_form.reject();
            }
        });
        return m_command.SettingsBtnClick();
    }

    void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, text);
    }

    OrderDocument m_document;
    FakeDocumentView m_view;
    TSettingsForm m_form;
    SettingsCommand m_command{m_document, m_view, m_form, guiPrompt()};
    bool m_dialogShown = false;
};

TEST_F(SettingsFormTest, ShowsTheStoredValuesAndCancelStoresNothing)
{
    struct Case
    {
        QString bgNr, kundNr;
        bool privateService;
        QString shownBgNr, shownKundNr;
    };
    const Case cases[] = {
        {u"01234567"_s, u"012345"_s, true, u"123-4567"_s, u"012345"_s},
        {u"12345674"_s, u" 12 "_s, false, u"1234-5674"_s, u" 12 "_s},
        {u""_s, u""_s, true, u""_s, u""_s},
        {u"12345"_s, u"7"_s, true, u"12345"_s, u"7"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bgNr.toStdString());
        TestEnvironment::instance().resetSettings();
        if (!c.bgNr.isEmpty())
            store(u"BgNr"_s, c.bgNr);
        if (!c.kundNr.isEmpty())
            store(u"KundNr"_s, c.kundNr);
        m_document.PrivateService = c.privateService;
        m_view.calls.clear();

        const bool stored_ = run([&] {
            EXPECT_EQ(m_form.BgNrEdit->text(), c.shownBgNr);
            EXPECT_EQ(m_form.KundNrEdit->text(), c.shownKundNr);
            EXPECT_EQ(m_form.ChkPrivat->isChecked(), c.privateService);
            EXPECT_EQ(m_form.ChkComp->isChecked(), !c.privateService);
            type(m_form.KundNrEdit, u"999"_s);
            type(m_form.BgNrEdit, u"1234 5674"_s);
            (c.privateService ? m_form.ChkComp : m_form.ChkPrivat)->setChecked(true);
            QTest::mouseClick(m_form.QuiteBtn, Qt::LeftButton);
        });

        EXPECT_TRUE(m_dialogShown);
        EXPECT_FALSE(stored_);
        EXPECT_EQ(stored(u"BgNr"_s), c.bgNr.isEmpty() ? u"<missing>"_s : c.bgNr);
        EXPECT_EQ(stored(u"KundNr"_s), c.kundNr.isEmpty() ? u"<missing>"_s : c.kundNr);
        EXPECT_EQ(stored(u"Tjänst"_s), u"<missing>"_s);
        EXPECT_EQ(m_document.PrivateService, c.privateService);
        EXPECT_TRUE(m_view.calls.isEmpty());
    }
}

TEST_F(SettingsFormTest, OkStoresTheValuesInTheirStoredForm)
{
    struct Case
    {
        QString typedKundNr, typedBgNr;
        bool chooseCompany, pressReturn;
        QString bgNr, kundNr, service;
        QString shownBgNr;
    };
    const Case cases[] = {
        {u"123456"_s, u"1234 5674"_s, false, true, u"12345674"_s, u"123456"_s, u"Privat"_s, u"1234-5674"_s},
        {u" 12 "_s, u"123-4566"_s, true, false, u"1234566"_s, u" 12 "_s, u"Företag"_s, u"123-4566"_s},
        {u"012345"_s, u"0001234566"_s, false, false, u"1234566"_s, u"012345"_s, u"Privat"_s, u"123-4566"_s},
        {u""_s, u"5050-1055"_s, true, true, u"50501055"_s, u"<missing>"_s, u"Företag"_s, u"5050-1055"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typedBgNr.toStdString());
        TestEnvironment::instance().resetSettings();
        m_document.PrivateService = true;
        m_document.DocModified = false;
        m_view.calls.clear();

        const bool stored_ = run([&] {
            type(m_form.KundNrEdit, c.typedKundNr);
            type(m_form.BgNrEdit, c.typedBgNr);
            if (c.chooseCompany)
                QTest::mouseClick(m_form.ChkComp, Qt::LeftButton);
            if (c.pressReturn)
                QTest::keyClick(m_form.BgNrEdit, Qt::Key_Return);
            else
                QTest::mouseClick(m_form.SaveBtn, Qt::LeftButton);
            EXPECT_EQ(m_form.BgNrEdit->text(), c.shownBgNr);
        });

        EXPECT_TRUE(stored_);
        EXPECT_TRUE(guiPrompt().messages.isEmpty());
        EXPECT_EQ(stored(u"BgNr"_s), c.bgNr);
        EXPECT_EQ(stored(u"KundNr"_s), c.kundNr);
        EXPECT_EQ(stored(u"Tjänst"_s), c.service);
        EXPECT_EQ(m_document.PrivateService, !c.chooseCompany);
        EXPECT_EQ(m_view.calls, QList<bool>{false});
        EXPECT_FALSE(m_document.DocModified);
    }
}

TEST_F(SettingsFormTest, OkWithNothingChangedStillRewritesAndRefreshes)
{
    store(u"BgNr"_s, u"1234566"_s);
    store(u"KundNr"_s, u"4711"_s);
    m_document.PrivateService = false;

    EXPECT_TRUE(run([&] { QTest::mouseClick(m_form.SaveBtn, Qt::LeftButton); }));

    EXPECT_EQ(stored(u"BgNr"_s), u"1234566"_s);
    EXPECT_EQ(stored(u"KundNr"_s), u"4711"_s);
    EXPECT_EQ(stored(u"Tjänst"_s), u"Företag"_s);
    EXPECT_FALSE(m_document.PrivateService);
    EXPECT_EQ(m_view.calls, QList<bool>{false});
}

TEST_F(SettingsFormTest, AWrongBankgiroNumberKeepsTheDialogOpenAndStoresNothing)
{
    const QString wrongNumbers[] = {u"1234567"_s, u""_s, u"123456"_s, u"123456789"_s, u"abc"_s};
    for (const QString& wrong : wrongNumbers) {
        SCOPED_TRACE(wrong.toStdString());
        TestEnvironment::instance().resetSettings();
        store(u"BgNr"_s, u"1234566"_s);
        store(u"KundNr"_s, u"4711"_s);
        guiPrompt().messages.clear();
        m_view.calls.clear();

        const bool stored_ = run([&] {
            type(m_form.KundNrEdit, u"555"_s);
            type(m_form.BgNrEdit, wrong);
            guiPrompt().answers.append(UserPrompt::Answer::Ok);
            QTest::mouseClick(m_form.SaveBtn, Qt::LeftButton);

            ASSERT_EQ(guiPrompt().messages.size(), 1);
            EXPECT_EQ(guiPrompt().messages.first().caption, QString());
            EXPECT_EQ(guiPrompt().messages.first().text, u"Felaktigt Bankgironummer"_s);
            EXPECT_EQ(guiPrompt().messages.first().buttons, UserPrompt::Buttons::Ok);
            EXPECT_TRUE(m_form.isVisible());
            EXPECT_EQ(m_form.focusWidget(), m_form.BgNrEdit);
            QTest::mouseClick(m_form.QuiteBtn, Qt::LeftButton);
        });

        EXPECT_FALSE(stored_);
        EXPECT_EQ(stored(u"BgNr"_s), u"1234566"_s);
        EXPECT_EQ(stored(u"KundNr"_s), u"4711"_s);
        EXPECT_TRUE(m_view.calls.isEmpty());
    }
}

TEST_F(SettingsFormTest, CorrectingTheNumberAfterTheMessageStoresIt)
{
    const bool stored_ = run([&] {
        type(m_form.BgNrEdit, u"1234567"_s);
        guiPrompt().answers.append(UserPrompt::Answer::Ok);
        QTest::keyClick(m_form.BgNrEdit, Qt::Key_Return);
        EXPECT_TRUE(m_form.isVisible());
        type(m_form.BgNrEdit, u"1234566"_s);
        QTest::keyClick(m_form.BgNrEdit, Qt::Key_Return);
    });
    EXPECT_TRUE(stored_);
    EXPECT_EQ(stored(u"BgNr"_s), u"1234566"_s);
}

TEST_F(SettingsFormTest, EscapeAndTheCloseBoxCancel)
{
    const std::function<void(TSettingsForm&)> closers[] = {
        [](TSettingsForm& form) { QTest::keyClick(form.KundNrEdit, Qt::Key_Escape); },
        [](TSettingsForm& form) { QTest::keyClick(form.BgNrEdit, Qt::Key_Escape); },
        [](TSettingsForm& form) { form.close(); },
    };
    for (const auto& close : closers) {
        TestEnvironment::instance().resetSettings();
        const bool stored_ = run([&] {
            type(m_form.KundNrEdit, u"1"_s);
            type(m_form.BgNrEdit, u"1234566"_s);
            close(m_form);
        });
        EXPECT_FALSE(stored_);
        EXPECT_EQ(stored(u"BgNr"_s), u"<missing>"_s);
        EXPECT_EQ(stored(u"KundNr"_s), u"<missing>"_s);
        EXPECT_TRUE(m_view.calls.isEmpty());
    }
}

TEST_F(SettingsFormTest, LeavingTheBankgiroFieldShowsItsDisplayForm)
{
    struct Case
    {
        QString typed, shown;
    };
    const Case cases[] = {{u"12345674"_s, u"1234-5674"_s},
                          {u"123 4566"_s, u"123-4566"_s},
                          {u"0001234566"_s, u"123-4566"_s},
                          {u"12-34"_s, u"1234"_s},
                          {u"x"_s, u""_s}};
    run([&] {
        for (const Case& c : cases) {
            type(m_form.BgNrEdit, c.typed);
            m_form.KundNrEdit->setFocus();
            EXPECT_EQ(m_form.BgNrEdit->text(), c.shown) << c.typed.toStdString();
        }
        m_form.QuiteBtnClick();
    });
}

TEST_F(SettingsFormTest, ReturnOnAFocusedButtonPressesThatButton)
{
    // Return on "Avbryt" cancels like a click on it; everywhere else it means "Ok".
    struct Case
    {
        const char* name;
        std::function<QWidget*(TSettingsForm&)> focus;
        bool stores;
    };
    const Case cases[] = {
        {"Avbryt", [](TSettingsForm& form) { return form.QuiteBtn; }, false},
        {"Ok", [](TSettingsForm& form) { return form.SaveBtn; }, true},
        {"customer number", [](TSettingsForm& form) { return form.KundNrEdit; }, true},
        {"service type", [](TSettingsForm& form) { return form.ChkComp; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnvironment::instance().resetSettings();
        const bool stored_ = run([&] {
            type(m_form.BgNrEdit, u"1234566"_s);
            QWidget* target = c.focus(m_form);
            target->setFocus(Qt::TabFocusReason);
            QTest::keyClick(target, Qt::Key_Return);
        });
        EXPECT_EQ(stored_, c.stores);
        EXPECT_EQ(stored(u"BgNr"_s), c.stores ? u"1234566"_s : u"<missing>"_s);
    }
}

TEST_F(SettingsFormTest, TabVisitsTheControlsInTheirOrderWithTheirCaptions)
{
    run([&] {
        // Tab enters the service group at its checked button, as in any radio group.
        QList<QWidget*> order = {m_form.KundNrEdit,
                                 m_form.BgNrEdit,
                                 m_form.ChkPrivat,
                                 m_form.SealChk,
                                 m_form.SealKeyEdit,
                                 m_form.RegisterField->edit(),
                                 m_form.RegisterField->browseButton(),
                                 m_form.SaveBtn,
                                 m_form.QuiteBtn,
                                 m_form.KundNrEdit};
        // Without a keyring, "Detaljer…" follows the key it speaks of.
        if (m_form.KeyringDetailsBtn->isVisible())
            order.insert(5, m_form.KeyringDetailsBtn);
        EXPECT_EQ(m_form.focusWidget(), order.first());
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(m_form.focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(m_form.focusWidget(), order[i]) << i;
        }

        const auto labelFor = [&](QWidget* field) {
            for (QLabel* label : m_form.findChildren<QLabel*>()) {
                if (label->buddy() == field)
                    return label->text();
            }
            return QString();
        };
        EXPECT_EQ(labelFor(m_form.KundNrEdit), u"Kundnummer hos Bankgirot"_s);
        EXPECT_EQ(labelFor(m_form.BgNrEdit), u"Bankgironummer"_s);
        EXPECT_EQ(m_form.ChkPrivat->text(), u"Autogiro Privat"_s);
        EXPECT_EQ(m_form.ChkComp->text(), u"Autogiro Företag"_s);
        EXPECT_EQ(m_form.SaveBtn->text(), u"Ok"_s);
        EXPECT_EQ(m_form.QuiteBtn->text(), u"Avbryt"_s);
        m_form.QuiteBtnClick();
    });
}

TEST_F(SettingsFormTest, TheCustomerNumberFieldTakesSixCharacters)
{
    run([&] {
        type(m_form.KundNrEdit, u"12345678"_s);
        EXPECT_EQ(m_form.KundNrEdit->text(), u"123456"_s);
        m_form.QuiteBtnClick();
    });
    EXPECT_EQ(m_form.windowTitle(), u"Inställningar"_s);
    EXPECT_TRUE(m_form.SaveBtn->isDefault());
}

TEST_F(SettingsFormTest, AnUnreadableSettingIsReportedAndTheDialogIsNotShown)
{
    WriteFileBytes(QDir(TestEnvironment::instance().settingsFolder()).filePath(u"Valmo.ini"_s),
                   "[Settings]\r\nBgNr=1, 2\r\n");
    guiPrompt().answers.append(UserPrompt::Answer::Ok);

    const bool stored_ = run([&] {});

    EXPECT_FALSE(stored_);
    EXPECT_FALSE(m_dialogShown);
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages.first().caption, u"Lumora Valmo"_s);
    EXPECT_EQ(guiPrompt().messages.first().text,
              u"Inställningen 'BgNr' har fel datatyp och kan inte läsas"_s);
    EXPECT_EQ(guiPrompt().messages.first().icon, UserPrompt::Icon::Error);
    EXPECT_TRUE(m_view.calls.isEmpty());
}

TEST_F(SettingsFormTest, AStoreThatCannotBeWrittenIsReportedAndChangesNothing)
{
    // A settings u"folder"_s that is a file: every write fails.
    const QString blocker = QDir(TestEnvironment::instance().settingsFolder()).filePath(u"not-a-folder"_s);
    WriteFileBytes(blocker, "x");
    SettingsStore::setTestFolder(blocker);
    m_document.PrivateService = true;

    const bool stored_ = run([&] {
        type(m_form.BgNrEdit, u"1234566"_s);
        QTest::mouseClick(m_form.ChkComp, Qt::LeftButton);
        guiPrompt().answers.append(UserPrompt::Answer::Ok);
        QTest::mouseClick(m_form.SaveBtn, Qt::LeftButton);
    });

    EXPECT_FALSE(stored_);
    ASSERT_EQ(guiPrompt().messages.size(), 1);
    EXPECT_EQ(guiPrompt().messages.first().caption, u"Lumora Valmo"_s);
    EXPECT_EQ(guiPrompt().messages.first().text, u"Inställningen 'BgNr' kunde inte sparas"_s);
    EXPECT_EQ(guiPrompt().messages.first().icon, UserPrompt::Icon::Error);
    EXPECT_TRUE(m_document.PrivateService);
    EXPECT_TRUE(m_view.calls.isEmpty());
}

// The register file: shown as stored (empty shows the default as placeholder), typed or picked with
// "Bläddra...", and stored on OK; a folder or a relative path is refused and nothing is stored.
TEST_F(SettingsFormTest, RegisterFileIsChosenTypedOrRefused)
{
    QTemporaryDir folder;
    const QString chosen = QDir::toNativeSeparators(folder.filePath(u"eget.sqlite"_s));
    const struct
    {
        const char* what;
        QString typed;   // typed into the field; empty leaves it as shown
        QString picked;  // answered to "Bläddra..."
        QString refusal; // part of the message that refuses it
        QString stored;
    } cases[] = {
        {"default kept", {}, {}, {}, u"<missing>"_s},
        {"typed", chosen, {}, {}, chosen},
        {"picked", {}, chosen, {}, chosen},
        {"folder", folder.path(), {}, u"är en mapp"_s, u"<missing>"_s},
        {"relative", u"eget.sqlite"_s, {}, u"hela sökväg"_s, u"<missing>"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestEnvironment::instance().resetSettings();
        guiPrompt().clear();
        run([&] {
            type(m_form.BgNrEdit, u"1234566"_s);
            type(m_form.KundNrEdit, u"123456"_s);
            EXPECT_TRUE(m_form.RegisterField->path().isEmpty());
            EXPECT_EQ(m_form.RegisterField->edit()->placeholderText(),
                      QDir::toNativeSeparators(RegisterDatabase::defaultPath()));
            if (!c.typed.isEmpty())
                type(m_form.RegisterField->edit(), c.typed);
            if (!c.picked.isEmpty()) {
                guiPrompt().saveFileNames.append(c.picked);
                m_form.RegisterField->browseButton()->click();
            }
            m_form.SaveBtnClick();
            if (!c.refusal.isEmpty()) {
                EXPECT_TRUE(guiPrompt().messages.value(0).text.contains(c.refusal));
                EXPECT_EQ(m_form.focusWidget(), m_form.RegisterField->edit());
                m_form.QuiteBtnClick();
            }
        });
        EXPECT_EQ(stored(u"Register"_s), c.stored);
    }
    store(u"Register"_s, chosen);
    run([&] {
        EXPECT_EQ(m_form.RegisterField->path(), chosen);
        m_form.QuiteBtnClick();
    });
}

} // namespace

TEST_F(SettingsFormTest, TabEntersTheServiceGroupAtWhicheverButtonIsChecked)
{
    for (const bool privateService : {true, false}) {
        SCOPED_TRACE(privateService ? "Privat" : "Företag");
        m_document.PrivateService = privateService;
        run([&] {
            QRadioButton* checked = privateService ? m_form.ChkPrivat : m_form.ChkComp;
            QList<QWidget*> order = {m_form.KundNrEdit,
                                     m_form.BgNrEdit,
                                     checked,
                                     m_form.SealChk,
                                     m_form.SealKeyEdit,
                                     m_form.RegisterField->edit(),
                                     m_form.RegisterField->browseButton(),
                                     m_form.SaveBtn};
            if (m_form.KeyringDetailsBtn->isVisible())
                order.insert(5, m_form.KeyringDetailsBtn);
            for (qsizetype i = 1; i < order.size(); ++i) {
                QTest::keyClick(m_form.focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(m_form.focusWidget(), order[i]) << i;
            }
            for (qsizetype i = order.size() - 2; i >= 2; --i) {
                QTest::keyClick(m_form.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                EXPECT_EQ(m_form.focusWidget(), order[i]) << i;
            }
            QTest::keyClick(m_form.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(m_form.focusWidget(), m_form.BgNrEdit);
            m_form.QuiteBtnClick();
        });
    }
}
