#include "format/ReportTable.h"

#include "format/ReportCodes.h"
#include "rules/Extra.h"

namespace {

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void appendRow(QString& out, const QStringList& cells)
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(';');
        out += csvCell(cells[i]);
    }
    out += QStringLiteral("\r\n");
}

} // namespace

namespace ReportTable {

QString header(int column)
{
    switch (column) {
    case LineColumn:
        return QStringLiteral("Rad");
    case RecordColumn:
        return QStringLiteral("Post");
    case DescriptionColumn:
        return QStringLiteral("Beskrivning");
    case PayerColumn:
        return QStringLiteral("Betalarnummer");
    case DateColumn:
        return QStringLiteral("Datum");
    case AmountColumn:
        return QStringLiteral("Belopp");
    case OutcomeColumn:
        return QStringLiteral("Utfall");
    case CodesColumn:
        return QStringLiteral("Koder");
    case ReferenceColumn:
        return QStringLiteral("Referens");
    case DetailsColumn:
        return QStringLiteral("Övrigt");
    }
    return QString();
}

QString codesText(const ReportItem& item)
{
    QStringList parts;
    for (const ReportCode& code : item.codes) {
        QString meaning = code.meaning.isEmpty() ? QStringLiteral("okänd kod") : code.meaning;
        if (code.retired)
            meaning += QStringLiteral(" (utgått)");
        parts.append(code.code.isEmpty() ? QStringLiteral("(ingen kod)")
                                         : code.code + QLatin1Char(' ') + meaning);
    }
    return parts.join(QStringLiteral("; "));
}

QString detailsText(const ReportItem& item)
{
    QStringList parts;
    for (const ReportDetail& detail : item.details)
        parts.append(detail.name + QStringLiteral(": ") + detail.value);
    if (item.statedCount)
        parts.append(QStringLiteral("Antal poster: %1").arg(*item.statedCount));
    return parts.join(QStringLiteral("; "));
}

QString cell(const ReportItem& item, int column, const QLocale& locale, bool grouped)
{
    switch (column) {
    case LineColumn:
        return QString::number(item.line);
    case RecordColumn:
        return item.record;
    case DescriptionColumn:
        return item.description;
    case PayerColumn:
        return item.payerNumber;
    case DateColumn:
        return item.date;
    case AmountColumn:
        if (item.amountUnreadable)
            return QStringLiteral("oläsbart");
        if (!item.amount)
            return QString();
        return grouped ? FormatAmount(double(*item.amount) / 100.0, locale)
                       : FormatOreAmount(*item.amount, locale);
    case OutcomeColumn:
        return ReportCodes::outcomeName(item.outcome);
    case CodesColumn:
        return codesText(item);
    case ReferenceColumn:
        return item.reference;
    case DetailsColumn:
        return detailsText(item);
    }
    return QString();
}

QByteArray csv(const QList<const ReportItem*>& items, const QLocale& locale,
               const QHash<int, QString>* sources)
{
    QString text;
    QStringList cells;
    for (int column = 0; column < ColumnCount; ++column)
        cells.append(header(column));
    if (sources)
        cells.append(QStringLiteral("Underlag"));
    appendRow(text, cells);
    for (const ReportItem* item : items) {
        cells.clear();
        for (int column = 0; column < ColumnCount; ++column)
            cells.append(cell(*item, column, locale, false));
        if (sources)
            cells.append(sources->value(item->line));
        appendRow(text, cells);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace ReportTable
