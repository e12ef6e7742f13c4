#include "kr/ui/BusyIndicator.h"

#include "ControlTestSupport.h"
#include "kr/system/CursorNames.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using UiTest::FakeRootWindow;

struct Windows
{
    Windows()
    {
        first->cursor = 11;
        second->cursor = 22;
        app.rootWindows = {first, second};
    }
    TestSupport::LStandInFrameworkApp app;
    RCPtr<FakeRootWindow> first{new FakeRootWindow};
    RCPtr<FakeRootWindow> second{new FakeRootWindow};
};

TEST(BusyIndicator, TheActiveWindowShowsTheWaitCursorAndTheTextForTheScopeOnly)
{
    Windows w;
    w.app.activeRootWindow = w.second;
    {
        LBusyIndicator busy(u"Loading skin");
        ASSERT_EQ(w.app.cursorNames.size(), 1u);
        EXPECT_EQ(w.app.cursorNames[0], kCursorWait);
        // The stand-in hands out cursor handles by the count of names asked for.
        EXPECT_EQ(w.second->cursor, 1u);
        EXPECT_EQ(w.first->cursor, 11u);
        EXPECT_EQ(w.app.statusText, String(u"Loading skin"));
        // One idle pass, with the idle notification, so the change paints before the work.
        EXPECT_EQ(w.app.idlePasses, std::vector<bool>{true});
    }
    EXPECT_EQ(w.second->cursor, 22u);
    EXPECT_EQ(w.first->cursor, 11u);
    EXPECT_TRUE(w.app.statusText.IsEmpty());
}

TEST(BusyIndicator, WithoutAnActiveWindowTheFirstOneWaitsAndWithoutAnyNoCursorChanges)
{
    {
        Windows w;
        {
            LBusyIndicator busy(u"x");
            EXPECT_EQ(busy.GetRootWindow(), RCPtr<IRootWindowServices>(w.first));
            EXPECT_EQ(w.first->cursor, 1u);
        }
        EXPECT_EQ(w.first->cursor, 11u);
    }
    TestSupport::LStandInFrameworkApp app;
    {
        LBusyIndicator busy(u"alone");
        EXPECT_FALSE(busy.GetRootWindow());
        EXPECT_TRUE(app.cursorNames.empty());
        EXPECT_EQ(app.statusText, String(u"alone"));
    }
    EXPECT_TRUE(app.statusText.IsEmpty());
}

} // namespace
} // namespace KR
