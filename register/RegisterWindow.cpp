#include "register/RegisterWindow.h"

#include "format/UserPrompt.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterError.h"
#include "register/RegisterListQuery.h"
#include "register/RegisterTab.h"
#include "register/RegisterText.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

RegisterWindow::RegisterWindow(UserPrompt& prompt, std::function<void(const QString&, int)> showSource,
                               QWidget* parent)
    : QDialog(parent), m_prompt(prompt), m_showSource(std::move(showSource))
{
    setObjectName(QStringLiteral("RegisterWindow"));
    setWindowTitle(QStringLiteral("Registret"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_tabs = new QTabWidget(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* refresh = buttons->addButton(QStringLiteral("&Läs om"), QDialogButtonBox::ActionRole);
    connect(refresh, &QPushButton::clicked, this, [this] {
        for (RegisterTab* tab : {m_payers, m_payments}) {
            if (tab)
                tab->reload();
        }
    });
    m_retryButton = buttons->addButton(QStringLiteral("&Nytt försök"), QDialogButtonBox::ActionRole);
    m_retryButton->setToolTip(QStringLiteral("Lägg till de markerade betalningar som inte blev gjorda som nya "
                                             "betaluppdrag i filen"));
    connect(m_retryButton, &QPushButton::clicked, this, [this] {
        if (m_retry)
            m_retry(selectedPayments());
    });
    m_approveButton = buttons->addButton(QStringLiteral("&Godkänn"), QDialogButtonBox::ActionRole);
    m_refuseButton = buttons->addButton(QStringLiteral("&Avvisa"), QDialogButtonBox::ActionRole);
    m_approveButton->setToolTip(QStringLiteral("Godkänn de markerade e-medgivandena som väntar på ert svar"));
    m_refuseButton->setToolTip(QStringLiteral("Avvisa de markerade e-medgivandena som väntar på ert svar"));
    for (QPushButton* button : {m_approveButton, m_refuseButton}) {
        const bool approve = button == m_approveButton;
        connect(button, &QPushButton::clicked, this, [this, approve] {
            if (m_answer)
                m_answer(selectedPayers(), approve);
        });
    }
    m_newPaymentsButton =
        buttons->addButton(QStringLiteral("Nytt &betaluppdrag..."), QDialogButtonBox::ActionRole);
    m_newPaymentsButton->setToolTip(QStringLiteral(
        "Lägg till ett betaluppdrag för var och en av de markerade betalarna med godkänt medgivande"));
    connect(m_newPaymentsButton, &QPushButton::clicked, this, [this] {
        if (m_newPayments)
            m_newPayments(selectedPayers());
    });
    m_correctButton = buttons->addButton(QStringLiteral("&Rätta medgivande"), QDialogButtonBox::ActionRole);
    m_correctButton->setToolTip(QStringLiteral(
        "Rätta och skicka på nytt de markerade medgivanden som avvisats för felaktiga uppgifter"));
    connect(m_correctButton, &QPushButton::clicked, this, [this] {
        if (m_correct)
            m_correct(selectedPayers());
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        m_retryButton->setEnabled(m_payments && m_tabs->currentWidget() == m_payments);
        for (QPushButton* button : {m_approveButton, m_refuseButton, m_newPaymentsButton, m_correctButton})
            button->setEnabled(m_payers && m_tabs->currentWidget() == m_payers);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    resize(1000, 640);
}

RegisterWindow::~RegisterWindow()
{
    clearTabs();
}

void RegisterWindow::clearTabs()
{
    // The tabs read the database: they go before it.
    m_tabs->clear();
    delete m_payers;
    delete m_payments;
    m_payers = nullptr;
    m_payments = nullptr;
    m_database.reset();
}

bool RegisterWindow::openRegister(const QString& path)
{
    clearTabs();
    try {
        m_database = std::make_unique<RegisterDatabase>(path);
        m_payers = new RegisterTab(*m_database, RegisterList::Payers, m_prompt, this);
        m_payments = new RegisterTab(*m_database, RegisterList::Payments, m_prompt, this);
    } catch (const RegisterError& error) {
        clearTabs();
        m_prompt.showMessage(QString(), error.message(), UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
        return false;
    }
    for (RegisterTab* tab : {m_payers, m_payments}) {
        m_tabs->addTab(tab, tab->title());
        connect(tab, &RegisterTab::sourceRequested, this, &RegisterWindow::showSource);
    }
    setWindowTitle(QStringLiteral("Registret - %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

void RegisterWindow::done(int result)
{
    QDialog::done(result);
    clearTabs();
}

QString RegisterWindow::locateSourceFile(const QString& name, const QStringList& folders)
{
    if (name.isEmpty())
        return QString();
    const QFileInfo given(name);
    if (given.isAbsolute())
        return given.isFile() ? name : QString();
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), name);
        if (!folder.isEmpty() && candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return QString();
}

void RegisterWindow::showSource(const QString& file, int line)
{
    QString path = locateSourceFile(file, m_folders);
    if (path.isEmpty()) {
        const auto answer = m_prompt.showMessage(
            QString(),
            QStringLiteral("Filen %1 hittades inte bland de senast använda mapparna.\rVill du leta upp den själv?")
                .arg(file),
            UserPrompt::Buttons::OkCancel, UserPrompt::Icon::Information);
        if (answer != UserPrompt::Answer::Ok)
            return;
        UserPrompt::FileDialogOptions options;
        options.initialFolder = m_folders.value(0);
        options.initialFileName = file;
        options.filters = {QStringLiteral("Alla filer (*)")};
        path = m_prompt.askOpenFileName(options);
        if (path.isEmpty())
            return;
    }
    m_showSource(path, line);
}

QList<RegisterPaymentRow> RegisterWindow::selectedPayments() const
{
    QList<RegisterPaymentRow> payments;
    if (!m_payments || !m_database)
        return payments;
    RegisterQuery query(*m_database);
    for (const RegisterListRow& row : m_payments->selectedRows()) {
        PaymentFilter filter;
        filter.payer = row.payer;
        filter.from = filter.to = RegisterText::fromDateText(row.texts.value(1));
        query.payments(filter, [&](const RegisterPaymentRow& payment) {
            if (payment.id != row.id)
                return true;
            payments.append(payment);
            return false;
        });
    }
    return payments;
}

QList<RegisterPayerRow> RegisterWindow::selectedPayers() const
{
    QList<RegisterPayerRow> payers;
    if (!m_payers || !m_database)
        return payers;
    QStringList numbers;
    for (const RegisterListRow& row : m_payers->selectedRows())
        numbers.append(row.payer);
    RegisterQuery(*m_database).payers({}, [&](const RegisterPayerRow& payer) {
        if (numbers.contains(payer.payer))
            payers.append(payer);
        return payers.size() < numbers.size();
    });
    return payers;
}
