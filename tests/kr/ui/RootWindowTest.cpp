#include "kr/ui/RootWindow.h"
#include "ControlTestSupport.h"
#include "HotKeyTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace KR
{
namespace
{

using TestSupport::LFakeWindowServices;
using UiTest::TestControl;

// Records the input it gets: "<name>:<event>" with the double-click flag on button events.
class InputControl : public TestControl
{
public:
    static RCPtr<InputControl> Make(const RCPtr<LControl>& parent, const char16_t* name, RectD frame,
                                    std::vector<std::string>* log)
    {
        RCPtr<InputControl> control(new InputControl(parent, name));
        control->SetFrame(PointD{frame.x, frame.y}, PointD{frame.width, frame.height});
        RCPtr<TestSupport::LStandInLook> look(new TestSupport::LStandInLook(nullptr, false));
        look->color = 0xFF000000;
        control->AddLook(look);
        control->SetLookWeight(0, 1.0f, false);
        control->log = log;
        return control;
    }
    using TestControl::TestControl;
    Result OnMouseDown(const RCPtr<LMouseButtonParam>& b) override { return Log("down", b->doubleClick); }
    Result OnMouseUp(const RCPtr<LMouseButtonParam>& b) override { return Log("up", b->doubleClick); }
    Result OnMouseWheel(const RCPtr<LMouseWheelParam>&) override
    {
        Log("wheel", false);
        return takesWheel ? kOk : kNothingDone;
    }
    Result OnMouseEnter() override { return Log("enter", false); }
    Result OnMouseLeave() override { return Log("leave", false); }
    String GetToolTipText() override { return tip; }
    Result CreateToolTip(bool show) override { return Log(show ? "tip" : "untip", false); }
    Result OnFocusLost() override
    {
        Log("lost", false);
        return LControl::OnFocusLost();
    }

    Result Log(const char* event, bool doubleClick)
    {
        log->push_back(GetName().ToUtf8().GetPtr() + std::string(":") + event + (doubleClick ? "*" : ""));
        return kOk;
    }
    std::vector<std::string>* log = nullptr;
    bool takesWheel = true;
    String tip;
};

struct RootScene
{
    RootScene()
    {
        window = RCPtr<LRootWindow>(new LRootWindow(renderer, os.Get()));
        root = InputControl::Make(nullptr, u"root", RectD{0, 0, 100, 100}, &log);
        window->SetRootControl(root);
        a = InputControl::Make(root, u"a", RectD{0, 0, 50, 50}, &log);
        b = InputControl::Make(root, u"b", RectD{50, 0, 50, 50}, &log);
        log.clear();
    }
    ~RootScene() { window->ReleaseInternalReferences(); }
    void Focusable()
    {
        for (const RCPtr<InputControl>& control : {root, a, b})
        {
            control->SetNotFocusable(false);
        }
    }

    std::vector<std::string> log;
    RCPtr<LFakeWindowServices> os{new LFakeWindowServices};
    RCPtr<LRenderer> renderer{new TestSupport::LRecordingRenderer};
    RCPtr<LRootWindow> window;
    RCPtr<InputControl> root, a, b;
};

std::string Joined(std::vector<std::string>& log)
{
    std::string all;
    for (const std::string& entry : log)
    {
        all += (all.empty() ? "" : " ") + entry;
    }
    log.clear();
    return all;
}

TEST(RootWindow, MouseInputFollowsCaptureDoubleClickAndActivity)
{
    struct Row
    {
        const char* name;
        void (*act)(RootScene& w);
        const char* expected;
    };
    const Row rows[] = {
        {"release without capture reaches nobody",
         [](RootScene& w) { w.window->OnMouseButton(MouseAction::kRelease, 1, 0, PointI{}); }, ""},
        {"double click bit set, reported by the release, cleared",
         [](RootScene& w)
         {
             w.window->SetCapture(w.a);
             w.window->OnMouseButton(MouseAction::kDoubleClick, 1, 0, PointI{});
             w.window->OnMouseButton(MouseAction::kRelease, 1, 0, PointI{});
             w.window->OnMouseButton(MouseAction::kRelease, 1, 0, PointI{});
         },
         "a:down* a:up* a:up"},
        {"a plain press clears the bit",
         [](RootScene& w)
         {
             w.window->SetCapture(w.a);
             w.window->OnMouseButton(MouseAction::kDoubleClick, 1, 0, PointI{});
             w.window->OnMouseButton(MouseAction::kPress, 1, 0, PointI{});
             w.window->OnMouseButton(MouseAction::kRelease, 1, 0, PointI{});
         },
         "a:down* a:down a:up"},
        {"with the capture held, hovering another control is none",
         [](RootScene& w)
         {
             w.window->SetCapture(w.a);
             w.window->OnMouseMove(PointI{60, 10}, 0);
             EXPECT_FALSE(w.window->GetHoverControl());
         },
         ""},
        {"an inactive window drops input",
         [](RootScene& w)
         {
             w.os->active = false;
             w.window->OnMouseButton(MouseAction::kPress, 1, 0, PointI{60, 10});
             w.window->OnMouseWheel(PointI{60, 10}, 0, 0);
         },
         ""},
        {"an unhandled notch goes to the focused control",
         [](RootScene& w)
         {
             w.b->takesWheel = false;
             w.window->SetFocusControl(w.a);
             w.window->OnMouseWheel(PointI{60, 10}, 0, 1);
         },
         "b:enter b:wheel a:wheel"},
    };
    for (const Row& row : rows)
    {
        RootScene w;
        row.act(w);
        EXPECT_EQ(Joined(w.log), row.expected) << row.name;
    }
}

TEST(RootWindow, InvalidationRoundsClipsAndClamps)
{
    struct Row
    {
        const char* name;
        RectD rect;
        std::vector<RectI> expected;
    };
    const Row rows[] = {
        {"rounded half up: edges 1, 1, 11, 11", RectD{0.6, 0.6, 10.4, 10.4}, {RectI{1, 1, 10, 10}}},
        {"outside the client area", RectD{2000, 10, 5, 5}, {}},
        {"far away", RectD{1e12, 1e12, 1e12, 1e12}, {}},
        {"huge from the corner", RectD{0, 0, 1e12, 1e12}, {RectI{0, 0, 1024, 768}}},
        {"not a number", RectD{std::nan(""), 0, 10, 10}, {}},
        {"negative size", RectD{50, 50, -20, -20}, {}},
        {"from far left and above", RectD{-1e12, -1e12, 1e12 + 5, 1e12 + 6}, {RectI{0, 0, 5, 6}}},
    };
    for (const Row& row : rows)
    {
        RootScene w;
        LRegion taken;
        w.window->TakeInvalidRegion(taken);
        w.os->invalidated.clear();
        w.window->InvalidateRect(row.rect);
        EXPECT_EQ(w.os->invalidated, row.expected) << row.name;
    }
}

// The root fills the fake's 1024 by 768 client area.
TEST(RootWindow, ControlsInvalidateOnlyWhatTheirParentsShow)
{
    struct Row
    {
        const char* name;
        RectD childFrame;
        std::vector<RectI> expected;
    };
    const Row rows[] = {
        {"half outside: the inside half", RectD{1004, 10, 40, 20}, {RectI{1004, 10, 20, 20}}},
        {"no width: nothing", RectD{10, 10, 0, 20}, {}},
        {"wholly outside: nothing", RectD{1100, 10, 40, 20}, {}},
    };
    for (const Row& row : rows)
    {
        RootScene w;
        const RCPtr<TestControl> child = TestControl::Make(w.root, u"child", row.childFrame);
        w.os->invalidated.clear();
        child->Invalidate(RectD{0, 0, row.childFrame.width, row.childFrame.height}, true);
        EXPECT_EQ(w.os->invalidated, row.expected) << row.name;
    }
}

TEST(RootWindow, TooltipOwnersFocusTheTakenRegionAndTheRootsFrame)
{
    struct Row
    {
        const char* name;
        void (*act)(RootScene& w);
        const char* expected;
    };
    const Row rows[] = {
        {"a control without a tooltip shows none of its parent's",
         [](RootScene& w)
         {
             w.root->tip = String(u"Root");
             w.window->OnMouseMove(PointI{10, 10}, 0);
         },
         "a:enter"},
        {"unless it uses its parent's",
         [](RootScene& w)
         {
             w.root->tip = String(u"Root");
             w.a->SetUseParentToolTip(true);
             w.window->OnMouseMove(PointI{10, 10}, 0);
         },
         "root:tip a:enter"},
        {"losing the focus: no hover, the holder told, kept; gaining it gives it back",
         [](RootScene& w)
         {
             w.Focusable();
             w.window->OnMouseMove(PointI{10, 10}, 0);
             w.b->SetFocus(true);
             ASSERT_EQ(w.window->GetFocusControl(), RCPtr<LControl>(w.b));
             w.window->LoseFocus();
             EXPECT_FALSE(w.window->GetFocusControl());
             EXPECT_FALSE(w.window->GetHoverControl());
             EXPECT_FALSE(w.b->HasFocus());
             w.window->RestoreFocus();
             EXPECT_EQ(w.window->GetFocusControl(), RCPtr<LControl>(w.b));
             EXPECT_TRUE(w.b->HasFocus());
         },
         "a:enter a:leave root:lost b:lost"},
        {"nothing kept: the root hands the focus to its first focusable control",
         [](RootScene& w)
         {
             w.Focusable();
             w.window->RestoreFocus();
             EXPECT_EQ(w.window->GetFocusControl(), RCPtr<LControl>(w.a));
         },
         ""},
        {"the region taken is coalesced",
         [](RootScene& w)
         {
             LRegion region;
             w.window->TakeInvalidRegion(region);
             w.window->InvalidateRect(RectD{0, 0, 10, 10});
             w.window->InvalidateRect(RectD{10, 0, 10, 10});
             w.window->TakeInvalidRegion(region);
             ASSERT_EQ(region.GetRectCount(), 1u);
             EXPECT_EQ(region.GetFirst()->rect, (EdgesI{0, 0, 20, 10}));
         },
         ""},
        {"a root control's new size sizes the window where it stands",
         [](RootScene& w)
         {
             SizeSpec width, height;
             width.absolute = 300;
             height.absolute = 200;
             w.root->SetPlacements(DockedPositionSpec{}, width, DockedPositionSpec{}, height);
             EXPECT_EQ(w.os->windowRects, std::vector<RectI>{(RectI{0, 0, 300, 200})});
             w.os->windowRects.clear();
             w.root->FillWindow();
             EXPECT_TRUE(w.os->windowRects.empty()) << "the size it has";
         },
         ""},
        {"the root's layout constrains the client size, never below 1",
         [](RootScene& w)
         {
             LimitSpec least;
             least.absolute = 200;
             w.root->SetSizeLimits(0, least, LimitSpec{});
             std::int32_t width = 50, height = 0;
             EXPECT_TRUE(w.window->ConstrainClientSize(width, height));
             EXPECT_EQ(width, 200);
             EXPECT_EQ(height, 1);
             width = 300;
             height = 300;
             EXPECT_FALSE(w.window->ConstrainClientSize(width, height));
             EXPECT_EQ(width, 300);
         },
         ""},
        {"modifier keys, text input, the root by name",
         [](RootScene& w)
         {
             TestSupport::LStandInFrameworkApp app;
             app.keysDown = {VirtualKey::kControl, VirtualKey::kMenu};
             EXPECT_EQ(GetModifierKeys(), ModifierFlag::kCtrl | ModifierFlag::kAlt);
             EXPECT_EQ(w.window->SetTextInputState(true, w.a, 0), kNothingDone) << "a takes no text";
             w.a->SetTakesTextInput(true);
             EXPECT_EQ(w.window->SetTextInputState(true, w.a, 0), kOk);
             EXPECT_EQ(w.window->SetRootControlByName(String()), kOk);
             EXPECT_FALSE(w.window->GetRootControl());
         },
         ""},
        {"a paint while the renderer is inside another frame asks for a whole repaint",
         [](RootScene& w)
         {
             auto* renderer = static_cast<TestSupport::LRecordingRenderer*>(w.renderer.Get());
             auto outer = renderer->MakeContext(RectI{0, 0, 10, 10}, true);
             auto inner = renderer->MakeContext(RectI{0, 0, 1024, 768});
             renderer->RenderStart(outer);
             renderer->RenderStart(inner);
             renderer->ClearRecord();
             LRegion region;
             region.AddRect(EdgesI{0, 0, 10, 10});
             w.window->Paint(region);
             EXPECT_TRUE(renderer->calls.empty());
             EXPECT_EQ(w.os->wholeInvalidations, 1);
             renderer->RenderFinish(inner);
             renderer->RenderFinish(outer);
         },
         ""},
    };
    for (const Row& row : rows)
    {
        RootScene w;
        row.act(w);
        EXPECT_EQ(Joined(w.log), row.expected) << row.name;
    }
}

TEST(RootWindow, NullCaptureIsRefusedAndTheLastModalResultWaitsForTheIdleStep)
{
    RootScene w;
    EXPECT_EQ(w.window->SetCapture(nullptr), kInvalidArg);
    w.window->EndModal(3);
    w.window->EndModal(4);
    EXPECT_TRUE(w.os->modalResults.empty());
    w.window->OnIdle(true);
    EXPECT_EQ(w.os->modalResults, std::vector<Result>{4});
}

TEST(RootWindow, KeyNoControlTakesIsTheWindowsHotKeyDeliveredAtItsNextIdleStep)
{
    RootScene w;
    w.window->GetHotKeyManager()->GetHotKeyMap().AddFromStringTable(Testing::ApplicationHotKeyTable(),
                                                                    u"GHK");
    const RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
    recorder->RegisterForNotification(RCPtr<LNotificationDistributor>(w.window), u"NID_EDIT_COPY_REQ");
    w.window->SetFocusControl(w.a);
    const KeyCode ctrlC = KeyCode::FromVirtualKey(0x43, true, 0, ModifierFlag::kCtrl);
    EXPECT_EQ(w.window->DispatchKey(LKeyParam::Create(ctrlC, false)), kOk);
    EXPECT_TRUE(recorder->received.empty());
    w.window->OnIdle(false);
    EXPECT_EQ(recorder->received, std::vector<std::string>{"?:NID_EDIT_COPY_REQ"});
}

} // namespace
} // namespace KR
