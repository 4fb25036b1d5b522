#include "app/ListRow.h"

#include <stdexcept>

ListRow::ListRow(const QString& caption, const QStringList& subItems)
{
    if (subItems.size() + 1 > MaxColumns)
        throw std::invalid_argument("ListRow: too many columns");
    qsizetype total = caption.size();
    for (const QString& item : subItems)
        total += item.size();
    if (total > 0xFFFF)
        throw std::invalid_argument("ListRow: row text too long");
    m_text.reserve(total);
    m_text += caption;
    m_ends[0] = uint16_t(m_text.size());
    m_columns = uint8_t(subItems.size() + 1);
    for (int i = 0; i < subItems.size(); ++i) {
        m_text += subItems[i];
        m_ends[i + 1] = uint16_t(m_text.size());
    }
}

QStringView ListRow::textView(int column) const
{
    if (column < 0 || column >= m_columns)
        return {};
    const int begin = column == 0 ? 0 : m_ends[column - 1];
    return QStringView(m_text).mid(begin, m_ends[column] - begin);
}

QString ListRow::text(int column) const
{
    if (column == 0 && m_columns == 1)
        return m_text;
    return textView(column).toString();
}

QStringList ListRow::subItems() const
{
    QStringList items;
    items.reserve(subItemCount());
    for (int i = 1; i < m_columns; ++i)
        items.append(text(i));
    return items;
}

bool ListRow::operator==(const ListRow& other) const
{
    return m_columns == other.m_columns && m_text == other.m_text &&
           std::equal(m_ends.begin(), m_ends.begin() + m_columns, other.m_ends.begin());
}
