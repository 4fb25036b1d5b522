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

// A payment item leads to the file its payment was delivered in. A mandate item leads to the last
// delivered file with an order for that payer's mandate on or before the report's day; an
// e-mandate awaiting the payee's answer comes from the bank and answers no order.
const char* const SourcesSql =
    "SELECT e.line, f.name, f.imported_at, p.without_basis FROM events e "
    "JOIN payments p ON p.id = e.payment_id LEFT JOIN files f ON f.id = p.file_id "
    "WHERE e.file_id = ?1 AND e.line > 0 "
    "UNION ALL "
    "SELECT e.line, f.name, f.imported_at, 0 FROM events e LEFT JOIN files f ON f.id = "
    "(SELECT d.file_id FROM events d JOIN files df ON df.id = d.file_id WHERE d.payer = e.payer "
    "AND d.payment_id IS NULL AND df.kind = 'Orderfil' AND d.bank_date <= e.bank_date "
    "ORDER BY d.bank_date DESC, d.file_id DESC LIMIT 1) "
    "WHERE e.file_id = ?1 AND e.payment_id IS NULL AND e.line > 0 AND e.state <> ?2";

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

QHash<int, QString> ReportItemSources(const RegisterDatabase& database, const QByteArray& reportBytes)
{
    QHash<int, QString> sources;
    const qint64 fileId = FileId(database, reportBytes);
    if (fileId == 0)
        return sources;
    SqliteStatement query(database, SourcesSql);
    query.bind(1, fileId).bind(2, RegisterStates::mandateAwaitingAnswer());
    while (query.step()) {
        const QString name = query.text(1);
        const bool matched = !name.isEmpty() && query.integer(3) == 0;
        // The day of delivery is the day part of the time the file was recorded as delivered.
        AddSource(sources, int(query.integer(0)),
                  matched ? name + QStringLiteral(", ") + query.text(2).left(10) : WithoutBasis);
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
