#pragma once

#include <QString>

#include <functional>

class Clock;
class UserPrompt;

// "Leverera...": the order file is checked, saved (and sealed when sealing is on, as every save
// is) and recorded in the register as delivered to the bank today, with its mandates and payment
// orders as sent. The saving and the check belong to the window; they come in as functions.
class DeliverCommand
{
public:
    DeliverCommand(UserPrompt& prompt, const Clock& clock);

    // The check before delivery: false stops the command before anything is saved. Without one,
    // nothing is checked.
    void setDeliveryCheck(std::function<bool()> check) { m_check = std::move(check); }
    // The register to record in; the settings' register unless set.
    void setRegisterPath(const QString& path) { m_registerPath = path; }

    // save writes the document and returns true when the whole file was written; savedFile then
    // names it. True when the file was saved and recorded.
    bool run(const std::function<bool()>& save, const std::function<QString()>& savedFile);

    static QString confirmationText();

private:
    bool record(const QString& file);

    UserPrompt& m_prompt;
    const Clock& m_clock;
    std::function<bool()> m_check;
    QString m_registerPath;
};
