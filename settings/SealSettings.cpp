#include "settings/SealSettings.h"

#include "format/SealKeys.h"
#include "format/UserPrompt.h"
#include "settings/KeyStore.h"
#include "settings/SettingsUnit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// What the user is told of a keyring that cannot be used: plain Swedish, as a sentence. The
// keyring's own technical words go to the details part.
QString plainReason(const KeyStore* store, const KeyStore::Result& result)
{
    const QString reason =
        store && !result.reason.isEmpty() ? result.reason : QStringLiteral("ingen nyckelring hittades");
    return reason.left(1).toUpper() + reason.mid(1) + QLatin1Char('.');
}

QString technicalDetail(const KeyStore* store, const KeyStore::Result& result)
{
    return store ? result.detail : QStringLiteral("Ingen nyckelringstjänst är ansluten till programmet.");
}

QString noKeyringNote(const QString& reason)
{
    return reason + QStringLiteral(" En sigillnyckel som anges här används bara för nästa sparning och "
                                   "sparas inte.");
}

void tell(UserPrompt& prompt, const QString& text, const QString& details)
{
    prompt.showDetailedMessage(QString(), text, details, UserPrompt::Buttons::Ok, UserPrompt::Icon::Warning);
}

void forgetKey(UserPrompt& prompt, KeyStore* store)
{
    SealKeys::setKeyForNextSave(std::nullopt);
    if (!store)
        return;
    const KeyStore::Result result = store->remove();
    if (result.status == KeyStore::Status::Unavailable)
        tell(prompt,
             QStringLiteral("Sigillnyckeln kunde inte tas bort ur nyckelringen. %1").arg(plainReason(store, result)),
             technicalDetail(store, result));
}

void keepKey(UserPrompt& prompt, KeyStore* store, const SealKey& key)
{
    const KeyStore::Result result = store ? store->write(key.text()) : KeyStore::Result();
    if (result.status == KeyStore::Status::Done) {
        SealKeys::setKeyForNextSave(std::nullopt);
        return;
    }
    SealKeys::setKeyForNextSave(key);
    tell(prompt,
         QStringLiteral("Sigillnyckeln kan inte sparas i nyckelringen. %1 Nyckeln sparas inte någon annanstans: "
                        "den används bara för nästa sparning.")
             .arg(plainReason(store, result)),
         technicalDetail(store, result));
}

} // namespace

namespace SealSettings {

void fill(TSettingsForm& form)
{
    form.SealChk->setChecked(SealKeys::sealingOn());
    form.KeyringLabel->setVisible(false);
    form.KeyringDetailsBtn->setVisible(false);
    QString key;
    KeyStore* store = SealKeys::keyStore();
    if (SealKeys::keyForNextSave()) {
        key = SealKeys::keyForNextSave()->text();
    } else {
        const KeyStore::Result result = store ? store->read() : KeyStore::Result();
        if (result.status == KeyStore::Status::Done)
            key = result.key;
        else if (result.status == KeyStore::Status::Unavailable) {
            form.KeyringLabel->setText(noKeyringNote(plainReason(store, result)));
            form.KeyringLabel->setVisible(true);
            form.KeyringDetails = technicalDetail(store, result);
            form.KeyringDetailsBtn->setVisible(true);
        }
    }
    form.LoadedSealKey = key;
    form.SealKeyEdit->setText(key);
}

void store(TSettingsForm& form, UserPrompt& prompt)
{
    SealKeys::setSealingOn(form.SealChk->isChecked());
    const std::optional<SealKey> typed = SealKey::fromText(form.SealKeyEdit->text());
    const std::optional<SealKey> loaded = SealKey::fromText(form.LoadedSealKey);
    const bool unchanged =
        typed.has_value() == loaded.has_value() && (!typed || typed->text() == loaded->text());
    if (unchanged && (typed || form.LoadedSealKey.isEmpty()))
        return;
    KeyStore* keyStore = SealKeys::keyStore();
    if (typed)
        keepKey(prompt, keyStore, *typed);
    else
        forgetKey(prompt, keyStore);
    form.LoadedSealKey = typed ? typed->text() : QString();
}

} // namespace SealSettings
