#pragma once

#include <QString>

class DocumentView;
class OrderDocument;
class TSettingsForm;
class UserPrompt;

// The toolbar command "&Inställningar": shows the settings dialog with the stored values, stores
// what the user confirmed and switches the document between private and company service.
class SettingsCommand
{
public:
    SettingsCommand(OrderDocument& document, DocumentView& view, TSettingsForm& form, UserPrompt& prompt);

    // True when the user confirmed and every value was stored.
    bool SettingsBtnClick();

private:
    bool confirmServiceSwitch();
    void fillForm();
    void storeForm();
    void showSettingsError(const QString& text);

    OrderDocument& m_document;
    DocumentView& m_view;
    TSettingsForm& m_form;
    UserPrompt& m_prompt;
};
