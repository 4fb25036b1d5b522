#pragma once

#include "app/RowListObserver.h"
#include "theme/ThemeColours.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

class MakRowList;
class NumberReader;
class RowList;

// A table model that shows a RowList directly: the rows are never copied into the view.
//
// While the document is being filled in bulk (the flag passed as `batching` is set), appended
// rows are not announced one by one; synchronize() then announces them all at once. Every other
// change is announced at once, so the view never sees a row that the list no longer has.
class RowListModel : public QAbstractTableModel, private RowListObserver
{
    Q_OBJECT
public:
    static QColor evenRowColor() { return ThemeColours::evenStripe(); }
    static QColor oddRowColor() { return ThemeColours::oddStripe(); }
    // The value a column sorts by: the number for number columns, the text otherwise.
    static constexpr int SortRole = Qt::UserRole + 1;

    RowListModel(RowList& rows, const QStringList& captions, const bool& batching, QObject* parent = nullptr);
    RowListModel(MakRowList& rows, const QStringList& captions, const bool& batching,
                 QObject* parent = nullptr);
    ~RowListModel() override;

    // The small picture shown before the caption of every row (none by default).
    void setRowPicture(const QIcon& picture) { m_rowPicture = picture; }
    void setColumnCaption(int column, const QString& caption);
    // Columns of amounts and counts: right-aligned, and sorted by their value.
    void setNumberColumns(const QList<int>& columns) { m_numberColumns = columns; }
    QString columnCaption(int column) const { return m_captions.value(column); }
    bool isNumberColumn(int column) const { return m_numberColumns.contains(column); }
    // The value a number column sorts by; a text without a number sorts first.
    static double sortValue(QStringView text, const NumberReader& reader);

    // The rows shown, read directly: the first rowCount() rows of the list.
    const RowList& rows() const { return m_rows; }
    // True while the views start anew because rows were removed or put back at many places at
    // once: the list is edited, not replaced by another document.
    bool isRebuilding() const { return m_rebuilding; }

    // Announces the rows appended while batching. Costs the same whatever the number of rows.
    void synchronize();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    enum class Pending
    {
        None,
        Insert,
        Remove,
        Reset
    };

    bool hasUnannouncedRows() const;

    void rowsAboutToBeAppended(int first, int last) override;
    void rowsAppended() override;
    void rowAboutToBeInserted(int row) override;
    void rowInserted() override;
    void rowChanged(int row) override;
    void rowAboutToBeRemoved(int row) override;
    void rowRemoved() override;
    void listAboutToBeReset() override;
    void listReset() override;
    void rangeAboutToBeInserted(int first, int last) override;
    void rangeInserted() override;
    void rangeAboutToBeRemoved(int first, int last) override;
    void rangeRemoved() override;
    void listAboutToBeRebuilt() override;
    void listRebuilt() override;

    const RowList& m_rows;
    RowList* m_observed = nullptr;
    MakRowList* m_observedMak = nullptr;
    QStringList m_captions;
    const bool& m_batching;
    QIcon m_rowPicture;
    QList<int> m_numberColumns;
    // The number of rows the views know of; behind the list only while batching.
    int m_shownCount = 0;
    Pending m_pending = Pending::None;
    bool m_rebuilding = false;
};
