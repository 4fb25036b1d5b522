#include "format/SealOnOpen.h"

#include "format/OrderFileReader.h"
#include "format/SealKeys.h"
#include "format/UserPrompt.h"

QString SealOnOpen::notCheckedMessage(const QString& problem)
{
    return QStringLiteral("Filen är förseglad, men sigillet kontrollerades inte eftersom %1.").arg(problem);
}

QString SealOnOpen::openAnywayQuestion(const QString& checkText)
{
    return checkText + QStringLiteral("\nVill du ändå öppna filen?");
}

bool SealOnOpen::approve(QIODevice& file)
{
    m_file = &file;
    m_sealed = Seal::BeginsWithSeal(file.peek(12));
    if (!m_sealed)
        return true;
    const Seal::Contents contents = Seal::Read(file.readAll());
    m_inside.setData(contents.orderBytes);
    m_inside.open(QIODevice::ReadOnly);
    m_linesBefore = contents.linesBefore;

    Seal::Check check = Seal::Check::Damaged;
    // Text after the seal record is found without a key.
    if (contents.textAfterSeal)
        check = Seal::Check::TextAfterSeal;
    else if (contents.state == Seal::Contents::State::Sealed) {
        const SealKeys::Lookup lookup = SealKeys::find();
        if (!lookup.key) {
            m_prompt.showMessage(QString(), notCheckedMessage(lookup.problem), UserPrompt::Buttons::Ok,
                                 UserPrompt::Icon::Information);
            return true;
        }
        check = Seal::Verify(contents, *lookup.key);
    }
    if (check == Seal::Check::Matches)
        return true;
    return m_prompt.showMessage(QString(), openAnywayQuestion(Seal::CheckText(check, contents)),
                                UserPrompt::Buttons::OkCancel,
                                UserPrompt::Icon::Warning) == UserPrompt::Answer::Ok;
}

ReadVerdict SealOnOpen::inFileLines(ReadVerdict verdict, int linesBefore)
{
    if (linesBefore == 0 || verdict.lineNumber == 0)
        return verdict;
    // Only an unreadable line's message names its line.
    const QString suffix = OrderFileReader::unreadableLineMessage(QString(), verdict.lineNumber);
    verdict.lineNumber += linesBefore;
    if (verdict.outcome == ReadVerdict::Outcome::LineUnreadable && verdict.message.endsWith(suffix))
        verdict.message = OrderFileReader::unreadableLineMessage(verdict.message.chopped(suffix.size()),
                                                                 verdict.lineNumber);
    return verdict;
}

QIODevice& SealOnOpen::orderRecords()
{
    return m_sealed ? static_cast<QIODevice&>(m_inside) : *m_file;
}
