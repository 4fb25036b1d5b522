// libFuzzer target: any bytes as a report file from the bank. A crash, a sanitizer report or a
// broken invariant fails the run: a line that is neither an item, a totals record nor listed as
// unknown; totals said to agree while a disagreement is named; an item outside the file's lines.

#include "format/ReportParser.h"
#include "format/ReportTable.h"

#include <QByteArray>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ReportFile file = ReportParser::parse(bytes);
    require(file.type == ReportFile::Type::Reports || file.reports.isEmpty());
    const int lines = int(bytes.count('\n')) + 1;
    QList<const ReportItem*> items;
    for (const Report& report : file.reports) {
        require(report.line >= 1 && report.line <= lines);
        for (const ReportItem& item : report.items) {
            require(item.line >= report.line && item.line <= lines);
            require(!item.amountUnreadable || !item.amount);
            items.append(&item);
        }
        for (const ReportLine& unknown : report.unknownLines)
            require(unknown.line >= 1 && unknown.line <= lines); // lines before the first record too
        if (report.totals)
            require(report.totals->agree() == report.totals->disagreements.isEmpty());
    }
    const QByteArray csv = ReportTable::csv(items, QLocale());
    require(csv.startsWith("\xEF\xBB\xBF"));
    return 0;
}
