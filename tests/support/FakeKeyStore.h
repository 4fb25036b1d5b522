#pragma once

#include "settings/KeyStore.h"

// A keyring in memory for the commands' and the dialog's tests; the real keyring has a test of
// its own. status other than Done makes every call answer it, with the detail "borta".
class FakeKeyStore : public KeyStore
{
public:
    Result read() override
    {
        return {status == Status::Done && key.isEmpty() ? Status::NotFound : status, key, detail()};
    }
    Result write(const QString& text) override
    {
        if (status == Status::Done)
            key = text;
        return {status, QString(), detail()};
    }
    Result remove() override
    {
        key.clear();
        ++removals;
        return {status, QString(), detail()};
    }
    static QString detail() { return QStringLiteral("borta"); }

    Status status = Status::Done;
    QString key;
    int removals = 0;
};
