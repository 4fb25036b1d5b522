#include "cli/CheckFindings.h"

#include "calendar/DeliveryCheck.h"
#include "cli/CliArguments.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {

// One finding of either kind, where the file has it.
struct CheckLine
{
    int line = 0;
    QString list; // empty for an opening record
    int row = 0;  // counted from 1; 0 for an opening record
    QString column;
    FindingLevel level = FindingLevel::Error;
    QString message;
};

QString listName(ListId list)
{
    switch (list) {
    case ListId::Btu:
        return QStringLiteral("BtuList");
    case ListId::Mdg:
        return QStringLiteral("MdgList");
    case ListId::MdgComp:
        return QStringLiteral("MdgListComp");
    case ListId::Mak:
        return QStringLiteral("MakList");
    }
    return QString();
}

const QVector<int>& linesOf(const RowLines& lines, ListId list)
{
    switch (list) {
    case ListId::Btu:
        return lines.btu;
    case ListId::Mdg:
        return lines.mdg;
    case ListId::MdgComp:
        return lines.mdgComp;
    case ListId::Mak:
        break;
    }
    return lines.mak;
}

// The list and row each line of the file became, for the row rules' findings, which know only
// their line.
class LinePlaces
{
public:
    explicit LinePlaces(const RowLines& lines)
    {
        for (const ListId list : {ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak}) {
            const QVector<int>& rowLines = linesOf(lines, list);
            for (int row = 0; row < rowLines.size(); ++row)
                m_places.insert(rowLines[row], {list, row});
        }
    }
    void place(CheckLine& line) const
    {
        const auto found = m_places.constFind(line.line);
        if (found == m_places.constEnd())
            return;
        line.list = listName(found->first);
        line.row = found->second + 1;
    }

private:
    QHash<int, std::pair<ListId, int>> m_places;
};

QList<CheckLine> mergedInLineOrder(const QList<RowProblem>& rowProblems,
                                   const QList<DeliveryFinding>& findings, const RowLines& lines,
                                   bool placeRowProblems)
{
    QList<CheckLine> merged;
    merged.reserve(rowProblems.size() + findings.size());
    std::optional<LinePlaces> places;
    if (placeRowProblems && !rowProblems.isEmpty())
        places.emplace(lines);
    for (const RowProblem& problem : rowProblems) {
        CheckLine line{problem.line, QString(), 0, problem.column, FindingLevel::Error, problem.message};
        if (places)
            places->place(line);
        merged.append(line);
    }
    for (const DeliveryFinding& finding : findings) {
        const int fileLine = linesOf(lines, finding.list).value(finding.row, 0);
        merged.append({fileLine, listName(finding.list), finding.row + 1, finding.columnTitle, finding.level,
                       finding.message});
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const CheckLine& a, const CheckLine& b) { return a.line < b.line; });
    return merged;
}

// A message of several lines on one: a sentence is followed by a blank, a caption by a colon.
QString oneLine(const QString& text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
    QString line;
    for (const QString& part : text.split(lineBreaks, Qt::SkipEmptyParts)) {
        if (!line.isEmpty())
            line += line.endsWith(QLatin1Char('.')) ? QStringLiteral(" ") : QStringLiteral(": ");
        line += part;
    }
    return line;
}

void write(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

QByteArray textLine(const QString& file, const CheckLine& line)
{
    const QString prefix = line.level == FindingLevel::Warning ? QStringLiteral("varning: ") : QString();
    return QStringLiteral("%1:%2: %3: %4%5\n")
        .arg(file)
        .arg(line.line)
        .arg(line.column, prefix, oneLine(line.message))
        .toUtf8();
}

QByteArray jsonObject(const QString& file, const CheckLine& line)
{
    QJsonObject object;
    object.insert(QStringLiteral("file"), file);
    object.insert(QStringLiteral("line"), line.line);
    object.insert(QStringLiteral("list"), line.list.isEmpty() ? QJsonValue() : QJsonValue(line.list));
    object.insert(QStringLiteral("row"), line.row == 0 ? QJsonValue() : QJsonValue(line.row));
    object.insert(QStringLiteral("column"), line.column);
    object.insert(QStringLiteral("level"), FindingLevelText(line.level));
    object.insert(QStringLiteral("message"), line.message);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

QDateTime CheckMoment(const std::optional<QString>& option)
{
    if (!option)
        return QDateTime::currentDateTime();
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}$"));
    const QDateTime moment = QDateTime::fromString(*option, QStringLiteral("yyyy-MM-ddTHH:mm"));
    if (!form.match(*option).hasMatch() || !moment.isValid())
        throw CliUsageError(
            QStringLiteral("--now ska vara en tidpunkt i formen ÅÅÅÅ-MM-DDTHH:MM, till exempel "
                           "2026-12-10T18:30, inte %1")
                .arg(*option));
    return moment;
}

bool PrintCheckFindings(FILE* stream, const QString& file, const QList<RowProblem>& rowProblems,
                        const QList<DeliveryFinding>& findings, const RowLines& lines, bool json)
{
    const QList<CheckLine> merged = mergedInLineOrder(rowProblems, findings, lines, json);
    if (json) {
        write(stream, merged.isEmpty() ? QByteArray("[") : QByteArray("[\n  "));
        for (qsizetype i = 0; i < merged.size(); ++i) {
            if (i > 0)
                write(stream, ",\n  ");
            write(stream, jsonObject(file, merged[i]));
        }
        write(stream, merged.isEmpty() ? QByteArray("]\n") : QByteArray("\n]\n"));
    } else {
        for (const CheckLine& line : merged)
            write(stream, textLine(file, line));
    }
    return rowProblems.isEmpty() && !HasDeliveryError(findings);
}
