#include "format/FileKind.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

FileKind KindOfFile(const QString& path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileKind::Missing;
        return errno == ELOOP ? FileKind::LinkLoop : FileKind::Unknown;
    }
    if (S_ISREG(status.st_mode))
        return FileKind::Regular;
    if (S_ISDIR(status.st_mode))
        return FileKind::Folder;
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return FileKind::Device;
    if (S_ISFIFO(status.st_mode))
        return FileKind::Fifo;
    if (S_ISSOCK(status.st_mode))
        return FileKind::Socket;
    return FileKind::Unknown;
}

QString FileKindText(FileKind kind)
{
    switch (kind) {
    case FileKind::Folder:
        return QStringLiteral("en mapp");
    case FileKind::Device:
        return QStringLiteral("en enhet");
    case FileKind::Fifo:
        return QStringLiteral("en namngiven rörledning (FIFO)");
    case FileKind::Socket:
        return QStringLiteral("en socket");
    case FileKind::LinkLoop:
        return QStringLiteral("en slinga av symboliska länkar");
    case FileKind::Regular:
    case FileKind::Missing:
    case FileKind::Unknown:
        break;
    }
    return QString();
}
