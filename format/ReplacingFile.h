#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

// A new file that takes the place of path only when it is complete. The bytes go into a hidden
// temporary file beside the target, named "." + the target's name + ".valmo-" + six letters or
// digits; commit() syncs it, renames it over the target and syncs the folder, so that after a
// crash or a power cut the target is either the old file or the whole new one. A temporary file
// that an interrupted earlier save of the same target left behind is removed by open().
// A symbolic link is written through: the file it points to is replaced, the link stays.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file. False with errorString() when it cannot be created.
    bool open();
    // Where the bytes are written; unbuffered, so a refusal is seen at the write that caused it.
    QIODevice& device() { return m_file; }
    // Writes all of bytes, also when the system takes them in parts. False with errorString().
    bool writeAll(QByteArrayView bytes);
    // Makes the new file the target. False with errorString(); the target is then unchanged.
    bool commit();
    // Drops the new file; the target stays as it was.
    void cancel();
    QString errorString() const { return m_error; }

    // The file the bytes end up in: path with its symbolic links followed.
    QString targetPath() const { return m_target; }
    // True when name is the name of a temporary file of this kind for a target named targetName.
    static bool isTemporaryNameFor(const QString& name, const QString& targetName);

private:
    void removeLeftovers() const;
    bool fail(const QString& reason);

    QString m_target;
    QString m_temporary;
    QFile m_file;
    QString m_error;
    bool m_open = false;
};
