#include "app/VersionText.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <vector>
#endif

QString VersionWithoutLastPart(const QString& fileVersion)
{
    if (fileVersion.size() < 2)
        return QString();
    return fileVersion.left(fileVersion.size() - 2);
}

namespace {

#ifdef Q_OS_WIN
// The "FileVersion" text of the first translation in the version resource of the program's file.
QString FileVersionFromResource()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return QString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0)
        return QString();
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return QString();

    struct LanguageAndCodePage
    {
        WORD language;
        WORD codePage;
    };
    LanguageAndCodePage* translations = nullptr;
    UINT translationBytes = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &translationBytes) ||
        translationBytes < sizeof(LanguageAndCodePage))
        return QString();

    const QString languageAndCodePage = QStringLiteral("%1%2")
                                            .arg(translations[0].language, 4, 16, QLatin1Char('0'))
                                            .arg(translations[0].codePage, 4, 16, QLatin1Char('0'))
                                            .toUpper();
    const QString key =
        QStringLiteral("\\StringFileInfo\\") + languageAndCodePage + QStringLiteral("\\FileVersion");
    wchar_t* value = nullptr;
    UINT valueLength = 0;
    if (!VerQueryValueW(block.data(), reinterpret_cast<LPCWSTR>(key.utf16()),
                        reinterpret_cast<void**>(&value), &valueLength) ||
        valueLength == 0)
        return QString();
    return QString::fromWCharArray(value).trimmed();
}
#endif

} // namespace

QString GetVersionText()
{
#ifdef Q_OS_WIN
    return VersionWithoutLastPart(FileVersionFromResource());
#else
    // Elsewhere the version comes from the build, as the resource does on Windows.
    return VersionWithoutLastPart(QStringLiteral(VALMO_VERSION_TEXT));
#endif
}
