// Stands in for the external presentation program in tests: writes the arguments it received, as
// a JSON array, into the file named by VALMO_RECORD_FILE. When VALMO_RECORD_GATE names a file, it
// first waits (at most 20 s) until that file exists, so a test can tell that nobody waited for it.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QThread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString recordFile = qEnvironmentVariable("VALMO_RECORD_FILE");
    const QString gateFile = qEnvironmentVariable("VALMO_RECORD_GATE");
    if (recordFile.isEmpty())
        return 2;

    if (!gateFile.isEmpty()) {
        QDeadlineTimer deadline(20000);
        while (!QFile::exists(gateFile) && !deadline.hasExpired())
            QThread::msleep(10);
    }

    QJsonArray arguments;
    const QStringList received = app.arguments();
    for (qsizetype i = 1; i < received.size(); ++i)
        arguments.append(received.at(i));

    // Written in one step, so the test never reads half a record.
    QSaveFile file(recordFile);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(QJsonDocument(arguments).toJson());
    return file.commit() ? 0 : 1;
}
