#pragma once

#include "app/RowList.h"

#include <QStringList>

class RowListObserver;

// The cancellations and changes together with their record codes. Every operation changes the
// row and its code together, so the two lists can never differ in length, and an observer is
// told of a change only while rows and codes agree.
class MakRowList
{
public:
    // Betalarnummer, Betalningsdag, Ny betaldag, Belopp, Transaktionstyp, Referens.
    static constexpr int SubItemCount = 6;
    // Rows made before the reference column have one text less; they get an empty reference.
    static constexpr int SubItemCountWithoutReference = 5;

    MakRowList() : m_rows(SubItemCount) {}

    int count() const { return m_rows.count(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const ListRow& row(int index) const { return m_rows.row(index); }
    const ListRow& operator[](int index) const { return m_rows.row(index); }
    const QString& code(int index) const;
    const QStringList& codes() const { return m_codes; }
    const RowList& rows() const { return m_rows; }

    int append(const QString& code, const QString& caption, const QStringList& subItems);
    int append(const QString& code, const ListRow& row);
    int append(const QString& code, ListRow&& row);
    // Puts the row and its code at index (0..count()).
    void insert(int index, const QString& code, const ListRow& row);
    void replace(int index, const QString& code, const QString& caption, const QStringList& subItems);
    void replace(int index, const QString& code, const ListRow& row);
    void remove(int index);
    // Removes the rows and their codes at these positions (ascending, each once) in one step.
    void removeRows(const QList<int>& indices);
    // Puts rows and codes back at these positions (ascending), the positions they have afterwards.
    void insertRows(const QList<int>& indices, const QStringList& codes, const QList<ListRow>& rows);
    void clear();
    // Exchanges rows and codes with another list in one step; observers see both start anew.
    void swapRows(MakRowList& other);
    void reserve(int count);

    void setObserver(RowListObserver* observer) { m_observer = observer; }

private:
    ListRow shaped(const ListRow& row) const;
    void checkIndex(int index) const;

    // Carries the rows only; the notifications come from this class, after rows and codes agree.
    RowList m_rows;
    QStringList m_codes;
    RowListObserver* m_observer = nullptr;
};
