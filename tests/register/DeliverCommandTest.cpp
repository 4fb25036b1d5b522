#include "BankFiles.h"

#include "app/Clock.h"
#include "register/DeliverCommand.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterQuery.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace BankFiles;

namespace {

// Each way the command may end: what was saved and what the register holds afterwards.
TEST(DeliverCommand, SavesThenRecordsOrStopsWithNothingRecorded)
{
    const QDate day(2025, 1, 20);
    const QByteArray orderFile = Join({OrderOpening(day), PaymentOrder({QStringLiteral("7"), "82", 100, QString(), day})});
    const struct
    {
        const char* what;
        bool checkPasses;
        UserPrompt::Answer confirm;
        bool saves;
        bool registerUsable;
        bool result;
        int payments;
    } cases[] = {
        {"delivered", true, UserPrompt::Answer::Ok, true, true, true, 1},
        {"check refuses", false, UserPrompt::Answer::Ok, true, true, false, 0},
        {"user cancels", true, UserPrompt::Answer::Cancel, true, true, false, 0},
        {"save fails", true, UserPrompt::Answer::Ok, false, true, false, 0},
        {"register unusable", true, UserPrompt::Answer::Ok, true, false, false, 0},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        const QString registerPath = folder.filePath(QStringLiteral("register.sqlite"));
        const QString saved = folder.filePath(QStringLiteral("fil.ag"));
        if (!c.registerUsable)
            WriteFileBytes(registerPath, "annat innehåll");
        FakePrompt prompt;
        prompt.answers = {c.confirm};
        FixedClock clock(day);
        DeliverCommand command(prompt, clock);
        command.setRegisterPath(registerPath);
        command.setDeliveryCheck([&] { return c.checkPasses; });
        bool savedFile = false;
        const bool result = command.run(
            [&] {
                savedFile = true;
                if (c.saves)
                    WriteFileBytes(saved, orderFile);
                return c.saves;
            },
            [&] { return saved; });
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(savedFile, c.checkPasses && c.confirm == UserPrompt::Answer::Ok) << c.what;
        if (c.registerUsable) {
            RegisterDatabase database(registerPath);
            EXPECT_EQ(RegisterQuery(database).paymentCount({}), c.payments) << c.what;
        } else {
            EXPECT_EQ(prompt.messages.last().icon, UserPrompt::Icon::Error) << c.what;
        }
    }
}

} // namespace
