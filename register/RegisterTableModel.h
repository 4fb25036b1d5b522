#pragma once

#include "register/RegisterListQuery.h"

#include <QAbstractTableModel>
#include <QHash>

// One of the register's lists as a table that reads the register a page at a time: it holds the
// sums per state and a few pages of the rows on view, never the whole list. Sorting and filtering ask the
// register again.
class RegisterTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int PageSize = 200;
    static constexpr int KeptPages = 8;

    RegisterTableModel(const RegisterListQuery& query, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    const RegisterListFilter& filter() const { return m_filter; }
    void setTextFilter(const QString& text);
    void setStateFilter(const QString& state);
    // Reads the register again, after an import or a new delivery.
    void reload();

    // The row at a place in the table; an empty row outside it.
    RegisterListRow row(int place) const;
    const RegisterListQuery& query() const { return m_query; }
    // The rows of each state under the filter; their counts add up to the rows of the table.
    const QList<RegisterStateSum>& sums() const { return m_sums; }

private:
    const QList<RegisterListRow>& pageOf(int place) const;

    const RegisterListQuery& m_query;
    RegisterListFilter m_filter;
    int m_count = 0;
    QList<RegisterStateSum> m_sums;
    mutable QHash<qint64, QList<RegisterListRow>> m_pages;
};
