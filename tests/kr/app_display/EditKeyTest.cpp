#include "kr/app/FrameworkApp.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/RootWindow.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/ShownWindow.h"

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

    const RCPtr<EditBox> box(new EditBox(RCPtr<LControl>(), String(u"box")));
    box->SetFrame(PointD{}, PointD{160, 60});
    TestSupport::ShownWindow shown(app);
    ASSERT_NO_FATAL_FAILURE(shown.Show(box));
    box->SetNotFocusable(false);
    box->SetFocus(true);
    ASSERT_EQ(shown.root->GetFocusControl().Get(), box.Get());
    ASSERT_TRUE(shown.Pump([&] { return box->draws > 0; })) << "shown";
    // The application finds its active window through the window layer.
    ASSERT_NO_FATAL_FAILURE(shown.Focus());
    ASSERT_EQ(P::Test::Xdo("key ctrl+c"), 0);
    ASSERT_TRUE(shown.Pump([&] { return !box->performed.empty(); }));
    EXPECT_EQ(box->performed, (std::vector<std::int32_t>{EditOperation::kCopy}));

    app.GetClipboard()->UnregisterForAllNotifications();
}

} // namespace
} // namespace KR
