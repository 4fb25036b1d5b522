#pragma once

#include "format/SealKey.h"

#include <QString>

#include <optional>

class KeyStore;

// The seal key and the sealing switch for the editor's commands. The key comes from the keyring
// (the KeyStore installed at start-up). When the keyring cannot keep it, a key typed in the
// settings is kept in memory for the next save only.
namespace SealKeys {

// The program's keyring; nullptr (the default) means there is none.
void setKeyStore(KeyStore* store);
KeyStore* keyStore();

// The key typed for one save when the keyring cannot keep it; nullopt forgets it.
void setKeyForNextSave(const std::optional<SealKey>& key);
const std::optional<SealKey>& keyForNextSave();

struct Lookup
{
    std::optional<SealKey> key;
    QString problem; // why there is no key, in Swedish, when key is empty
};
// The key for sealing or checking: the one typed for the next save, else the keyring's.
Lookup find();

// The "Sigillering" setting ("Ja" or "Nej"; nothing stored means off). Throws SettingsError.
bool sealingOn();
void setSealingOn(bool on);

} // namespace SealKeys
