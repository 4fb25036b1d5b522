#include "settings/SettingsUnit.h"
#include "dialogs/RadioTabStop.h"

#include "app/WidgetPrompt.h"
#include "dialogs/FieldLabel.h"
#include "format/SealKey.h"
#include "register/RegisterSettings.h"
#include "rules/Check.h"
#include "rules/Extra.h"
#include "settings/RegisterFileField.h"
#include "theme/ThemeColours.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int panelRadius = 10;
constexpr int customerNumberLength = 6;

void addField(QFormLayout* form, const QString& caption, QWidget* field)
{
    auto* label = new FieldLabel(caption);
    label->setBuddy(field);
    form->addRow(label, field);
}

} // namespace

TSettingsForm::TSettingsForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("SettingsForm"));
    setWindowTitle(QStringLiteral("Inställningar"));
    setAutoFillBackground(false);
    buildControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TSettingsForm::buildControls()
{
    m_panel = new QWidget(this);
    KundNrEdit = new QLineEdit(m_panel);
    KundNrEdit->setObjectName(QStringLiteral("KundNrEdit"));
    KundNrEdit->setMaxLength(customerNumberLength);
    BgNrEdit = new QLineEdit(m_panel);
    BgNrEdit->setObjectName(QStringLiteral("BgNrEdit"));
    BgNrEdit->installEventFilter(this);
    ChkPrivat = new QRadioButton(QStringLiteral("Autogiro Privat"), m_panel);
    ChkPrivat->setObjectName(QStringLiteral("ChkPrivat"));
    ChkPrivat->setChecked(true);
    ChkComp = new QRadioButton(QStringLiteral("Autogiro Företag"), m_panel);
    ChkComp->setObjectName(QStringLiteral("ChkComp"));
    auto* service = new QButtonGroup(this);
    service->addButton(ChkPrivat);
    service->addButton(ChkComp);
    KeepCheckedButtonAsTabStop(service);

    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    addField(fields, QStringLiteral("Kundnummer hos Bankgirot"), KundNrEdit);
    addField(fields, QStringLiteral("Bankgironummer"), BgNrEdit);
    KundNrEdit->setMinimumWidth(150);
    auto* services = new QVBoxLayout;
    services->addWidget(ChkPrivat);
    services->addWidget(ChkComp);
    fields->addRow(QString(), services);
    fields->addRow(buildSealPart());
    fields->addRow(buildRegisterPart());

    m_picture = new QLabel(m_panel);
    const QPixmap picture(QStringLiteral(":/pictures/settings.png"));
    if (!picture.isNull())
        m_picture->setPixmap(picture);
    m_picture->setVisible(!picture.isNull());
    m_picture->setAlignment(Qt::AlignTop | Qt::AlignRight);

    auto* panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(16, 14, 16, 14);
    panelLayout->setSpacing(18);
    panelLayout->addLayout(fields, 1);
    panelLayout->addWidget(m_picture, 0, Qt::AlignTop);

    SaveBtn = new QPushButton(QStringLiteral("Ok"), this);
    SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    SaveBtn->setDefault(true);
    QuiteBtn = new QPushButton(QStringLiteral("Avbryt"), this);
    QuiteBtn->setObjectName(QStringLiteral("QuiteBtn"));
    // Return on a focused "Avbryt" presses it, as on any focused button; only elsewhere does
    // Return mean "Ok".
    QuiteBtn->setAutoDefault(true);
    connect(SaveBtn, &QPushButton::clicked, this, &TSettingsForm::SaveBtnClick);
    connect(QuiteBtn, &QPushButton::clicked, this, &TSettingsForm::QuiteBtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveBtn);
    buttons->addWidget(QuiteBtn);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->setSpacing(12);
    outer->addWidget(m_panel);
    outer->addLayout(buttons);

    setTabOrder(KundNrEdit, BgNrEdit);
    setTabOrder(BgNrEdit, ChkPrivat);
    setTabOrder(ChkPrivat, ChkComp);
    setTabOrder(ChkComp, SealChk);
    setTabOrder(SealChk, SealKeyEdit);
    setTabOrder(SealKeyEdit, KeyringDetailsBtn);
    setTabOrder(KeyringDetailsBtn, RegisterField->edit());
    setTabOrder(RegisterField->edit(), RegisterField->browseButton());
    setTabOrder(RegisterField->browseButton(), SaveBtn);
    setTabOrder(SaveBtn, QuiteBtn);
}

QWidget* TSettingsForm::buildSealPart()
{
    auto* group = new QGroupBox(QStringLiteral("Förändringsskydd"), m_panel);
    SealChk = new QCheckBox(QStringLiteral("Försegla filen med sigill (HMAC) när den sparas"), group);
    SealChk->setObjectName(QStringLiteral("SealChk"));
    SealKeyEdit = new QLineEdit(group);
    SealKeyEdit->setObjectName(QStringLiteral("SealKeyEdit"));
    // The key is secret: it shows as dots, and its check value tells whether it was typed right.
    SealKeyEdit->setEchoMode(QLineEdit::Password);
    SealKeyEdit->setMaxLength(64);
    KvvLabel = new QLabel(group);
    KvvLabel->setObjectName(QStringLiteral("KvvLabel"));
    KvvLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    KeyringLabel = new QLabel(group);
    KeyringLabel->setObjectName(QStringLiteral("KeyringLabel"));
    KeyringLabel->setWordWrap(true);
    KeyringLabel->setVisible(false);
    KeyringDetailsBtn = new QPushButton(QStringLiteral("Detaljer…"), group);
    KeyringDetailsBtn->setObjectName(QStringLiteral("KeyringDetailsBtn"));
    KeyringDetailsBtn->setAccessibleName(QStringLiteral("Detaljer om nyckelringen"));
    KeyringDetailsBtn->setVisible(false);
    connect(KeyringDetailsBtn, &QPushButton::clicked, this, [this] {
        WidgetPrompt(this).showDetailedMessage(QString(), KeyringLabel->text(), KeyringDetails,
                                               UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
    });
    connect(SealKeyEdit, &QLineEdit::textChanged, this, &TSettingsForm::SealKeyEditChange);

    auto* layout = new QFormLayout(group);
    layout->addRow(SealChk);
    addField(layout, QStringLiteral("Sigillnyckel"), SealKeyEdit);
    addField(layout, QStringLiteral("Kontrollvärde (KVV)"), KvvLabel);
    layout->addRow(KeyringLabel);
    layout->addRow(QString(), KeyringDetailsBtn);
    SealKeyEditChange();
    return group;
}

QWidget* TSettingsForm::buildRegisterPart()
{
    auto* group = new QGroupBox(QStringLiteral("Autogiroregister"), m_panel);
    RegisterField = new RegisterFileField(group);
    auto* layout = new QFormLayout(group);
    auto* label = new FieldLabel(QStringLiteral("Registerfil"));
    label->setBuddy(RegisterField->edit());
    layout->addRow(label, RegisterField);
    return group;
}

void TSettingsForm::SealKeyEditChange()
{
    const std::optional<SealKey> key = SealKey::fromText(SealKeyEdit->text());
    KvvLabel->setText(key ? key->checkValue() : QStringLiteral("–"));
}

QString TSettingsForm::sealKeyProblem() const
{
    if (!SealKeyEdit->text().trimmed().isEmpty() || SealChk->isChecked())
        return SealKey::problemWith(SealKeyEdit->text());
    return QString(); // no key and no sealing: nothing to check
}

void TSettingsForm::BgNrEditExit()
{
    BgNrEdit->setText(FormatBankgiroNumber(DigitsOnly(BgNrEdit->text())));
}

void TSettingsForm::SaveBtnClick()
{
    BgNrEditExit();
    if (refuse(CheckCustomerNumber(KundNrEdit->text()), KundNrEdit))
        return;
    if (refuse(CheckBankgiroNumber(BgNrEdit->text()), BgNrEdit))
        return;
    if (refuse(sealKeyProblem(), SealKeyEdit))
        return;
    if (refuse(RegisterSettings::problemWith(RegisterField->path()), RegisterField->edit()))
        return;
    accept();
}

void TSettingsForm::QuiteBtnClick()
{
    reject();
}

bool TSettingsForm::refuse(const QString& message, QLineEdit* field)
{
    if (message.isEmpty())
        return false;
    WidgetPrompt(this).showMessage(QString(), message, UserPrompt::Buttons::Ok);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return true;
}

bool TSettingsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == BgNrEdit && event->type() == QEvent::FocusOut)
        BgNrEditExit();
    return QDialog::eventFilter(watched, event);
}

void TSettingsForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ThemeColours::dialogBackground());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ThemeColours::panelOutline(), 1));
    painter.setBrush(ThemeColours::panelFill());
    painter.drawRoundedRect(QRectF(m_panel->geometry()).adjusted(0.5, 0.5, -0.5, -0.5), panelRadius,
                            panelRadius);
}

void TSettingsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnParent();
    KundNrEdit->setFocus(Qt::OtherFocusReason);
}

void TSettingsForm::centreOnParent()
{
    adjustSize();
    QRect area;
    if (const QWidget* owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen = this->screen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}
