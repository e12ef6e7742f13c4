#include "kr/app/FrameworkApp.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/RootWindow.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace KR
{
namespace
{

namespace P = Platform;

// A control that takes every edit operation and records it.
class EditBox : public LControl
{
public:
    using LControl::LControl;
    bool IsEditTarget() override { return true; }
    bool CanPerformEdit(std::int32_t) override { return true; }
    Result PerformEdit(std::int32_t operation) override
    {
        performed.push_back(operation);
        return kOk;
    }
    Result DrawContent(const RCPtr<LRenderer>&) override
    {
        ++draws;
        return kOk;
    }
    std::vector<std::int32_t> performed;
    int draws = 0;
};

// The whole road of an edit key: typed on the display, left by the focused control, posted
// by the application's hot keys, handed by the clipboard to the edit target at the idle step.
TEST(EditKeys, CtrlCTypedOnAFocusedEditTargetReachesItsCopyAfterTheNextIdle)
{
    if (!std::getenv("DISPLAY"))
    {
        GTEST_SKIP() << "no display";
    }
    LFrameworkApp app(u"Test");
    app.RunApplicationStartup();
    ASSERT_TRUE(app.GetClipboard()->IsInitialized());
    app.GetGlobalHotKeyManager()->GetHotKeyMap().AddHotKey(
        KeyCode::FromVirtualKey('C', true, 0, ModifierFlag::kCtrl), u"NID_EDIT_COPY_REQ");
    auto idle = [&](int pass) { return app.OnIdle(pass == 0); };

    const RCPtr<EditBox> box(new EditBox(RCPtr<LControl>(), String(u"box")));
    box->SetFrame(PointD{}, PointD{160, 60});
    ASSERT_EQ(app.RunModal(box, false), kOk);
    box->SetNotFocusable(false);
    box->SetFocus(true);
    const RCPtr<LRootWindow> root(dynamic_cast<LRootWindow*>(box->GetRootWindow().Get()));
    ASSERT_TRUE(root && root->GetFocusControl().Get() == box.Get());
    const P::WindowHandle window = root->GetOSServices()->GetWindowHandle();
    // Closed however the test ends: the window must not outlive the application.
    struct Closer
    {
        ~Closer()
        {
            if (root->GetOSServices())
            {
                root->GetOSServices()->EndModal(0);
            }
        }
        const RCPtr<LRootWindow>& root;
    } closer{root};
    ASSERT_TRUE(P::Test::PumpUntil([&] { return box->draws > 0; }, 10.0, idle)) << "shown";

    ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(P::GetNativeWindowId(window))), 0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return app.GetActiveRootWindow().Get() == root.Get(); }, 10.0, idle))
        << "the application finds its active window through the window layer";
    ASSERT_EQ(P::Test::Xdo("key ctrl+c"), 0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return !box->performed.empty(); }, 10.0, idle));
    EXPECT_EQ(box->performed, (std::vector<std::int32_t>{EditOperation::kCopy}));

    app.GetClipboard()->UnregisterForAllNotifications();
}

} // namespace
} // namespace KR
