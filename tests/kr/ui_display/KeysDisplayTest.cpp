// Tab and Shift+Tab typed on the test display's keyboard, through the system window and the
// root window into the control tree.

#include "kr/ui/OSWindow.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace KR
{
namespace
{

namespace P = Platform;
using P::Test::PumpUntil;
using P::Test::Xdo;

TEST(KeysDisplay, TabAndShiftTabTypedOnTheKeyboardWalkThreeControlsAndWrap)
{
    if (!std::getenv("DISPLAY"))
    {
        GTEST_SKIP() << "no display";
    }
    TestSupport::LStandInFrameworkApp app;
    const RCPtr<OSWindow> window = new OSWindow;
    ASSERT_EQ(window->Create(u"Tab order", RectI{150, 150, 240, 180}, 0), kOk);
    ASSERT_EQ(window->CreateRenderer(1), kOk);
    const RCPtr<LRootWindow> rootWindow = window->GetRootWindow();
    ASSERT_TRUE(rootWindow);
    ASSERT_EQ(app.GetRootWindowCount(), 1u) << "one window: Tab wraps inside it";
    const RCPtr<LControl> root(new LControl(RCPtr<IRootWindowServices>(rootWindow), u"root"));
    root->SetNotFocusable(false);
    RCPtr<LControl> controls[3];
    for (int i = 0; i < 3; ++i)
    {
        controls[i] = new LControl(root, String(std::u16string(1, u'a' + i)));
        controls[i]->SetFrame(PointD{10.0 + 40 * i, 10}, PointD{30, 30});
        controls[i]->SetNotFocusable(false);
    }
    ASSERT_EQ(rootWindow->SetRootControl(root), kOk);
    window->Show(P::SW_SHOWNORMAL);
    const std::string xid = std::to_string(P::GetNativeWindowId(window->GetWindowHandle()));
    // The window takes the keyboard once it is on the screen.
    ASSERT_TRUE(PumpUntil([&] { return Xdo("windowfocus --sync " + xid) == 0; }));
    ASSERT_TRUE(PumpUntil([&] { return window->IsActiveWindow(); }));
    controls[0]->SetFocus(true);

    // Forwards round the window and back, each key waited for in turn.
    const struct
    {
        const char* key;
        int focus;
    } steps[] = {{"Tab", 1}, {"Tab", 2}, {"Tab", 0}, {"shift+Tab", 2}, {"shift+Tab", 1}, {"shift+Tab", 0}};
    for (const auto& step : steps)
    {
        ASSERT_EQ(Xdo(std::string("key ") + step.key), 0);
        EXPECT_TRUE(PumpUntil([&] { return rootWindow->GetFocusControl() == controls[step.focus]; }))
            << step.key << " to " << step.focus;
        EXPECT_TRUE(controls[step.focus]->HasFocus());
    }
    window->EndModal(0);
}

} // namespace
} // namespace KR
