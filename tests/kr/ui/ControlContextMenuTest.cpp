// Context menus: the menus a control's string table makes, the menu a right click opens,
// and where a chosen command goes. A root window over a fake system window, no display.

#include "ControlTestSupport.h"
#include "HotKeyTestSupport.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/ui/PopupControls.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingMenuBuilder.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

constexpr const char* kSkins = R"(<?xml version="1.0" encoding="utf-8"?>
<Test_Skins><Application Name="PresetEditor">
  <Skins><Skin Name="One"><SubControl Class="Test.Popup" Name="contextMenu"/></Skin></Skins>
</Application></Test_Skins>)";

// The skin's "contextMenu": records what the control core hands it.
class StandInPopup : public LControl, public IPopupMenu
{
public:
    using LControl::LControl;
    Result SetMenu(const RCPtr<LMenuDescriptor>& given) override
    {
        menu = given;
        return kOk;
    }
    Result PlaceOnScreen() override
    {
        const RCPtr<IRootWindowServices> window = GetRootWindow();
        placedAt = window ? window->GetMousePosition() : PointI{-1, -1};
        return kOk;
    }
    RCPtr<LMenuDescriptor> menu;
    PointI placedAt{-1, -1};
};

// A control whose string table the test writes.
class MenuControl : public UiTest::TestControl
{
public:
    using TestControl::TestControl;
    RCPtr<LStringTable> GetStringTable() override { return strings; }
    RCPtr<LStringTable> strings;
};

RCPtr<LStringTable> Table(std::initializer_list<std::pair<const char16_t*, const char16_t*>> entries)
{
    RCPtr<LStringTable> table(new LStringTable);
    for (const auto& [id, text] : entries)
    {
        table->SetString(String(id), String(text));
    }
    return table;
}

class ControlContextMenu : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.factory = UiTest::MakeFactory(kSkins, nullptr);
        app.factory->RegisterControlClass(String(u"Test.Popup"), &LControl::CreateFromSkin<StandInPopup>);
        appQueue->SetDistributor(appCenter);
        app.hotKeys =
            LGlobalHotKeyManager::Create(RCPtr<LNotificationReceiver>(appQueue->GetPostingReceiver()));
        window->GetHotKeyManager()->GetHotKeyMap().AddFromStringTable(Testing::ApplicationHotKeyTable(),
                                                                      u"GHK");
        os->mouse = PointI{30, 40};

        root = RCPtr<UiTest::TestControl>(
            new UiTest::TestControl(RCPtr<IRootWindowServices>(window), String(u"root")));
        root->SetFrame(PointD{}, PointD{100, 100});
        window->SetRootControl(root);
        control = RCPtr<MenuControl>(new MenuControl(RCPtr<LControl>(root), String(u"control")));
        control->SetFrame(PointD{10, 10}, PointD{20, 20});
        heard->RegisterForNotification(RCPtr<LNotificationDistributor>(window),
                                       u"NID_MENU_FILE_SAVE_PRESET_TO_FILE");
        for (const char16_t* name : {u"NID_TEST_OTHER", u"NID_TEST_DEEP"})
        {
            heard->RegisterForNotification(appCenter, name);
        }
    }
    void TearDown() override
    {
        window->ReleaseInternalReferences();
        appQueue->Shutdown();
    }

    // The ids each built menu was given, with the text of each entry.
    std::vector<KR::Test::RecordingMenuBuilder::Entries> Built(const RCPtr<LStringTable>& strings,
                                                               std::uint32_t expectedMenus)
    {
        KR::Test::RecordingMenuBuilder builder;
        builder.reply = LMenuDescriptor::Create();
        control->strings = strings;
        RCPtrArray<LMenuDescriptor> menus;
        EXPECT_EQ(control->BuildContextMenu(menus), kNothingDone);
        EXPECT_EQ(menus.GetCount(), expectedMenus);
        return builder.calls;
    }

    TestSupport::LStandInFrameworkApp app;
    TestSupport::LookStandIns looks;
    RCPtr<LNotificationQueue> appQueue{new LNotificationQueue};
    RCPtr<LNotificationDistributor> appCenter{new LNotificationDistributor};
    RCPtr<TestSupport::LFakeWindowServices> os{new TestSupport::LFakeWindowServices};
    RCPtr<LRootWindow> window{
        new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os.Get())};
    RCPtr<UiTest::Recorder> heard = UiTest::Recorder::Create();
    RCPtr<UiTest::TestControl> root;
    RCPtr<MenuControl> control;
};

using Entries = KR::Test::RecordingMenuBuilder::Entries;

TEST_F(ControlContextMenu, TheSingleMenuWinsOverNumberedOnes)
{
    const auto calls = Built(Table({{u"CONTEXT_MENU.01.NID_B", u"B"},
                                    {u"CONTEXT_MENU.00.NID_A", u"A|Help"},
                                    {u"CONTEXT_MENU0.00.NID_C", u"C"},
                                    {u"TOOLTIP", u"Tip"}}),
                             1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (Entries{{u"00.NID_A", u"A|Help"}, {u"01.NID_B", u"B"}}));
}

TEST_F(ControlContextMenu, NumberedMenusComeByTheirKeysAsTextEachWithItsOwnItems)
{
    auto calls = Built(Table({{u"CONTEXT_MENU1.00.NID_HELP", u"Help"},
                              {u"CONTEXT_MENU0.01.NID_SAVE", u"Save"},
                              {u"CONTEXT_MENU0.00.NID_SEND", u"Send"}}),
                       2);
    EXPECT_EQ(calls, (std::vector<Entries>{{{u"00.NID_SEND", u"Send"}, {u"01.NID_SAVE", u"Save"}},
                                           {{u"00.NID_HELP", u"Help"}}}));

    calls = Built(Table({{u"CONTEXT_MENU2.00.NID_K2", u"2"},
                         {u"CONTEXT_MENU10.00.NID_K10", u"10"},
                         {u"CONTEXT_MENU1.00.NID_K1", u"1"},
                         {u"CONTEXT_MENU0.00.NID_K0", u"0"}}),
                  4);
    std::vector<std::u16string> order;
    for (const Entries& call : calls)
    {
        order.push_back(call.at(0).second);
    }
    EXPECT_EQ(order, (std::vector<std::u16string>{u"0", u"1", u"10", u"2"}));

    // Without menu entries, or without a table, nothing is built.
    EXPECT_TRUE(Built(Table({{u"CONTEXT_MENU7", u"x"}, {u"TOOLTIP", u"Tip"}}), 0).empty());
    EXPECT_TRUE(Built(nullptr, 0).empty());
}

TEST_F(ControlContextMenu, TheRealBuilderOrdersEachMenusItemsByTheirOrderDigits)
{
    control->strings = Table({{u"CONTEXT_MENU1.00.NID_HELP", u"Help"},
                              {u"CONTEXT_MENU0.01.NID_SAVE", u"Save|Saves"},
                              {u"CONTEXT_MENU0.00.NID_SEND", u"Send"}});
    RCPtrArray<LMenuDescriptor> menus;
    control->BuildContextMenu(menus);
    ASSERT_EQ(menus.GetCount(), 2u);
    ASSERT_EQ(menus.GetAt(0)->GetItemCount(), 2u);
    EXPECT_EQ(menus.GetAt(0)->GetItem(0)->GetCommand(), u"NID_SEND");
    EXPECT_EQ(menus.GetAt(0)->GetItem(1)->GetLabel(), u"Save");
    EXPECT_EQ(menus.GetAt(1)->GetItem(0)->GetCommand(), u"NID_HELP");
}

TEST_F(ControlContextMenu, ARightClickOpensTheMenuAtThePointerOnlyWhenThereIsOne)
{
    const RCPtr<UiTest::Recorder> clicks = UiTest::Recorder::Create();
    clicks->Listen(control, {u"NID_RIGHT_CLICK"});
    const RCPtr<LMouseButtonParam> right =
        LMouseButtonParam::Create(MouseButton::kRight, PointI{5, 5}, 0, false, 0);
    EXPECT_EQ(control->OnClick(right), kOk);
    EXPECT_EQ(clicks->received, (std::vector<std::string>{"control:NID_RIGHT_CLICK"}));
    EXPECT_FALSE(control->FindChildControl(String(u"contextMenu"))) << "no menu, nothing opens";

    RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    menu->InsertItem(0, u"Save", u"NID_MENU_FILE_SAVE_PRESET_TO_FILE", 1, 0);
    control->SetContextMenu(menu);
    EXPECT_EQ(control->OnClick(right), kOk);
    EXPECT_EQ(clicks->received.size(), 2u);
    const RCPtr<StandInPopup> popup(control->FindChildControl(String(u"contextMenu")));
    ASSERT_TRUE(popup) << "the menu is the control's own child";
    EXPECT_EQ(popup->menu, menu);
    EXPECT_EQ(popup->placedAt, (PointI{30, 40}));
    popup->Detach();
}

TEST_F(ControlContextMenu, ACommandBoundToAWindowHotKeyGoesAsThatKeyAndAnyOtherToTheApplication)
{
    RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    menu->InsertItem(0, u"Save", u"NID_MENU_FILE_SAVE_PRESET_TO_FILE", 1, 0);
    menu->InsertSeparator(1);
    menu->InsertItem(2, u"Other", u"NID_TEST_OTHER", 1, 0);
    RCPtr<LMenuItemDescriptor> sub = LMenuItemDescriptor::Create(u"More", String(), 1, 0);
    sub->InsertItem(0, u"Deep", u"NID_TEST_DEEP", 1, 0);
    menu->InsertItem(3, sub);
    control->SetContextMenu(menu);
    EXPECT_EQ(control->GetContextMenu(), menu);

    const auto choose = [&](const char16_t* command)
    { return control->Receive(nullptr, LNotification::Create(command)); };
    EXPECT_EQ(choose(u"NID_MENU_FILE_SAVE_PRESET_TO_FILE"), kNothingDone);
    EXPECT_EQ(choose(u"NID_TEST_OTHER"), kNothingDone);
    EXPECT_EQ(choose(u"NID_TEST_DEEP"), kNothingDone);
    EXPECT_TRUE(heard->received.empty()) << "both go by the queues";
    window->OnIdle(false);
    EXPECT_EQ(heard->received, (std::vector<std::string>{"?:NID_MENU_FILE_SAVE_PRESET_TO_FILE"}))
        << "as Ctrl+S, the window's hot key";
    appQueue->ProcessNotifications(false);
    EXPECT_EQ(heard->received, (std::vector<std::string>{"?:NID_MENU_FILE_SAVE_PRESET_TO_FILE",
                                                         "?:NID_TEST_OTHER", "?:NID_TEST_DEEP"}));
    EXPECT_FALSE(heard->last) << "without payload";

    // A new menu takes the old one's commands away.
    RCPtr<LMenuDescriptor> other = LMenuDescriptor::Create();
    other->InsertItem(0, u"Deep", u"NID_TEST_DEEP", 1, 0);
    control->SetContextMenu(other);
    heard->received.clear();
    EXPECT_EQ(choose(u"NID_TEST_OTHER"), 0);
    EXPECT_EQ(choose(u"NID_TEST_DEEP"), kNothingDone);
    appQueue->ProcessNotifications(false);
    EXPECT_EQ(heard->received, (std::vector<std::string>{"?:NID_TEST_DEEP"}));
    control->SetContextMenu(nullptr);
    EXPECT_EQ(choose(u"NID_TEST_DEEP"), 0);
}

} // namespace
} // namespace KR
