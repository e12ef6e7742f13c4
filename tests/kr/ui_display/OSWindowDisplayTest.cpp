#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindowOSAdapter.h"
#include "platform/window_display/DisplayFixture.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingOSWindowRoot.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace KR
{
namespace
{

namespace P = Platform;
using P::Test::MovePointerOnScreen;
using P::Test::PumpUntil;
using P::Test::Xdo;

// An application whose idle step can end a modal loop.
struct IdleApp : TestSupport::LStandInFrameworkApp
{
    bool OnIdle(bool firstPass) override
    {
        ++idles;
        if (onIdle)
        {
            onIdle(firstPass);
        }
        return false;
    }
    int idles = 0;
    std::function<void(bool)> onIdle;
};

class OSWindowDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        ASSERT_EQ(window->Create(u"Root control text", RectI{150, 150, 240, 180}, 0), kOk);
        window->AttachRoot(root);
        window->Show(P::SW_SHOWNORMAL);
        ASSERT_TRUE(PumpUntil([&] { return !root->painted.empty(); }));
    }
    void TearDown() override
    {
        if (window->GetWindowHandle() != 0)
        {
            window->EndModal(0);
        }
    }
    void PointAt(std::int32_t x, std::int32_t y)
    {
        PointI screen{};
        window->ClientToScreen(screen, PointI{x, y});
        ASSERT_TRUE(MovePointerOnScreen(screen.x, screen.y));
    }
    std::string Xid() { return std::to_string(P::GetNativeWindowId(window->GetWindowHandle())); }

    IdleApp app;
    RCPtr<TestSupport::LRecordingOSWindowRoot> root = new TestSupport::LRecordingOSWindowRoot;
    RCPtr<OSWindow> window = new OSWindow;
};

TEST_F(OSWindowDisplay, OpensNamedAndClassedAndTheActiveWindowTakesClicksWheelAndKeys)
{
    const std::string properties = P::Test::Capture("xprop -id " + Xid() + " WM_CLASS _NET_WM_NAME");
    EXPECT_NE(properties.find("\"KRFrameworkWindow\""), std::string::npos) << properties;
    EXPECT_NE(properties.find("\"Root control text\""), std::string::npos) << properties;

    PointAt(40, 30);
    ASSERT_TRUE(PumpUntil([&] { return window->IsActiveWindow(); })) << "the pointer made it active";

    ASSERT_EQ(Xdo("click 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return root->Of("button").size() == 2; }));
    EXPECT_EQ(root->Of("button")[0].action, 0u);
    EXPECT_EQ(root->Of("button")[0].point, (PointI{40, 30}));
    EXPECT_EQ(root->Of("button")[1].action, 1u);

    PointAt(120, 100); // far from the first click
    ASSERT_EQ(Xdo("click --repeat 2 --delay 60 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return root->Of("button").size() == 6; }));
    EXPECT_EQ(root->Of("button")[4].action, 2u) << "the second press is a double click";

    ASSERT_EQ(Xdo("click --repeat 2 4"), 0);
    ASSERT_TRUE(PumpUntil([&] { return root->Of("wheel").size() == 2; }));
    ASSERT_EQ(Xdo("click 5"), 0);
    ASSERT_TRUE(PumpUntil([&] { return root->Of("wheel").size() == 3; }));
    const auto wheel = root->Of("wheel");
    EXPECT_EQ(wheel[0].action, WheelDirection::kAwayFromUser);
    EXPECT_EQ(wheel[1].action, WheelDirection::kAwayFromUser);
    EXPECT_EQ(wheel[2].action, WheelDirection::kTowardsUser);
    EXPECT_EQ(wheel[2].point, (PointI{120, 100}));

    ASSERT_EQ(Xdo("windowfocus --sync " + Xid()), 0);
    ASSERT_EQ(Xdo("key ctrl+c"), 0);
    const std::uint32_t ctrlC = KeyCode::kDownBit | KeyCode::kCtrlBit | (std::uint32_t{'C'} << 16);
    ASSERT_TRUE(PumpUntil(
        [&]
        {
            return std::any_of(root->keys.begin(), root->keys.end(),
                               [&](const KeyCode& k) { return k.code == ctrlC; });
        }));
}

TEST_F(OSWindowDisplay, SizingLaysOutAndTheCloseBoxOfASecondWindowRequestsClosing)
{
    auto layouts = [&] { return std::count(root->calls.begin(), root->calls.end(), "UpdateLayout"); };
    const auto before = layouts();
    ASSERT_EQ(Xdo("windowsize " + Xid() + " 300 200"), 0);
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(PumpUntil(
        [&]
        {
            window->GetClientRect(x, y, width, height);
            return layouts() > before && width == 300;
        }));
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 200);

    ASSERT_TRUE(P::SendDesktopCloseRequest(window->GetWindowHandle()));
    ASSERT_TRUE(
        PumpUntil([&] { return std::count(root->calls.begin(), root->calls.end(), "RequestClose") > 0; }));
    EXPECT_NE(window->GetWindowHandle(), 0u) << "the root window decides";
}

TEST_F(OSWindowDisplay, TheModalLoopReturnsTheResultAfterTheNextIdleAndMinusOneOnAQuit)
{
    const RCPtr<OSWindow> dialog = new OSWindow;
    ASSERT_EQ(dialog->Create(u"Dialog", RectI{200, 200, 120, 80}, window->GetWindowHandle()), kOk);
    dialog->AttachRoot(new TestSupport::LRecordingOSWindowRoot);
    app.onIdle = [&](bool)
    {
        if (app.idles == 1)
        {
            EXPECT_TRUE(dialog->IsModal());
            EXPECT_FALSE(P::IsWindowEnabled(window->GetWindowHandle())) << "the owner waits";
            dialog->EndModal(7);
        }
    };
    EXPECT_EQ(dialog->RunModalLoop(), 7);
    EXPECT_EQ(dialog->GetWindowHandle(), 0u) << "the loop's end closes the window";
    EXPECT_TRUE(P::IsWindowEnabled(window->GetWindowHandle()));

    // A quit ends the dialog with -1 and the loop outside it too.
    const RCPtr<OSWindow> second = new OSWindow;
    ASSERT_EQ(second->Create(u"Dialog", RectI{200, 200, 120, 80}, 0), kOk);
    app.onIdle = [&](bool) { P::PostQuitMessage(4); };
    Result modal = 0;
    P::Test::RecordingProcedure outerProcedure;
    P::MessageLoop outer;
    outerProcedure.hook = [&](P::WindowHandle, std::uint32_t message, std::uintptr_t, std::intptr_t)
    {
        if (message == P::WM_USER)
        {
            modal = second->RunModalLoop();
        }
        return std::intptr_t{0};
    };
    P::WindowCreateParams params;
    params.procedure = &outerProcedure;
    const P::WindowHandle poster = P::CreateWindow(params);
    P::PostMessage(poster, P::WM_USER, 0, 0);
    EXPECT_EQ(outer.Run(), P::MessageLoop::kQuit);
    EXPECT_EQ(outer.GetQuitCode(), 4);
    EXPECT_EQ(modal, -1);
    P::DestroyWindow(poster);
}

// A window shown partly off the screen is repainted whole when it moves, although the move
// of its showing came before its first frame and its check was left until after that.
TEST_F(OSWindowDisplay, AWindowShownPartlyOffTheScreenIsRepaintedWholeWhenMovedOntoIt)
{
    const RCPtr<TestSupport::LRecordingOSWindowRoot> offRoot = new TestSupport::LRecordingOSWindowRoot;
    const RCPtr<OSWindow> off = new OSWindow;
    ASSERT_EQ(off->Create(u"Partly off", RectI{-120, 260, 240, 180}, 0), kOk);
    off->AttachRoot(offRoot);
    off->Show(P::SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return !offRoot->painted.empty(); }));
    const auto repaints = [&]
    { return std::count(offRoot->calls.begin(), offRoot->calls.end(), "SetFullRepaint"); };
    const auto before = repaints();
    ASSERT_EQ(Xdo("windowmove " + std::to_string(P::GetNativeWindowId(off->GetWindowHandle())) + " 60 260"),
              0);
    EXPECT_TRUE(PumpUntil([&] { return repaints() > before; }));
    off->EndModal(0);
}

// A control of the skin the test program embeds (resources/PAD_SKINS.xml).
class Pad : public LControl
{
public:
    using LControl::LControl;
    Result DrawContent(const RCPtr<LRenderer>&) override
    {
        ++draws;
        return kOk;
    }
    Result OnMouseDown(const RCPtr<LMouseButtonParam>& button) override
    {
        downs.push_back(PointI{button->x, button->y});
        return kOk;
    }
    int draws = 0;
    std::vector<PointI> downs;
};

// A window made the way the program makes its own: the system window makes its root window
// with its renderer, and the control tree comes from a skin.
class SkinWindowDisplay : public OSWindowDisplay
{
protected:
    void SetUp() override
    {
        OSWindowDisplay::SetUp();
        if (IsSkipped())
        {
            return;
        }
        app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
        ASSERT_EQ(app.factory->LoadSkins(String(u"::PAD_SKINS")), kOk);
        app.factory->RegisterControlClass(String(u"Test.Pad"), &LControl::CreateFromSkin<Pad>);
        app.defaultFont = LFont::GetFont(String(u"Sans"), 9.0f, 0);

        ASSERT_EQ(window->CreateRenderer(1), kOk);
        rootWindow = window->GetRootWindow();
        ASSERT_TRUE(rootWindow);
        app.activeRootWindow = rootWindow;
        main = app.factory->CreateControlByName(String(u"main"), rootWindow);
        ASSERT_TRUE(main);
        pad = RCPtr<Pad>(dynamic_cast<Pad*>(main->FindChildControl(String(u"pad")).Get()));
        ASSERT_TRUE(pad);
        looks.SetColor(0xFF336699); // opaque, so the pointer finds the controls
        ASSERT_EQ(rootWindow->SetRootControl(main), kOk);
        ASSERT_TRUE(PumpUntil([&] { return pad->draws > 0; }))
            << "the system window's paint reaches the tree";
    }

    TestSupport::LookStandIns looks;
    RCPtr<LRootWindow> rootWindow;
    RCPtr<LControl> main;
    RCPtr<Pad> pad;
};

TEST_F(SkinWindowDisplay, PaintsItsControlsAndAClickReachesTheControlUnderIt)
{
    ASSERT_EQ(app.GetRootWindowCount(), 1u);
    EXPECT_EQ(app.GetMainWindow().Get(), rootWindow.Get()) << "listed with the application";
    EXPECT_EQ(main->GetFrame(), (RectD{0, 0, 240, 180})) << "the root fills the client area";

    PointAt(35, 30);
    ASSERT_TRUE(PumpUntil([&] { return window->IsActiveWindow(); }));
    ASSERT_EQ(Xdo("click 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return !pad->downs.empty(); }));
    EXPECT_EQ(pad->downs[0], (PointI{15, 10})) << "in the control's own coordinates";

    ASSERT_EQ(Xdo("windowsize " + Xid() + " 300 200"), 0);
    ASSERT_TRUE(PumpUntil(
        [&] {
            return main->GetFrame() == RectD{0, 0, 300, 200};
        }))
        << "a new size lays the root out again";

    // Closing lets the tree go and takes the window off the application's list.
    window->EndModal(0);
    EXPECT_EQ(app.GetRootWindowCount(), 0u);
    EXPECT_FALSE(window->GetRootWindow());
    EXPECT_FALSE(main->GetRootWindow());
    EXPECT_EQ(rootWindow->GetOSServices(), nullptr) << "the root window kept here no longer reaches it";
}

TEST_F(SkinWindowDisplay, TheFocusLeavesWithTheSystemWindowAndComesBackToTheSameControl)
{
    main->SetNotFocusable(false);
    pad->SetNotFocusable(false);
    pad->SetFocus(true);
    ASSERT_EQ(rootWindow->GetFocusControl().Get(), pad.Get());
    ASSERT_EQ(Xdo("windowfocus --sync " + Xid()), 0);
    ASSERT_TRUE(PumpUntil([&] { return window->HasFocus(); }));

    const RCPtr<OSWindow> other = new OSWindow;
    ASSERT_EQ(other->Create(u"Other", RectI{420, 150, 100, 80}, 0), kOk);
    const RCPtr<TestSupport::LRecordingOSWindowRoot> otherRoot = new TestSupport::LRecordingOSWindowRoot;
    other->AttachRoot(otherRoot);
    other->Show(P::SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return !otherRoot->painted.empty(); })) << "mapped";
    ASSERT_EQ(Xdo("windowfocus --sync " + std::to_string(P::GetNativeWindowId(other->GetWindowHandle()))), 0);
    ASSERT_TRUE(PumpUntil([&] { return other->HasFocus() && !rootWindow->GetFocusControl(); }))
        << "no control of an unfocused window holds the focus";

    ASSERT_EQ(Xdo("windowfocus --sync " + Xid()), 0);
    ASSERT_TRUE(PumpUntil([&] { return rootWindow->GetFocusControl().Get() == pad.Get(); }))
        << "the control that had it takes it again";
    other->EndModal(0);
}

} // namespace
} // namespace KR
