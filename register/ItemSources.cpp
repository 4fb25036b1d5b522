#include "register/ItemSources.h"

#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterStates.h"
#include "register/SqliteStatement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace {

const QString WithoutBasis = QStringLiteral("utan underlag");

// One pass over the report's events. A payment item leads to the file its payment was delivered in
// (column 1; column 2 says whether that payment is itself without basis). A mandate item leads to
// the last delivered file with an order for that payer's mandate on or before the report's day
// (column 3). An e-mandate awaiting the payee's answer comes from the bank and answers no order
// (column 4 is 0 for it).
const char* const SourcesSql =
    "SELECT e.line, p.file_id, p.without_basis, "
    "CASE WHEN e.payment_id IS NULL AND e.state <> ?2 THEN (SELECT d.file_id FROM events d "
    "JOIN files df ON df.id = d.file_id WHERE d.payer = e.payer AND d.payment_id IS NULL "
    "AND df.kind = 'Orderfil' AND d.bank_date <= e.bank_date ORDER BY d.bank_date DESC, d.file_id DESC "
    "LIMIT 1) END, e.payment_id IS NOT NULL OR e.state <> ?2 "
    "FROM events e LEFT JOIN payments p ON p.id = e.payment_id WHERE e.file_id = ?1 AND e.line > 0";

// "order-0312.ag, 2026-03-12" for every file the register holds: the day of delivery is the day
// part of the time the file was recorded as delivered. The files are few: one per import.
QHash<qint64, QString> FileTexts(const RegisterDatabase& database)
{
    QHash<qint64, QString> texts;
    SqliteStatement query(database, "SELECT id, name, imported_at FROM files");
    while (query.step())
        texts.insert(query.integer(0), query.text(1) + QStringLiteral(", ") + query.text(2).left(10));
    return texts;
}

qint64 FileId(const RegisterDatabase& database, const QByteArray& bytes)
{
    SqliteStatement query(database, "SELECT id FROM files WHERE sha256 = ?1");
    query.bind(1, QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    return query.step() ? query.integer(0) : 0;
}

void AddSource(QHash<int, QString>& sources, int line, const QString& source)
{
    QString& text = sources[line];
    if (text.isEmpty() || text == WithoutBasis)
        text = source;
    else if (source != WithoutBasis && !text.split(QStringLiteral("; ")).contains(source))
        text += QStringLiteral("; ") + source;
}

} // namespace

bool RegisterHoldsFile(const RegisterDatabase& database, const QByteArray& bytes)
{
    return FileId(database, bytes) != 0;
}

QHash<int, QString> ReportItemSources(const RegisterDatabase& database, const QByteArray& reportBytes)
{
    QHash<int, QString> sources;
    const qint64 fileId = FileId(database, reportBytes);
    if (fileId == 0)
        return sources;
    const QHash<qint64, QString> files = FileTexts(database);
    SqliteStatement query(database, SourcesSql);
    query.bind(1, fileId).bind(2, RegisterStates::mandateAwaitingAnswer());
    while (query.step()) {
        if (query.integer(4) == 0)
            continue;
        const qint64 paymentFile = query.integer(1);
        const qint64 file = paymentFile != 0 && query.integer(2) == 0 ? paymentFile : query.integer(3);
        AddSource(sources, int(query.integer(0)), files.value(file, WithoutBasis));
    }
    return sources;
}

QHash<int, QString> ReportItemSources(const QString& reportPath, const QString& registerPath)
{
    if (registerPath.isEmpty() || !QFileInfo(registerPath).isFile())
        return {};
    QFile file(reportPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    try {
        const RegisterDatabase database(registerPath);
        return ReportItemSources(database, bytes);
    } catch (const RegisterError&) {
        return {};
    }
}
