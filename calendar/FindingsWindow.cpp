#include "calendar/FindingsWindow.h"

#include "calendar/FindingsModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

FindingsWindow::FindingsWindow(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kontrollera"));
    setObjectName(QStringLiteral("FindingsWindow"));
    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    m_model = new FindingsModel(this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("FindingsList"));
    m_list->setAccessibleName(QStringLiteral("Anmärkningar"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setWordWrap(false);
    m_list->setModel(m_model);
    m_list->header()->setStretchLastSection(true);
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex& index) { requestRowOf(index.row()); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Stäng"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(900, 360);
}

const QList<DeliveryFinding>& FindingsWindow::findings() const
{
    return m_model->findings();
}

void FindingsWindow::setFindings(const QList<DeliveryFinding>& findings, const QString& moment)
{
    // The user keeps their place: the same line, or the last when the list has become shorter.
    const int currentLine = m_list->currentIndex().row();
    const int scrolled = m_list->verticalScrollBar()->value();
    m_model->setFindings(findings);
    const int rows = m_model->rowCount();
    if (currentLine >= 0 && rows > 0)
        m_list->setCurrentIndex(m_model->index(std::min(currentLine, rows - 1), 0));
    m_list->verticalScrollBar()->setValue(scrolled);
    for (int column = 0; column < FindingsModel::MessageColumn; ++column)
        m_list->resizeColumnToContents(column);
    const auto errors = std::count_if(findings.begin(), findings.end(), [](const DeliveryFinding& finding) {
        return finding.level == FindingLevel::Error;
    });
    if (findings.isEmpty()) {
        m_summary->setText(QStringLiteral("Inga anmärkningar om filen lämnas till Bankgirot %1.").arg(moment));
        return;
    }
    const auto warnings = findings.size() - errors;
    m_summary->setText(QStringLiteral("%1 fel och %2 %3 om filen lämnas till Bankgirot %4. "
                                      "Dubbelklicka på en rad för att gå till den och ändra den.")
                           .arg(errors)
                           .arg(warnings)
                           .arg(warnings == 1 ? QStringLiteral("varning") : QStringLiteral("varningar"), moment));
}

void FindingsWindow::requestRowOf(int line)
{
    const QList<DeliveryFinding>& all = findings();
    if (line < 0 || line >= all.size())
        return;
    emit rowRequested(all[line].list, all[line].row);
}
