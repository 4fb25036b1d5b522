#include "format/ReplacingFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

const QString TemporaryMarker = QStringLiteral(".valmo-");
constexpr int RandomLetters = 6;
constexpr int CreateAttempts = 100;

QString systemReason(int error)
{
    return qt_error_string(error);
}

// The file a path names, its symbolic links followed even when the last one points to no file yet.
QString followLinks(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.absoluteFilePath();
}

QString randomLetters()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString text;
    for (int i = 0; i < RandomLetters; ++i)
        text += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return text;
}

// Makes the rename that has just happened durable. A file system that cannot sync a folder says
// so with EINVAL; the rename itself has then been done all the same.
void syncFolder(const QString& folder)
{
    const int handle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return;
    ::fsync(handle);
    ::close(handle);
}

} // namespace

ReplacingFile::ReplacingFile(const QString& path) : m_target(followLinks(path)) {}

ReplacingFile::~ReplacingFile()
{
    cancel();
}

bool ReplacingFile::isTemporaryNameFor(const QString& name, const QString& targetName)
{
    const QString prefix = QLatin1Char('.') + targetName + TemporaryMarker;
    if (!name.startsWith(prefix) || name.size() != prefix.size() + RandomLetters)
        return false;
    for (const QChar c : QStringView(name).sliced(prefix.size())) {
        if (c.unicode() > 0x7f || !c.isLetterOrNumber())
            return false;
    }
    return true;
}

void ReplacingFile::removeLeftovers() const
{
    const QFileInfo target(m_target);
    const QString targetName = target.fileName();
    QDir folder = target.absoluteDir();
    const QStringList candidates =
        folder.entryList({QLatin1Char('.') + targetName + TemporaryMarker + QLatin1Char('*')},
                         QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        if (isTemporaryNameFor(name, targetName))
            folder.remove(name);
    }
}

bool ReplacingFile::fail(const QString& reason)
{
    m_error = reason;
    return false;
}

bool ReplacingFile::open()
{
    const QFileInfo target(m_target);
    if (target.isDir())
        return fail(QStringLiteral("Filnamnet är namnet på en mapp"));
    struct stat existing
    {
    };
    const bool existed = ::stat(QFile::encodeName(m_target).constData(), &existing) == 0;
    removeLeftovers();
    const QString stem =
        target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() + TemporaryMarker);
    int handle = -1;
    for (int attempt = 0; attempt < CreateAttempts && handle < 0; ++attempt) {
        m_temporary = stem + randomLetters();
        handle =
            ::open(QFile::encodeName(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle < 0 && errno != EEXIST)
            break;
    }
    if (handle < 0) {
        const int error = errno;
        m_temporary.clear();
        return fail(systemReason(error));
    }
    // The new file keeps the permissions of the one it replaces.
    if (existed)
        ::fchmod(handle, existing.st_mode & 07777);
    if (!m_file.open(handle, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        cancel();
        return fail(m_file.errorString());
    }
    m_open = true;
    return true;
}

bool ReplacingFile::writeAll(QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = m_file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = m_file.errorString();
            return fail(reason.isEmpty() ? QStringLiteral("Skrivningen misslyckades") : reason);
        }
        done += qsizetype(written);
    }
    return true;
}

bool ReplacingFile::commit()
{
    if (!m_open)
        return fail(QStringLiteral("Filen är inte öppnad"));
    if (::fsync(m_file.handle()) != 0) {
        const int error = errno;
        cancel();
        return fail(systemReason(error));
    }
    m_file.close();
    if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0) {
        const int error = errno;
        cancel();
        return fail(systemReason(error));
    }
    m_open = false;
    m_temporary.clear();
    syncFolder(QFileInfo(m_target).absolutePath());
    return true;
}

void ReplacingFile::cancel()
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
    m_temporary.clear();
    m_open = false;
}
