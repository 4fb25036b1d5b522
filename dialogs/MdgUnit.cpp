#include "dialogs/MdgUnit.h"
#include "dialogs/RadioTabStop.h"

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "dialogs/FieldPanel.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "settings/hh.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

const int PaperPosition = 0;

} // namespace

TMdgForm::TMdgForm(QWidget* parent, const Clock* clock)
    : EntryDialog(parent, QStringLiteral("Medgivande"), QStringLiteral(":/pictures/mandate.png"),
                  Qt::AlignBottom),
      m_clock(clock ? *clock : Clock::system())
{
    QWidget* fields = panel();
    TypCmbo = new QComboBox(fields);
    BetalarEdit = new QLineEdit(fields);
    BetalarEdit->setMaxLength(16);
    IdEdit = new QLineEdit(fields);
    m_accountFields = new QWidget(fields);
    ClearingNrEdit = new QLineEdit(m_accountFields);
    ClearingNrEdit->setFixedWidth(60);
    KontoNrEdit = new QLineEdit(m_accountFields);
    // The two fields share the label "Betalarens kontonummer"; each is named for what it holds.
    ClearingNrEdit->setAccessibleName(QStringLiteral("Clearingnummer"));
    ClearingNrEdit->setAccessibleDescription(QStringLiteral("Betalarens clearingnummer, 4 eller 5 siffror"));
    KontoNrEdit->setAccessibleName(QStringLiteral("Kontonummer"));
    KontoNrEdit->setAccessibleDescription(QStringLiteral("Betalarens kontonummer utan clearingnummer"));
    auto* accountRow = new QHBoxLayout(m_accountFields);
    accountRow->setContentsMargins(0, 0, 0, 0);
    accountRow->addWidget(ClearingNrEdit);
    accountRow->addWidget(KontoNrEdit, 1);
    PersonNrEdit = new QLineEdit(fields);
    OkRadio = new QRadioButton(QStringLiteral("Godkänn"), fields);
    AvvisaRadio = new QRadioButton(QStringLiteral("Avvisa"), fields);
    auto* radios = new QButtonGroup(this);
    radios->addButton(OkRadio);
    radios->addButton(AvvisaRadio);
    OkRadio->setChecked(true);
    KeepCheckedButtonAsTabStop(radios);
    BtNrHelp = makeHelpButton(QStringLiteral("Betalarnummer"), [this] { BtNrHelpClick(); });
    PersNrHelp = makeHelpButton(QStringLiteral("Betalarens personnummer"), [this] { PersNrHelpClick(); });
    KontoHelp = makeHelpButton(QStringLiteral("Betalarens kontonummer"), [this] { KontoHelpClick(); });
    for (QWidget* widget : {static_cast<QWidget*>(IdEdit), m_accountFields, static_cast<QWidget*>(OkRadio),
                            static_cast<QWidget*>(AvvisaRadio)})
        keepPlaceWhenHidden(widget);

    QGridLayout* grid = fieldGrid();
    addLabel(QStringLiteral("Typ av medgivande"), 0);
    grid->addWidget(TypCmbo, 0, 1);
    addLabel(QStringLiteral("Betalarnummer"), 1);
    grid->addWidget(BetalarEdit, 1, 1);
    grid->addWidget(BtNrHelp, 1, 2, Qt::AlignLeft);
    // The id number takes the place of the two account fields.
    IdLabel = addLabel(QStringLiteral("Unikt id-nummer"), 2);
    KontoLabel = addLabel(QStringLiteral("Betalarens kontonummer"), 2);
    keepPlaceWhenHidden(IdLabel);
    keepPlaceWhenHidden(KontoLabel);
    grid->addWidget(IdEdit, 2, 1);
    grid->addWidget(m_accountFields, 2, 1);
    grid->addWidget(KontoHelp, 2, 2, Qt::AlignLeft);
    addLabel(QStringLiteral("Betalarens personnummer"), 3);
    grid->addWidget(PersonNrEdit, 3, 1);
    grid->addWidget(PersNrHelp, 3, 2, Qt::AlignLeft);
    auto* radioRow = new QHBoxLayout;
    radioRow->addWidget(OkRadio);
    radioRow->addWidget(AvvisaRadio);
    radioRow->addStretch(1);
    grid->addLayout(radioRow, 4, 1);
    grid->setRowStretch(5, 1);

    setFirstField(TypCmbo);
    setTabChain({TypCmbo, BetalarEdit, IdEdit, ClearingNrEdit, KontoNrEdit, PersonNrEdit, OkRadio,
                 AvvisaRadio, HelpBtn, SaveBtn, QuiteBtn, BtNrHelp, PersNrHelp, KontoHelp});

    FormCreate();
    connect(TypCmbo, &QComboBox::currentIndexChanged, this, [this] { TypCmboChange(); });
    watchExit(BetalarEdit, [this] { BetalarEditExit(); });
    watchExit(PersonNrEdit, [this] { PersonNrEditExit(); });
    finishLayout(QSize(403, 295));
}

void TMdgForm::FormCreate()
{
    TypCmbo->addItems({RowTexts::paperMandate(), RowTexts::electronicMandate()});
    TypCmbo->setCurrentIndex(-1);
}

void TMdgForm::FormShow()
{
    if (TypCmbo->currentIndex() < 0)
        TypCmbo->setCurrentIndex(PaperPosition);
    TypCmboChange();
}

bool TMdgForm::isPaper() const
{
    return TypCmbo->currentIndex() == PaperPosition;
}

void TMdgForm::TypCmboChange()
{
    const bool paper = isPaper();
    KontoLabel->setVisible(paper);
    m_accountFields->setVisible(paper);
    IdLabel->setVisible(!paper);
    IdEdit->setVisible(!paper);
    OkRadio->setVisible(!paper);
    AvvisaRadio->setVisible(!paper);
}

void TMdgForm::BetalarEditExit()
{
    BetalarEdit->setText(FormatBankgiroNumber(BetalarEdit->text()));
}

void TMdgForm::PersonNrEditExit()
{
    PersonNrEdit->setText(NormalizePersonNumber(PersonNrEdit->text(), m_clock.today()));
}

void TMdgForm::SaveBtnClick()
{
    BetalarEditExit();
    PersonNrEditExit();
    if (!passesFieldChecks(BetalarEdit, CheckPayerNumber(BetalarEdit->text())))
        return;
    if (!passes(CheckEncodable(PersonNrEdit->text()), PersonNrEdit))
        return;
    if (!passes(CheckPersonNumber(PersonNrEdit->text(), m_clock.today()), PersonNrEdit))
        return;
    if (isPaper()) {
        if (!passesFieldChecks(ClearingNrEdit, CheckClearingNumber(ClearingNrEdit->text())))
            return;
        if (!passesFieldChecks(KontoNrEdit,
                               CheckClearingAndAccount(ClearingNrEdit->text(), KontoNrEdit->text())))
            return;
    } else if (!passesFieldChecks(IdEdit, CheckElectronicMandateId(IdEdit->text()))) {
        return;
    }
    accept();
}

void TMdgForm::HelpBtnClick()
{
    ShowHelpTopic(QStringLiteral("Medgivanden.htm"));
}

void TMdgForm::BtNrHelpClick()
{
    ShowHelpTopic(QStringLiteral("Betalarnummer.htm"));
}

void TMdgForm::PersNrHelpClick()
{
    ShowHelpTopic(QStringLiteral("Medgivanden.htm#personnummer"));
}

void TMdgForm::KontoHelpClick()
{
    ShowHelpTopic(QStringLiteral("Medgivanden.htm#kontonummer"));
}

void TMdgForm::LoadRow(const ListRow& row)
{
    const QString type = row.text(0);
    int position = indexIgnoringCase(TypCmbo, type);
    if (position >= 0) {
        OkRadio->setChecked(true);
    } else {
        position = indexIgnoringCase(TypCmbo, type.mid(RowTexts::rejectedPrefix().size()));
        AvvisaRadio->setChecked(true);
    }
    TypCmbo->setCurrentIndex(position);
    BetalarEdit->setText(row.text(1));
    const QString account = row.text(2);
    const ClearingAccountParts parts = SplitClearingAccount(account);
    ClearingNrEdit->setText(parts.clearing.toString());
    KontoNrEdit->setText(parts.account.toString());
    IdEdit->setText(DigitsOnly(account));
    PersonNrEdit->setText(row.text(3));
}

ListRow TMdgForm::Row() const
{
    const bool paper = isPaper();
    QString type = TypCmbo->currentText();
    if (!paper && AvvisaRadio->isChecked())
        type.prepend(RowTexts::rejectedPrefix());
    const QString account =
        paper ? FormatClearingAccount(ClearingNrEdit->text(), KontoNrEdit->text()) : IdEdit->text();
    return ListRow(type, {BetalarEdit->text(), account, PersonNrEdit->text()});
}
