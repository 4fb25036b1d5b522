#include "app/OrderDocument.h"

OrderDocument::OrderDocument()
{
    for (int i = 0; i < MakTextCount; ++i)
        MakTexts.append(QString());
}

void OrderDocument::FillMakTexts()
{
    MakTexts[3] = QStringLiteral("Makulering av ett medgivande");
    MakTexts[23] = QStringLiteral("Makulering av alla transaktioner för ett betaluppdrag");
    MakTexts[24] =
        QStringLiteral("Makulering av alla transaktioner, med angiven betaldag, för ett betalarnummer");
    MakTexts[25] = QStringLiteral("Makulering av en transaktion");
    MakTexts[26] = QStringLiteral("Ändring av alla transaktioner");
    MakTexts[27] = QStringLiteral("Ändring av alla transaktioner på angiven betaldag");
    MakTexts[28] =
        QStringLiteral("Ändring av alla transaktioner, på angiven betaldag, för ett betalarnummer");
    MakTexts[29] = QStringLiteral("Ändring av en transaktion");
}

QString OrderDocument::MakText(int code) const
{
    if (code < 0 || code >= MakTexts.size())
        return QString();
    return MakTexts[code];
}

void OrderDocument::clearLists()
{
    BtuList.clear();
    MdgList.clear();
    MdgListComp.clear();
    MakList.clear();
}

void OrderDocument::swapLists(OrderDocument& other)
{
    BtuList.swapRows(other.BtuList);
    MdgList.swapRows(other.MdgList);
    MdgListComp.swapRows(other.MdgListComp);
    MakList.swapRows(other.MakList);
}

bool OrderDocument::hasRows() const
{
    return !BtuList.isEmpty() || !MdgList.isEmpty() || !MdgListComp.isEmpty() || !MakList.isEmpty();
}
