#include "settings/KeychainKeyStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("00112233445566778899AABBCCDDEEFF");

// Every file under the home folder that holds the key in plain text.
QStringList filesHoldingKey()
{
    QStringList found;
    QDirIterator it(QDir::homePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(Key.toLatin1()))
            found.append(file.fileName());
    }
    return found;
}

} // namespace

// Run by with-secret-service.sh: a private session bus and a GNOME keyring of its own.
TEST(SecretService, KeepsReplacesAndRemovesTheKey)
{
    KeychainKeyStore store;
    ASSERT_EQ(store.remove().status, KeyStore::Status::Done) << store.remove().detail.toStdString();
    EXPECT_EQ(store.read().status, KeyStore::Status::NotFound);

    ASSERT_EQ(store.write(QStringLiteral("FFEEDDCCBBAA99887766554433221100")).status, KeyStore::Status::Done);
    ASSERT_EQ(store.write(Key).status, KeyStore::Status::Done);
    const KeyStore::Result read = store.read();
    EXPECT_EQ(read.status, KeyStore::Status::Done);
    EXPECT_EQ(read.key, Key);
    // The keyring encrypts its file; the key is in no file as text.
    EXPECT_EQ(filesHoldingKey(), QStringList());

    EXPECT_EQ(store.remove().status, KeyStore::Status::Done);
    EXPECT_EQ(store.read().status, KeyStore::Status::NotFound);
    EXPECT_EQ(store.remove().status, KeyStore::Status::Done);
}

// Run with a session bus address that leads nowhere.
TEST(NoKeyring, EveryCallIsUnavailableAndNothingIsWritten)
{
    // A home of its own, where a plain-text fallback would have to leave its file.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("share"))));
    KeychainKeyStore store;
    const KeyStore::Result results[] = {store.write(Key), store.read(), store.remove()};
    for (const KeyStore::Result& result : results) {
        EXPECT_EQ(result.status, KeyStore::Status::Unavailable);
        EXPECT_FALSE(result.detail.isEmpty());
    }
    EXPECT_EQ(filesHoldingKey(), QStringList());
}
