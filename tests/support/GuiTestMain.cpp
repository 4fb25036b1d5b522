#include "support/GuiPrompt.h"
#include "support/TestSupport.h"

#include "app/WidgetPrompt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

// Records, with each message, whether a wait cursor was still on screen while it was up.
class WindowPrompt : public FakePrompt
{
public:
    Answer showMessage(const QString& caption, const QString& text, Buttons buttons, Icon icon) override
    {
        const Answer answer = FakePrompt::showMessage(caption, text, buttons, icon);
        if (QGuiApplication::overrideCursor())
            ++messages.last().busyDepth;
        return answer;
    }
};

class PromptReset : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override { guiPrompt().clear(); }
};

} // namespace

FakePrompt& guiPrompt()
{
    static WindowPrompt prompt;
    return prompt;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    TestEnvironment environment;
    WidgetPrompt::setStandIn(&guiPrompt());
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PromptReset);
    return RUN_ALL_TESTS();
}
