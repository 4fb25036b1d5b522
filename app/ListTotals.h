#pragma once

#include <QList>
#include <QString>

#include <vector>

class RowList;

// The totals shown under a list: its rows, and the sums of its debits and of its credits in öre.
struct ListTotals
{
    int rows = 0;
    int allRows = 0; // the rows of the list, also those that a search hides
    qint64 debitOre = 0;
    qint64 creditOre = 0;
    bool hasAmounts = false;

    // Sums the amount column by the type column ("Debitering" or "Kreditering"); a negative
    // column means the list has no amounts. `shown` names the rows counted (all when null).
    static ListTotals of(const RowList& rows, int typeColumn, int amountColumn,
                         const QList<int>* shown = nullptr);
    static ListTotals of(const RowList& rows, int typeColumn, int amountColumn,
                         const std::vector<int>& shown);
    // "3 rader   Debiteringar 1 234,50   Krediteringar 0,00", in the user's locale.
    QString text() const;
};

// An amount text as rows show it ("1 234,50", "-12,00") in öre; 0 for a text without a number.
qint64 AmountTextToOre(const QString& text);
