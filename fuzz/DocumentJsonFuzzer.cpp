// libFuzzer target: any bytes as the JSON document of `valmo-cli write`. The document is read, its
// rows checked as write checks them, and a document without findings is written to memory as
// write writes it. The writer must take every row the checks pass; the file written must be whole
// 80-character records with known codes and must read back as an order file with every row. A crash, a
// sanitizer report or a broken invariant fails the run.

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"
#include "format/OpeningRecordPolicy.h"
#include "format/OrderFileReader.h"
#include "format/OrderFileWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

namespace {

class AcceptingPolicy : public OpeningRecordPolicy
{
public:
    bool acceptOpeningRecord(const OpeningRecord&) override { return true; }
};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isRecordCode(const QByteArray& code)
{
    static const QByteArrayList codes = {"01", "03", "04", "23", "24", "25",
                                         "26", "27", "28", "29", "32", "82"};
    return codes.contains(code);
}

void checkRecords(const QByteArray& file)
{
    constexpr int LineLength = 82;
    require(file.size() % LineLength == 0);
    for (qsizetype at = 0; at < file.size(); at += LineLength) {
        const QByteArray record = file.mid(at, LineLength);
        require(record.endsWith("\r\n"));
        const QByteArray code = record.left(2);
        require(isRecordCode(code));
        if (code == "82" || code == "32")
            require(record[10] >= '0' && record[10] <= '8');
    }
}

// The file written reads back as an order file, with every row written.
void checkReadBack(const QByteArray& file, const OrderDocument& written)
{
    OrderDocument again;
    again.FillMakTexts();
    again.PrivateService = written.PrivateService;
    AcceptingPolicy policy;
    require(OrderFileReader(again, policy).read(file).loaded());
    require(again.BtuList.count() == written.BtuList.count());
    require(again.MakList.count() == written.MakList.count());
    if (written.PrivateService)
        require(again.MdgList.count() == written.MdgList.count());
    else
        require(again.MdgListComp.count() == written.MdgListComp.count());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    OrderDocument document;
    document.FillMakTexts();
    JsonRowPlaces places;
    try {
        const QString service = DocumentFromJson(json, document, places);
        document.PrivateService = service.isEmpty() ? size % 2 == 0 : ParseServiceName(service);
    } catch (const DocumentJsonError&) {
        return 0;
    }
    require(document.MakCodes().size() == document.MakList.count());
    require(places.lines.btu.size() == document.BtuList.count());
    require(places.lines.mak.size() == document.MakList.count());

    const QList<RowProblem> problems = CheckJsonDocumentRows(document, places);
    for (const RowProblem& problem : problems)
        require(problem.line >= 1 && !problem.column.isEmpty() && !problem.message.isEmpty());
    if (!problems.isEmpty())
        return 0;

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    try {
        WriteOrderFile(out, document, {QStringLiteral("123456"), QStringLiteral("12345674")},
                       FixedClock(QDate(2024, 3, 1)));
    } catch (const ConversionError&) {
        // Whatever the writer refuses, the row checks have refused first.
        require(false);
    }
    checkRecords(out.data());
    checkReadBack(out.data(), document);
    return 0;
}
