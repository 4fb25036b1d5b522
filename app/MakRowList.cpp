#include "app/MakRowList.h"

#include <stdexcept>

int MakRowList::append(const QString& code, const QString& caption, const QStringList& subItems)
{
    return append(code, ListRow(caption, subItems));
}

int MakRowList::append(const QString& code, const ListRow& row)
{
    m_codes.append(code);
    try {
        return m_rows.append(row);
    } catch (...) {
        m_codes.removeLast();
        throw;
    }
}

void MakRowList::replace(int index, const QString& code, const QString& caption,
                         const QStringList& subItems)
{
    replace(index, code, ListRow(caption, subItems));
}

void MakRowList::replace(int index, const QString& code, const ListRow& row)
{
    m_rows.replace(index, row); // checks shape and index before anything changes
    m_codes[index] = code;
}

void MakRowList::remove(int index)
{
    if (index < 0 || index >= count())
        throw std::out_of_range("MakRowList: no such row");
    m_codes.removeAt(index);
    m_rows.remove(index);
}

void MakRowList::clear()
{
    m_codes.clear();
    m_rows.clear();
}

void MakRowList::reserve(int count)
{
    m_codes.reserve(count);
    m_rows.reserve(count);
}
