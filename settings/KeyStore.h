#pragma once

#include <QString>

// Where the seal key is kept between sessions: the system's keyring, never the settings file.
// The commands see only this interface; the keyring itself is reached through KeychainKeyStore.
class KeyStore
{
public:
    enum class Status
    {
        Done,
        NotFound,   // the keyring runs but holds no key
        Unavailable // the keyring cannot be reached or refused; detail says why
    };
    struct Result
    {
        Status status = Status::Unavailable;
        QString key;    // read(): the key's text
        QString detail; // the keyring's own reason, when unavailable
        QString reason; // the same in plain Swedish for the user ("ingen nyckelring hittades")
    };

    virtual ~KeyStore() = default;
    virtual Result read() = 0;
    virtual Result write(const QString& key) = 0;
    // Removing a key that is not there is Done.
    virtual Result remove() = 0;
};
