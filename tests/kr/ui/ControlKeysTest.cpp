// Keys on their way through a control tree: local hot keys, the control's own handler,
// the siblings' receivers, the Tab walk, and the window's and the application's hot keys.
// Recording controls in a root window over a fake system window, no display.

#include "ControlTestSupport.h"
#include "HotKeyTestSupport.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using TestSupport::LFakeWindowServices;
namespace Flag = ModifierFlag;

constexpr const char* kStrings = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Strings>
  <StringTable ID="PresetEditor|keyed">
    <String ID="LHK.NID_TEST_KEY"><Locale LCID="9">Ctrl+VKEY_K</Locale></String>
  </StringTable>
  <StringTable ID="PresetEditor|loop">
    <String ID="LHK.NID_SIBLING_KEY"><Locale LCID="9">Ctrl+VKEY_L</Locale></String>
  </StringTable>
</Test_Strings>)";

KeyCode Down(std::uint8_t virtualKey, std::uint32_t modifiers = 0)
{
    return KeyCode::FromVirtualKey(virtualKey, true, 0, modifiers);
}

// Writes "<name>:<what>" for its own key handler (75), its Tab walk (78) and every
// notification it receives; takes keys and sibling keys when told to.
class KeyControl : public UiTest::TestControl
{
public:
    using TestControl::TestControl;

    static RCPtr<KeyControl> Make(const RCPtr<LControl>& parent, const char16_t* name,
                                  std::vector<std::string>* log, bool focusable = true)
    {
        RCPtr<KeyControl> control(new KeyControl(parent, String(name)));
        control->SetFrame(PointD{}, PointD{10, 10});
        control->log = log;
        control->SetNotFocusable(!focusable);
        control->InitializeConditions();
        return control;
    }

    Result OnKeyDown(const RCPtr<LKeyParam>&) override
    {
        Note("75");
        return takesKeys ? kOk : kNothingDone;
    }
    Result NavigateChildren(const RCPtr<LKeyParam>& key) override
    {
        Note("78");
        return TestControl::NavigateChildren(key);
    }
    Result OrderSiblingTargets(const RCPtr<LKeyParam>& key,
                               const RCPtr<LNotificationDistributor::LNotificationClientPool>& receivers,
                               Array<std::int32_t>& order) override
    {
        ++orderings;
        return TestControl::OrderSiblingTargets(key, receivers, order);
    }
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override
    {
        const String name = GetNotificationName(notification->GetID());
        if (name != u"NID_IDLE")
        {
            Note(name.ToUtf8().GetPtr());
        }
        if (takesSiblingKeys && name == u"NID_SIBLING_KEY")
        {
            notification->GetDataAs<LSiblingKeyParam>()->result = 0;
        }
        return TestControl::Receive(sender, notification);
    }

    void Note(const std::string& what) { log->push_back(GetName().ToUtf8().GetPtr() + (":" + what)); }

    std::vector<std::string>* log = nullptr;
    bool takesKeys = false;
    bool takesSiblingKeys = false;
    int orderings = 0;
};

// A root window over a fake system window; its root holds a, keyed (with the local hot
// key Ctrl+K) and c, in that tab order. The application's hot keys post into a queue of
// their own, the window's into the window's.
class ControlKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.factory = UiTest::MakeFactory(nullptr, kStrings);
        appQueue->SetDistributor(appCenter);
        app.hotKeys =
            LGlobalHotKeyManager::Create(RCPtr<LNotificationReceiver>(appQueue->GetPostingReceiver()));
        app.hotKeys->GetHotKeyMap().AddHotKey(Down('Q', Flag::kCtrl), u"NID_TEST_APP_KEY");
        window->GetHotKeyManager()->GetHotKeyMap().AddFromStringTable(Testing::ApplicationHotKeyTable(),
                                                                      u"GHK");
        app.AddRootWindow(window);

        root = RCPtr<KeyControl>(new KeyControl(RCPtr<IRootWindowServices>(window), String(u"root")));
        root->log = &log;
        root->SetFrame(PointD{}, PointD{100, 100});
        root->SetNotFocusable(false);
        window->SetRootControl(root);
        a = KeyControl::Make(root, u"a", &log);
        keyed = KeyControl::Make(root, u"keyed", &log);
        keyed->Initialize();
        c = KeyControl::Make(root, u"c", &log);
        heard->RegisterForNotification(RCPtr<LNotificationDistributor>(window), u"NID_EDIT_COPY_REQ");
        heard->RegisterForNotification(appCenter, u"NID_TEST_APP_KEY");
        log.clear();
    }
    void TearDown() override
    {
        window->ReleaseInternalReferences();
        appQueue->Shutdown();
    }

    void Type(const KeyCode& key) { window->DispatchKey(LKeyParam::Create(key, false)); }
    LControl* Focus() const { return window->GetFocusControl().Get(); }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<LNotificationQueue> appQueue{new LNotificationQueue};
    RCPtr<LNotificationDistributor> appCenter{new LNotificationDistributor};
    RCPtr<LFakeWindowServices> os{new LFakeWindowServices};
    RCPtr<LRootWindow> window{
        new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os.Get())};
    RCPtr<UiTest::Recorder> heard = UiTest::Recorder::Create();
    std::vector<std::string> log;
    RCPtr<KeyControl> root, a, keyed, c;
};

using Log = std::vector<std::string>;

TEST_F(ControlKeys, ALocalHotKeyFiresOnItsControlAndItsSiblingsAndItsOwnHandlerNeverSeesIt)
{
    EXPECT_TRUE(keyed->HasHotKey(u"NID_TEST_KEY"));
    EXPECT_FALSE(keyed->HasHotKey(u""));
    EXPECT_EQ(keyed->ParseKeyCode(u"NID_TEST_KEY").code, 0x214B0000u);
    EXPECT_EQ(keyed->ParseKeyCode(u"NID_TEST_OTHER"), KeyCode{});
    EXPECT_TRUE(root->HasClient(keyed.Get())) << "the parent passes its children's keys on";

    keyed->SetFocus(true);
    log.clear();
    Type(Down('K', Flag::kCtrl | Flag::kLeftCtrl));
    EXPECT_EQ(log, (Log{"keyed:NID_SIBLING_KEY", "keyed:NID_TEST_KEY"}));

    // A key it has no binding for goes to its handler, and on to the parent.
    log.clear();
    Type(Down('J', Flag::kCtrl));
    EXPECT_EQ(log, (Log{"keyed:NID_SIBLING_KEY", "keyed:75"}));

    // From a sibling: a's handler leaves the key, the parent offers it to keyed, whose
    // hot key takes it; nothing reaches the hot keys of the window.
    a->SetFocus(true);
    log.clear();
    Type(Down('K', Flag::kCtrl));
    EXPECT_EQ(log, (Log{"a:NID_SIBLING_KEY", "a:75", "keyed:NID_SIBLING_KEY", "keyed:NID_TEST_KEY"}));

    // A binding of the sibling key itself is no hot key: the key goes on as any other.
    const RCPtr<KeyControl> loop = KeyControl::Make(root, u"loop", &log);
    loop->Initialize();
    loop->SetFocus(true);
    log.clear();
    Type(Down('L', Flag::kCtrl));
    EXPECT_EQ(log, (Log{"loop:NID_SIBLING_KEY", "loop:75", "keyed:NID_SIBLING_KEY"}));
    a->SetFocus(true);

    // A disabled control is still offered the key, but its hot keys stay silent.
    keyed->SetEnabled(false);
    log.clear();
    Type(Down('K', Flag::kCtrl));
    EXPECT_EQ(log, (Log{"a:NID_SIBLING_KEY", "a:75", "loop:NID_SIBLING_KEY", "keyed:NID_SIBLING_KEY"}));
}

TEST_F(ControlKeys, TabOnAControlThatWantsItStopsAtItsHandler)
{
    for (const bool takes : {false, true})
    {
        a->SetWantsTab(true);
        a->takesKeys = takes;
        a->SetFocus(true);
        log.clear();
        Type(Down(VirtualKey::kTab));
        EXPECT_EQ(log, (Log{"a:NID_SIBLING_KEY", "a:75"})) << takes;
        EXPECT_EQ(Focus(), a.Get());
    }
}

TEST_F(ControlKeys, TabAndShiftTabWalkTheTabOrderAndWrapThroughTheWindow)
{
    a->SetFocus(true);
    const struct
    {
        std::uint32_t modifiers;
        LControl* focus;
    } steps[] = {{0, keyed.Get()},
                 {0, c.Get()},
                 {0, a.Get()},
                 {Flag::kShift, c.Get()},
                 {Flag::kShift, keyed.Get()},
                 {Flag::kShift, a.Get()},
                 {Flag::kShift, c.Get()}};
    for (const auto& step : steps)
    {
        Type(Down(VirtualKey::kTab, step.modifiers));
        EXPECT_EQ(Focus(), step.focus) << (Focus() ? Focus()->GetName().ToUtf8().GetPtr() : "none");
        EXPECT_TRUE(step.focus->HasFocus());
    }
    // A Tab going up, and a typed tab character, move nothing.
    Type(KeyCode::FromVirtualKey(VirtualKey::kTab, false, 1, 0));
    Type(KeyCode::FromCharacter(u'\t', 0));
    EXPECT_EQ(Focus(), c.Get());
}

TEST_F(ControlKeys, AtTheEndOfAControlsChildrenTabClimbsAndCtrlTabClimbsAtOnce)
{
    // root: a, keyed, c, box; box: x, y
    const RCPtr<KeyControl> box = KeyControl::Make(root, u"box", &log);
    const RCPtr<KeyControl> x = KeyControl::Make(box, u"x", &log);
    const RCPtr<KeyControl> y = KeyControl::Make(box, u"y", &log);
    x->SetFocus(true);
    log.clear();
    Type(Down(VirtualKey::kTab));
    EXPECT_EQ(Focus(), y.Get()) << "inside the box first";

    log.clear();
    Type(Down(VirtualKey::kTab));
    EXPECT_EQ(log, (Log{"y:NID_SIBLING_KEY", "y:75", "box:78", "root:78"}));
    EXPECT_EQ(Focus(), a.Get()) << "past the box, the last child of the root: round through the window";

    Type(Down(VirtualKey::kTab, Flag::kShift));
    EXPECT_EQ(Focus(), y.Get()) << "backwards into the box at its last child";

    // Ctrl+Tab searches no children on its way up; the window turns it into a forward
    // walk from the start.
    log.clear();
    Type(Down(VirtualKey::kTab, Flag::kCtrl));
    EXPECT_EQ(log, (Log{"y:NID_SIBLING_KEY", "y:75", "box:78", "root:78"}));
    EXPECT_EQ(Focus(), a.Get());

    // A disabled box is passed by.
    box->SetEnabled(false);
    c->SetFocus(true);
    Type(Down(VirtualKey::kTab));
    EXPECT_EQ(Focus(), a.Get());
}

TEST_F(ControlKeys, ADisabledOrHiddenFocusedControlDropsEveryKey)
{
    a->SetFocus(true);
    a->SetEnabled(false);
    window->SetFocusControl(a);
    c->SetVisible(false);
    for (const RCPtr<KeyControl>& dropping : {a, c})
    {
        window->SetFocusControl(dropping);
        log.clear();
        for (const KeyCode& key : {Down(VirtualKey::kTab), Down('K', Flag::kCtrl), Down('C', Flag::kCtrl),
                                   Down('Q', Flag::kCtrl), KeyCode::FromCharacter(u'x', 0)})
        {
            EXPECT_EQ(dropping->OnKey(LKeyParam::Create(key, false)), kOk);
            Type(key);
        }
        EXPECT_TRUE(log.empty()) << log.front();
        EXPECT_EQ(Focus(), dropping.Get());
    }
    window->OnIdle(false);
    appQueue->ProcessNotifications(false);
    EXPECT_TRUE(heard->received.empty());
    EXPECT_EQ(a->OnKey(nullptr), kInvalidArg);
}

TEST_F(ControlKeys, AKeyNobodyTakesReachesTheWindowsHotKeysThenTheApplicationsAtTheirNextIdle)
{
    // From a child through its parent, and from the root itself (no child can hold the
    // focus there): the key goes to the hot keys without a parent to climb to.
    for (const RCPtr<KeyControl>& focus : {a, root})
    {
        if (focus == root)
        {
            for (const RCPtr<KeyControl>& child : {a, keyed, c})
            {
                child->SetNotFocusable(true);
            }
        }
        focus->SetFocus(true);
        ASSERT_EQ(Focus(), focus.Get());
        heard->received.clear();
        Type(Down('C', Flag::kCtrl));
        Type(Down('Q', Flag::kCtrl));
        Type(Down('Z', Flag::kCtrl)); // nobody's
        EXPECT_TRUE(heard->received.empty()) << "posted, not sent";
        window->OnIdle(false);
        EXPECT_EQ(heard->received, (Log{"?:NID_EDIT_COPY_REQ"}));
        appQueue->ProcessNotifications(false);
        EXPECT_EQ(heard->received, (Log{"?:NID_EDIT_COPY_REQ", "?:NID_TEST_APP_KEY"}));
    }
}

TEST_F(ControlKeys, TabInATreeWhereNothingCanTakeTheFocusReturns)
{
    // a holds the focus; then its root turns unfocusable, and with it every control of
    // the window, so the walk finds nothing and the window finds nothing either.
    a->SetFocus(true);
    root->SetNotFocusable(true);
    ASSERT_EQ(Focus(), a.Get());
    Type(Down(VirtualKey::kTab));
    EXPECT_FALSE(a->HasFocus());
    EXPECT_FALSE(root->HasFocus());
    EXPECT_EQ(Focus(), nullptr);
}

// ---- sibling keys ------------------------------------------------------------------------------

// A box holds a, b, h (the focus holder), d and e in tab order; o lives elsewhere in the
// tree. Each row registers some of them for the box's sibling keys, in its order.
TEST_F(ControlKeys, SiblingReceiversAreAskedNearestBeforeTheHolderFirstThenFromTheEndAndOutsidersLast)
{
    const RCPtr<KeyControl> box = KeyControl::Make(root, u"box", &log);
    const RCPtr<KeyControl> children[] = {
        KeyControl::Make(box, u"a", &log), KeyControl::Make(box, u"b", &log),
        KeyControl::Make(box, u"h", &log), KeyControl::Make(box, u"d", &log),
        KeyControl::Make(box, u"e", &log)};
    const RCPtr<KeyControl> other = KeyControl::Make(root, u"o", &log);
    const auto named = [&](char name)
    { return name == 'o' ? other : children[std::string("abhde").find(name)]; };
    const struct
    {
        const char* registered;
        Log asked;
    } rows[] = {
        {"ab", {"b", "a"}},
        {"ba", {"b", "a"}},
        {"oabhde", {"b", "a", "e", "d", "o"}},
        {"edbao", {"b", "a", "e", "d", "o"}},
        {"h", {}},
    };
    for (const auto& row : rows)
    {
        for (const char name : std::string(row.registered))
        {
            named(name)->RegisterForNotification(RCPtr<LNotificationDistributor>(box), u"NID_SIBLING_KEY");
        }
        const RCPtr<LKeyParam> key = LKeyParam::Create(Down('K'), false);
        key->controls.AddItem(named('h'));
        log.clear();
        EXPECT_EQ(box->OnSiblingKey(key), kNothingDone);
        Log asked;
        for (const std::string& entry : log)
        {
            asked.push_back(entry.substr(0, entry.find(':')));
        }
        EXPECT_EQ(asked, row.asked) << row.registered;
        for (const char name : std::string(row.registered))
        {
            named(name)->UnregisterForNotification(RCPtr<LNotificationDistributor>(box), u"NID_SIBLING_KEY");
        }
    }

    // The first taker ends the walk.
    for (const char name : std::string("abd"))
    {
        named(name)->RegisterForNotification(RCPtr<LNotificationDistributor>(box), u"NID_SIBLING_KEY");
    }
    named('a')->takesSiblingKeys = true;
    const RCPtr<LKeyParam> key = LKeyParam::Create(Down('K'), false);
    key->controls.AddItem(named('h'));
    log.clear();
    EXPECT_EQ(box->OnSiblingKey(key), kOk);
    EXPECT_EQ(log, (Log{"b:NID_SIBLING_KEY", "a:NID_SIBLING_KEY"}));
}

TEST_F(ControlKeys, WithoutReceiversTheKeyIsNotHandledAndNoOrderIsMade)
{
    const RCPtr<LKeyParam> key = LKeyParam::Create(Down('K'), false);
    key->controls.AddItem(a);
    EXPECT_EQ(a->OnSiblingKey(key), kNothingDone);
    EXPECT_EQ(a->orderings, 0);
    EXPECT_EQ(root->OnSiblingKey(nullptr), kNothingDone);
    EXPECT_EQ(root->DispatchKey(nullptr), kInvalidArg);
    EXPECT_EQ(root->NavigateChildren(nullptr), kInvalidArg);
}

// ---- more windows -------------------------------------------------------------------------------

class CountingWindowServices : public LFakeWindowServices
{
public:
    Result SetFocus() override
    {
        ++focusRequests;
        return kOk;
    }
    bool IsModal() override { return modal; }
    int focusRequests = 0;
    bool modal = false;
};

TEST(RootWindowFocusNextWindow, TabPastTheLastControlGoesToTheNextWindowWrappingAndShiftToThePrevious)
{
    TestSupport::LStandInFrameworkApp app;
    RCPtr<CountingWindowServices> os[3] = {new CountingWindowServices, new CountingWindowServices,
                                           new CountingWindowServices};
    RCPtr<LRootWindow> windows[3];
    for (int i = 0; i < 3; ++i)
    {
        os[i]->active = i == 0;
        windows[i] = new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os[i].Get());
        app.AddRootWindow(windows[i]);
    }
    const auto requests = [&] {
        return std::vector<int>{os[0]->focusRequests, os[1]->focusRequests, os[2]->focusRequests};
    };
    const RCPtr<LKeyParam> tab = LKeyParam::Create(Down(VirtualKey::kTab), false);
    const RCPtr<LKeyParam> shiftTab = LKeyParam::Create(Down(VirtualKey::kTab, Flag::kShift), false);

    EXPECT_EQ(windows[0]->FocusNextWindow(tab), kOk);
    EXPECT_EQ(requests(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(windows[0]->FocusNextWindow(shiftTab), kOk);
    EXPECT_EQ(requests(), (std::vector<int>{0, 1, 1})) << "backwards from the first wraps to the last";

    os[0]->active = false;
    os[2]->active = true;
    EXPECT_EQ(windows[2]->FocusNextWindow(tab), kOk);
    EXPECT_EQ(requests(), (std::vector<int>{1, 1, 1})) << "forwards from the last wraps to the first";

    // An inactive window, or one under a modal loop, sends the focus nowhere; the active
    // window is not asked again.
    EXPECT_EQ(windows[1]->FocusNextWindow(tab), kNothingDone);
    os[2]->modal = true;
    EXPECT_EQ(windows[2]->FocusNextWindow(tab), kNothingDone);
    os[2]->modal = false;
    EXPECT_EQ(windows[1]->FocusNextWindow(tab), kNothingDone);
    EXPECT_EQ(windows[2]->FocusSystemWindow(), kNothingDone);
    EXPECT_EQ(requests(), (std::vector<int>{1, 1, 1}));
    for (const RCPtr<LRootWindow>& window : windows)
    {
        window->ReleaseInternalReferences();
    }
}

} // namespace
} // namespace KR
