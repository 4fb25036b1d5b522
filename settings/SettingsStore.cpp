#include "settings/SettingsStore.h"

#include "rules/ValmoError.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace {

QString& testFolder()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QSettings> openStore()
{
    const QString organisation = QStringLiteral("Orvida");
    const QString application = QStringLiteral("Valmo");
    if (!testFolder().isEmpty())
        return std::make_unique<QSettings>(QDir(testFolder()).filePath(application + QStringLiteral(".ini")),
                                           QSettings::IniFormat);
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisation, application);
#endif
}

} // namespace

QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue)
{
    const auto store = openStore();
    store->beginGroup(section);
    if (!store->contains(name))
        return defaultValue;
    // Anything but text (a list, bytes, a number in the registry, an invalid entry) is refused.
    const QVariant value = store->value(name);
    if (value.typeId() != QMetaType::QString)
        throw SettingsError::invalidDataType(name);
    QString text = value.toString();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text.isEmpty() ? defaultValue : text;
}

void WriteSetting(const QString& section, const QString& name, const QString& value)
{
    const auto store = openStore();
    store->beginGroup(section);
    store->setValue(name, value);
    store->endGroup();
    store->sync();
    if (store->status() != QSettings::NoError)
        throw SettingsError::failedToSet(name);
}

void SettingsStore::setTestFolder(const QString& folder)
{
    testFolder() = folder;
}
