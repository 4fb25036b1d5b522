#include "app/Clock.h"
#include "app/MainForm.h"
#include "register/RegisterDatabase.h"
#include "register/RegisterQuery.h"
#include "register/RegisterSettings.h"
#include "settings/SettingsStore.h"
#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// "Leverera..." records the file as delivered on the window's own clock, not the system's.
TEST(DeliverMenuEntry, RecordsTheDeliveryOnTheWindowsClock)
{
    TestEnvironment::instance().resetSettings();
    guiPrompt().clear();
    QTemporaryDir folder;
    const QString registerPath = folder.filePath(QStringLiteral("register.sqlite"));
    SettingsStore::setPayeeNumbers({QStringLiteral("123456"), QStringLiteral("9912346")});
    RegisterSettings::setPath(registerPath);

    TMainForm form;
    const FixedClock clock(QDateTime(QDate(2024, 3, 1), QTime(10, 0)));
    form.setClock(clock);
    form.document().BtuList.append(QStringLiteral("Debitering"),
                                   {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                                    QStringLiteral("100,00"), QStringLiteral("1"), QStringLiteral("1234"),
                                    QStringLiteral("ref")});
    form.document().DocModified = true;
    form.UpdateView(true);
    guiPrompt().answers.append(UserPrompt::Answer::Ok);
    guiPrompt().saveFileNames.append(folder.filePath(QStringLiteral("order.ag")));
    auto* deliver = form.findChild<QAction*>(QStringLiteral("LevereraAction"));
    ASSERT_NE(deliver, nullptr);
    deliver->trigger();

    RegisterDatabase database(registerPath);
    QList<RegisterHistoryRow> history;
    RegisterQuery(database).history(QStringLiteral("1234"), [&history](const RegisterHistoryRow& row) {
        history.append(row);
        return true;
    });
    ASSERT_EQ(history.size(), 1) << guiPrompt().messages.value(0).text.toStdString();
    EXPECT_EQ(history[0].bankDate, QStringLiteral("2024-03-01"));
    EXPECT_EQ(history[0].importedAt, QStringLiteral("2024-03-01T10:00:00"));
}

} // namespace
