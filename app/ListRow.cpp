#include "app/ListRow.h"

#include "app/OrderDocument.h"
#include "rules/Periods.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr qsizetype MaxRowText = ListRow::MaxText;
constexpr int LongestSharedText = 127;

// The fixed texts that rows share, with an index by length for a quick lookup.
class SharedTexts
{
public:
    SharedTexts()
    {
        OrderDocument document;
        document.FillMakTexts();
        QStringList texts = {RowTexts::debit(), RowTexts::credit(), RowTexts::paperMandate(),
                             RowTexts::electronicMandate(), RowTexts::rejectedMandate()};
        texts += PeriodTexts();
        texts += document.MakTexts;
        for (const QString& text : texts) {
            if (text.size() < 2 || text.size() > LongestSharedText || m_texts.contains(text))
                continue;
            m_byLength[size_t(text.size())].push_back(uint16_t(m_texts.size()));
            m_texts.append(text);
        }
    }

    // The index of the text, or -1 when it is not shared.
    int indexOf(QStringView text) const
    {
        if (text.size() > LongestSharedText)
            return -1;
        for (const uint16_t index : m_byLength[size_t(text.size())]) {
            const QString& candidate = m_texts[index];
            if (candidate.constData() == text.data() || QStringView(candidate) == text)
                return index;
        }
        return -1;
    }

    const QString& at(int index) const { return m_texts[index]; }

private:
    QStringList m_texts;
    std::array<std::vector<uint16_t>, LongestSharedText + 1> m_byLength;
};

const SharedTexts& sharedTexts()
{
    static const SharedTexts texts;
    return texts;
}

} // namespace

ListRow::ListRow(const QString& caption, const QStringList& subItems)
{
    if (subItems.size() + 1 > MaxColumns)
        throw std::invalid_argument("ListRow: too many columns");
    build(int(subItems.size()) + 1,
          [&](int column) { return QStringView(column == 0 ? caption : subItems[column - 1]); });
}

ListRow::ListRow(std::initializer_list<QStringView> texts)
{
    if (texts.size() > size_t(MaxColumns) || texts.size() == 0)
        throw std::invalid_argument("ListRow: wrong number of columns");
    build(int(texts.size()), [&](int column) { return texts.begin()[column]; });
}

template <typename TextAt> void ListRow::build(int columns, const TextAt& textAt)
{
    const SharedTexts& shared = sharedTexts();
    std::array<int, MaxColumns> sharedIndex{};
    qsizetype total = 0;
    for (int column = 0; column < columns; ++column) {
        const QStringView text = textAt(column);
        sharedIndex[size_t(column)] = shared.indexOf(text);
        if (sharedIndex[size_t(column)] < 0)
            total += text.size();
    }
    if (total > MaxRowText)
        throw std::invalid_argument("ListRow: row text too long");
    m_columns = uint8_t(columns);
    if (total > 0)
        m_text = new char16_t[size_t(total)];
    qsizetype end = 0;
    for (int column = 0; column < m_columns; ++column) {
        if (sharedIndex[size_t(column)] >= 0) {
            m_ends[size_t(column)] = uint16_t(SharedBit | sharedIndex[size_t(column)]);
            continue;
        }
        const QStringView text = textAt(column);
        std::copy(text.utf16(), text.utf16() + text.size(), m_text + end);
        end += text.size();
        m_ends[size_t(column)] = uint16_t(end);
    }
}

ListRow::ListRow(const ListRow& other) : m_ends(other.m_ends), m_columns(other.m_columns)
{
    const int length = other.ownLength();
    if (length > 0) {
        m_text = new char16_t[size_t(length)];
        std::copy(other.m_text, other.m_text + length, m_text);
    }
}

ListRow::ListRow(ListRow&& other) noexcept
    : m_text(std::exchange(other.m_text, nullptr)), m_ends(other.m_ends), m_columns(other.m_columns)
{
    other.m_ends = {};
    other.m_columns = 1;
}

ListRow& ListRow::operator=(const ListRow& other)
{
    if (this != &other)
        *this = ListRow(other);
    return *this;
}

ListRow& ListRow::operator=(ListRow&& other) noexcept
{
    std::swap(m_text, other.m_text);
    std::swap(m_ends, other.m_ends);
    std::swap(m_columns, other.m_columns);
    return *this;
}

ListRow::~ListRow()
{
    delete[] m_text;
}

// Where the column's own text starts in m_text: at the end of the nearest earlier column that is
// not shared.
int ListRow::beginOf(int column) const
{
    for (int earlier = column - 1; earlier >= 0; --earlier) {
        if (!(m_ends[size_t(earlier)] & SharedBit))
            return m_ends[size_t(earlier)];
    }
    return 0;
}

QStringView ListRow::textView(int column) const
{
    if (column < 0 || column >= m_columns)
        return {};
    const uint16_t end = m_ends[size_t(column)];
    if (end & SharedBit)
        return sharedTexts().at(end & ~SharedBit);
    const int begin = beginOf(column);
    return QStringView(m_text + begin, end - begin);
}

QString ListRow::text(int column) const
{
    if (column < 0 || column >= m_columns)
        return QString();
    const uint16_t end = m_ends[size_t(column)];
    if (end & SharedBit)
        return sharedTexts().at(end & ~SharedBit);
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
    if (m_columns != other.m_columns)
        return false;
    for (int column = 0; column < m_columns; ++column) {
        if (textView(column) != other.textView(column))
            return false;
    }
    return true;
}
