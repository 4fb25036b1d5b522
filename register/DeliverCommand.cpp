#include "register/DeliverCommand.h"

#include "app/Clock.h"
#include "format/UserPrompt.h"
#include "register/RegisterError.h"
#include "register/RegisterImporter.h"
#include "register/RegisterSettings.h"
#include "register/RegisterStates.h"
#include "rules/ValmoError.h"

#include <QDir>
#include <QFileInfo>

DeliverCommand::DeliverCommand(UserPrompt& prompt, const Clock& clock) : m_prompt(prompt), m_clock(clock) {}

QString DeliverCommand::confirmationText()
{
    return QStringLiteral("Filen sparas och registreras som levererad till Bankgirot i dag.\r"
                          "Vill du fortsätta?");
}

bool DeliverCommand::run(const std::function<bool()>& save, const std::function<QString()>& savedFile)
{
    if (m_check && !m_check())
        return false;
    if (m_prompt.showMessage(QString(), confirmationText(), UserPrompt::Buttons::OkCancel,
                             UserPrompt::Icon::Information) != UserPrompt::Answer::Ok)
        return false;
    if (!save())
        return false;
    return record(savedFile());
}

bool DeliverCommand::record(const QString& file)
{
    const QString name = QDir::toNativeSeparators(file);
    try {
        ImportSummary summary;
        {
            BusyScope busy(m_prompt);
            RegisterDatabase database(m_registerPath.isEmpty() ? RegisterSettings::path() : m_registerPath);
            RegisterImporter importer(database, m_clock);
            if (const std::optional<RegisterPayee> payee = RegisterSettings::payee())
                importer.setDefaultPayee(*payee);
            summary = importer.deliver(file);
        }
        const QString text =
            summary.alreadyImported
                ? QStringLiteral("Filen %1 är redan registrerad som levererad.").arg(name)
                : QStringLiteral("Filen %1 är sparad och registrerad som levererad: %2 betalningar och %3 "
                                 "medgivanden.")
                      .arg(name)
                      .arg(summary.states.value(RegisterStates::paymentSent()))
                      .arg(summary.states.value(RegisterStates::mandateSent()) +
                           summary.states.value(RegisterStates::mandateCancelled()) +
                           summary.states.value(RegisterStates::mandateRefused()));
        m_prompt.showMessage(QString(), text, UserPrompt::Buttons::Ok, UserPrompt::Icon::Information);
        return true;
    } catch (const RegisterError& error) {
        m_prompt.showMessage(QString(),
                             QStringLiteral("Filen %1 är sparad men kunde inte registreras som levererad.\r%2")
                                 .arg(name, error.message()),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
    } catch (const ValmoError& error) {
        m_prompt.showMessage(QString(),
                             QStringLiteral("Filen %1 är sparad men kunde inte registreras som levererad.\r%2")
                                 .arg(name, error.text()),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
    }
    return false;
}
