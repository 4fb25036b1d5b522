#include "dialogs/MakUnit.h"
#include "dialogs/RadioTabStop.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "dialogs/FieldLabel.h"
#include "dialogs/FieldPanel.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/NumberEdit.h"
#include "rules/Periods.h"
#include "settings/hh.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <array>

namespace {

// Codes by list position.
const std::array<int, 4> MakCodesByPosition = {25, 3, 23, 24};
const std::array<int, 4> ChangeCodesByPosition = {29, 26, 27, 28};

const int HomeDateColumn = 2; // the new payment date stands right of the payment date
const int PaymentDateColumn = 0;

int positionOf(const std::array<int, 4>& codes, int code)
{
    for (int i = 0; i < int(codes.size()); ++i) {
        if (codes[i] == code)
            return i;
    }
    return -1;
}

} // namespace

TMakForm::TMakForm(QWidget* parent, const Clock* clock)
    : EntryDialog(parent, QStringLiteral("Makulering eller ändring"), QStringLiteral(":/pictures/change.png"),
                  Qt::AlignVCenter)
{
    QWidget* fields = panel();
    MakRadio = new QRadioButton(QStringLiteral("Makulering"), fields);
    ChangeRadio = new QRadioButton(QStringLiteral("Ändring"), fields);
    auto* radios = new QButtonGroup(this);
    radios->addButton(MakRadio);
    radios->addButton(ChangeRadio);
    MakRadio->setChecked(true);
    KeepCheckedButtonAsTabStop(radios);
    ChangeTypCmbo = new QComboBox(fields);
    MakTypCmbo = new QComboBox(fields);
    // The two lists share one label, whose text follows the choice; each has its own name.
    ChangeTypCmbo->setAccessibleName(QStringLiteral("Typ av ändring"));
    MakTypCmbo->setAccessibleName(QStringLiteral("Typ av makulering"));
    BetalarNrEdit = new QLineEdit(fields);
    BetalarNrEdit->setMaxLength(16);
    BetaldagEdit = makeDateEdit(fields);
    NyBetalDagEdit = makeDateEdit(fields);
    BeloppEdit = new TNumberEdit(fields);
    BeloppEdit->setMask(QStringLiteral("#,##0.00"));
    TransTypCmbo = new QComboBox(fields);
    RefEdit = new QLineEdit(fields);
    RefEdit->setMaxLength(16);
    BtNrHelp = makeHelpButton(QStringLiteral("Betalarnummer"), [this] { BtNrHelpClick(); }, false);

    QGridLayout* grid = fieldGrid();
    auto* radioRow = new QHBoxLayout;
    radioRow->setSpacing(16);
    radioRow->addWidget(MakRadio);
    radioRow->addWidget(ChangeRadio);
    radioRow->addStretch(1);
    grid->addLayout(radioRow, 0, 0, 1, 4);
    Label1 = addLabel(QStringLiteral("Typ av makulering"), 1);
    grid->addWidget(ChangeTypCmbo, 1, 1, 1, 3);
    grid->addWidget(MakTypCmbo, 1, 1, 1, 3);
    BetalarNrLbl = addLabel(QStringLiteral("Betalarnummer"), 2);
    grid->addWidget(BetalarNrEdit, 2, 1);
    grid->addWidget(BtNrHelp, 2, 2, Qt::AlignLeft);
    BetalDagLbl = addLabel(QStringLiteral("Betalningsdag"), 3, 0);
    grid->addWidget(BetaldagEdit, 3, 1);
    NyBetalDagLbl = new FieldLabel(QStringLiteral("Ny Betaldag"), fields);
    placeNewPaymentDate(HomeDateColumn);
    BeloppLbl = addLabel(QStringLiteral("Belopp"), 4);
    grid->addWidget(BeloppEdit, 4, 1);
    TransTypLbl = addLabel(QStringLiteral("Transaktionstyp"), 5);
    grid->addWidget(TransTypCmbo, 5, 1);
    RefLbl = addLabel(QStringLiteral("Referens"), 6);
    grid->addWidget(RefEdit, 6, 1);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // Hidden fields leave their place empty, so the shown ones never jump about.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             BetalarNrLbl, BetalarNrEdit, BtNrHelp, BetalDagLbl, BetaldagEdit, NyBetalDagLbl, NyBetalDagEdit,
             BeloppLbl, BeloppEdit, TransTypLbl, TransTypCmbo, RefLbl, RefEdit})
        keepPlaceWhenHidden(widget);

    setFirstField(MakRadio);
    setTabChain({MakRadio, ChangeRadio, ChangeTypCmbo, MakTypCmbo, BetalarNrEdit, BetaldagEdit,
                 NyBetalDagEdit, BeloppEdit, TransTypCmbo, RefEdit, HelpBtn, SaveBtn, QuiteBtn});

    FormCreate(clock ? *clock : Clock::system());
    for (QRadioButton* radio : {MakRadio, ChangeRadio}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                MakRadioClick();
        });
    }
    connect(MakTypCmbo, &QComboBox::currentIndexChanged, this, [this] { MakTypCmboChange(); });
    connect(ChangeTypCmbo, &QComboBox::currentIndexChanged, this, [this] { ChangeTypCmboChange(); });
    watchExit(BetalarNrEdit, [this] { BetalarNrEditExit(); });
    finishLayout(QSize(503, 327));
}

void TMakForm::FormCreate(const Clock& clock)
{
    MakTypCmbo->addItems({QStringLiteral("En transaktion"), QStringLiteral("Ett Medgivande"),
                          QStringLiteral("Alla transaktioner för ett betalarnummer"),
                          QStringLiteral("Alla transaktioner, med angiven betaldag, för ett betalarnummer")});
    ChangeTypCmbo->addItems(
        {QStringLiteral("En transaktion"), QStringLiteral("Alla transaktioner"),
         QStringLiteral("Alla transaktioner med angiven betaldag"),
         QStringLiteral("Alla transaktioner, med angiven betaldag, för ett betalarnummer")});
    TransTypCmbo->addItems(TransactionTypeTexts());
    for (QComboBox* combo : {MakTypCmbo, ChangeTypCmbo, TransTypCmbo})
        combo->setCurrentIndex(-1);
    const QDate today = clock.today();
    BetaldagEdit->setDate(today.addDays(2));
    NyBetalDagEdit->setDate(today.addDays(5));
}

bool TMakForm::showsPayer(int code)
{
    return code != 26 && code != 27;
}

bool TMakForm::showsPaymentDate(int code)
{
    return code != 3 && code != 23 && code != 26;
}

bool TMakForm::showsNewPaymentDate(int code)
{
    return code >= 26 && code <= 29;
}

bool TMakForm::showsAmount(int code)
{
    return code == 25 || code == 29;
}

bool TMakForm::showsReference(int code)
{
    return code == 25 || code == 29;
}

void TMakForm::FormShow()
{
    BetalarNrLbl->setText(PrivatePayer ? QStringLiteral("Betalarnummer") : QStringLiteral("Bankgironummer"));
    for (QComboBox* combo : {MakTypCmbo, ChangeTypCmbo, TransTypCmbo}) {
        if (combo->currentIndex() < 0)
            combo->setCurrentIndex(0);
    }
    MakRadioClick();
}

void TMakForm::MakRadioClick()
{
    const bool cancellation = MakRadio->isChecked();
    Label1->setText(cancellation ? QStringLiteral("Typ av makulering") : QStringLiteral("Typ av ändring"));
    MakTypCmbo->setVisible(cancellation);
    ChangeTypCmbo->setVisible(!cancellation);
    UpdateMakFields();
}

void TMakForm::UpdateMakFields()
{
    const bool cancellation = MakRadio->isChecked();
    const int position = cancellation ? MakTypCmbo->currentIndex() : ChangeTypCmbo->currentIndex();
    if (position >= 0)
        MakCode = cancellation ? MakCodesByPosition[position] : ChangeCodesByPosition[position];

    const bool payer = showsPayer(MakCode);
    BetalarNrLbl->setVisible(payer);
    BetalarNrEdit->setVisible(payer);
    // The payer-number help is about payer numbers: it goes with the field, for private service.
    BtNrHelp->setVisible(payer && PrivatePayer);
    const bool paymentDate = showsPaymentDate(MakCode);
    BetalDagLbl->setVisible(paymentDate);
    BetaldagEdit->setVisible(paymentDate);
    const bool newPaymentDate = showsNewPaymentDate(MakCode);
    NyBetalDagLbl->setVisible(newPaymentDate);
    NyBetalDagEdit->setVisible(newPaymentDate);
    const bool amount = showsAmount(MakCode);
    BeloppLbl->setVisible(amount);
    BeloppEdit->setVisible(amount);
    TransTypLbl->setVisible(amount);
    TransTypCmbo->setVisible(amount);
    const bool reference = showsReference(MakCode);
    RefLbl->setVisible(reference);
    RefEdit->setVisible(reference);

    placeNewPaymentDate(MakCode == 26 ? PaymentDateColumn : HomeDateColumn);
}

void TMakForm::placeNewPaymentDate(int column)
{
    QGridLayout* grid = fieldGrid();
    if (grid->indexOf(NyBetalDagEdit) >= 0 && newPaymentDateColumn() == column + 1)
        return;
    grid->removeWidget(NyBetalDagLbl);
    grid->removeWidget(NyBetalDagEdit);
    grid->addWidget(NyBetalDagLbl, 3, column);
    grid->addWidget(NyBetalDagEdit, 3, column + 1);
}

int TMakForm::newPaymentDateColumn() const
{
    const int index = fieldGrid()->indexOf(NyBetalDagEdit);
    if (index < 0)
        return -1;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    fieldGrid()->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return column;
}

void TMakForm::BetalarNrEditExit()
{
    BetalarNrEdit->setText(FormatBankgiroNumber(BetalarNrEdit->text()));
}

void TMakForm::SaveBtnClick()
{
    const bool amount = showsAmount(MakCode);
    // Return pressed inside the amount field: the typed text counts as if the field had been left.
    if (amount && !BeloppEdit->confirmPendingText()) {
        BeloppEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (showsPayer(MakCode)) {
        BetalarNrEditExit();
        if (!passesPayerChecks(BetalarNrEdit, PrivatePayer))
            return;
    }
    if (amount && !passes(CheckAmount(FormatPlainNumber(BeloppEdit->value())), BeloppEdit))
        return;
    if (showsReference(MakCode) && !passesFieldChecks(RefEdit, QString()))
        return;
    accept();
}

void TMakForm::HelpBtnClick()
{
    ShowHelpTopic(QStringLiteral("Makuleringar_och_ändringar.htm"));
}

void TMakForm::BtNrHelpClick()
{
    ShowHelpTopic(QStringLiteral("Betalarnummer.htm"));
}

void TMakForm::LoadRow(const ListRow& row, const QString& code, bool privateService)
{
    MakCode = StrToInt(code);
    const int makPosition = positionOf(MakCodesByPosition, MakCode);
    const int changePosition = positionOf(ChangeCodesByPosition, MakCode);
    {
        // Set the lists and the radio buttons without running the rules for each step; the
        // showing works the code out again from them.
        const QSignalBlocker blockMak(MakTypCmbo);
        const QSignalBlocker blockChange(ChangeTypCmbo);
        const QSignalBlocker blockMakRadio(MakRadio);
        const QSignalBlocker blockChangeRadio(ChangeRadio);
        if (makPosition >= 0) {
            MakTypCmbo->setCurrentIndex(makPosition);
            MakRadio->setChecked(true);
        } else if (changePosition >= 0) {
            ChangeTypCmbo->setCurrentIndex(changePosition);
            ChangeRadio->setChecked(true);
        } else {
            // A code outside the table (read from a file) leaves neither radio button selected.
            QButtonGroup* group = MakRadio->group();
            group->setExclusive(false);
            MakRadio->setChecked(false);
            ChangeRadio->setChecked(false);
            group->setExclusive(true);
        }
    }
    BetalarNrEdit->setText(row.text(1));
    if (!row.text(2).isEmpty())
        BetaldagEdit->setDate(ParseDateText(row.text(2)));
    if (!row.text(3).isEmpty())
        NyBetalDagEdit->setDate(ParseDateText(row.text(3)));
    if (!row.text(4).isEmpty())
        BeloppEdit->setValue(StrToFloat(DigitsOnly(row.text(4))) / 100.0);
    TransTypCmbo->setCurrentIndex(indexIgnoringCase(TransTypCmbo, row.text(5)));
    RefEdit->setText(row.columnCount() > 6 ? row.text(6) : QString());
    PrivatePayer = privateService;
}

ListRow TMakForm::Row(const QStringList& makTexts) const
{
    const QString description = MakCode >= 0 && MakCode < makTexts.size() ? makTexts[MakCode] : QString();
    const auto shown = [](bool show, const QString& text) { return show ? text : QString(); };
    return ListRow(description, {shown(showsPayer(MakCode), BetalarNrEdit->text()),
                                 shown(showsPaymentDate(MakCode), FormatDateText(BetaldagEdit->date())),
                                 shown(showsNewPaymentDate(MakCode), FormatDateText(NyBetalDagEdit->date())),
                                 shown(showsAmount(MakCode), BeloppEdit->text()),
                                 shown(showsAmount(MakCode), TransTypCmbo->currentText()),
                                 shown(showsReference(MakCode), RefEdit->text())});
}
