#include "dialogs/MdgCompUnit.h"

#include "dialogs/FieldPanel.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "settings/hh.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TMdgCompForm::TMdgCompForm(QWidget* parent)
    : EntryDialog(parent, QStringLiteral("Medgivande"), QStringLiteral(":/pictures/companymandate.png"),
                  Qt::AlignVCenter)
{
    BgNrEdit = new QLineEdit(panel());
    QLabel* label = addLabel(QStringLiteral("Betalarens\nbankgironummer"), 0);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fieldGrid()->addWidget(BgNrEdit, 0, 1);

    setFirstField(BgNrEdit);
    setTabChain({BgNrEdit, HelpBtn, SaveBtn, QuiteBtn});

    watchExit(BgNrEdit, [this] { BgNrEditExit(); });
    finishLayout(QSize(357, 154));
}

void TMdgCompForm::BgNrEditExit()
{
    BgNrEdit->setText(FormatBankgiroNumber(BgNrEdit->text()));
}

void TMdgCompForm::SaveBtnClick()
{
    BgNrEditExit();
    if (!passesFieldChecks(BgNrEdit, CheckBankgiroNumber(BgNrEdit->text())))
        return;
    accept();
}

void TMdgCompForm::HelpBtnClick()
{
    ShowHelpTopic(QStringLiteral("Medgivanden.htm"));
}

void TMdgCompForm::LoadRow(const ListRow& row)
{
    BgNrEdit->setText(row.caption());
}

ListRow TMdgCompForm::Row() const
{
    return ListRow(BgNrEdit->text(), {});
}
