#include "format/SealOnSave.h"

#include "app/Clock.h"
#include "format/OrderFileWriter.h"
#include "format/ReplacingFile.h"
#include "format/Seal.h"
#include "format/SealKeys.h"
#include "format/UserPrompt.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

QString SealOnSave::noKeyQuestion(const QString& problem)
{
    return QStringLiteral("Filen kan inte förseglas eftersom %1. Sigillnyckeln anges under "
                          "Inställningar.\nVill du spara filen utan sigill?")
        .arg(problem);
}

bool SealOnSave::prepare()
{
    m_key.reset();
    m_keyTypedForThisSave = false;
    if (!SealKeys::sealingOn())
        return true;
    const SealKeys::Lookup lookup = SealKeys::find();
    if (lookup.key) {
        m_key = lookup.key;
        m_keyTypedForThisSave = SealKeys::keyForNextSave().has_value();
        return true;
    }
    return m_prompt.showMessage(QString(), noKeyQuestion(lookup.problem), UserPrompt::Buttons::OkCancel,
                                UserPrompt::Icon::Warning) == UserPrompt::Answer::Ok;
}

void SealOnSave::write(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                       const Clock& clock, Progress* progress)
{
    if (!m_key) {
        SaveOrderFile(path, doc, payee, clock, progress);
        return;
    }
    SaveSealedOrderFile(path, doc, payee, clock, *m_key, progress);
    // A key that the keyring could not keep seals one save only.
    if (m_keyTypedForThisSave)
        SealKeys::setKeyForNextSave(std::nullopt);
}

void SaveSealedOrderFile(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                         const Clock& clock, const SealKey& key, Progress* progress)
{
    QBuffer records;
    records.open(QIODevice::WriteOnly);
    WriteOrderFile(records, doc, payee, clock, progress);
    WriteFileAtomically(path, Seal::SealedFile(records.data(), key, clock.today()));
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    const bool existed = target.exists();
    const auto createFailed = [&](const QString& reason) {
        return OrderFileError(OrderFileError::Stage::Create,
                              QStringLiteral("Filen kunde inte skapas\n%1\n%2").arg(shownPath, reason),
                              reason);
    };
    // The new file replaces the old one by renaming, which a write-protected file would not stop.
    if (existed && target.isFile() && !target.isWritable())
        throw createFailed(QStringLiteral("Filen är skrivskyddad."));
    ReplacingFile file(path);
    if (!file.open())
        throw createFailed(file.errorString());
    const auto writeFailed = [&](const QString& reason) {
        QString text = QStringLiteral("Filen kunde inte sparas\n%1\n%2").arg(shownPath, reason);
        if (existed)
            text += QStringLiteral("\nDen tidigare filen är oförändrad.");
        return OrderFileError(OrderFileError::Stage::Write, text, reason);
    };
    // A full disk or a file-size limit may take part of the bytes before it refuses; writeAll goes
    // on until the refusal, which carries the system's reason.
    if (!file.writeAll(bytes) || !file.commit()) {
        const QString reason = file.errorString();
        file.cancel();
        throw writeFailed(reason);
    }
}
