#include "format/SealKeys.h"

#include "settings/KeyStore.h"
#include "settings/SettingsStore.h"

namespace {

KeyStore* installedStore = nullptr;

std::optional<SealKey>& typedKey()
{
    static std::optional<SealKey> key;
    return key;
}

} // namespace

namespace SealKeys {

void setKeyStore(KeyStore* store)
{
    installedStore = store;
}

KeyStore* keyStore()
{
    return installedStore;
}

void setKeyForNextSave(const std::optional<SealKey>& key)
{
    typedKey() = key;
}

const std::optional<SealKey>& keyForNextSave()
{
    return typedKey();
}

Lookup find()
{
    Lookup lookup;
    if (typedKey()) {
        lookup.key = typedKey();
        return lookup;
    }
    if (!installedStore) {
        lookup.problem = QStringLiteral("ingen nyckelring finns att hämta sigillnyckeln ur");
        return lookup;
    }
    const KeyStore::Result result = installedStore->read();
    switch (result.status) {
    case KeyStore::Status::Done:
        lookup.key = SealKey::fromText(result.key);
        if (!lookup.key)
            lookup.problem = QStringLiteral("sigillnyckeln i nyckelringen är felaktig: %1")
                                 .arg(SealKey::problemWith(result.key));
        break;
    case KeyStore::Status::NotFound:
        lookup.problem = QStringLiteral("ingen sigillnyckel är sparad");
        break;
    case KeyStore::Status::Unavailable:
        lookup.problem = QStringLiteral("nyckelringen inte kan nås (%1)").arg(result.detail);
        break;
    }
    return lookup;
}

bool sealingOn()
{
    return SettingsStore::sealingOn();
}

void setSealingOn(bool on)
{
    SettingsStore::setSealingOn(on);
}

} // namespace SealKeys
