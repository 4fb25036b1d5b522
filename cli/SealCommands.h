#pragma once

#include <QBuffer>
#include <QStringList>

struct CliReadResult;
class QIODevice;

// valmo-cli's seal commands:
//   hmac FILE --key-file KEY                        the MAC of the file's normalised contents
//   seal FILE -o OUT --key-file KEY [--date DATE]    FILE sealed (a sealed FILE is sealed afresh)
//   verify FILE --key-file KEY                      0 the seal matches, 1 it does not or is missing
// The key is read from a file only: on the command line other users could see it.
bool IsSealCommand(const QString& command);
// args as main() has them. Returns the exit status; throws ValmoError (exit 2) for bad arguments,
// a malformed key or a file that cannot be read or written.
int RunSealCommand(const QStringList& args);

// The order records of a file for read and check: a sealed file's seal records are taken off.
// Line numbers found in the records are shifted back to the file's own lines by shiftLines().
class SealedInput
{
public:
    explicit SealedInput(QIODevice& file);
    QIODevice& device();
    void shiftLines(CliReadResult& result) const;

private:
    QIODevice& m_file;
    QBuffer m_inside;
    int m_linesBefore = 0;
};
