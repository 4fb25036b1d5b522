#pragma once

#include "app/ListRow.h"
#include "dialogs/EntryDialog.h"

class BankingDayNote;
class Clock;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class TNumberEdit;

// The payment-order dialog: one row of the payment orders, entered or changed.
class TBtuForm : public EntryDialog
{
    Q_OBJECT

public:
    explicit TBtuForm(QWidget* parent = nullptr, const Clock* clock = nullptr);

    QComboBox* TypCmbo = nullptr;
    TNumberEdit* BeloppEdit = nullptr;
    QDateEdit* DateEdit = nullptr;
    // "Genast": the payment is made at once; the date is then not used.
    QCheckBox* GenastCheck = nullptr;
    // Under the date: the day the bank will use when the date is no banking day.
    BankingDayNote* DateNote = nullptr;
    QComboBox* PeriodCmbo = nullptr;
    TNumberEdit* AntalEdit = nullptr;
    QLabel* BtNrLabel = nullptr;
    QLineEdit* BetalarEdit = nullptr;
    QLineEdit* RefEdit = nullptr;
    QToolButton* BtNrHelp = nullptr;
    QToolButton* RefHlp = nullptr;

    // True: payers are identified by their payer number; false: by their bankgiro number.
    bool PrivatePayer = true;

    void FormShow() override;
    void PeriodCmboChange();
    void GenastCheckClick();
    void BetalarEditExit();
    void SaveBtnClick() override;
    void HelpBtnClick() override;
    void BtNrHelpClick();
    void RefHlpClick();

    // Puts a payment-order row into the fields for editing. Throws ConversionError when the
    // row's date or amount cannot be read; the fields may then be partly loaded.
    void LoadRow(const ListRow& row, bool privateService);
    // The row the fields stand for, in the column order of the payment orders.
    ListRow Row() const;

private:
    void FormCreate(const Clock& clock);
    bool checkCount();

    bool m_countLoaded = false;
};
