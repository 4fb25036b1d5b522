#pragma once

#include "format/CsvReader.h"
#include "format/PayerImport.h"

#include <QDialog>
#include <QVector>

class QComboBox;
class QTableWidget;

// Asks which column of an imported file holds which field, with the first rows of the file as
// a preview. OK is refused with the reason while the choice fits no list.
class ColumnMappingDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PreviewRows = 5;

    ColumnMappingDialog(const CsvTable& table, const ColumnMapping& initial, bool privateService,
                        QWidget* parent = nullptr);

    ColumnMapping mapping() const;
    // The choice for a column of the file: ImportField::Count for "not used".
    void choose(int column, ImportField field);
    QTableWidget* preview() const { return m_preview; }

    void accept() override;

private:
    QTableWidget* m_preview = nullptr;
    QVector<QComboBox*> m_choices;
    bool m_privateService;
};
