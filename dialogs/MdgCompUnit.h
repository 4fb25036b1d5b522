#pragma once

#include "app/ListRow.h"
#include "dialogs/EntryDialog.h"

class QLineEdit;

// The mandate dialog for company payers, who are identified by their own bankgiro number.
class TMdgCompForm : public EntryDialog
{
    Q_OBJECT

public:
    explicit TMdgCompForm(QWidget* parent = nullptr);

    QLineEdit* BgNrEdit = nullptr;

    void BgNrEditExit();
    void SaveBtnClick() override;
    void HelpBtnClick() override;

    void LoadRow(const ListRow& row);
    ListRow Row() const;
};
