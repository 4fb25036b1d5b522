#pragma once

class TSettingsForm;
class UserPrompt;

// The settings dialog's Förändringsskydd part: the sealing switch lives in the settings store,
// the key in the keyring (SealKeys::keyStore()), never in the settings file.
namespace SealSettings {

// Fills the part from the store and the keyring. Throws SettingsError.
void fill(TSettingsForm& form);
// Stores what the user confirmed. A key the keyring cannot keep is kept for the next save only,
// and the user is told so. Throws SettingsError for the switch.
void store(TSettingsForm& form, UserPrompt& prompt);

} // namespace SealSettings
