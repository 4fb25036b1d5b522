#pragma once

#include "format/Report.h"
#include "register/RegisterDatabase.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

class Clock;
class RegisterStore;
struct DeliveredFile;

// An item of a report that belongs to no delivered order or mandate.
struct UnplacedItem
{
    int line = 0;
    QString payer;
    QString description;
};

// What one file changed in the register.
struct ImportSummary
{
    QString file;
    QString kind;                  // "Orderfil" or the report's kind
    bool alreadyImported = false;  // the same file was read before: nothing changed
    bool totalsDisagree = false;   // refused: a report's totals disagree with its items
    QStringList disagreements;
    QMap<QString, int> states;     // how many facts set each state
    QList<UnplacedItem> withoutBasis;
};

// Records delivered order files and the bank's reports in the register. Each file is one
// transaction: all of it or nothing. A file already recorded (the same SHA-256) changes nothing.
// Failures are thrown as RegisterError.
class RegisterImporter
{
public:
    RegisterImporter(RegisterDatabase& database, const Clock& clock);

    // The payee a new register takes, from the settings or the command line. Without it the
    // register takes the payee of the first file.
    void setDefaultPayee(const RegisterPayee& payee) { m_defaultPayee = payee; }
    // The time recorded for delivery and import; now unless set.
    void setTime(const QDateTime& time) { m_time = time; }

    // An order file delivered to the bank: its mandates and orders are recorded as sent.
    ImportSummary deliver(const QString& path);
    ImportSummary deliver(const QByteArray& bytes, const QString& name);

    // A report file from the bank. A report whose totals disagree with its items is imported only
    // with force; otherwise the summary says so and nothing is written.
    ImportSummary import(const QString& path, bool force);
    ImportSummary import(const QByteArray& bytes, const QString& name, bool force);

private:
    template <typename Work> ImportSummary inTransaction(ImportSummary summary, const QByteArray& bytes,
                                                         const RegisterPayee& payee, Work work);
    void checkPayee(const RegisterPayee& filePayee, const QString& name);
    void recordDelivery(RegisterStore& store, const DeliveredFile& file, ImportSummary& summary);
    void recordReport(RegisterStore& store, const Report& report, const QStringList& lines,
                      ImportSummary& summary);
    QDate today() const;

    RegisterDatabase& m_database;
    const Clock& m_clock;
    std::optional<RegisterPayee> m_defaultPayee;
    QDateTime m_time;
    qint64 m_fileId = 0;
};
