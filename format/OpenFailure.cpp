#include "format/OpenFailure.h"

#include <QDir>
#include <QFileInfo>

namespace OpenFailure {

QString reason(const QString& path, const QString& systemReason)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Filen finns inte.");
    if (info.isDir())
        return QStringLiteral("Det är en mapp, inte en fil.");
    if (!info.isReadable())
        return QStringLiteral("Du har inte behörighet att läsa filen.");
    if (systemReason.trimmed().isEmpty())
        return QStringLiteral("Filen kunde inte läsas.");
    return QStringLiteral("Systemet svarar: %1").arg(systemReason.trimmed());
}

QString message(const QString& path, const QString& systemReason)
{
    const QString fullName = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return QStringLiteral("Filen kunde inte öppnas: %1\n%2").arg(fullName, reason(path, systemReason));
}

} // namespace OpenFailure
