#include "viewer/PresentationProgram.h"

#include <QDir>
#include <QSettings>

#include <memory>
#include <string>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include <QProcess>
#endif

namespace {

const QString Organisation = QStringLiteral("Orvida");
const QString Application = QStringLiteral("Lumora Presentation");

struct TestFolders
{
    QString system;
    QString user;
};

TestFolders& testFolders()
{
    static TestFolders folders;
    return folders;
}

std::unique_ptr<QSettings> openTestStore(const QString& folder)
{
    return std::make_unique<QSettings>(PresentationProgram::testSettingsFile(folder), QSettings::IniFormat);
}

// A registered text value; anything else (missing key or value, not text) counts as not registered.
QString textValue(QSettings& store, const QString& name)
{
    const QVariant value = store.value(name);
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return QString();
    return value.toString();
}

#ifndef Q_OS_WIN
// Only the program's own file of the scope counts: fallbacks would also read the organisation's
// file and, for the user scope, the system-wide one.
QString applicationText(QSettings::Scope scope, const QString& name)
{
    QSettings store(QSettings::IniFormat, scope, Organisation, Application);
    store.setFallbacksEnabled(false);
    return textValue(store, name);
}
#endif

#ifdef Q_OS_WIN
// Reads a string value with read access only. QSettings is not used here: it creates a key that it
// merely looks at, and nothing under the program's key may be written by the editor.
// view: 0 for the program's own view of the registry, KEY_WOW64_32KEY for the 32-bit one.
QString registryText(HKEY hive, REGSAM view, const QString& name)
{
    const std::wstring subKey = L"Software\\Orvida\\Lumora Presentation";
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return QString();
    const std::wstring valueName = name.toStdWString();
    QString result;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    while (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD filled = DWORD(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &filled);
        if (status == ERROR_MORE_DATA) { // grown in between
            size = filled;
            status = ERROR_SUCCESS;
            continue;
        }
        if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
            buffer.resize(filled / sizeof(wchar_t));
            result = QString::fromStdWString(buffer.c_str()); // up to the first NUL
        }
        break;
    }
    RegCloseKey(key);
    return result;
}
#endif

QString systemText(const QString& name)
{
    if (!testFolders().system.isEmpty())
        return textValue(*openTestStore(testFolders().system), name);
#ifdef Q_OS_WIN
    // A 32-bit installation registers the program in the 32-bit view of the machine's hive,
    // which a 64-bit editor does not see by default.
    const QString text = registryText(HKEY_LOCAL_MACHINE, 0, name);
    return text.isEmpty() ? registryText(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, name) : text;
#else
    return applicationText(QSettings::SystemScope, name);
#endif
}

QString userText(const QString& name)
{
    if (!testFolders().user.isEmpty())
        return textValue(*openTestStore(testFolders().user), name);
#ifdef Q_OS_WIN
    return registryText(HKEY_CURRENT_USER, 0, name);
#else
    return applicationText(QSettings::UserScope, name);
#endif
}

} // namespace

QString PresentationProgram::ProgramPath()
{
    return systemText(QStringLiteral("exe"));
}

QString PresentationProgram::IndexFilePath()
{
    return userText(QStringLiteral("arloindexfile"));
}

QString PresentationProgram::ParameterText(const QString& file, const QString& indexFile)
{
    return QStringLiteral("-filename \"") + file + QStringLiteral("\" -indexfile \"") + indexFile +
           QStringLiteral("\" -bank handelsbanken");
}

QStringList PresentationProgram::Arguments(const QString& file, const QString& indexFile)
{
    return {QStringLiteral("-filename"),  file,
            QStringLiteral("-indexfile"), indexFile,
            QStringLiteral("-bank"),      QStringLiteral("handelsbanken")};
}

void PresentationProgram::Start(const QString& program, const QString& file, const QString& indexFile)
{
#ifdef Q_OS_WIN
    const QString parameters = ParameterText(file, indexFile);
    ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(program.utf16()),
                  reinterpret_cast<const wchar_t*>(parameters.utf16()), nullptr, SW_SHOWNORMAL);
#else
    QProcess::startDetached(program, Arguments(file, indexFile));
#endif
}

void PresentationProgram::setTestFolders(const QString& systemFolder, const QString& userFolder)
{
    testFolders() = {systemFolder, userFolder};
}

QString PresentationProgram::testSettingsFile(const QString& folder)
{
    return QDir(folder).filePath(Organisation + QLatin1Char('/') + Application + QStringLiteral(".ini"));
}
