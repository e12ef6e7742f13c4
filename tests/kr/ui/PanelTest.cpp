#include "kr/ui/Panel.h"
#include "kr/ui/TabControl.h"

#include "ControlTestSupport.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/KeyCode.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace KR
{
namespace
{

KeyCode Tab(std::uint32_t modifiers = 0)
{
    return KeyCode::FromVirtualKey(VirtualKey::kTab, true, 0, modifiers);
}

// root panel: a, nested { n1, n2 }, b
struct PanelTest : ::testing::Test
{
    void SetUp() override
    {
        root = RCPtr<LPanel>(new LPanel(RCPtr<IRootWindowServices>(window), String(u"root")));
        root->SetFrame(PointD{}, PointD{200, 200});
        a = UiTest::TestControl::Make(RCPtr<LControl>(root), u"a");
        nested = RCPtr<LPanel>(new LPanel(RCPtr<LControl>(root), String(u"nested")));
        nested->SetFrame(PointD{0, 20}, PointD{100, 50});
        n1 = UiTest::TestControl::Make(RCPtr<LControl>(nested), u"n1");
        n2 = UiTest::TestControl::Make(RCPtr<LControl>(nested), u"n2");
        b = UiTest::TestControl::Make(RCPtr<LControl>(root), u"b");
        for (const RCPtr<LPanel>& panel : {root, nested})
        {
            panel->SetNotFocusable(false);
            panel->InitializeConditions();
        }
        ASSERT_EQ(root->Initialize(), kOk);
        ASSERT_EQ(nested->Initialize(), kOk);
    }
    void TearDown() override { root->ReleaseInternalReferences(); }

    // Tab (with modifiers) from `from`, as the focused control would pass it on.
    std::string TabFrom(const RCPtr<LControl>& from, std::uint32_t modifiers = 0)
    {
        from->SetFocus(true);
        const RCPtr<LKeyParam> key = LKeyParam::Create(Tab(modifiers), false);
        key->controls.AddItem(from);
        from->GetParent()->NavigateChildren(key);
        const LControl* focus = window->focus;
        return focus ? std::string(focus->GetName().ToUtf8().GetPtr()) : "";
    }

    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<LPanel> root, nested;
    RCPtr<UiTest::TestControl> a, n1, n2, b;
};

TEST_F(PanelTest, TabLeavesANestedPanelAtItsEndsAndWrapsInTheRoot)
{
    struct Row
    {
        const char* from;
        std::uint32_t modifiers;
        const char* to;
    };
    const Row rows[] = {
        {"n1", 0, "n2"},
        {"n2", 0, "b"},
        {"b", 0, "a"},
        {"n1", ModifierFlag::kShift, "a"},
        {"a", ModifierFlag::kShift, "b"},
        {"n1", ModifierFlag::kCtrl, "n1"}, // passed up unsearched; the window has no other
    };
    for (const Row& row : rows)
    {
        const RCPtr<LControl> from = row.from[0] == 'n' ? nested->FindChildControl(String(row.from))
                                                        : root->FindChildControl(String(row.from));
        EXPECT_EQ(TabFrom(from, row.modifiers), row.to) << row.from << " " << row.modifiers;
    }
}

TEST_F(PanelTest, APanelWhoseChildrenAreAllDisabledPassesTabOn)
{
    n2->SetEnabled(false);
    EXPECT_EQ(TabFrom(n1), "b");
    n1->SetEnabled(false);
    a->SetFocus(true);
    const RCPtr<LKeyParam> key = LKeyParam::Create(Tab(), false);
    key->controls.AddItem(RCPtr<LControl>(nested));
    root->NavigateChildren(key);
    EXPECT_EQ(window->focus, b.Get());
}

TEST_F(PanelTest, KeysTheChildrenLeaveClimbThroughEachPanel)
{
    const RCPtr<LKeyParam> key = LKeyParam::Create(KeyCode::FromVirtualKey('K', true, 0, 0), false);
    key->controls.AddItem(RCPtr<LControl>(n1));
    nested->DispatchKey(key);
    ASSERT_EQ(key->controls.GetCount(), 2u);
    EXPECT_EQ(key->controls.GetAt(1).Get(), nested.Get());
}

// Buttons and pages of a tab control, made in code the way a skin nests them.
struct TabControlTest : ::testing::Test
{
    RCPtr<LTabControl> Make(std::vector<const char16_t*> buttons, std::vector<const char16_t*> pages,
                            bool withButtons = true, bool withPages = true)
    {
        tabs = RCPtr<LTabControl>(new LTabControl(RCPtr<IRootWindowServices>(window), String(u"tabs")));
        tabs->SetFrame(PointD{}, PointD{300, 200});
        if (withButtons)
        {
            holder = RCPtr<LPanel>(new LPanel(RCPtr<LControl>(tabs), String(u"buttonHolder")));
            for (const char16_t* name : buttons)
            {
                UiTest::TestControl::Make(RCPtr<LControl>(holder), name);
            }
        }
        if (withPages)
        {
            pageHolder = RCPtr<LPanel>(new LPanel(RCPtr<LControl>(tabs), String(u"pageHolder")));
            for (const char16_t* name : pages)
            {
                UiTest::TestControl::Make(RCPtr<LControl>(pageHolder), name);
            }
        }
        recorder = UiTest::Recorder::Create();
        recorder->Listen(RCPtr<LControl>(tabs), {u"NID_TAB_SELECTED"});
        return tabs;
    }
    std::string Shown()
    {
        std::string shown;
        for (std::uint32_t i = 0; pageHolder && i < pageHolder->GetChildren().GetCount(); ++i)
        {
            const RCPtr<LControl>& page = pageHolder->GetChildren().GetAt(i, kInsertionOrder);
            shown += page->IsShown(false) ? page->GetName().ToUtf8().GetPtr() : "-";
        }
        return shown;
    }
    std::string On()
    {
        std::string on;
        for (std::uint32_t i = 0; holder && i < holder->GetChildren().GetCount(); ++i)
        {
            on += holder->GetChildren().GetAt(i, kInsertionOrder)->GetValue() == 1.0 ? "1" : "0";
        }
        return on;
    }
    void TearDown() override
    {
        if (tabs)
        {
            tabs->ReleaseInternalReferences();
        }
    }
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<LTabControl> tabs;
    RCPtr<LPanel> holder, pageHolder;
    RCPtr<UiTest::Recorder> recorder;
};

TEST_F(TabControlTest, AClickShowsItsPageOnlyAndAnUnknownNameHidesThemAll)
{
    Make({u"A", u"B", u"C"}, {u"A", u"B", u"C"});
    ASSERT_EQ(tabs->Initialize(), kOk);
    EXPECT_EQ(Shown(), "A--");
    EXPECT_EQ(On(), "100");

    holder->FindChildControl(String(u"B"))->SendNotificationByName(u"NID_LEFT_CLICK");
    EXPECT_EQ(Shown(), "-B-");
    EXPECT_EQ(On(), "010");
    EXPECT_EQ(tabs->GetSelectedIndex(), 1);
    EXPECT_EQ(recorder->last.Get(), pageHolder->FindChildControl(String(u"B")).Get());

    EXPECT_EQ(tabs->SelectTab(String(u"Z")), kOk);
    EXPECT_EQ(Shown(), "---");
    EXPECT_EQ(On(), "000");
    EXPECT_EQ(recorder->last.Get(), nullptr);
    EXPECT_EQ(recorder->received.size(), 3u);
}

TEST_F(TabControlTest, ButtonsSelectByTabOrderAndPagesCountByInsertion)
{
    Make({u"A", u"B", u"C"}, {u"A", u"B", u"C"});
    // C comes first in tab order.
    DockedPositionSpec at;
    SizeSpec size{kSizeToSelf, String(), 0.0f, 10.0};
    const RCPtr<LControl>& c = holder->FindChildControl(String(u"C"));
    c->SetPlacements(at, size, at, size);
    c->GetLayoutDescriptor()->tabStop = -5;
    holder->GetChildren().RaiseGeneration();
    ASSERT_EQ(tabs->Initialize(), kOk);
    EXPECT_EQ(Shown(), "--C");
    EXPECT_EQ(tabs->GetPage(0).Get(), pageHolder->FindChildControl(String(u"A")).Get());
    EXPECT_EQ(tabs->SelectTabByIndex(1), kOk);
    EXPECT_EQ(Shown(), "A--");
    EXPECT_EQ(tabs->SelectTabByIndex(3), kFail);
}

TEST_F(TabControlTest, MissingHoldersFailWithoutSending)
{
    Make({u"A"}, {u"A"}, false, true);
    EXPECT_EQ(tabs->Initialize(), kFail);
    EXPECT_TRUE(recorder->received.empty());
    tabs->ReleaseInternalReferences();

    Make({u"A", u"B"}, {}, true, false);
    EXPECT_EQ(tabs->Initialize(), kFail);
    EXPECT_EQ(On(), "10");
    EXPECT_TRUE(recorder->received.empty());
}

// A tab control that cannot select a page is refused when the skin makes it, naming it.
TEST(TabControlFromSkin, OneWithoutTabButtonsOrHoldersFailsItsCreation)
{
    static constexpr const char* kSkins = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Skins><Application Name="PresetEditor"><Skins><Skin Name="One">
  <SubControl Class="Framework.TabControl" Name="tabs"><Skin Name="tabs">
    <SubControl Class="Test.Panel" Name="buttonHolder"><Skin Name="b"><SubControl Class="Test.Panel" Name="A"/></Skin></SubControl>
    <SubControl Class="Test.Panel" Name="pageHolder"><Skin Name="p"><SubControl Class="Test.Panel" Name="A"/></Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.TabControl" Name="noButtons"><Skin Name="empty">
    <SubControl Class="Test.Panel" Name="buttonHolder"/>
    <SubControl Class="Test.Panel" Name="pageHolder"><Skin Name="q"><SubControl Class="Test.Panel" Name="A"/></Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.TabControl" Name="noHolders"/>
</Skin></Skins></Application></Test_Skins>)";
    TestSupport::LStandInFrameworkApp app;
    app.factory = RCPtr<LControlFactory>(new LControlFactory(String(u"PresetEditor")));
    app.factory->SetResourceProvider(
        [](const String&, std::vector<char>& bytes)
        {
            bytes.assign(kSkins, kSkins + std::strlen(kSkins));
            return true;
        });
    ASSERT_EQ(app.factory->LoadSkins(String(u"::SKINS")), kOk);
    app.factory->RegisterControlClass(String(u"Framework.TabControl"), &LTabControl::Create);
    app.factory->RegisterControlClass(String(u"Test.Panel"), &LControl::CreateFromSkin<LPanel>);
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();

    const RCPtr<LTabControl> tabs(app.factory->CreateControlByName(String(u"tabs"), window));
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->GetSelectedIndex(), 0);
    tabs->ReleaseInternalReferences();
    for (const char16_t* name : {u"noButtons", u"noHolders"})
    {
        try
        {
            app.factory->CreateControlByName(String(name), window);
            ADD_FAILURE() << "made";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_NE(std::string(error.what()).find(String(name).ToUtf8().GetPtr()), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
} // namespace KR
