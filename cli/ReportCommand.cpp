#include "cli/ReportCommand.h"

#include "cli/CliArguments.h"
#include "cli/InputFile.h"
#include "format/ReportCodes.h"
#include "format/ReportParser.h"
#include "format/ReportTable.h"
#include "rules/Extra.h"
#include "rules/QuotedText.h"

#include <QFileInfo>
#include <QLocale>

#include <cstdio>

namespace {

enum Status
{
    ReportShown = 0,
    NotAReport = 2,
    OrderFile = 3
};

QByteArray text(const QString& value)
{
    QByteArray out = "\"";
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else if (u < 0x20) {
            out += "\\u00";
            out += QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += QString(c).toUtf8();
        }
    }
    return out + '"';
}

QByteArray amount(std::optional<qint64> ore)
{
    return ore ? text(FormatOreAmount(*ore, QLocale::c())) : QByteArray("null");
}

// Writes one object's members in the order they are added.
class JsonObject
{
public:
    JsonObject& add(const char* key, const QByteArray& value)
    {
        m_out += m_out.isEmpty() ? "{" : ", ";
        m_out += '"';
        m_out += key;
        m_out += "\": ";
        m_out += value;
        return *this;
    }
    JsonObject& addText(const char* key, const QString& value) { return add(key, text(value)); }
    JsonObject& addTextIfAny(const char* key, const QString& value)
    {
        return value.isEmpty() ? *this : addText(key, value);
    }
    QByteArray done() const { return m_out.isEmpty() ? QByteArray("{}") : m_out + '}'; }

private:
    QByteArray m_out;
};

template <typename T, typename F>
QByteArray array(const QList<T>& values, F toJson, const char* separator = ", ")
{
    QByteArray out = "[";
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += separator;
        out += toJson(values[i]);
    }
    return out + ']';
}

QByteArray itemJson(const ReportItem& item)
{
    JsonObject object;
    object.add("line", QByteArray::number(item.line)).addTextIfAny("record", item.record);
    object.addText("description", item.description)
        .addText("outcome", ReportCodes::outcomeName(item.outcome));
    object.addTextIfAny("payerNumber", item.payerNumber).addTextIfAny("date", item.date);
    if (item.amount || item.amountUnreadable)
        object.add("amount", amount(item.amount));
    if (!item.codes.isEmpty())
        object.add("codes", array(item.codes, [](const ReportCode& code) {
                       JsonObject json;
                       json.addText("name", code.name)
                           .addText("code", code.code)
                           .add("meaning", code.meaning.isEmpty() ? QByteArray("null") : text(code.meaning));
                       if (code.retired)
                           json.add("retired", "true");
                       return json.done();
                   }));
    object.addTextIfAny("reference", item.reference);
    if (item.statedCount)
        object.add("count", QByteArray::number(*item.statedCount));
    if (!item.details.isEmpty())
        object.add("details", array(item.details, [](const ReportDetail& detail) {
                       return JsonObject().addText("name", detail.name).addText("value", detail.value).done();
                   }));
    return object.done();
}

QByteArray sumJson(const ReportAmountCount& sum)
{
    return JsonObject().add("count", QByteArray::number(sum.count)).add("amount", amount(sum.amount)).done();
}

QByteArray reportJson(const Report& report)
{
    JsonObject object;
    object.addText("kind", ReportCodes::kindName(report.kind))
        .addText("layout", ReportCodes::layoutName(report.layout))
        .add("date", report.date.isEmpty() ? QByteArray("null") : text(report.date))
        .addText("bankgiro", report.bankgiro)
        .add("customerNumber",
             report.customerNumber.isEmpty() ? QByteArray("null") : text(report.customerNumber))
        .add("items", array(report.items, itemJson, ",\n    "));
    if (report.totals) {
        const ReportTotals& totals = *report.totals;
        object.add("totals", JsonObject()
                                 .add("line", QByteArray::number(totals.line))
                                 .add("stated", sumJson(totals.stated))
                                 .add("counted", sumJson(totals.counted))
                                 .add("agree", totals.agree() ? "true" : "false")
                                 .add("disagreements", array(totals.disagreements, text))
                                 .done());
    }
    object.add("warnings", array(report.warnings, text));
    object.add(
        "unknownLines", array(report.unknownLines, [](const ReportLine& line) {
            return JsonObject().add("line", QByteArray::number(line.line)).addText("text", line.text).done();
        }));
    return object.done();
}

void print(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int fail(int status, const QString& message)
{
    print(stderr,
          (QStringLiteral("valmo-cli: ") + QuotedText::EscapeControls(message) + QLatin1Char('\n')).toUtf8());
    return status;
}

} // namespace

QByteArray ReportsJson(const QList<Report>& reports)
{
    return "{\"reports\": " + array(reports, reportJson, ",\n ") + "}\n";
}

int RunReportCommand(const QStringList& arguments)
{
    const CliArguments parsed(arguments);
    QString refused = parsed.unknownOption();
    if (refused.isEmpty())
        refused = parsed.optionWithoutValue();
    for (const QString& option : parsed.givenOptions()) {
        // --csv once is the command's one option; a second --csv is as unknown as any other.
        if (refused.isEmpty() &&
            (option != QLatin1String("--csv") || parsed.givenOptions().count(option) > 1))
            refused = option;
    }
    if (!refused.isEmpty())
        return fail(NotAReport, QStringLiteral("Okänd flagga %1 (se valmo-cli --help)").arg(refused));
    const QStringList files = parsed.positional();
    if (files.size() > 2)
        return fail(NotAReport, QStringLiteral("Oväntat argument %1 (se valmo-cli --help)").arg(files[2]));
    const QString path = files.value(1);
    const bool asCsv = parsed.isSet(QStringLiteral("csv"));
    if (path.isEmpty())
        return fail(NotAReport, QStringLiteral("Ange en fil till report (se valmo-cli --help)"));
    RequireInputFile(path); // pipes are read as read reads them

    QLocale::setDefault(QLocale::c()); // the amounts in messages as in the JSON: "5475.00"
    ReportFile file;
    QString error;
    if (!ReportParser::parseFile(path, file, error))
        return fail(NotAReport, error);
    switch (file.type) {
    case ReportFile::Type::Reports:
        break;
    case ReportFile::Type::OrderFile:
        return fail(OrderFile,
                    QStringLiteral("%1 är en Autogirofil med uppdrag till Bankgirot, ingen rapport. "
                                   "Läs den med valmo-cli read %1")
                        .arg(path));
    case ReportFile::Type::BgMax:
        return fail(NotAReport, path + QStringLiteral(": ") + ReportCodes::bgMaxSentence());
    case ReportFile::Type::Neither:
        return fail(NotAReport,
                    QStringLiteral("%1 är varken en rapport från Bankgirot eller en Autogirofil").arg(path));
    }

    if (asCsv) {
        QList<const ReportItem*> items;
        for (const Report& report : file.reports) {
            for (const ReportItem& item : report.items)
                items.append(&item);
        }
        print(stdout, ReportTable::csv(items, QLocale::c()));
    } else {
        print(stdout, ReportsJson(file.reports));
    }
    return ReportShown;
}
