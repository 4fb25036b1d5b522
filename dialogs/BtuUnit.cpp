#include "dialogs/BtuUnit.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "calendar/BankingDayMarks.h"
#include "dialogs/FieldPanel.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "rules/NumberEdit.h"
#include "rules/Periods.h"
#include "rules/ValmoError.h"
#include "settings/hh.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

const int MonthlyOnLastBankDay = 5;

} // namespace

TBtuForm::TBtuForm(QWidget* parent, const Clock* clock)
    : EntryDialog(parent, QStringLiteral("Betaluppdrag"), QStringLiteral(":/pictures/payment.png"),
                  Qt::AlignTop)
{
    QWidget* fields = panel();
    TypCmbo = new QComboBox(fields);
    BeloppEdit = new TNumberEdit(fields);
    BeloppEdit->setMask(QStringLiteral("#,##0.00"));
    DateEdit = makeDateEdit(fields);
    GenastCheck = new QCheckBox(QStringLiteral("Genast"), fields);
    GenastCheck->setToolTip(QStringLiteral("Betalningen görs så snart Bankgirot har tagit emot filen"));
    PeriodCmbo = new QComboBox(fields);
    PeriodCmbo->setMaxVisibleItems(10);
    AntalEdit = new TNumberEdit(fields);
    AntalEdit->setFixedWidth(60);
    AntalEdit->setToolTip(QStringLiteral("Antal betalningar, 1–999. 0 betyder tills vidare."));
    BetalarEdit = new QLineEdit(fields);
    BetalarEdit->setMaxLength(16);
    RefEdit = new QLineEdit(fields);
    RefEdit->setMaxLength(16);
    BtNrHelp = makeHelpButton([this] { BtNrHelpClick(); });
    keepPlaceWhenHidden(BtNrHelp);
    RefHlp = makeHelpButton([this] { RefHlpClick(); });

    QGridLayout* grid = fieldGrid();
    addLabel(QStringLiteral("Typ av betaluppdrag"), 0);
    grid->addWidget(TypCmbo, 0, 1);
    addLabel(QStringLiteral("Belopp"), 1);
    grid->addWidget(BeloppEdit, 1, 1);
    addLabel(QStringLiteral("Betalningsdatum"), 2);
    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(12);
    dateRow->addWidget(DateEdit);
    dateRow->addWidget(GenastCheck);
    dateRow->addStretch(1);
    auto* dateColumn = new QVBoxLayout;
    dateColumn->setSpacing(2);
    dateColumn->addLayout(dateRow);
    DateNote = new BankingDayNote(DateEdit, PeriodCmbo, GenastCheck, fields);
    dateColumn->addWidget(DateNote);
    grid->addLayout(dateColumn, 2, 1, 1, 2);
    addLabel(QStringLiteral("Periodicitet"), 3);
    grid->addWidget(PeriodCmbo, 3, 1, 1, 2);
    addLabel(QStringLiteral("Antal betalningar"), 4);
    grid->addWidget(AntalEdit, 4, 1, Qt::AlignLeft);
    BtNrLabel = addLabel(QStringLiteral("Betalarnummer"), 5);
    grid->addWidget(BetalarEdit, 5, 1);
    grid->addWidget(BtNrHelp, 5, 2, Qt::AlignLeft);
    addLabel(QStringLiteral("Referens"), 6);
    grid->addWidget(RefEdit, 6, 1);
    grid->addWidget(RefHlp, 6, 2, Qt::AlignLeft);
    grid->setRowStretch(7, 1);

    setFirstField(TypCmbo);
    setTabChain({TypCmbo, BeloppEdit, DateEdit, GenastCheck, PeriodCmbo, AntalEdit, BetalarEdit, RefEdit,
                 HelpBtn, SaveBtn, QuiteBtn, BtNrHelp, RefHlp});

    FormCreate(clock ? *clock : Clock::system());
    connect(PeriodCmbo, &QComboBox::currentIndexChanged, this, [this] { PeriodCmboChange(); });
    connect(GenastCheck, &QCheckBox::toggled, this, [this] { GenastCheckClick(); });
    watchExit(BetalarEdit, [this] { BetalarEditExit(); });
    finishLayout(QSize(398, 341));
}

void TBtuForm::FormCreate(const Clock& clock)
{
    PeriodCmbo->addItems(PeriodTexts());
    PeriodCmbo->setCurrentIndex(-1);
    TypCmbo->clear();
    TypCmbo->addItems({RowTexts::debit(), RowTexts::credit()});
    TypCmbo->setCurrentIndex(-1);
    DateEdit->setDate(clock.today().addDays(5));
}

void TBtuForm::FormShow()
{
    BtNrLabel->setText(PrivatePayer ? QStringLiteral("Betalarnummer") : QStringLiteral("Bankgironummer"));
    BtNrHelp->setVisible(PrivatePayer);
    if (TypCmbo->currentIndex() < 0)
        TypCmbo->setCurrentIndex(0);
    if (PeriodCmbo->currentIndex() < 0)
        PeriodCmbo->setCurrentIndex(MonthlyOnLastBankDay);
    AntalEdit->setMask(QStringLiteral("0"));
    // A count just loaded from a row stays as the row has it, an empty one included.
    if (AntalEdit->value() == 0 && !m_countLoaded)
        AntalEdit->setValue(999);
    m_countLoaded = false;
    PeriodCmboChange();
}

void TBtuForm::PeriodCmboChange()
{
    if (PeriodCmbo->currentText() == RowTexts::oneOffPayment()) {
        AntalEdit->setText(QStringLiteral("1"));
        AntalEdit->setEnabled(false);
    } else {
        AntalEdit->setEnabled(true);
    }
}

void TBtuForm::GenastCheckClick()
{
    DateEdit->setEnabled(!GenastCheck->isChecked());
}

// A payer number is written as a zero-filled digit field, so its leading zeros cannot reach the
// file: they go when the field is left, and the row shows the number as the file keeps it.
void TBtuForm::BetalarEditExit()
{
    const QString text = BetalarEdit->text();
    BetalarEdit->setText(PrivatePayer ? StripLeadingZeros(DigitsOnly(text), false)
                                      : FormatBankgiroNumber(text));
}

bool TBtuForm::checkCount()
{
    if (!AntalEdit->isEnabled())
        return true;
    const double count = AntalEdit->value();
    const bool fits = count >= 0 && count <= 999 && std::floor(count) == count;
    return passes(fits ? QString() : QStringLiteral("Antal betalningar ska vara ett heltal från 0 till 999"),
                  AntalEdit);
}

void TBtuForm::SaveBtnClick()
{
    // Return pressed inside the amount or count field: the typed text counts as if the field had
    // been left.
    if (!BeloppEdit->confirmPendingText()) {
        BeloppEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (AntalEdit->isEnabled() && !AntalEdit->confirmPendingText()) {
        AntalEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    BetalarEditExit();
    if (!passesPayerChecks(BetalarEdit, PrivatePayer))
        return;
    if (!passes(CheckAmount(FormatPlainNumber(BeloppEdit->value())), BeloppEdit))
        return;
    if (!checkCount())
        return;
    if (!passesFieldChecks(RefEdit, QString()))
        return;
    accept();
}

void TBtuForm::HelpBtnClick()
{
    ShowHelpTopic(QStringLiteral("Betaluppdrag.htm"));
}

void TBtuForm::BtNrHelpClick()
{
    ShowHelpTopic(QStringLiteral("Betalarnummer.htm"));
}

void TBtuForm::RefHlpClick()
{
    ShowHelpTopic(QStringLiteral("Betaluppdrag.htm#referens"));
}

void TBtuForm::LoadRow(const ListRow& row, bool privateService)
{
    TypCmbo->setCurrentIndex(indexIgnoringCase(TypCmbo, row.text(0)));
    PeriodCmbo->setCurrentIndex(indexIgnoringCase(PeriodCmbo, row.text(1)));
    const bool immediate = row.text(2) == RowTexts::immediatePayment();
    GenastCheck->setChecked(immediate);
    if (!immediate)
        DateEdit->setDate(ParseDateText(row.text(2)));
    BeloppEdit->setValue(StrToFloat(RemoveGroupSeparators(row.text(3), QLocale())));
    // The count's Value follows the row as well as its text, so that entering the field shows the
    // row's count and the first showing of a run does not replace it by the default 999.
    const QString count = row.text(4);
    double countValue = 0;
    try {
        countValue = TNumberEdit::TextToValue(count);
    } catch (const ConversionError&) {
        countValue = 0;
    }
    AntalEdit->setValue(countValue);
    AntalEdit->setText(count);
    m_countLoaded = true;
    BetalarEdit->setText(row.text(5));
    RefEdit->setText(row.text(6));
    PrivatePayer = privateService;
}

ListRow TBtuForm::Row() const
{
    return ListRow(
        TypCmbo->currentText(),
        {PeriodCmbo->currentText(),
         GenastCheck->isChecked() ? RowTexts::immediatePayment() : FormatDateText(DateEdit->date()),
         BeloppEdit->text(), AntalEdit->text(), BetalarEdit->text(), RefEdit->text()});
}
