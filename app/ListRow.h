#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <initializer_list>

// One line of a list: a caption (the first column) and the texts of the further columns.
// The fixed texts of the document model (kinds of payment and mandate, period texts, descriptions
// of the cancellation codes) are kept once for the whole program and a row only refers to them; all
// other texts of a row are kept in one buffer with their end offsets, so a row costs one allocation
// and no more bytes than its own characters.
class ListRow
{
public:
    static constexpr int MaxColumns = 7;
    // The most text a row holds, its columns together (the fixed texts it shares not counted).
    static constexpr int MaxText = 0x7FFF;

    ListRow() = default;
    ListRow(const QString& caption, const QStringList& subItems);
    ListRow(const ListRow& other);
    ListRow(ListRow&& other) noexcept;
    ListRow& operator=(const ListRow& other);
    ListRow& operator=(ListRow&& other) noexcept;
    ~ListRow();
    // The caption first, then the sub-items: the texts are copied, so views of a passing buffer do.
    explicit ListRow(std::initializer_list<QStringView> texts);

    QString caption() const { return text(0); }
    int subItemCount() const { return m_columns - 1; }
    QString subItem(int index) const { return text(index + 1); }
    QStringList subItems() const;

    int columnCount() const { return m_columns; }
    // Column 0 is the caption.
    QString text(int column) const;
    QStringView textView(int column) const;

    bool operator==(const ListRow& other) const;
    bool operator!=(const ListRow& other) const { return !(*this == other); }

private:
    // An entry of m_ends with this bit set names a shared text by its index instead of an end offset.
    static constexpr uint16_t SharedBit = 0x8000;

    int beginOf(int column) const;
    int ownLength() const { return beginOf(m_columns); }
    template <typename TextAt> void build(int columns, const TextAt& textAt);

    char16_t* m_text = nullptr; // the texts that are not shared, one after the other
    std::array<uint16_t, MaxColumns> m_ends{};
    uint8_t m_columns = 1;
};
Q_DECLARE_TYPEINFO(ListRow, Q_RELOCATABLE_TYPE);
