#include "calendar/FindingsWindow.h"

#include "format/ListExport.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor ErrorColour(170, 0, 0);

} // namespace

FindingsWindow::FindingsWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kontrollera"));
    setObjectName(QStringLiteral("FindingsWindow"));
    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("FindingsList"));
    m_list->setAccessibleName(QStringLiteral("Anmärkningar"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setWordWrap(false);
    m_list->setHeaderLabels({QStringLiteral("Nivå"), QStringLiteral("Lista"), QStringLiteral("Rad"),
                             QStringLiteral("Kolumn"), QStringLiteral("Meddelande")});
    m_list->header()->setStretchLastSection(true);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { requestRowOf(m_list->indexOfTopLevelItem(item)); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Stäng"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(900, 360);
}

void FindingsWindow::setFindings(const QList<DeliveryFinding>& findings, const QString& moment)
{
    // The user keeps their place: the same line, or the last when the list has become shorter.
    const int currentLine = m_list->indexOfTopLevelItem(m_list->currentItem());
    const int scrolled = m_list->verticalScrollBar()->value();
    m_findings = findings;
    m_list->clear();
    int errors = 0;
    QList<QTreeWidgetItem*> items;
    items.reserve(findings.size());
    for (const DeliveryFinding& finding : findings) {
        auto* item =
            new QTreeWidgetItem({FindingLevelText(finding.level), ListName(finding.list),
                                 QString::number(finding.row + 1), finding.columnTitle, finding.message});
        item->setToolTip(4, finding.message);
        if (finding.level == FindingLevel::Error) {
            ++errors;
            for (int column = 0; column < item->columnCount(); ++column)
                item->setForeground(column, ErrorColour);
        }
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    if (currentLine >= 0 && !items.isEmpty())
        m_list->setCurrentItem(items[std::min(currentLine, int(items.size()) - 1)]);
    m_list->verticalScrollBar()->setValue(scrolled);
    for (int column = 0; column < 4; ++column)
        m_list->resizeColumnToContents(column);
    if (findings.isEmpty())
        m_summary->setText(
            QStringLiteral("Inga anmärkningar om filen lämnas till Bankgirot %1.").arg(moment));
    else
        m_summary->setText(QStringLiteral("%1 fel och %2 varningar om filen lämnas till Bankgirot %3. "
                                          "Dubbelklicka på en rad för att gå till den och ändra den.")
                               .arg(errors)
                               .arg(findings.size() - errors)
                               .arg(moment));
}

void FindingsWindow::requestRowOf(int line)
{
    if (line < 0 || line >= m_findings.size())
        return;
    emit rowRequested(m_findings[line].list, m_findings[line].row);
}
