#include "register/ReportFollowUp.h"

#include "format/UserPrompt.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/ReportRegisterRows.h"
#include "rules/Extra.h"
#include "viewer/ReportView.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

QString PayeeDigits(const QString& bankgiro)
{
    return StripLeadingZeros(DigitsOnly(bankgiro), false);
}

} // namespace

ReportFollowUp::ReportFollowUp(ReportView& view, UserPrompt& prompt, std::function<QString()> registerPath,
                               RegisterFollowUps followUps)
    : QWidget(&view), m_view(view), m_prompt(prompt), m_registerPath(std::move(registerPath)),
      m_followUps(std::move(followUps))
{
    setObjectName(QStringLiteral("ReportFollowUp"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Markerade poster:"), this));
    m_retry = addButton(
        QStringLiteral("&Nytt försök"),
        QStringLiteral("Lägg till de markerade betalningar som inte blev gjorda som nya betaluppdrag"),
        [this] { retry(); });
    m_newPayments =
        addButton(QStringLiteral("Nytt &betaluppdrag..."),
                  QStringLiteral("Lägg till ett betaluppdrag för var och en av de markerade betalarna"),
                  [this] { forPayers(m_followUps.newPayments); });
    m_correct =
        addButton(QStringLiteral("Rätta &medgivande"),
                  QStringLiteral("Rätta de markerade medgivanden som avvisats för felaktiga uppgifter"),
                  [this] { forPayers(m_followUps.correct); });
    m_approve =
        addButton(QStringLiteral("&Godkänn"), QStringLiteral("Godkänn de markerade e-medgivandena"), [this] {
            forPayers([this](const QList<RegisterPayerRow>& payers) {
                if (m_followUps.answer)
                    m_followUps.answer(payers, true);
            });
        });
    m_refuse =
        addButton(QStringLiteral("Av&visa"), QStringLiteral("Avvisa de markerade e-medgivandena"), [this] {
            forPayers([this](const QList<RegisterPayerRow>& payers) {
                if (m_followUps.answer)
                    m_followUps.answer(payers, false);
            });
        });
    row->addStretch(1);
    if (auto* layout = qobject_cast<QBoxLayout*>(view.layout()))
        layout->addWidget(this);
    connect(view.sectionBox(), qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { refresh(); });
    connect(view.table()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateButtons(); });
    hide();
}

QPushButton* ReportFollowUp::addButton(const QString& text, const QString& toolTip,
                                       std::function<void()> onClick)
{
    auto* button = new QPushButton(text, this);
    button->setToolTip(toolTip);
    connect(button, &QPushButton::clicked, this, std::move(onClick));
    layout()->addWidget(button);
    return button;
}

bool ReportFollowUp::registerHoldsPayee() const
{
    const Report* report = m_view.shownReport();
    const QString path = m_registerPath ? m_registerPath() : QString();
    if (!report || path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    try {
        const RegisterDatabase database(path);
        const auto payee = database.payee();
        return payee && !payee->bankgiro.isEmpty() &&
               PayeeDigits(payee->bankgiro) == PayeeDigits(report->bankgiro);
    } catch (const RegisterError&) {
        return false;
    }
}

void ReportFollowUp::refresh()
{
    const bool shown = registerHoldsPayee();
    setVisible(shown);
    if (!shown)
        return;
    const ReportKind kind = m_view.shownReport()->kind;
    m_retry->setVisible(kind == ReportKind::PaymentSpecification || kind == ReportKind::RejectedPayments);
    m_correct->setVisible(kind == ReportKind::MandateAdvice);
    m_approve->setVisible(kind == ReportKind::InternetMandates);
    m_refuse->setVisible(kind == ReportKind::InternetMandates);
    updateButtons();
}

void ReportFollowUp::updateButtons()
{
    const bool selected = m_view.table()->selectionModel()->hasSelection();
    for (QPushButton* button : {m_retry, m_newPayments, m_correct, m_approve, m_refuse})
        button->setEnabled(selected);
}

bool ReportFollowUp::selectedRows(ReportRegisterRows& rows)
{
    const Report* report = m_view.shownReport();
    const QList<const ReportItem*> items = m_view.selectedItems();
    if (!report || items.isEmpty())
        return false;
    try {
        const RegisterDatabase database(m_registerPath());
        rows = ReportInRegister::Find(database, report->kind, items);
    } catch (const RegisterError& error) {
        m_prompt.showMessage(QString(), error.message(), UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
        return false;
    }
    if (rows.missing.isEmpty())
        return true;
    const bool none = rows.missing.size() == items.size();
    m_prompt.showMessage(QString(),
                         (none
                              ? QStringLiteral("Ingen av de markerade posterna finns i registret:\n")
                              : QStringLiteral("Dessa poster finns inte i registret och lämnas utanför:\n")) +
                             ReportInRegister::MissingText(rows.missing),
                         UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
    return !none;
}

void ReportFollowUp::retry()
{
    ReportRegisterRows rows;
    if (selectedRows(rows) && m_followUps.retry)
        m_followUps.retry(rows.payments);
}

void ReportFollowUp::forPayers(const std::function<void(const QList<RegisterPayerRow>&)>& action)
{
    ReportRegisterRows rows;
    if (selectedRows(rows) && action)
        action(rows.payers);
}
