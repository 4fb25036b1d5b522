// The bank's own example order files: each one the editor can carry is opened and saved again
// byte for byte. The examples are printed with the blanks at the end of a line trimmed, so they are
// compared padded to full records.

#include "app/Clock.h"
#include "app/OrderDocument.h"
#include "format/OpeningRecordLog.h"
#include "format/OrderFileReader.h"
#include "format/OrderFileWriter.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDate>

#include <gtest/gtest.h>

namespace {

QByteArray exampleFile(const char* name)
{
    return ReadFileBytes(QStringLiteral(VALMO_TEST_DATA "/bank/") + QString::fromLatin1(name));
}

QByteArray paddedRecords(const QByteArray& bytes)
{
    QByteArray result;
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray record = line.endsWith('\r') ? line.chopped(1) : line;
        if (!record.isEmpty())
            result += record.leftJustified(80, ' ') + "\r\n";
    }
    return result;
}

struct Example
{
    const char* file;
    bool privateService;
};

class BankExampleFilesTest : public ::testing::TestWithParam<Example>
{
};

TEST_P(BankExampleFilesTest, OpenedAndSavedAgainByteForByte)
{
    const Example& example = GetParam();
    const QByteArray original = exampleFile(example.file);
    ASSERT_FALSE(original.isEmpty());

    OrderDocument document;
    document.FillMakTexts();
    document.PrivateService = example.privateService;
    OpeningRecordLog log;
    const ReadVerdict verdict = OrderFileReader(document, log).read(original);
    ASSERT_TRUE(verdict.loaded()) << verdict.lineNumber << ": " << verdict.message.toStdString();
    ASSERT_FALSE(log.records.isEmpty());

    const PayeeNumbers payee{log.records[0].customerNumber, log.records[0].bankgiroNumber};
    const QDate written =
        QDate::fromString(QString::fromLatin1(original.mid(2, 8)), QStringLiteral("yyyyMMdd"));
    QByteArray saved;
    QBuffer buffer(&saved);
    buffer.open(QIODevice::WriteOnly);
    WriteOrderFile(buffer, document, payee, FixedClock(written));
    EXPECT_EQ(saved, paddedRecords(original));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BankExampleFilesTest,
    ::testing::Values(
        Example{"autogiro_exempelfil-betalningsunderlag_sv.txt", true},
        Example{"autogiro_exempelfil-betalningsunderlag_sv.txt", false},
        Example{"autogiro_exempelfilermakulerings-andringsunderlag_sv.txt", true},
        Example{"autogiro_exempelfilermakulerings-andringsunderlag_sv.txt", false},
        Example{"autogiro-gl_makulerings-andringsunderlag_till-bankgirot_exempelfil_sv.txt", true},
        Example{
            "autogiro_gl_makulering-datumandring_till-bankgirot-medgivanden-kontonummer_exempelfil_sv.txt",
            true},
        Example{"autogiro_gl_betalningsunderlag_till-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt",
                false},
        Example{"autogiro_gl_betalningsunderlag_till-bankgirot-medgivanden-kontonummer_exempelfil_sv.txt",
                true},
        Example{"autogiro_gl_medgivandeunderlag_till-bankgirot-medgivanden-bankgironummer_exempelfil_sv.txt",
                false},
        Example{"autogiro_gl_medgivandeunderlag_till-bankgirot-medgivanden-kontonummer_exempelfiler_sv.txt",
                true}));

// Mandates of both services and changes of payer numbers ("05") in one file: no service can edit it.
TEST(BankExampleFiles, TheNewMandateExampleIsShownReadOnlyUnderEitherService)
{
    const QByteArray original = exampleFile("autogiro_exempelfil_medgivandeunderlag_sv.txt");
    for (const bool privateService : {true, false}) {
        OrderDocument document;
        document.FillMakTexts();
        document.PrivateService = privateService;
        OpeningRecordLog log;
        const ReadVerdict verdict = OrderFileReader(document, log).read(original);
        EXPECT_EQ(verdict.outcome, ReadVerdict::Outcome::ServiceMismatch);
        EXPECT_EQ(verdict.lineNumber, privateService ? 5 : 2);
        EXPECT_TRUE(verdict.showInstead());
    }
}

} // namespace
