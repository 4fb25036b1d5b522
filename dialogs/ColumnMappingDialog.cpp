#include "dialogs/ColumnMappingDialog.h"

#include "app/WidgetPrompt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ColumnMappingDialog::ColumnMappingDialog(const CsvTable& table, const ColumnMapping& initial,
                                         bool privateService, QWidget* parent)
    : QDialog(parent), m_privateService(privateService)
{
    setWindowTitle(QStringLiteral("Välj kolumner"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Filens rubrikrad namnger ingen av de kolumner som kan importeras. "
                                  "Välj vad varje kolumn innehåller; valet sparas till nästa import."),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    const int columns = int(table.header.size());
    const int rows = qMin(PreviewRows, int(table.records.size()));
    m_preview = new QTableWidget(rows + 1, columns, this);
    m_preview->setAccessibleName(QStringLiteral("Filens första rader"));
    m_preview->setHorizontalHeaderLabels(table.header);
    m_preview->setVerticalHeaderLabels(QStringList() << QString());
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int column = 0; column < columns; ++column) {
        auto* choice = new QComboBox(m_preview);
        choice->addItem(QStringLiteral("(används inte)"), int(ImportField::Count));
        for (int field = 0; field < int(ImportField::Count); ++field)
            choice->addItem(ImportFieldName(ImportField(field)), field);
        m_preview->setCellWidget(0, column, choice);
        m_choices.append(choice);
    }
    for (int field = 0; field < int(ImportField::Count); ++field) {
        if (initial.column(ImportField(field)) >= 0 && initial.column(ImportField(field)) < columns)
            choose(initial.column(ImportField(field)), ImportField(field));
    }
    for (int row = 0; row < rows; ++row) {
        const CsvRecord& record = table.records[row];
        m_preview->setVerticalHeaderItem(row + 1, new QTableWidgetItem(QString::number(record.line)));
        for (int column = 0; column < columns && column < record.fields.size(); ++column)
            m_preview->setItem(row + 1, column, new QTableWidgetItem(record.fields[column]));
    }
    m_preview->resizeColumnsToContents();
    layout->addWidget(m_preview, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Importera"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Avbryt"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ColumnMappingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ColumnMappingDialog::reject);
    layout->addWidget(buttons);
    resize(720, 360);
}

void ColumnMappingDialog::choose(int column, ImportField field)
{
    QComboBox* choice = m_choices.value(column);
    if (choice)
        choice->setCurrentIndex(choice->findData(int(field)));
}

ColumnMapping ColumnMappingDialog::mapping() const
{
    ColumnMapping mapping;
    for (int column = 0; column < m_choices.size(); ++column) {
        const auto field = ImportField(m_choices[column]->currentData().toInt());
        if (field != ImportField::Count && !mapping.has(field))
            mapping.set(field, column);
    }
    return mapping;
}

void ColumnMappingDialog::accept()
{
    QStringList chosenTwice;
    ColumnMapping seen;
    for (int column = 0; column < m_choices.size(); ++column) {
        const auto field = ImportField(m_choices[column]->currentData().toInt());
        if (field == ImportField::Count)
            continue;
        if (seen.has(field))
            chosenTwice << ImportFieldName(field);
        seen.set(field, column);
    }
    QString problem;
    if (!chosenTwice.isEmpty()) {
        problem =
            QStringLiteral("%1 är vald för mer än en kolumn.").arg(chosenTwice.join(QStringLiteral(", ")));
    } else {
        try {
            ImportListFor(mapping(), m_privateService);
        } catch (const ImportColumnsError& error) {
            problem = error.text();
        }
    }
    if (!problem.isEmpty()) {
        WidgetPrompt(this).showMessage(QString(), problem, UserPrompt::Buttons::Ok);
        return;
    }
    QDialog::accept();
}
