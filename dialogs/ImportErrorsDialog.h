#pragma once

#include "format/PayerImport.h"

#include <QDialog>

class QTreeWidget;

// The failing rows of an import that added nothing: line, column and message of each, to copy
// or save so the file can be put right.
class ImportErrorsDialog : public QDialog
{
    Q_OBJECT

public:
    ImportErrorsDialog(const QString& path, const QList<ImportFinding>& findings, QWidget* parent = nullptr);

    // One "FILE:LINE: COLUMN: message" line per finding, as valmo-cli import writes them.
    QString text() const;
    QTreeWidget* list() const { return m_list; }

    void copyToClipboard();
    // Asks for a file name and writes text() to it. False when cancelled or not written.
    bool saveToFile();

private:
    QString m_path;
    QList<ImportFinding> m_findings;
    QTreeWidget* m_list = nullptr;
};
