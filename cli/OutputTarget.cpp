#include "cli/OutputTarget.h"

#include "rules/ValmoError.h"

#include <QFile>

#include <sys/stat.h>

#include <cerrno>

namespace {

// What a target that is not a regular file is, for the message; empty for a regular file.
QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        return QStringLiteral("en mapp");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("en enhet");
    if (S_ISFIFO(mode))
        return QStringLiteral("en namngiven rörledning (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("en socket");
    return QStringLiteral("en fil av okänt slag");
}

} // namespace

void RefuseOutputThatIsNoFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {
    };
    // stat follows symbolic links: a link to a regular file is written through, as the editor does.
    if (stat(name.constData(), &status) == 0) {
        const QString kind = kindOf(status.st_mode);
        if (!kind.isEmpty())
            throw ValmoError(
                QStringLiteral("-o %1 är %2, inte en vanlig fil. Ingenting skrevs.").arg(path, kind));
        return;
    }
    if (errno == ELOOP)
        throw ValmoError(
            QStringLiteral("-o %1: de symboliska länkarna pekar på varandra i en slinga. Ingenting skrevs.")
                .arg(path));
}
