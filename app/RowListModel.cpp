#include "app/RowListModel.h"

#include "app/MakRowList.h"
#include "app/NumberReader.h"
#include "app/RowList.h"

#include "rules/Extra.h"

#include <QBrush>

#include <limits>

namespace {

// The value of an amount or count text as shown ("1 234,50", "−12,00", "999"); a text without a
// number sorts first.
double numberOf(const QString& text)
{
    const QLocale locale;
    bool ok = false;
    const double value = locale.toDouble(RemoveGroupSeparators(NormalizeMinusSign(text, locale), locale)
                                             .replace(QLatin1Char('-'), locale.negativeSign()),
                                         &ok);
    return ok ? value : -std::numeric_limits<double>::infinity();
}

} // namespace

double RowListModel::sortValue(QStringView text, const NumberReader& reader)
{
    const std::optional<double> value = reader.value(text);
    return value ? *value : numberOf(text.toString());
}

RowListModel::RowListModel(RowList& rows, const QStringList& captions, const bool& batching, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows), m_observed(&rows), m_captions(captions),
      m_batching(batching), m_shownCount(rows.count())
{
    rows.setObserver(this);
}

RowListModel::RowListModel(MakRowList& rows, const QStringList& captions, const bool& batching,
                           QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows.rows()), m_observedMak(&rows), m_captions(captions),
      m_batching(batching), m_shownCount(rows.count())
{
    rows.setObserver(this);
}

RowListModel::~RowListModel()
{
    if (m_observed)
        m_observed->setObserver(nullptr);
    if (m_observedMak)
        m_observedMak->setObserver(nullptr);
}

void RowListModel::setColumnCaption(int column, const QString& caption)
{
    if (column < 0 || column >= m_captions.size() || m_captions[column] == caption)
        return;
    m_captions[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

bool RowListModel::hasUnannouncedRows() const
{
    return m_shownCount != m_rows.count();
}

void RowListModel::synchronize()
{
    if (!hasUnannouncedRows())
        return;
    if (m_rows.count() > m_shownCount) {
        beginInsertRows(QModelIndex(), m_shownCount, m_rows.count() - 1);
        m_shownCount = m_rows.count();
        endInsertRows();
    } else {
        beginResetModel();
        m_shownCount = m_rows.count();
        endResetModel();
    }
}

int RowListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shownCount;
}

int RowListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant RowListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shownCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_rows.row(index.row()).text(index.column());
    case SortRole:
        if (m_numberColumns.contains(index.column()))
            return sortValue(m_rows.row(index.row()).textView(index.column()), NumberReader());
        return m_rows.row(index.row()).text(index.column());
    case Qt::TextAlignmentRole:
        if (m_numberColumns.contains(index.column()))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case Qt::BackgroundRole:
        // Stripes by position, so they stay regular after an insertion or a deletion.
        return QBrush(index.row() % 2 == 0 ? evenRowColor() : oddRowColor());
    case Qt::ForegroundRole:
        // Dark text on the light stripes; the palette's own text on stripes derived from a dark one.
        return QBrush(ThemeColours::stripeText());
    case Qt::DecorationRole:
        if (index.column() == 0 && !m_rowPicture.isNull())
            return m_rowPicture;
        return {};
    default:
        return {};
    }
}

QVariant RowListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_captions.value(section);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && m_numberColumns.contains(section))
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RowListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void RowListModel::rowsAboutToBeAppended(int first, int last)
{
    if (m_batching) {
        m_pending = Pending::None;
        return;
    }
    if (hasUnannouncedRows() || first != m_shownCount) {
        m_pending = Pending::Reset;
        beginResetModel();
        return;
    }
    m_pending = Pending::Insert;
    beginInsertRows(QModelIndex(), first, last);
}

void RowListModel::rowsAppended()
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    if (pending == Pending::None)
        return;
    m_shownCount = m_rows.count();
    if (pending == Pending::Insert)
        endInsertRows();
    else
        endResetModel();
}

void RowListModel::rowAboutToBeInserted(int row)
{
    if (m_batching || hasUnannouncedRows()) {
        m_pending = Pending::Reset;
        beginResetModel();
        return;
    }
    m_pending = Pending::Insert;
    beginInsertRows(QModelIndex(), row, row);
}

void RowListModel::rowInserted()
{
    rowsAppended();
}

void RowListModel::rowChanged(int row)
{
    if (row < m_shownCount)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RowListModel::rowAboutToBeRemoved(int row)
{
    if (hasUnannouncedRows()) {
        m_pending = Pending::Reset;
        beginResetModel();
        return;
    }
    m_pending = Pending::Remove;
    beginRemoveRows(QModelIndex(), row, row);
}

void RowListModel::rowRemoved()
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    m_shownCount = m_rows.count();
    if (pending == Pending::Remove)
        endRemoveRows();
    else if (pending == Pending::Reset)
        endResetModel();
}

void RowListModel::listAboutToBeReset()
{
    beginResetModel();
}

void RowListModel::listReset()
{
    m_shownCount = m_rows.count();
    endResetModel();
}

void RowListModel::rangeAboutToBeInserted(int first, int last)
{
    if (m_batching || hasUnannouncedRows()) {
        m_pending = Pending::Reset;
        beginResetModel();
        return;
    }
    m_pending = Pending::Insert;
    beginInsertRows(QModelIndex(), first, last);
}

void RowListModel::rangeInserted()
{
    rowsAppended();
}

void RowListModel::rangeAboutToBeRemoved(int first, int last)
{
    if (hasUnannouncedRows()) {
        m_pending = Pending::Reset;
        beginResetModel();
        return;
    }
    m_pending = Pending::Remove;
    beginRemoveRows(QModelIndex(), first, last);
}

void RowListModel::rangeRemoved()
{
    rowRemoved();
}

void RowListModel::listAboutToBeRebuilt()
{
    m_rebuilding = true;
    beginResetModel();
}

void RowListModel::listRebuilt()
{
    m_shownCount = m_rows.count();
    endResetModel();
    m_rebuilding = false;
}
