#pragma once

#include "settings/KeyStore.h"

// The seal key in the system's keyring through QtKeychain: the Secret Service on Linux, the
// credential store on Windows, the keychain on macOS. Never a file of its own: where no keyring
// runs, every call answers Unavailable.
class KeychainKeyStore : public KeyStore
{
public:
    Result read() override;
    Result write(const QString& key) override;
    Result remove() override;

    static QString serviceName();
    static QString entryName();
};
