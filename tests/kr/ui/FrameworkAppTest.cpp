#include "kr/ui/FrameworkApp.h"

#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

namespace
{

using KR::IFrameworkApp;
using KR::TestSupport::LStandInFrameworkApp;

TEST(FrameworkAppInterface, WithNoneInstalledItAnswersAsAnApplicationWithNothing)
{
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    EXPECT_EQ(app.GetRootWindowCount(), 0u);
    EXPECT_FALSE(app.GetMainWindow());
    EXPECT_FALSE(app.GetActiveRootWindow());
    EXPECT_FALSE(app.GetControlFactory());
    EXPECT_FALSE(app.GetDefaultFont());
    EXPECT_FALSE(app.GetMeasurementRenderer());
    EXPECT_EQ(app.GetSecondsSinceStart(), 0.0);
    EXPECT_EQ(app.GetMilliseconds(), 0u);
    EXPECT_EQ(app.RunModal(nullptr, true), KR::kFail);
    EXPECT_FALSE(app.OnIdle(true));
}

TEST(FrameworkAppInterface, AStandInIsReachedWhileItLivesAndItsClocksMoveOnlyWhenDriven)
{
    {
        LStandInFrameworkApp app;
        IFrameworkApp& installed = IFrameworkApp::GetInstance();
        EXPECT_EQ(&installed, &app);
        app.Advance(1500);
        app.Advance(250);
        EXPECT_EQ(installed.GetMilliseconds(), 1750u);
        EXPECT_DOUBLE_EQ(installed.GetSecondsSinceStart(), 1.75);
        app.milliseconds = 0xFFFFFF00u;
        app.Advance(0x200);
        EXPECT_EQ(installed.GetMilliseconds(), 0x100u);

        // Installing the application makes it the renderer source that fonts measure with.
        app.measurementRenderer =
            KR::RCPtr<KR::TestSupport::LRecordingRenderer>(new KR::TestSupport::LRecordingRenderer);
        EXPECT_EQ(KR::LFont::GetFont(u"Stand-in Face", 11.0f, 0)->GetLineHeight(), 14);
    }
    EXPECT_EQ(IFrameworkApp::GetInstance().GetMilliseconds(), 0u);
    EXPECT_FALSE(KR::GetMeasurementRenderer());
}

} // namespace
