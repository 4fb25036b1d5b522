#include "app/RowChange.h"

#include "app/OrderDocument.h"
#include "format/ListExport.h"

namespace {

QString listName(ListId list)
{
    switch (list) {
    case ListId::Btu:
        return QStringLiteral("betaluppdrag");
    case ListId::Mdg:
    case ListId::MdgComp:
        return QStringLiteral("medgivande");
    case ListId::Mak:
        return QStringLiteral("makulering eller ändring");
    }
    return QString();
}

} // namespace

RowChange::RowChange(OrderDocument& document, ListId list, Kind kind, Applied applied)
    : m_document(document), m_list(list), m_kind(kind), m_applied(std::move(applied))
{
}

RowChange* RowChange::add(OrderDocument& document, ListId list, const ListRow& row, const QString& code,
                          Applied applied)
{
    auto* change = new RowChange(document, list, Kind::Add, std::move(applied));
    change->m_after = {{change->count(), row, code}};
    change->setText(QStringLiteral("Lägg till %1").arg(listName(list)));
    return change;
}

RowChange* RowChange::edit(OrderDocument& document, ListId list, int index, const ListRow& row,
                           const QString& code, Applied applied)
{
    auto* change = new RowChange(document, list, Kind::Edit, std::move(applied));
    change->m_before = {change->current(index)};
    change->m_after = {{index, row, code}};
    change->setText(QStringLiteral("Redigera %1").arg(listName(list)));
    return change;
}

RowChange* RowChange::remove(OrderDocument& document, ListId list, const QList<int>& indices, Applied applied)
{
    auto* change = new RowChange(document, list, Kind::Delete, std::move(applied));
    for (const int index : indices)
        change->m_before.append(change->current(index));
    change->setText(QStringLiteral("Ta bort %1").arg(listName(list)));
    return change;
}

void RowChange::redo()
{
    const int before = count();
    switch (m_kind) {
    case Kind::Add:
        insert(m_after.first());
        tell({m_after.first().index}, before);
        break;
    case Kind::Edit:
        put(m_after.first());
        tell({m_after.first().index}, before);
        break;
    case Kind::Delete:
        eraseDeleted();
        tell(selectionAfterDelete(), before);
        break;
    }
}

void RowChange::undo()
{
    const int before = count();
    QList<int> restored;
    switch (m_kind) {
    case Kind::Add:
        erase(m_after.first().index);
        break;
    case Kind::Edit:
        put(m_before.first());
        restored.append(m_before.first().index);
        break;
    case Kind::Delete:
        insertDeleted();
        for (const Row& row : m_before)
            restored.append(row.index);
        break;
    }
    tell(restored, before);
}

QList<int> RowChange::selectionAfterDelete() const
{
    const int first = m_before.first().index;
    return first < count() - 1 ? QList<int>{first} : QList<int>();
}

void RowChange::tell(const QList<int>& rows, int countBefore)
{
    m_document.DocModified = true;
    if (m_applied)
        m_applied(m_list, rows, countBefore == 0 && count() > 0);
}

RowChange::Row RowChange::current(int index) const
{
    switch (m_list) {
    case ListId::Btu:
        return {index, m_document.BtuList.row(index), QString()};
    case ListId::Mdg:
        return {index, m_document.MdgList.row(index), QString()};
    case ListId::MdgComp:
        return {index, m_document.MdgListComp.row(index), QString()};
    case ListId::Mak:
        return {index, m_document.MakList.row(index), m_document.MakList.code(index)};
    }
    return {index, ListRow(), QString()};
}

void RowChange::put(const Row& row)
{
    switch (m_list) {
    case ListId::Btu:
        m_document.BtuList.replace(row.index, row.row);
        break;
    case ListId::Mdg:
        m_document.MdgList.replace(row.index, row.row);
        break;
    case ListId::MdgComp:
        m_document.MdgListComp.replace(row.index, row.row);
        break;
    case ListId::Mak:
        m_document.MakList.replace(row.index, row.code, row.row);
        break;
    }
}

void RowChange::insert(const Row& row)
{
    switch (m_list) {
    case ListId::Btu:
        m_document.BtuList.insert(row.index, row.row);
        break;
    case ListId::Mdg:
        m_document.MdgList.insert(row.index, row.row);
        break;
    case ListId::MdgComp:
        m_document.MdgListComp.insert(row.index, row.row);
        break;
    case ListId::Mak:
        m_document.MakList.insert(row.index, row.code, row.row);
        break;
    }
}

void RowChange::erase(int index)
{
    switch (m_list) {
    case ListId::Btu:
        m_document.BtuList.remove(index);
        break;
    case ListId::Mdg:
        m_document.MdgList.remove(index);
        break;
    case ListId::MdgComp:
        m_document.MdgListComp.remove(index);
        break;
    case ListId::Mak:
        m_document.MakList.remove(index);
        break;
    }
}

void RowChange::eraseDeleted()
{
    QList<int> indices;
    indices.reserve(m_before.size());
    for (const Row& row : m_before)
        indices.append(row.index);
    switch (m_list) {
    case ListId::Btu:
        m_document.BtuList.removeRows(indices);
        break;
    case ListId::Mdg:
        m_document.MdgList.removeRows(indices);
        break;
    case ListId::MdgComp:
        m_document.MdgListComp.removeRows(indices);
        break;
    case ListId::Mak:
        m_document.MakList.removeRows(indices);
        break;
    }
}

void RowChange::insertDeleted()
{
    QList<int> indices;
    QList<ListRow> rows;
    QStringList codes;
    indices.reserve(m_before.size());
    rows.reserve(m_before.size());
    for (const Row& row : m_before) {
        indices.append(row.index);
        rows.append(row.row);
        codes.append(row.code);
    }
    switch (m_list) {
    case ListId::Btu:
        m_document.BtuList.insertRows(indices, rows);
        break;
    case ListId::Mdg:
        m_document.MdgList.insertRows(indices, rows);
        break;
    case ListId::MdgComp:
        m_document.MdgListComp.insertRows(indices, rows);
        break;
    case ListId::Mak:
        m_document.MakList.insertRows(indices, codes, rows);
        break;
    }
}

int RowChange::count() const
{
    return ListRows(m_document, m_list).count();
}
