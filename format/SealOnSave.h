#pragma once

#include "format/SealKey.h"

#include <QString>

#include <optional>

class Clock;
class OrderDocument;
class Progress;
class UserPrompt;
struct PayeeNumbers;

// The save command's part in sealing: with sealing switched on the file is written sealed with
// today's date, its order records unchanged inside the seal.
class SealOnSave
{
public:
    explicit SealOnSave(UserPrompt& prompt) : m_prompt(prompt) {}

    // Before the file dialog. Finds the key when sealing is on; without one the user may save
    // unsealed or stop. False when the user stopped. Throws SettingsError.
    bool prepare();
    // Writes the file as SaveOrderFile does, sealed when prepare() found a key.
    void write(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee, const Clock& clock,
               Progress* progress = nullptr);

    static QString noKeyQuestion(const QString& problem);

private:
    UserPrompt& m_prompt;
    std::optional<SealKey> m_key;
    bool m_keyTypedForThisSave = false;
};

// The document written to path atomically, between seal records dated clock.today(). On any
// failure the file at path is left as it was. Throws as SaveOrderFile.
void SaveSealedOrderFile(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                         const Clock& clock, const SealKey& key, Progress* progress = nullptr);
// bytes written to path atomically: a temporary file beside it replaces it when complete.
// Throws OrderFileError with the save command's messages.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);
