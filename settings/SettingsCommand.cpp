#include "settings/SettingsCommand.h"

#include "app/DocumentView.h"
#include "app/LeftOutMandates.h"
#include "app/OrderDocument.h"
#include "format/UserPrompt.h"
#include "register/RegisterSettings.h"
#include "rules/Extra.h"
#include "rules/ValmoError.h"
#include "settings/RegisterFileField.h"
#include "settings/SealSettings.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsUnit.h"

#include <QLineEdit>
#include <QRadioButton>

SettingsCommand::SettingsCommand(OrderDocument& document, DocumentView& view, TSettingsForm& form,
                                 UserPrompt& prompt)
    : m_document(document), m_view(view), m_form(form), m_prompt(prompt)
{
}

bool SettingsCommand::SettingsBtnClick()
{
    try {
        fillForm();
    } catch (const SettingsError& error) {
        showSettingsError(error.text());
        return false;
    }
    // A switch that would leave mandates out of the file is confirmed first; without that
    // confirmation the dialog comes back with the user's entries as they were.
    do {
        if (m_form.exec() != QDialog::Accepted)
            return false;
    } while (!confirmServiceSwitch());

    const bool serviceBefore = m_document.PrivateService;
    try {
        storeForm();
    } catch (const SettingsError& error) {
        // A failed write stops the command, but a service type already switched must still show.
        if (m_document.PrivateService != serviceBefore)
            m_view.UpdateView(false);
        showSettingsError(error.text());
        return false;
    }
    m_view.UpdateView(false);
    return true;
}

bool SettingsCommand::confirmServiceSwitch()
{
    const bool toPrivate = m_form.ChkPrivat->isChecked();
    if (toPrivate == m_document.PrivateService)
        return true;
    const int leftOut = toPrivate ? m_document.MdgListComp.count() : m_document.MdgList.count();
    if (leftOut == 0)
        return true;
    return m_prompt.showMessage(QString(), ServiceSwitchQuestion(leftOut, toPrivate),
                                UserPrompt::Buttons::OkCancel,
                                UserPrompt::Icon::Warning) == UserPrompt::Answer::Ok;
}

void SettingsCommand::fillForm()
{
    const PayeeNumbers payee = SettingsStore::payeeNumbers();
    m_form.KundNrEdit->setText(payee.customerNumber);
    m_form.BgNrEdit->setText(FormatBankgiroNumber(payee.bankgiroNumber));
    m_form.ChkPrivat->setChecked(m_document.PrivateService);
    m_form.ChkComp->setChecked(!m_document.PrivateService);
    m_form.RegisterField->setPath(RegisterSettings::chosenPath());
    SealSettings::fill(m_form);
}

// The order is fixed: bankgiro number, customer number, the service type, the register file, then
// the seal. A failure stops at the value that could not be written.
void SettingsCommand::storeForm()
{
    SettingsStore::setPayeeNumbers({m_form.KundNrEdit->text(), DigitsOnly(m_form.BgNrEdit->text())});
    m_document.PrivateService = m_form.ChkPrivat->isChecked();
    SettingsStore::writePrivateService(m_document.PrivateService);
    RegisterSettings::setPath(m_form.RegisterField->path());
    SealSettings::store(m_form, m_prompt);
}

void SettingsCommand::showSettingsError(const QString& text)
{
    m_prompt.showMessage(ApplicationTitle(), text, UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
}
