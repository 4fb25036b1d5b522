#pragma once

#include "app/ListRow.h"
#include "dialogs/EntryDialog.h"

class Clock;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QWidget;

// The mandate dialog for private payers: a mandate on paper with the payer's account, or an
// electronic mandate with its unique id number, approved or rejected.
class TMdgForm : public EntryDialog
{
    Q_OBJECT

public:
    // The clock gives the date that decides the century of a ten-digit personnummer.
    explicit TMdgForm(QWidget* parent = nullptr, const Clock* clock = nullptr);

    QComboBox* TypCmbo = nullptr;
    QLineEdit* BetalarEdit = nullptr;
    QLabel* IdLabel = nullptr;
    QLineEdit* IdEdit = nullptr;
    QLabel* KontoLabel = nullptr;
    QLineEdit* ClearingNrEdit = nullptr;
    QLineEdit* KontoNrEdit = nullptr;
    QLineEdit* PersonNrEdit = nullptr;
    QRadioButton* OkRadio = nullptr;
    QRadioButton* AvvisaRadio = nullptr;
    QToolButton* BtNrHelp = nullptr;
    QToolButton* PersNrHelp = nullptr;
    QToolButton* KontoHelp = nullptr;

    void FormShow() override;
    void TypCmboChange();
    void BetalarEditExit();
    void PersonNrEditExit();
    void SaveBtnClick() override;
    void HelpBtnClick() override;
    void BtNrHelpClick();
    void PersNrHelpClick();
    void KontoHelpClick();

    // True while the paper kind is chosen.
    bool isPaper() const;
    void LoadRow(const ListRow& row);
    // The row the fields stand for.
    ListRow Row() const;

private:
    void FormCreate();

    QWidget* m_accountFields = nullptr;
    const Clock& m_clock;
};
