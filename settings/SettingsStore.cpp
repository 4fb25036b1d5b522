#include "settings/SettingsStore.h"

#include "rules/ValmoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QVariant>

#include <memory>
#include <optional>

namespace {

const QString Organisation = QStringLiteral("Orvida");
const QString Application = QStringLiteral("Valmo");

// The names of the values, as existing users' stores hold them.
const QString CustomerNumberName = QStringLiteral("KundNr");
const QString BankgiroNumberName = QStringLiteral("BgNr");
const QString ServiceName = QStringLiteral("Tjänst");
const QString LastSaveFolderName = QStringLiteral("LastPath");
const QString LastFolderName = QStringLiteral("LastDir");
const QString ImportSection = QStringLiteral("Import");
const QString ImportColumnsName = QStringLiteral("Kolumner");
const QString SealingName = QStringLiteral("Sigillering");
const QString WindowGeometryName = QStringLiteral("WindowGeometry");

const QString PrivateServiceText = QStringLiteral("Privat");
const QString CompanyServiceText = QStringLiteral("Företag");
const QString SealingOnText = QStringLiteral("Ja");
const QString SealingOffText = QStringLiteral("Nej");

QString& testFolder()
{
    static QString folder;
    return folder;
}

// The values of the in-memory store, or nullptr while the real store is used.
QHash<QString, QString>*& memoryStore()
{
    static QHash<QString, QString>* values = nullptr;
    return values;
}

bool usesIniFile()
{
#ifdef Q_OS_WIN
    return !testFolder().isEmpty();
#else
    return true;
#endif
}

QString iniFilePath()
{
    if (!testFolder().isEmpty())
        return QDir(testFolder()).filePath(Application + QStringLiteral(".ini"));
    static const QString userPath =
        QSettings(QSettings::IniFormat, QSettings::UserScope, Organisation, Application).fileName();
    return userPath;
}

QString settingsKey(const QString& section, const QString& name)
{
    return section + QLatin1Char('/') + name;
}

// QSettings keeps every INI file it has parsed in a process-wide cache. It trusts a cached file while
// its size and time stamp are unchanged, so a value of the same length written by another program
// within one clock tick is missed, and a change that failed to reach the disk stays in the cache and
// is read back as if it had been stored. The store therefore never lets QSettings open the real file:
// QSettings parses and writes a private copy in a fresh temporary file, and the store itself reads and
// replaces the real file.

std::unique_ptr<QTemporaryFile> temporaryCopy(const QByteArray& bytes)
{
    auto copy =
        std::make_unique<QTemporaryFile>(QDir(QDir::tempPath()).filePath(QStringLiteral("valmo-XXXXXX.ini")));
    if (!copy->open() || copy->write(bytes) != bytes.size() || !copy->flush())
        return nullptr;
    copy->close(); // QSettings replaces the file; the name stays reserved until the copy is destroyed
    return copy;
}

// The values of one exact file content. Reusing them for identical bytes is not a cache of the
// store: the file is read on every call, only its parse is shared.
struct ParsedFile
{
    QByteArray bytes;
    QHash<QString, QVariant> values;
};

std::optional<ParsedFile> parse(const QByteArray& bytes)
{
    ParsedFile parsed;
    parsed.bytes = bytes;
    if (bytes.isEmpty())
        return parsed;
    const auto copy = temporaryCopy(bytes);
    if (!copy)
        return std::nullopt;
    QSettings settings(copy->fileName(), QSettings::IniFormat);
    for (const QString& key : settings.allKeys())
        parsed.values.insert(key, settings.value(key));
    return parsed;
}

// The stored value, or nothing when the file or the value does not exist.
std::optional<QVariant> readIniValue(const QString& key)
{
    QFile file(iniFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    file.close();

    static ParsedFile last;
    if (last.bytes != bytes) {
        std::optional<ParsedFile> parsed = parse(bytes);
        if (!parsed) { // no temporary folder: let QSettings read the file itself
            QSettings settings(iniFilePath(), QSettings::IniFormat);
            if (!settings.contains(key))
                return std::nullopt;
            return settings.value(key);
        }
        last = std::move(*parsed);
    }
    const auto found = last.values.constFind(key);
    if (found == last.values.constEnd())
        return std::nullopt;
    return *found;
}

void writeIniValue(const QString& key, const QString& value, const QString& name)
{
    const QString path = iniFilePath();
    const QFileInfo info(path);
    QByteArray bytes;
    if (info.exists()) {
        QFile file(path);
        if (!info.isFile() || !info.isWritable() || !file.open(QIODevice::ReadOnly))
            throw SettingsError::failedToSet(name);
        bytes = file.readAll();
    }

    const auto copy = temporaryCopy(bytes);
    if (!copy)
        throw SettingsError::failedToSet(name);
    {
        QSettings settings(copy->fileName(), QSettings::IniFormat);
        settings.setValue(key, value);
        settings.sync();
        // A FormatError only says that the old content was malformed; the new file is written.
        if (settings.status() == QSettings::AccessError)
            throw SettingsError::failedToSet(name);
    }
    QFile written(copy->fileName());
    if (!written.open(QIODevice::ReadOnly))
        throw SettingsError::failedToSet(name);
    const QByteArray updated = written.readAll();

    if (!QDir().mkpath(info.absolutePath()))
        throw SettingsError::failedToSet(name);
    // Replaced whole or not at all: a folder where no new file can be made refuses the write.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(updated) != updated.size() || !target.commit())
        throw SettingsError::failedToSet(name);
}

std::optional<QVariant> readRegistryValue(const QString& key)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application);
    if (!settings.contains(key))
        return std::nullopt;
    return settings.value(key);
}

void writeRegistryValue(const QString& key, const QString& value, const QString& name)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw SettingsError::failedToSet(name);
}

} // namespace

QString ReadSetting(const QString& section, const QString& name, const QString& defaultValue)
{
    const QString key = settingsKey(section, name);
    if (QHash<QString, QString>* memory = memoryStore())
        return memory->value(key).isEmpty() ? defaultValue : memory->value(key);
    const std::optional<QVariant> value = usesIniFile() ? readIniValue(key) : readRegistryValue(key);
    if (!value)
        return defaultValue;
    // Anything but text (a list, bytes, a number in the registry, an invalid entry) is refused.
    if (value->typeId() != QMetaType::QString)
        throw SettingsError::invalidDataType(name);
    QString text = value->toString();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text.isEmpty() ? defaultValue : text;
}

void WriteSetting(const QString& section, const QString& name, const QString& value)
{
    const QString key = settingsKey(section, name);
    if (QHash<QString, QString>* memory = memoryStore()) {
        memory->insert(key, value);
        return;
    }
    if (usesIniFile())
        writeIniValue(key, value, name);
    else
        writeRegistryValue(key, value, name);
}

void SettingsStore::useMemoryStore(bool inMemory)
{
    delete memoryStore();
    memoryStore() = inMemory ? new QHash<QString, QString> : nullptr;
}

void SettingsStore::setTestFolder(const QString& folder)
{
    testFolder() = folder;
}

namespace SettingsStore {

namespace {

QString read(const QString& name)
{
    return ReadSetting(section(), name, QString());
}

void write(const QString& name, const QString& value)
{
    WriteSetting(section(), name, value);
}

} // namespace

QString customerNumber()
{
    return read(CustomerNumberName);
}

QString bankgiroNumber()
{
    return read(BankgiroNumberName);
}

PayeeNumbers payeeNumbers()
{
    PayeeNumbers payee;
    payee.bankgiroNumber = bankgiroNumber();
    payee.customerNumber = customerNumber();
    return payee;
}

void setCustomerNumber(const QString& customerNumber)
{
    write(CustomerNumberName, customerNumber);
}

void setBankgiroNumber(const QString& bankgiroNumber)
{
    write(BankgiroNumberName, bankgiroNumber);
}

void setPayeeNumbers(const PayeeNumbers& payee)
{
    setBankgiroNumber(payee.bankgiroNumber);
    setCustomerNumber(payee.customerNumber);
}

bool readPrivateService()
{
    return ReadSetting(section(), ServiceName, PrivateServiceText) == PrivateServiceText;
}

void writePrivateService(bool privateService)
{
    write(ServiceName, privateService ? PrivateServiceText : CompanyServiceText);
}

QString lastSaveFolder()
{
    return read(LastSaveFolderName);
}

void setLastSaveFolder(const QString& folder)
{
    write(LastSaveFolderName, folder);
}

QString lastOpenFolder()
{
    return read(LastFolderName);
}

void setLastOpenFolder(const QString& folder)
{
    write(LastFolderName, folder);
}

QString lastImportFolder()
{
    return ReadSetting(ImportSection, LastFolderName, QString());
}

void setLastImportFolder(const QString& folder)
{
    WriteSetting(ImportSection, LastFolderName, folder);
}

QString importColumns()
{
    return ReadSetting(ImportSection, ImportColumnsName, QString());
}

void setImportColumns(const QString& columns)
{
    WriteSetting(ImportSection, ImportColumnsName, columns);
}

bool sealingOn()
{
    return read(SealingName) == SealingOnText;
}

void setSealingOn(bool on)
{
    write(SealingName, on ? SealingOnText : SealingOffText);
}

QString recentFile(int position)
{
    return read(QStringLiteral("RecentFile%1").arg(position + 1));
}

void setRecentFile(int position, const QString& path)
{
    write(QStringLiteral("RecentFile%1").arg(position + 1), path);
}

QString windowGeometry()
{
    return read(WindowGeometryName);
}

void setWindowGeometry(const QString& geometry)
{
    write(WindowGeometryName, geometry);
}

QString windowGeometryOf(const QString& window)
{
    return read(WindowGeometryName + window);
}

void setWindowGeometryOf(const QString& window, const QString& geometry)
{
    write(WindowGeometryName + window, geometry);
}

QString columnWidths(const QString& list)
{
    return read(QStringLiteral("Columns") + list);
}

void setColumnWidths(const QString& list, const QString& widths)
{
    write(QStringLiteral("Columns") + list, widths);
}

QString splitterShare(const QString& splitter)
{
    return read(splitter + QStringLiteral("Share"));
}

void setSplitterShare(const QString& splitter, const QString& share)
{
    write(splitter + QStringLiteral("Share"), share);
}

} // namespace SettingsStore
