#include "cli/InputFile.h"

#include "format/FileKind.h"
#include "rules/ValmoError.h"

void RequireInputFile(const QString& path)
{
    const FileKind kind = KindOfFile(path);
    switch (kind) {
    case FileKind::Missing:
        throw ValmoError(QStringLiteral("Filen %1 finns inte").arg(path));
    case FileKind::Folder:
    case FileKind::Socket:
        throw ValmoError(QStringLiteral("%1 är %2, inte en fil som kan läsas").arg(path, FileKindText(kind)));
    case FileKind::LinkLoop:
        throw ValmoError(
            QStringLiteral("%1: de symboliska länkarna pekar på varandra i en slinga").arg(path));
    case FileKind::Regular:
    case FileKind::Device:
    case FileKind::Fifo:
    case FileKind::Unknown:
        break;
    }
}
