#pragma once

#include "calendar/DeliveryFinding.h"

#include <QDialog>
#include <QList>

class FindingsModel;
class QLabel;
class QTreeView;

// "Kontrollera": the findings of the check before delivery, one a line, the "fel" first marked in
// red. A double-click (or Enter) on a line asks for its row to be shown and edited.
class FindingsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit FindingsWindow(QWidget* parent = nullptr);

    void setFindings(const QList<DeliveryFinding>& findings, const QString& moment);
    QTreeView* list() const { return m_list; }
    const QList<DeliveryFinding>& findings() const;

signals:
    void rowRequested(ListId list, int row);

private:
    void requestRowOf(int line);

    QLabel* m_summary = nullptr;
    QTreeView* m_list = nullptr;
    FindingsModel* m_model = nullptr;
};
