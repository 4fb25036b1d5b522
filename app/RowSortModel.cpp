#include "app/RowSortModel.h"

#include "app/NumberReader.h"
#include "app/RowList.h"
#include "app/RowListModel.h"

#include <QBrush>

#include <algorithm>
#include <array>

namespace {

// Positions (ascending) joined into ranges of consecutive positions.
std::vector<std::pair<int, int>> rangesOf(const std::vector<int>& positions)
{
    std::vector<std::pair<int, int>> ranges;
    for (const int position : positions) {
        if (!ranges.empty() && ranges.back().second + 1 == position)
            ranges.back().second = position;
        else
            ranges.emplace_back(position, position);
    }
    return ranges;
}

// A text as it compares whatever its case: each character folded, so plain comparison of the
// folded texts orders them as a comparison without regard to case does.
void appendFolded(QStringView text, std::u16string& folded)
{
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80)
            folded.push_back(unit >= u'A' && unit <= u'Z' ? char16_t(unit + 32) : unit);
        else
            folded.push_back(c.toCaseFolded().unicode());
    }
}

// A sort in steps sorts this many pieces one by one and then merges them pairwise.
constexpr size_t SortPieces = 16;
// Its steps: the keys, the pieces, and the merges of pieces.
constexpr qint64 SortSteps = 1 + 2 * qint64(SortPieces);

// Sorts as std::sort does, a piece at a time and then merging the pieces, and tells the progress
// after each; false as soon as it is cancelled, the items then being in no useful order.
template <typename Item, typename Less>
bool sortInSteps(std::vector<Item>& items, Less less, Progress& progress, qint64 done)
{
    const size_t size = items.size();
    const size_t piece = (size + SortPieces - 1) / SortPieces;
    const auto at = [&items, size](size_t position) { return items.begin() + std::min(size, position); };
    for (size_t first = 0; first < size; first += piece) {
        std::sort(at(first), at(first + piece), less);
        if (!progress.carryOn(++done))
            return false;
    }
    for (size_t width = piece; width < size; width *= 2) {
        for (size_t first = 0; first + width < size; first += 2 * width) {
            std::inplace_merge(at(first), at(first + width), at(first + 2 * width), less);
            if (!progress.carryOn(++done))
                return false;
        }
    }
    return true;
}

// Sorts the items, in steps when there is a progress to tell; false when it was cancelled.
template <typename Item, typename Less>
bool sortKeyed(std::vector<Item>& items, Less less, Progress* progress)
{
    if (!progress || items.size() < size_t(RowSortModel::SortInStepsFrom)) {
        std::sort(items.begin(), items.end(), less);
        return true;
    }
    return progress->carryOn(1) && sortInSteps(items, less, *progress, 1);
}

} // namespace

RowSortModel::RowSortModel(QObject* parent) : QAbstractProxyModel(parent) {}

void RowSortModel::setSourceModel(QAbstractItemModel* model)
{
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(model);
    m_rows = qobject_cast<RowListModel*>(model);
    if (m_rows) {
        connect(m_rows, &QAbstractItemModel::rowsInserted, this, &RowSortModel::sourceRowsInserted);
        connect(m_rows, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                &RowSortModel::sourceRowsAboutToBeRemoved);
        connect(m_rows, &QAbstractItemModel::rowsRemoved, this, &RowSortModel::sourceRowsRemoved);
        connect(m_rows, &QAbstractItemModel::dataChanged, this, &RowSortModel::sourceDataChanged);
        connect(m_rows, &QAbstractItemModel::modelAboutToBeReset, this, &RowSortModel::sourceAboutToBeReset);
        connect(m_rows, &QAbstractItemModel::modelReset, this, &RowSortModel::sourceReset);
        connect(m_rows, &QAbstractItemModel::layoutAboutToBeChanged, this,
                &RowSortModel::sourceAboutToBeReset);
        connect(m_rows, &QAbstractItemModel::layoutChanged, this, &RowSortModel::sourceReset);
        connect(m_rows, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
        // Rows that go before their view (a window closing) leave the view empty.
        connect(m_rows, &QObject::destroyed, this, [this] {
            beginResetModel();
            m_rows = nullptr;
            rebuild();
            endResetModel();
        });
    }
    rebuild();
    endResetModel();
}

int RowSortModel::sourceCount() const
{
    return m_rows ? m_rows->rowCount() : 0;
}

bool RowSortModel::matches(int sourceRow, RecentTexts* recent) const
{
    if (m_filter.isEmpty())
        return true;
    const ListRow& row = m_rows->rows().row(sourceRow);
    const int columns = qMin(qMin(row.columnCount(), m_rows->columnCount()), int(RecentTexts().size()));
    for (int column = 0; column < columns; ++column) {
        const QStringView text = row.textView(column);
        if (recent) {
            Recent& last = (*recent)[size_t(column)];
            if (last.text && last.text == text.data() && last.length == text.size()) {
                if (last.hit)
                    return true;
                continue;
            }
            last = {text.data(), text.size(), text.contains(m_filter, Qt::CaseInsensitive)};
            if (last.hit)
                return true;
        } else if (text.contains(m_filter, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// The order shown: by the sort column's value, rows of equal value in the document's order.
bool RowSortModel::comesBefore(int left, int right) const
{
    if (m_sortColumn < 0)
        return left < right;
    const RowList& rows = m_rows->rows();
    const QStringView leftText = rows.row(left).textView(m_sortColumn);
    const QStringView rightText = rows.row(right).textView(m_sortColumn);
    int order = 0;
    if (m_rows->isNumberColumn(m_sortColumn)) {
        const NumberReader reader;
        const double leftValue = RowListModel::sortValue(leftText, reader);
        const double rightValue = RowListModel::sortValue(rightText, reader);
        order = leftValue < rightValue ? -1 : (rightValue < leftValue ? 1 : 0);
    } else {
        order = leftText.compare(rightText, Qt::CaseInsensitive);
    }
    if (order == 0)
        return left < right;
    return m_sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
}

void RowSortModel::sortRows(std::vector<int>& rows) const
{
    sortRows(rows, m_sortColumn, m_sortOrder, nullptr);
}

// Each row's value is read once; the comparisons use the values only.
bool RowSortModel::sortRows(std::vector<int>& rows, int column, Qt::SortOrder order, Progress* progress) const
{
    if (column < 0) {
        std::sort(rows.begin(), rows.end());
        return true;
    }
    const bool ascending = order == Qt::AscendingOrder;
    const RowList& list = m_rows->rows();
    if (m_rows->isNumberColumn(column)) {
        const NumberReader reader;
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(rows.size());
        for (const int row : rows)
            keyed.emplace_back(RowListModel::sortValue(list.row(row).textView(column), reader), row);
        const bool sorted = sortKeyed(
            keyed,
            [ascending](const auto& left, const auto& right) {
                if (left.first != right.first)
                    return ascending ? left.first < right.first : right.first < left.first;
                return left.second < right.second;
            },
            progress);
        if (!sorted)
            return false;
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i] = keyed[i].second;
        return true;
    }
    struct Keyed
    {
        size_t begin;
        size_t length;
        int row;
    };
    std::u16string folded;
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    // The fixed texts (kinds, periods) are one text that many rows refer to: folded once, and rows
    // with the same text share one key, which compares equal at once.
    constexpr size_t SharedKeys = 8;
    std::array<std::pair<const QChar*, Keyed>, SharedKeys> recent{};
    size_t nextRecent = 0;
    QStringView previous;
    Keyed previousKey{0, 0, 0};
    for (const int row : rows) {
        const QStringView text = list.row(row).textView(column);
        const auto known = std::find_if(recent.begin(), recent.end(), [&](const auto& entry) {
            return entry.first == text.data() && entry.second.length == size_t(text.size()) &&
                   !text.isEmpty();
        });
        if (known != recent.end() && text.size() == qsizetype(known->second.length)) {
            keyed.push_back({known->second.begin, known->second.length, row});
            continue;
        }
        // Rows next to each other often hold the same text (a date, a payer): one key for the run.
        if (!previous.isNull() && text == previous) {
            keyed.push_back({previousKey.begin, previousKey.length, row});
            continue;
        }
        const size_t begin = folded.size();
        appendFolded(text, folded);
        keyed.push_back({begin, folded.size() - begin, row});
        previous = text;
        previousKey = keyed.back();
        recent[nextRecent] = {text.data(), keyed.back()};
        nextRecent = (nextRecent + 1) % SharedKeys;
    }
    const std::u16string_view texts(folded);
    const bool sorted = sortKeyed(
        keyed,
        [&](const Keyed& left, const Keyed& right) {
            const int compared =
                left.begin == right.begin && left.length == right.length
                    ? 0
                    : texts.substr(left.begin, left.length).compare(texts.substr(right.begin, right.length));
            if (compared != 0)
                return ascending ? compared < 0 : compared > 0;
            return left.row < right.row;
        },
        progress);
    if (!sorted)
        return false;
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = keyed[i].row;
    return true;
}

void RowSortModel::placeRow(int sourceRow)
{
    const auto place = std::lower_bound(m_order.begin(), m_order.end(), sourceRow,
                                        [this](int left, int right) { return comesBefore(left, right); });
    m_order.insert(place, sourceRow);
}

std::vector<int> RowSortModel::shownInOrder() const
{
    if (m_filter.isEmpty())
        return m_order;
    std::vector<int> shown;
    for (const int row : m_order) {
        if (m_matches[size_t(row)])
            shown.push_back(row);
    }
    return shown;
}

void RowSortModel::rebuild()
{
    const int count = sourceCount();
    m_matches.assign(size_t(count), 1);
    m_order.resize(size_t(count));
    RecentTexts recent;
    for (int row = 0; row < count; ++row) {
        m_order[size_t(row)] = row;
        if (!m_filter.isEmpty())
            m_matches[size_t(row)] = matches(row, &recent);
    }
    if (m_sortColumn >= 0 && m_rows)
        sortRows(m_order);
    m_shown = shownInOrder();
    forgetSourceToProxy();
}

void RowSortModel::show(const std::vector<int>& rows)
{
    const size_t count = m_matches.size();
    std::vector<char> inNew(count, 0);
    std::vector<char> inOld(count, 0);
    for (const int row : rows)
        inNew[size_t(row)] = 1;
    for (const int row : m_shown)
        inOld[size_t(row)] = 1;
    std::vector<int> leaving;
    for (size_t i = 0; i < m_shown.size(); ++i) {
        if (!inNew[size_t(m_shown[i])])
            leaving.push_back(int(i));
    }
    std::vector<int> coming;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!inOld[size_t(rows[i])])
            coming.push_back(int(i));
    }
    const auto removed = rangesOf(leaving);
    const auto inserted = rangesOf(coming);
    if (removed.size() + inserted.size() > size_t(MostRangesAnnounced)) {
        beginResetModel();
        m_shown = rows;
        forgetSourceToProxy();
        endResetModel();
        return;
    }
    for (auto range = removed.rbegin(); range != removed.rend(); ++range) {
        beginRemoveRows(QModelIndex(), range->first, range->second);
        m_shown.erase(m_shown.begin() + range->first, m_shown.begin() + range->second + 1);
        forgetSourceToProxy();
        endRemoveRows();
    }
    for (const auto& range : inserted) {
        beginInsertRows(QModelIndex(), range.first, range.second);
        m_shown.insert(m_shown.begin() + range.first, rows.begin() + range.first,
                       rows.begin() + range.second + 1);
        forgetSourceToProxy();
        endInsertRows();
    }
}

void RowSortModel::reorder(const std::vector<int>& rows)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> sources;
    sources.reserve(size_t(before.size()));
    for (const QModelIndex& index : before)
        sources.push_back(
            index.row() >= 0 && size_t(index.row()) < m_shown.size() ? m_shown[size_t(index.row())] : -1);
    m_shown = rows;
    forgetSourceToProxy();
    const std::vector<int>& place = sourceToProxy();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = sources[size_t(i)] >= 0 ? place[size_t(sources[size_t(i)])] : -1;
        after.append(row >= 0 ? createIndex(row, before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

const std::vector<int>& RowSortModel::sourceToProxy() const
{
    if (!m_sourceToProxyKnown) {
        m_sourceToProxy.assign(m_matches.size(), -1);
        for (size_t i = 0; i < m_shown.size(); ++i)
            m_sourceToProxy[size_t(m_shown[i])] = int(i);
        m_sourceToProxyKnown = true;
    }
    return m_sourceToProxy;
}

void RowSortModel::sort(int column, Qt::SortOrder order)
{
    if (!m_rows || column >= m_rows->columnCount())
        column = -1;
    if (column == m_sortColumn && (column < 0 || order == m_sortOrder)) {
        m_sortOrder = order;
        return;
    }
    std::vector<int> sorted = m_order;
    std::unique_ptr<Progress> progress;
    if (column >= 0 && sorted.size() >= size_t(SortInStepsFrom))
        progress = m_startProgress(QStringLiteral("Sorterar efter %1 …").arg(m_rows->columnCaption(column)),
                                   SortSteps);
    const quint64 changesBefore = m_changes;
    if (!sortRows(sorted, column, order, progress.get())) {
        emit sortCancelled();
        return;
    }
    progress.reset();
    m_sortColumn = column;
    m_sortOrder = order;
    // Rows that changed while the progress let events through are in the order of their own.
    if (m_changes == changesBefore)
        m_order = std::move(sorted);
    else
        sortRows(m_order);
    reorder(shownInOrder());
}

void RowSortModel::setFilterFixedString(const QString& text)
{
    if (text == m_filter)
        return;
    const QString before = m_filter;
    m_filter = text;
    // A longer text can only hide rows shown, a shorter one only show rows hidden.
    const bool narrower = !before.isEmpty() && text.contains(before, Qt::CaseInsensitive);
    const bool wider = !text.isEmpty() && before.contains(text, Qt::CaseInsensitive);
    RecentTexts recent;
    for (size_t row = 0; row < m_matches.size(); ++row) {
        char& match = m_matches[row];
        if (text.isEmpty())
            match = 1;
        else if ((narrower && match) || (wider && !match) || (!narrower && !wider))
            match = matches(int(row), &recent);
    }
    show(shownInOrder());
}

void RowSortModel::sourceRowsInserted(const QModelIndex& parent, int first, int last)
{
    ++m_changes;
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    for (int& row : m_order)
        row += row >= first ? count : 0;
    for (int& row : m_shown)
        row += row >= first ? count : 0;
    forgetSourceToProxy();
    m_matches.insert(m_matches.begin() + first, size_t(count), 1);
    for (int row = first; row <= last; ++row)
        m_matches[size_t(row)] = matches(row);
    if (count > MostRangesAnnounced) {
        for (int row = first; row <= last; ++row)
            m_order.push_back(row);
        sortRows(m_order);
    } else {
        for (int row = first; row <= last; ++row)
            placeRow(row);
    }
    show(shownInOrder());
}

void RowSortModel::sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    ++m_changes;
    if (parent.isValid())
        return;
    const auto gone = [first, last](int row) { return row >= first && row <= last; };
    m_order.erase(std::remove_if(m_order.begin(), m_order.end(), gone), m_order.end());
    std::vector<int> staying = m_shown;
    staying.erase(std::remove_if(staying.begin(), staying.end(), gone), staying.end());
    show(staying);
}

void RowSortModel::sourceRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    for (int& row : m_order)
        row -= row > last ? count : 0;
    for (int& row : m_shown)
        row -= row > last ? count : 0;
    m_matches.erase(m_matches.begin() + first, m_matches.begin() + last + 1);
    forgetSourceToProxy();
}

void RowSortModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    ++m_changes;
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    const int first = topLeft.row();
    const int last = bottomRight.row();
    if (last - first + 1 > MostRangesAnnounced) {
        beginResetModel();
        rebuild();
        endResetModel();
        return;
    }
    // First the rows that the search now shows or hides, in the order as it was ...
    for (int row = first; row <= last; ++row)
        m_matches[size_t(row)] = matches(row);
    show(shownInOrder());
    // ... then the changed rows move to their new places.
    if (m_sortColumn >= 0) {
        for (int row = first; row <= last; ++row) {
            m_order.erase(std::find(m_order.begin(), m_order.end(), row));
            placeRow(row);
        }
        const std::vector<int> shown = shownInOrder();
        if (shown != m_shown)
            reorder(shown);
    }
    const std::vector<int>& place = sourceToProxy();
    for (int row = first; row <= last; ++row) {
        const int shownAt = place[size_t(row)];
        if (shownAt >= 0)
            emit dataChanged(index(shownAt, topLeft.column()), index(shownAt, bottomRight.column()));
    }
}

void RowSortModel::sourceAboutToBeReset()
{
    ++m_changes;
    beginResetModel();
}

void RowSortModel::sourceReset()
{
    rebuild();
    endResetModel();
}

QModelIndex RowSortModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!m_rows || !proxyIndex.isValid() || size_t(proxyIndex.row()) >= m_shown.size())
        return {};
    return m_rows->index(m_shown[size_t(proxyIndex.row())], proxyIndex.column());
}

QModelIndex RowSortModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || size_t(sourceIndex.row()) >= m_matches.size())
        return {};
    const int row = sourceToProxy()[size_t(sourceIndex.row())];
    return row < 0 ? QModelIndex() : createIndex(row, sourceIndex.column());
}

QModelIndex RowSortModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || size_t(row) >= m_shown.size() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex RowSortModel::parent(const QModelIndex&) const
{
    return {};
}

QModelIndex RowSortModel::sibling(int row, int column, const QModelIndex&) const
{
    return index(row, column);
}

int RowSortModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int RowSortModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_rows ? 0 : m_rows->columnCount();
}

bool RowSortModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0 && columnCount(parent) > 0;
}

QVariant RowSortModel::data(const QModelIndex& index, int role) const
{
    // Stripes by the place shown, so they stay regular whatever the sort and the search.
    if (role == Qt::BackgroundRole && index.isValid())
        return QBrush(index.row() % 2 == 0 ? RowListModel::evenRowColor() : RowListModel::oddRowColor());
    return QAbstractProxyModel::data(index, role);
}

QVariant RowSortModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (m_rows && orientation == Qt::Horizontal)
        return m_rows->headerData(section, orientation, role);
    return QAbstractProxyModel::headerData(section, orientation, role);
}
