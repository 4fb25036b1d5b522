#include "format/ListExport.h"

#include "app/OrderDocument.h"
#include "rules/ValmoError.h"

#include <QSaveFile>

namespace {

bool needsQuotes(const QString& field)
{
    if (field.isEmpty())
        return false;
    if (field.front().isSpace() || field.back().isSpace())
        return true;
    for (const QChar c : field) {
        if (c == QLatin1Char(';') || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r'))
            return true;
    }
    return false;
}

void appendField(QString& out, const QString& field)
{
    if (!needsQuotes(field)) {
        out += field;
        return;
    }
    out += QLatin1Char('"');
    out += QString(field).replace(QLatin1String("\""), QLatin1String("\"\""));
    out += QLatin1Char('"');
}

void appendLine(QString& out, const QStringList& fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(';');
        appendField(out, fields[i]);
    }
    out += QLatin1String("\r\n");
}

} // namespace

void AppendCsvLine(QString& out, const QStringList& fields)
{
    appendLine(out, fields);
}

const RowList& ListRows(const OrderDocument& document, ListId list)
{
    switch (list) {
    case ListId::Btu:
        return document.BtuList;
    case ListId::Mdg:
        return document.MdgList;
    case ListId::MdgComp:
        return document.MdgListComp;
    case ListId::Mak:
        return document.MakList.rows();
    }
    return document.BtuList;
}

QStringList ListCaptions(ListId list, bool privateService)
{
    const QString payer = privateService ? QStringLiteral("Betalarnummer") : QStringLiteral("Bankgironummer");
    switch (list) {
    case ListId::Btu:
        return {QStringLiteral("Typ"),     QStringLiteral("Period"), QStringLiteral("Betalningsdag"),
                QStringLiteral("Belopp"),  QStringLiteral("Antal"),  payer,
                QStringLiteral("Referens")};
    case ListId::Mdg:
        return {QStringLiteral("Typ"), QStringLiteral("Betalarnummer"), QStringLiteral("Konto/id-nummer"),
                QStringLiteral("Personnummer")};
    case ListId::MdgComp:
        return {QStringLiteral("Bankgironummer")};
    case ListId::Mak:
        return {QStringLiteral("Beskrivning"),   payer,
                QStringLiteral("Betalningsdag"), QStringLiteral("Ny betaldag"),
                QStringLiteral("Belopp"),        QStringLiteral("Transaktionstyp"),
                QStringLiteral("Referens")};
    }
    return {};
}

QByteArray ListToCsv(const OrderDocument& document, ListId list)
{
    const QStringList captions = ListCaptions(list, document.PrivateService);
    const RowList& rows = ListRows(document, list);
    QString text;
    text.reserve(qsizetype(rows.count() + 1) * 64);
    appendLine(text, captions);
    QStringList fields;
    for (const ListRow& row : rows) {
        fields.clear();
        for (int column = 0; column < captions.size(); ++column)
            fields.append(row.text(column));
        appendLine(text, fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void ExportListFile(const QString& path, const OrderDocument& document, ListId list)
{
    const QByteArray bytes = ListToCsv(document, list);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ValmoError(QStringLiteral("Filen %1 kunde inte skrivas: %2").arg(path, file.errorString()));
}

QString ListName(ListId list)
{
    switch (list) {
    case ListId::Btu:
        return QStringLiteral("Betaluppdrag");
    case ListId::Mdg:
    case ListId::MdgComp:
        return QStringLiteral("Medgivanden");
    case ListId::Mak:
        return QStringLiteral("Makuleringar och ändringar");
    }
    return QString();
}
