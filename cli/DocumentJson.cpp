#include "cli/DocumentJson.h"

#include "app/OrderDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct ListShape
{
    const char* name;
    int columns;
};

QStringList rowTexts(const QJsonValue& value, const QString& listName, int index, int columns)
{
    const QString where = QStringLiteral("%1[%2]").arg(listName).arg(index);
    if (!value.isArray())
        throw DocumentJsonError(QStringLiteral("%1 är inte en lista av texter").arg(where));
    const QJsonArray array = value.toArray();
    if (array.size() != columns)
        throw DocumentJsonError(QStringLiteral("%1 har %2 kolumner, men ska ha %3")
                                    .arg(where)
                                    .arg(array.size())
                                    .arg(columns));
    QStringList texts;
    for (const QJsonValue& cell : array) {
        if (!cell.isString())
            throw DocumentJsonError(QStringLiteral("%1 innehåller något som inte är en text").arg(where));
        texts.append(cell.toString());
    }
    return texts;
}

QJsonArray requiredArray(const QJsonObject& root, const QString& name)
{
    const QJsonValue value = root.value(name);
    if (!value.isArray())
        throw DocumentJsonError(QStringLiteral("\"%1\" saknas eller är inte en lista").arg(name));
    return value.toArray();
}

void readList(const QJsonObject& root, const QString& name, RowList& list)
{
    const QJsonArray rows = requiredArray(root, name);
    const int columns = list.subItemCount() + 1;
    for (int i = 0; i < rows.size(); ++i) {
        QStringList texts = rowTexts(rows[i], name, i, columns);
        const QString caption = texts.takeFirst();
        list.append(caption, texts);
    }
}

QJsonArray rowsToJson(const RowList& list)
{
    QJsonArray rows;
    for (const ListRow& row : list) {
        QJsonArray cells;
        for (int column = 0; column < row.columnCount(); ++column)
            cells.append(row.text(column));
        rows.append(cells);
    }
    return rows;
}

} // namespace

QString ServiceName(bool privateService)
{
    return privateService ? QStringLiteral("Privat") : QStringLiteral("Företag");
}

bool ParseServiceName(const QString& name)
{
    if (name == QLatin1String("Privat"))
        return true;
    if (name == QStringLiteral("Företag"))
        return false;
    throw DocumentJsonError(QStringLiteral("Okänd tjänst \"%1\": ange Privat eller Företag").arg(name));
}

QString DocumentFromJson(const QByteArray& json, OrderDocument& document)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw DocumentJsonError(QStringLiteral("Ogiltig JSON vid tecken %1: %2")
                                    .arg(error.offset)
                                    .arg(error.errorString()));
    if (!parsed.isObject())
        throw DocumentJsonError(QStringLiteral("JSON-dokumentet ska vara ett objekt"));
    const QJsonObject root = parsed.object();

    QString service;
    if (root.contains(QLatin1String("service"))) {
        const QJsonValue value = root.value(QLatin1String("service"));
        if (!value.isString())
            throw DocumentJsonError(QStringLiteral("\"service\" ska vara en text"));
        service = value.toString();
        ParseServiceName(service);
    }

    readList(root, QStringLiteral("BtuList"), document.BtuList);
    readList(root, QStringLiteral("MdgList"), document.MdgList);
    readList(root, QStringLiteral("MdgListComp"), document.MdgListComp);

    const QJsonArray makRows = requiredArray(root, QStringLiteral("MakList"));
    const QJsonArray makCodes = requiredArray(root, QStringLiteral("MakCodes"));
    if (makCodes.size() != makRows.size())
        throw DocumentJsonError(QStringLiteral("MakCodes har %1 koder men MakList har %2 rader")
                                    .arg(makCodes.size())
                                    .arg(makRows.size()));
    for (int i = 0; i < makRows.size(); ++i) {
        QStringList texts = rowTexts(makRows[i], QStringLiteral("MakList"), i, MakRowList::SubItemCount + 1);
        if (!makCodes[i].isString())
            throw DocumentJsonError(QStringLiteral("MakCodes[%1] ska vara en text").arg(i));
        const QString caption = texts.takeFirst();
        document.MakList.append(makCodes[i].toString(), caption, texts);
    }
    return service;
}

QByteArray DocumentToJson(const OrderDocument& document, const QList<OpeningRecordEntry>& openingRecords)
{
    QJsonObject root;
    root.insert(QStringLiteral("service"), ServiceName(document.PrivateService));
    root.insert(QStringLiteral("BtuList"), rowsToJson(document.BtuList));
    root.insert(QStringLiteral("MdgList"), rowsToJson(document.MdgList));
    root.insert(QStringLiteral("MdgListComp"), rowsToJson(document.MdgListComp));
    root.insert(QStringLiteral("MakList"), rowsToJson(document.MakList.rows()));
    root.insert(QStringLiteral("MakCodes"), QJsonArray::fromStringList(document.MakCodes()));
    QJsonArray opening;
    for (const OpeningRecordEntry& entry : openingRecords) {
        QJsonObject record;
        record.insert(QStringLiteral("line"), entry.line);
        record.insert(QStringLiteral("customerNumber"), entry.customerNumber);
        record.insert(QStringLiteral("bankgiro"), entry.bankgiro);
        opening.append(record);
    }
    root.insert(QStringLiteral("openingRecords"), opening);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
