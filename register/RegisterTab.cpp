#include "register/RegisterTab.h"

#include "format/UserPrompt.h"
#include "register/RegisterTableModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

RegisterTab::RegisterTab(const RegisterDatabase& database, RegisterList list, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), m_query(std::make_unique<RegisterListQuery>(database, list)), m_prompt(prompt)
{
    createControls();
    showSums();
}

RegisterTab::~RegisterTab() = default;

QString RegisterTab::title() const
{
    return m_query->list() == RegisterList::Payers ? QStringLiteral("Betalare") : QStringLiteral("Betalningar");
}

void RegisterTab::createControls()
{
    const bool payers = m_query->list() == RegisterList::Payers;
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("RegisterFilterEdit"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(payers ? QStringLiteral("Sök betalarnummer, konto eller personnummer")
                                        : QStringLiteral("Sök betalare, referens, datum, orsak eller fil"));
    m_state = new QComboBox(this);
    m_state->setObjectName(QStringLiteral("RegisterStateBox"));
    m_state->addItem(QStringLiteral("Alla tillstånd"), QString());
    for (const QString& state : RegisterListQuery::states(m_query->list()))
        m_state->addItem(state, state);
    auto* exportButton = new QPushButton(QStringLiteral("E&xportera..."), this);
    auto* printButton = new QPushButton(QStringLiteral("Skriv &ut..."), this);
    auto* filterLabel = new QLabel(QStringLiteral("&Sök:"), this);
    filterLabel->setBuddy(m_filter);
    auto* stateLabel = new QLabel(QStringLiteral("&Tillstånd:"), this);
    stateLabel->setBuddy(m_state);

    m_model = new RegisterTableModel(*m_query, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("RegisterTable"));
    m_table->setModel(m_model);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(payers ? 0 : 1, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // The rows on view decide the widths; a table of a million rows measures only those.
    m_table->resizeColumnsToContents();
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_table->setColumnWidth(column, qMin(m_table->columnWidth(column), 280));

    m_sums = new QLabel(this);
    m_sums->setObjectName(QStringLiteral("RegisterSumsLabel"));
    m_sums->setWordWrap(true);
    m_history = new QTreeWidget(this);
    m_history->setObjectName(QStringLiteral("RegisterHistoryList"));
    m_history->setRootIsDecorated(false);
    m_history->setHeaderLabels({QStringLiteral("Bankdag"), QStringLiteral("Händelse"), QStringLiteral("Kod"),
                                QStringLiteral("Betydelse"), QStringLiteral("Fil"), QStringLiteral("Rad")});
    m_history->setToolTip(QStringLiteral("Dubbelklicka på en händelse för att visa filen vid raden"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(filterLabel);
    bar->addWidget(m_filter, 1);
    bar->addWidget(stateLabel);
    bar->addWidget(m_state);
    bar->addWidget(exportButton);
    bar->addWidget(printButton);
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(m_sums);
    lowerLayout->addWidget(new QLabel(QStringLiteral("Historik för den markerade raden:"), lower));
    lowerLayout->addWidget(m_history);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_table);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_model->setTextFilter(text);
        showSums();
    });
    connect(m_state, &QComboBox::currentIndexChanged, this, [this] {
        m_model->setStateFilter(m_state->currentData().toString());
        showSums();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showHistory(); });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showHistory(); });
    connect(m_history, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openEvent(m_history->indexOfTopLevelItem(item)); });
    connect(exportButton, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });
}

void RegisterTab::reload()
{
    m_model->reload();
    showSums();
}

void RegisterTab::showSums()
{
    m_sums->setText(RegisterListQuery::sumsText(m_query->list(), m_model->sums()));
}

void RegisterTab::showHistory()
{
    m_history->clear();
    const QModelIndex current = m_table->currentIndex();
    m_events = current.isValid() ? m_query->history(m_model->row(current.row())) : QList<RegisterEventRow>();
    for (const RegisterEventRow& event : m_events)
        m_history->addTopLevelItem(new QTreeWidgetItem(
            {event.bankDate, event.what, event.code, event.meaning, event.file, QString::number(event.line)}));
    for (int column = 0; column < m_history->columnCount(); ++column)
        m_history->resizeColumnToContents(column);
}

void RegisterTab::openEvent(int index)
{
    if (index >= 0 && index < m_events.size())
        emit sourceRequested(m_events[index].file, m_events[index].line);
}

QList<RegisterListRow> RegisterTab::selectedRows() const
{
    QList<int> places;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        places.append(index.row());
    std::sort(places.begin(), places.end());
    QList<RegisterListRow> rows;
    for (int place : places)
        rows.append(m_model->row(place));
    return rows;
}

QByteArray RegisterTab::shownCsv() const
{
    return m_query->csv(m_model->filter());
}

bool RegisterTab::exportCsv()
{
    const auto options = UserPrompt::FileDialogOptions::csvFile(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QStringLiteral("Register %1.csv").arg(title()));
    const QString path = m_prompt.askSaveFileName(options);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !m_query->writeCsv(m_model->filter(), file) || !file.commit()) {
        m_prompt.showMessage(QString(), QStringLiteral("Filen %1 kunde inte sparas: %2").arg(path, file.errorString()),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
        return false;
    }
    return true;
}

void RegisterTab::printTo(QPrinter& printer) const
{
    QTextDocument document;
    document.setHtml(m_query->printedHtml(m_model->filter(), QStringLiteral("Registret: ") + title()));
    document.print(&printer);
}

void RegisterTab::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Registret %1").arg(title()));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Skriv ut registret"));
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}
