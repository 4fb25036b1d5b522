#pragma once

#include <QList>
#include <QString>
#include <QVector>

class OrderDocument;

// An opening record as read from a file: its line and the payee's numbers, zero-stripped.
struct OpeningRecordEntry
{
    int line = 0;
    QString customerNumber;
    QString bankgiro;
};

// The file line that each row of a list came from.
struct RowLines
{
    QVector<int> btu;
    QVector<int> mdg;
    QVector<int> mdgComp;
    QVector<int> mak;
};

// One finding of the check command: the line, the column title and the Swedish message.
struct RowProblem
{
    int line = 0;
    QString column;
    QString message;
};

// Applies to every row the checks its entry dialog applies, and the bankgiro check to each opening
// record's payee bankgiro number. Findings come in line order.
QList<RowProblem> CheckDocumentRows(const OrderDocument& document, const RowLines& lines,
                                    const QList<OpeningRecordEntry>& openingRecords);
