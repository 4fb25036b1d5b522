#include "support/TestSupport.h"

#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace {
TestEnvironment* g_instance = nullptr;
}

TestEnvironment::TestEnvironment()
{
    g_instance = this;
    SettingsStore::setTestFolder(m_settings.path());
}

void TestEnvironment::resetSettings()
{
    QDir folder(m_settings.path());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
}

TestEnvironment& TestEnvironment::instance()
{
    return *g_instance;
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}
