#pragma once

#include "app/MakRowList.h"
#include "app/RowList.h"

#include <QString>
#include <QStringList>

// The texts that the writer and the parsers compare rows with. Exact and case-sensitive.
namespace RowTexts {
inline QString debit() { return QStringLiteral("Debitering"); }
inline QString credit() { return QStringLiteral("Kreditering"); }
inline QString oneOffPayment() { return QStringLiteral("Engångsbetalning"); }
inline QString immediatePayment() { return QStringLiteral("GENAST"); } // payment date: at once
inline QString paperMandate() { return QStringLiteral("Medgivande på papper"); }
inline QString electronicMandate() { return QStringLiteral("Autogiro elektroniskt medgivande"); }
inline QString rejectedPrefix() { return QStringLiteral("Avvisad - "); }
inline QString rejectedMandate() { return QStringLiteral("Avvisad - Autogiro elektroniskt medgivande"); }
inline QString mandateCancellationCode() { return QStringLiteral("3"); }
} // namespace RowTexts

// The one document of the editor: four lists of display texts, the codes of the cancellations
// and changes, the table of their descriptions, and the flags.
class OrderDocument
{
public:
    static constexpr int MakTextCount = 99;

    OrderDocument();
    OrderDocument(const OrderDocument&) = delete;
    OrderDocument& operator=(const OrderDocument&) = delete;

    RowList BtuList{6};     // payment orders
    RowList MdgList{3};     // mandates of private payers
    RowList MdgListComp{0}; // mandates of company payers
    MakRowList MakList;     // cancellations and changes, with their codes
    const QStringList& MakCodes() const { return MakList.codes(); }

    // Descriptions of the record codes 0..98; empty until FillMakTexts().
    QStringList MakTexts;
    void FillMakTexts();
    // The description of a code, empty outside 0..98.
    QString MakText(int code) const;

    bool DocModified = false;
    QString CurrentFile;
    bool PrivateService = true;
    bool Loading = false;

    // Empties the four lists and the codes.
    void clearLists();
    // Exchanges the four lists and the codes with those of another document in one step: a file
    // read whole into a document of its own takes the place of the rows shown.
    void swapLists(OrderDocument& other);
    bool hasRows() const;
};
