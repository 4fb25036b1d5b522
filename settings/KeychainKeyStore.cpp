#include "settings/KeychainKeyStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>

namespace {

QString reasonFor(QKeychain::Error error)
{
    switch (error) {
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        return QStringLiteral("nyckelringen nekade åtkomst");
    case QKeychain::CouldNotDeleteEntry:
        return QStringLiteral("nyckelringen kunde inte ta bort nyckeln");
    default:
        return QStringLiteral("ingen nyckelring hittades");
    }
}

// QtKeychain answers asynchronously; the commands wait for the answer, which the keyring gives at
// once or after its own unlock prompt.
KeyStore::Result run(QKeychain::Job& job)
{
    job.setAutoDelete(false);
    job.setKey(KeychainKeyStore::entryName());
    // No plain-text file when there is no keyring.
    job.setInsecureFallback(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    KeyStore::Result result;
    switch (job.error()) {
    case QKeychain::NoError:
        result.status = KeyStore::Status::Done;
        break;
    case QKeychain::EntryNotFound:
        result.status = KeyStore::Status::NotFound;
        break;
    default:
        result.status = KeyStore::Status::Unavailable;
        result.reason = reasonFor(job.error());
        result.detail = result.reason;
        if (!job.errorString().isEmpty())
            result.detail += QStringLiteral(": ") + job.errorString();
        break;
    }
    return result;
}

} // namespace

QString KeychainKeyStore::serviceName()
{
    return QStringLiteral("Lumora Valmo");
}

QString KeychainKeyStore::entryName()
{
    return QStringLiteral("Sigillnyckel");
}

KeyStore::Result KeychainKeyStore::read()
{
    QKeychain::ReadPasswordJob job(serviceName());
    Result result = run(job);
    if (result.status == Status::Done)
        result.key = job.textData();
    return result;
}

KeyStore::Result KeychainKeyStore::write(const QString& key)
{
    QKeychain::WritePasswordJob job(serviceName());
    job.setTextData(key);
    return run(job);
}

KeyStore::Result KeychainKeyStore::remove()
{
    QKeychain::DeletePasswordJob job(serviceName());
    Result result = run(job);
    if (result.status == Status::NotFound)
        result.status = Status::Done;
    return result;
}
