#include "viewer/ReportView.h"

#include "app/WidgetPrompt.h"
#include "format/ReportCodes.h"
#include "format/ReportTable.h"
#include "rules/Extra.h"
#include "viewer/ReportItemModel.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QToolButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

QString AmountText(qint64 ore)
{
    return FormatAmount(double(ore) / 100.0) + QStringLiteral(" kr");
}

QString CountText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 post") : QStringLiteral("%1 poster").arg(count);
}

} // namespace

ReportView::ReportView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ReportView"));
    createControls();
}

void ReportView::createControls()
{
    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("ReportWarning"));
    m_warning->setTextFormat(Qt::PlainText);
    m_warning->setWordWrap(true);
    m_warning->setStyleSheet(QStringLiteral("QLabel { background: #fbe3e3; color: #7a0000; border: 1px solid "
                                            "#d08080; padding: 6px; font-weight: bold; }"));
    m_warning->hide();

    m_sections = new QComboBox(this);
    m_sections->setObjectName(QStringLiteral("ReportSections"));
    auto* sectionLabel = new QLabel(QStringLiteral("&Avsnitt:"), this);
    sectionLabel->setBuddy(m_sections);
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("ReportHeading"));
    m_heading->setTextFormat(Qt::PlainText);
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.15);
    m_heading->setFont(headingFont);
    m_heading->setWordWrap(true);
    m_sums = new QLabel(this);
    m_sums->setObjectName(QStringLiteral("ReportSums"));
    m_sums->setTextFormat(Qt::PlainText);
    m_sums->setWordWrap(true);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("ReportFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filtrera raderna (betalarnummer, kod, referens …)"));
    m_filter->setClearButtonEnabled(true);
    for (QToolButton* clear : m_filter->findChildren<QToolButton*>())
        clear->setAccessibleName(QStringLiteral("Töm filtret"));
    auto* filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    m_export = new QPushButton(QStringLiteral("&Exportera CSV…"), this);
    m_print = new QPushButton(QStringLiteral("Skriv &ut…"), this);

    m_model = new ReportItemModel(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortRole(Qt::UserRole);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("ReportTable"));
    m_table->setAccessibleName(QStringLiteral("Rapportens rader"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setResizeContentsPrecision(200); // a big report is measured by a sample
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Unsorted at first: the file's order, which is that of the line numbers, costs no sorting.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);

    auto* sectionRow = new QHBoxLayout;
    sectionRow->addWidget(sectionLabel);
    sectionRow->addWidget(m_sections, 1);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter, 1);
    filterRow->addWidget(m_export);
    filterRow->addWidget(m_print);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_warning);
    layout->addLayout(sectionRow);
    layout->addWidget(m_heading);
    layout->addWidget(m_sums);
    layout->addLayout(filterRow);
    layout->addWidget(m_table, 1);

    connect(m_sections, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportView::showSection);
    connect(m_filter, &QLineEdit::textChanged, m_proxy, &QSortFilterProxyModel::setFilterFixedString);
    connect(m_export, &QPushButton::clicked, this, &ReportView::exportCsv);
    connect(m_print, &QPushButton::clicked, this, &ReportView::print);
    connect(m_table, &QTableView::activated, this, [this](const QModelIndex& index) {
        if (const ReportItem* item = m_model->item(m_proxy->mapToSource(index).row()))
            emit lineActivated(item->line);
    });
}

void ReportView::setReports(const QList<Report>& reports, const QString& fileName)
{
    m_model->setReport(nullptr);
    m_model->setSources({});
    m_reports = reports;
    m_fileName = fileName;
    m_filter->clear();

    const QSignalBlocker blocker(m_sections);
    m_sections->clear();
    for (qsizetype i = 0; i < m_reports.size(); ++i)
        m_sections->addItem(QStringLiteral("%1: %2 (rad %3)")
                                .arg(i + 1)
                                .arg(ReportCodes::kindName(m_reports[i].kind))
                                .arg(m_reports[i].line));
    m_sections->setEnabled(m_reports.size() > 1);

    const QString warning = warningText();
    m_warning->setText(warning);
    m_warning->setVisible(!warning.isEmpty());
    showSection(m_reports.isEmpty() ? -1 : 0);
}

void ReportView::setItemSources(const QHash<int, QString>& sources)
{
    m_model->setSources(sources);
    if (!sources.isEmpty())
        m_table->resizeColumnToContents(ReportItemModel::SourceColumn);
}

void ReportView::showSection(int index)
{
    const Report* report = index >= 0 && index < m_reports.size() ? &m_reports[index] : nullptr;
    m_model->setReport(report);
    m_heading->setText(report ? sectionHeading(*report) : QString());
    m_sums->setText(report ? sectionSums(*report) : QString());
    m_table->resizeColumnsToContents();
}

void ReportView::focusFilter()
{
    m_filter->setFocus();
    m_filter->selectAll();
}

QString ReportView::sectionHeading(const Report& report) const
{
    QStringList parts = {ReportCodes::kindName(report.kind) + QStringLiteral(" (") +
                         ReportCodes::layoutName(report.layout) + QStringLiteral(" layout)")};
    if (!report.date.isEmpty())
        parts.append(QStringLiteral("Datum ") + report.date);
    if (!report.bankgiro.isEmpty())
        parts.append(QStringLiteral("Bankgiro ") + report.bankgiro);
    if (!report.customerNumber.isEmpty())
        parts.append(QStringLiteral("Kundnummer ") + report.customerNumber);
    return parts.join(QStringLiteral("   ·   "));
}

QString ReportView::sectionSums(const Report& report) const
{
    // One sum per outcome and kind of item (debits apart from credits), in order of appearance.
    struct Sum
    {
        QString name;
        qint64 count = 0;
        qint64 amount = 0;
        bool hasAmount = false;
    };
    QList<Sum> sums;
    for (const ReportItem& item : report.items) {
        if (item.outcome == ItemOutcome::Summary)
            continue;
        const QString name = ReportCodes::outcomeName(item.outcome) + QStringLiteral(" (") +
                             item.description.toLower() + QLatin1Char(')');
        auto sum = std::find_if(sums.begin(), sums.end(), [&name](const Sum& s) { return s.name == name; });
        if (sum == sums.end())
            sum = sums.insert(sums.end(), Sum{name});
        sum->count += 1;
        if (item.amount) {
            // A damaged file's amounts can pass any bound; the sum then stops at the largest.
            sum->amount = *item.amount > std::numeric_limits<qint64>::max() - sum->amount
                              ? std::numeric_limits<qint64>::max()
                              : sum->amount + *item.amount;
            sum->hasAmount = true;
        }
    }
    QStringList parts;
    for (const Sum& sum : sums)
        parts.append(sum.name + QStringLiteral(": ") + CountText(sum.count) +
                     (sum.hasAmount ? QStringLiteral(", ") + AmountText(sum.amount) : QString()));
    QString text = parts.isEmpty() ? QStringLiteral("Inga poster.") : parts.join(QStringLiteral("   ·   "));
    if (report.totals && report.totals->agree())
        text +=
            QStringLiteral("\nSlutposten på rad %1 stämmer med posterna: %2")
                .arg(report.totals->line)
                .arg(CountText(report.totals->stated.count)) +
            (report.totals->stated.amount ? QStringLiteral(", ") + AmountText(*report.totals->stated.amount)
                                          : QString()) +
            QLatin1Char('.');
    return text;
}

QString ReportView::sectionWarnings(const Report& report) const
{
    QStringList lines;
    if (report.totals)
        lines.append(report.totals->disagreements);
    for (const QString& warning : report.warnings) {
        if (!lines.contains(warning))
            lines.append(warning);
    }
    for (const ReportLine& unknown : report.unknownLines) {
        if (unknown.line > report.line)
            lines.append(QStringLiteral("Rad %1 är en post som programmet inte känner till: %2")
                             .arg(unknown.line)
                             .arg(unknown.text.trimmed()));
    }
    return lines.join(QLatin1Char('\n'));
}

// Lines before the report's opening record, such as the title line of the bank's example files: not
// a fault of the report, but listed so that nothing in the file goes unseen.
QString ReportView::leadingLines(const Report& report) const
{
    QStringList lines;
    for (const ReportLine& unknown : report.unknownLines) {
        if (unknown.line < report.line)
            lines.append(
                QStringLiteral("Rad %1 står före rapportens första post och visas bara i fliken Text: %2")
                    .arg(unknown.line)
                    .arg(unknown.text.trimmed()));
    }
    return lines.join(QLatin1Char('\n'));
}

QString ReportView::warningText() const
{
    QStringList parts;
    QStringList notes;
    for (qsizetype i = 0; i < m_reports.size(); ++i) {
        const QString leading = leadingLines(m_reports[i]);
        if (!leading.isEmpty())
            notes.append(leading);
        const QString warnings = sectionWarnings(m_reports[i]);
        if (warnings.isEmpty())
            continue;
        const QString title = m_reports.size() > 1 ? QStringLiteral("Avsnitt %1: ").arg(i + 1) : QString();
        parts.append(title + warnings);
    }
    if (parts.isEmpty())
        return notes.join(QLatin1Char('\n'));
    return QStringLiteral("Rapporten stämmer inte eller är inte fullständig.\n") +
           (parts + notes).join(QLatin1Char('\n'));
}

QString ReportView::headingText() const
{
    return m_heading->text();
}

QString ReportView::sumsText() const
{
    return m_sums->text();
}

QList<const ReportItem*> ReportView::shownItems() const
{
    QList<const ReportItem*> items;
    items.reserve(m_proxy->rowCount());
    for (int row = 0; row < m_proxy->rowCount(); ++row)
        items.append(m_model->item(m_proxy->mapToSource(m_proxy->index(row, 0)).row()));
    return items;
}

const Report* ReportView::shownReport() const
{
    const int index = m_sections->currentIndex();
    return index >= 0 && index < m_reports.size() ? &m_reports[index] : nullptr;
}

QList<const ReportItem*> ReportView::selectedItems() const
{
    QList<const ReportItem*> items;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        if (const ReportItem* item = m_model->item(m_proxy->mapToSource(index).row()))
            items.append(item);
    }
    std::sort(items.begin(), items.end(),
              [](const ReportItem* a, const ReportItem* b) { return a->line < b->line; });
    return items;
}

QByteArray ReportView::shownCsv() const
{
    // The column "Underlag" goes with the rows when the register gave it.
    const QHash<int, QString>& sources = m_model->sources();
    return ReportTable::csv(shownItems(), QLocale(), sources.isEmpty() ? nullptr : &sources);
}

bool ReportView::exportCsv()
{
    const QFileInfo source(m_fileName);
    const auto options = UserPrompt::FileDialogOptions::csvFile(source.absolutePath(),
                                                                source.completeBaseName() + QStringLiteral(".csv"));
    const QString path = WidgetPrompt(this).askSaveFileName(options);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    const QByteArray bytes = shownCsv();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        WidgetPrompt(this).showMessage(
            QString(), QStringLiteral("Filen %1 kunde inte sparas: %2").arg(path, file.errorString()),
            UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
        return false;
    }
    return true;
}

QString ReportView::printedHtml() const
{
    const int index = m_sections->currentIndex();
    QString html =
        QStringLiteral("<html><body><h3>") + headingText().toHtmlEscaped() + QStringLiteral("</h3>");
    html += QStringLiteral("<p>") + m_fileName.toHtmlEscaped() + QStringLiteral("</p>");
    if (index >= 0 && index < m_reports.size()) {
        const QString warnings = sectionWarnings(m_reports[index]);
        if (!warnings.isEmpty())
            html += QStringLiteral("<p><b>") +
                    warnings.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                    QStringLiteral("</b></p>");
    }
    html += QStringLiteral("<p>") +
            sumsText().toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
            QStringLiteral("</p><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>");
    const bool withSources = !m_model->sources().isEmpty();
    for (int column = 0; column < ReportTable::ColumnCount; ++column)
        html +=
            QStringLiteral("<th>") + ReportTable::header(column).toHtmlEscaped() + QStringLiteral("</th>");
    if (withSources)
        html += QStringLiteral("<th>Underlag</th>");
    html += QStringLiteral("</tr>");
    for (const ReportItem* item : shownItems()) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < ReportTable::ColumnCount; ++column)
            html += QStringLiteral("<td>") +
                    ReportTable::cell(*item, column, QLocale(), true).toHtmlEscaped() +
                    QStringLiteral("</td>");
        if (withSources)
            html += QStringLiteral("<td>") + m_model->source(*item).toHtmlEscaped() + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}

void ReportView::printTo(QPrinter& printer) const
{
    QTextDocument document;
    document.setHtml(printedHtml());
    document.print(&printer);
}

void ReportView::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QFileInfo(m_fileName).fileName());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Skriv ut rapporten"));
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}
