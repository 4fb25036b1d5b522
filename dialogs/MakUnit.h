#pragma once

#include "app/ListRow.h"
#include "dialogs/EntryDialog.h"

#include <QStringList>

class Clock;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class TNumberEdit;

// The cancellation and change dialog: cancels earlier orders or a mandate ("Makulering"), or moves
// the payment date of earlier orders ("Ändring"). The request chosen decides the record code and
// which fields are shown.
class TMakForm : public EntryDialog
{
    Q_OBJECT

public:
    explicit TMakForm(QWidget* parent = nullptr, const Clock* clock = nullptr);

    QRadioButton* MakRadio = nullptr;
    QRadioButton* ChangeRadio = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ChangeTypCmbo = nullptr;
    QComboBox* MakTypCmbo = nullptr;
    QLabel* BetalarNrLbl = nullptr;
    QLineEdit* BetalarNrEdit = nullptr;
    QLabel* BetalDagLbl = nullptr;
    QDateEdit* BetaldagEdit = nullptr;
    QLabel* NyBetalDagLbl = nullptr;
    QDateEdit* NyBetalDagEdit = nullptr;
    QLabel* BeloppLbl = nullptr;
    TNumberEdit* BeloppEdit = nullptr;
    QLabel* TransTypLbl = nullptr;
    QComboBox* TransTypCmbo = nullptr;
    QLabel* RefLbl = nullptr;
    QLineEdit* RefEdit = nullptr;
    QToolButton* BtNrHelp = nullptr;

    // The record code of the request chosen: 25, 3, 23, 24 (Makulering), 29, 26, 27, 28 (Ändring).
    int MakCode = 25;
    bool PrivatePayer = true;

    // Which fields a code shows.
    static bool showsPayer(int code);
    static bool showsPaymentDate(int code);
    static bool showsNewPaymentDate(int code);
    static bool showsAmount(int code);
    // The reference of the payment: for the cancellation and the change of one payment.
    static bool showsReference(int code);

    void FormShow() override;
    void MakRadioClick();
    void ChangeRadioClick() { MakRadioClick(); }
    void MakTypCmboChange() { UpdateMakFields(); }
    void ChangeTypCmboChange() { UpdateMakFields(); }
    void UpdateMakFields();
    void BetalarNrEditExit();
    void SaveBtnClick() override;
    void HelpBtnClick() override;
    void BtNrHelpClick();

    // Puts a row and its code into the dialog for editing. Throws ConversionError when the code,
    // a date or the amount cannot be read.
    void LoadRow(const ListRow& row, const QString& code, bool privateService);
    // The row for the current request: its description from makTexts and the fields it shows.
    ListRow Row(const QStringList& makTexts) const;
    QString CodeText() const { return QString::number(MakCode); }

    // The grid column the new payment date stands in (it moves left for code 26).
    int newPaymentDateColumn() const;

private:
    void FormCreate(const Clock& clock);
    void placeNewPaymentDate(int column);
};
