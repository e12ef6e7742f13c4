#include "kr/app/FrameworkApp.h"
#include "kr/ui/RootWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace KR
{
namespace
{

// Ends its dialog from its first paint, after noting the size of the window it got.
class Dialog : public LControl
{
public:
    using LControl::LControl;
    Result DrawContent(const RCPtr<LRenderer>&) override
    {
        if (auto* root = dynamic_cast<LRootWindow*>(GetRootWindow().Get()); root && clientSize.x == 0)
        {
            clientSize = root->GetClientSize();
            listed = IFrameworkApp::GetInstance().GetRootWindowCount();
            root->EndModal(9);
        }
        return kOk;
    }
    PointI clientSize{};
    std::uint32_t listed = 0;
};

TEST(RunModal, TheControlGetsAWindowOfItsSizeAndTheModalEndIsTheResult)
{
    if (!std::getenv("DISPLAY"))
    {
        GTEST_SKIP() << "no display";
    }
    LFrameworkApp app(u"Test");
    const RCPtr<Dialog> dialog(new Dialog(RCPtr<LControl>(), String(u"dialog")));
    dialog->SetFrame(PointD{}, PointD{160, 90});
    EXPECT_EQ(app.RunModal(dialog, false), kFail) << "a window left open is not offered";
    EXPECT_EQ(app.RunModal(nullptr, true), kFail);

    EXPECT_EQ(app.RunModal(dialog, true), 9);
    EXPECT_EQ(dialog->clientSize, (PointI{160, 90}));
    EXPECT_EQ(dialog->listed, 1u) << "listed while it lives";
    EXPECT_EQ(app.GetRootWindowCount(), 0u) << "and no longer after";
    EXPECT_FALSE(dialog->GetRootWindow()) << "the control is let go";
}

} // namespace
} // namespace KR
