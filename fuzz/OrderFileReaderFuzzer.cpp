// libFuzzer target: any bytes as an order file, read into a document. One input in four goes through
// the open command's own opening-record policy, with the settings kept in memory and the question
// answered OK or Cancel; the others through a policy that accepts or declines by line number. A
// crash, a sanitizer report or a broken invariant (a half-loaded document, codes out of step with
// their rows, rows that differ from their list's shape) fails the run.

#include "app/OrderDocument.h"
#include "format/OrderFileReader.h"
#include "format/SettingsOpeningRecordPolicy.h"
#include "format/UserPrompt.h"
#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

namespace {

class AnsweringPrompt : public UserPrompt
{
public:
    explicit AnsweringPrompt(Answer answer) : m_answer(answer) {}
    Answer showMessage(const QString&, const QString&, Buttons, Icon) override { return m_answer; }
    QString askSaveFileName(const FileDialogOptions&) override { return QString(); }
    QString askOpenFileName(const FileDialogOptions&) override { return QString(); }

private:
    Answer m_answer;
};

// Accepts or declines by the record's line number, so both ways are taken.
class AlternatingPolicy : public OpeningRecordPolicy
{
public:
    explicit AlternatingPolicy(int declineEvery) : m_declineEvery(declineEvery) {}
    bool acceptOpeningRecord(const OpeningRecord& record) override
    {
        return record.lineNumber % m_declineEvery != 0;
    }

private:
    int m_declineEvery;
};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkRows(const RowList& list)
{
    for (const ListRow& row : list)
        require(row.subItemCount() == list.subItemCount());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SettingsStore::useMemoryStore();
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OrderDocument document;
    document.FillMakTexts();
    document.PrivateService = size % 2 == 0;
    AnsweringPrompt prompt(size % 3 == 0 ? UserPrompt::Answer::Cancel : UserPrompt::Answer::Ok);
    SettingsOpeningRecordPolicy settingsPolicy(prompt);
    AlternatingPolicy memoryPolicy(2 + int(size % 5));
    OpeningRecordPolicy& policy =
        size % 4 == 1 ? static_cast<OpeningRecordPolicy&>(settingsPolicy) : memoryPolicy;

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const ReadVerdict verdict = OrderFileReader(document, policy).read(bytes);

    require(document.MakCodes().size() == document.MakList.count());
    if (verdict.loaded()) {
        require(verdict.lineNumber == 0 && verdict.message.isEmpty());
        checkRows(document.BtuList);
        checkRows(document.MdgList);
        checkRows(document.MdgListComp);
        checkRows(document.MakList.rows());
    } else {
        require(!document.hasRows());
        require(verdict.lineNumber >= 1);
        require(verdict.message.isEmpty() == (verdict.outcome == ReadVerdict::Outcome::PayeeDeclined));
    }
    return 0;
}
