// The popup menu: rows, key texts, item states, activation through the window's queue,
// sub-menus, keys and the context menu. A real root window over a fake system window.

#include "ControlsTestSupport.h"

#include "kr/controls/Button.h"
#include "kr/controls/MenuListBoxItem.h"

namespace KR
{
namespace
{

using ControlsTest::Heard;
using ControlsTest::MenuScene;
using ControlsTest::Utf8;

String HotKeyText(const RCPtr<LPopupMenu>& popup, std::int32_t index)
{
    const RCPtr<LListBoxItem> row = popup->GetRow(popup->RowIndexOfItem(index));
    return row ? row->FindChildControl(String(u"hotKeyLabel"))->GetText() : String(u"<no row>");
}

// A control that answers for the menu rows of its updater.
class Updater : public LControl
{
public:
    using LControl::LControl;
    Result UpdateMenuItem(std::int32_t, const String& name, MenuItemInfo& state) override
    {
        asked.push_back(Utf8(name));
        if (name == u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE")
        {
            state.enabled = 0;
        }
        if (name == u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE")
        {
            state.checked = 1;
            state.label = String(u"Retrieve Again");
        }
        return kOk;
    }
    std::vector<std::string> asked;
};

TEST(PopupMenuTest, TheFileMenuShowsItsRowsKeyTextsAndSeparators)
{
    MenuScene scene;
    ASSERT_TRUE(scene.bar);
    ASSERT_EQ(scene.bar->GetMenuTitleCount(), 2);
    const RCPtr<LPopupMenu> popup = scene.Popup(0);
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->GetItemDataCount(), 9);
    EXPECT_EQ(popup->GetSeparatorCount(), 3);
    EXPECT_EQ(popup->GetContentHeight(), 6 * popup->GetRowHeight() + 3 * popup->GetSeparatorRowHeight());
    ASSERT_GE(popup->GetRowCount(), 9);

    struct Row
    {
        const char* label;
        const char* keys;
        bool separator;
    };
    const Row rows[] = {
        {"Send Preset", "Ctrl+Shift+S", false},
        {"Retrieve Preset", "Ctrl+Shift+R", false},
        {"", "", true},
        {"Load Preset ", "Ctrl+O", false},
        {"Save Preset ", "Ctrl+S", false},
        {"", "", true},
        {"Global Settings", "", false},
        {"", "", true},
        {"Exit", "", false},
    };
    for (std::int32_t i = 0; i < 9; ++i)
    {
        const Row& row = rows[i];
        const RCPtr<LListBoxItem> shown = popup->GetRow(popup->RowIndexOfItem(i));
        EXPECT_EQ(Utf8(popup->GetMenu()->GetItem(static_cast<std::uint32_t>(i))->GetLabel()), row.label) << i;
        EXPECT_EQ(Utf8(HotKeyText(popup, i)), row.keys) << i;
        EXPECT_EQ(shown->IsBlank(), row.separator) << i;
        EXPECT_EQ(popup->IsItemSelectable(i), !row.separator) << i;
    }
    // Row 0: label and key text at 10 a character, and the row's margin: the
    // check box's end (12), 20, and the key text's right margin (10).
    EXPECT_EQ(popup->GetRowWidth(0), 110 + 120 + 42);
    EXPECT_EQ(popup->GetRowWidth(9), 0);

    // Up and Down pass the separators by.
    scene.Title(0)->ShowDropDown(true);
    popup->SelectRange(1, -1, true);
    scene.Key(0x20280000);
    EXPECT_EQ(popup->GetCaret(), 3);
    scene.Key(0x20260000);
    EXPECT_EQ(popup->GetCaret(), 1);
}

TEST(PopupMenuTest, AnExplicitKeyTextStaysAndResultsFollowTheRules)
{
    MenuScene scene;
    const RCPtr<LPopupMenu> popup = scene.Popup(1);
    ASSERT_TRUE(popup);
    RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    menu->InsertItem(0, u"Save", u"NID_MENU_FILE_SAVE_PRESET_TO_FILE", 1, 0);
    menu->GetItem(0)->SetShortcut(u"F2");
    menu->InsertItem(1, u"Nothing", u"NID_TEST_NOTHING", 1, 1);
    EXPECT_EQ(popup->SetMenu(menu), kOk);
    EXPECT_EQ(Utf8(HotKeyText(popup, 0)), "F2");
    EXPECT_EQ(Utf8(HotKeyText(popup, 1)), "");
    EXPECT_NE(popup->GetMenu(), menu) << "a copy of its own";

    EXPECT_EQ(popup->SetMenu(nullptr), kInvalidArg);
    EXPECT_EQ(popup->SetCommandQueue(RCPtr<LNotificationQueue>(scene.window)), kFail) << "the bar gave one";
    EXPECT_EQ(popup->SetCommandQueue(nullptr), kInvalidArg);

    MenuItemInfo info;
    popup->GetMenu()->GetItemInfo(1, info);
    EXPECT_EQ(popup->SetItemState(1, info), kNothingDone);
    EXPECT_EQ(popup->SetItemState(2, info), kInvalidArg);
    const RCPtr<LMenuListBoxItem> row(popup->GetRow(popup->RowIndexOfItem(1)));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->GetCheckBox()->GetActiveLookIndex(), 7) << "checked";
    info.checked = 0;
    EXPECT_EQ(popup->SetItemState(1, info), kOk);
    EXPECT_EQ(row->GetCheckBox()->GetActiveLookIndex(), 0);
}

TEST(PopupMenuTest, TheUpdaterGreysChecksAndRenamesRowsWhenTheMenuShowsAndNeverSeesSeparators)
{
    MenuScene scene;
    const RCPtr<Updater> view(new Updater(scene.main, String(u"view")));
    EXPECT_FALSE(scene.bar->SetMenuItemUpdater(view->GetMenuItemUpdater()));
    EXPECT_TRUE(scene.bar->SetMenuItemUpdater(view->GetMenuItemUpdater()));
    const RCPtr<LPopupMenu> popup = scene.Popup(0);
    scene.Title(0)->ShowDropDown(true);
    EXPECT_EQ(view->asked,
              (std::vector<std::string>{
                  "NID_MENU_FILE_EXIT_REQ", "NID_MENU_FILE_GLOBALSETTINGS_REQ",
                  "NID_MENU_FILE_SAVE_PRESET_TO_FILE", "NID_MENU_FILE_LOAD_PRESET_FROM_FILE",
                  "NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", "NID_MENU_FILE_SEND_PRESET_TO_DEVICE"}));
    EXPECT_FALSE(popup->GetRow(popup->RowIndexOfItem(0))->IsEnabled(false));
    EXPECT_TRUE(popup->GetRow(popup->RowIndexOfItem(1))->IsEnabled(false));
    EXPECT_FALSE(popup->IsItemSelectable(0));
    // Checked and renamed by the updater, as its row shows.
    const RCPtr<LMenuListBoxItem> retrieve(popup->GetRow(popup->RowIndexOfItem(1)));
    ASSERT_TRUE(retrieve);
    EXPECT_EQ(retrieve->GetText(), String(u"Retrieve Again"));
    EXPECT_EQ(retrieve->GetCheckBox()->GetActiveLookIndex(), 7);
    EXPECT_EQ(popup->GetMenu()->GetItem(1)->GetLabel(), String(u"Retrieve Again"));

    MenuItemInfo state;
    const RCPtr<LMainMenu> lonely(new LMainMenu(scene.main, String(u"lonely")));
    EXPECT_EQ(lonely->UpdateMenuItem(0, String(u"NID_X"), state), kNothingDone);
    const RCPtr<LMenuItemUpdater> orphan = view->GetMenuItemUpdater();
    lonely->SetMenuItemUpdater(orphan);
    const RCPtr<LControl> keep = orphan->control;
    orphan->control = nullptr;
    EXPECT_EQ(lonely->UpdateMenuItem(0, String(u"NID_X"), state), kFail);
    orphan->control = keep;
    view->ReleaseInternalReferences();
    lonely->ReleaseInternalReferences();
}

TEST(PopupMenuTest, ExitPostsItsCommandIntoTheWindowsQueueAndTheFocusGoesBack)
{
    MenuScene scene;
    const RCPtr<Heard> heard = Heard::Create();
    heard->RegisterForNotification(RCPtr<LNotificationDistributor>(scene.window), u"NID_MENU_FILE_EXIT_REQ");
    const RCPtr<LControl> edit = scene.main->FindChildControl(String(u"edit"));
    edit->SetFocus(true);
    ASSERT_TRUE(edit->HasFocus());

    scene.Press(20, 10);
    scene.Release(20, 10);
    const RCPtr<LPopupMenu> popup = scene.Popup(0);
    ASSERT_TRUE(popup->IsShown(true)) << "a click opens File";
    EXPECT_EQ(scene.bar->GetRememberedFocus(), edit);
    EXPECT_EQ(scene.bar->GetEditTarget(), edit) << "edit commands chosen in the bar go to the text box";
    EXPECT_EQ(scene.Title(0)->GetActiveLookIndex(), LComboMenu::kOpenLook);

    // The pointer over a row shows its help text in the status bar, and leaving clears it.
    scene.MoveTo(40, 190);
    EXPECT_EQ(popup->GetCaret(), 8);
    EXPECT_EQ(Utf8(scene.app.statusText), "Exit Vantor Preset Editor");
    scene.MoveTo(600, 600);
    EXPECT_EQ(Utf8(scene.app.statusText), "");
    popup->SelectRange(8, -1, true);
    scene.Key(0x200D0000);
    EXPECT_TRUE(heard->names.empty()) << "posted, not sent";
    EXPECT_FALSE(popup->IsShown(false)) << "the title hid it";
    EXPECT_TRUE(edit->HasFocus());
    scene.Step(0);
    ASSERT_EQ(heard->names, (std::vector<std::string>{"NID_MENU_FILE_EXIT_REQ"}));
    ASSERT_TRUE(heard->last);
    EXPECT_EQ(heard->last->index, 8);
    EXPECT_EQ(heard->last->menu, popup->GetMenu());
    heard->UnregisterForNotification(RCPtr<LNotificationDistributor>(scene.window),
                                     u"NID_MENU_FILE_EXIT_REQ");
}

TEST(PopupMenuTest, SubMenusOpenBesideTheRowAndStayInsideTheWindow)
{
    struct Case
    {
        const char* name;
        PointI client;
        RectD row;
        PointD menuAt;
        PointD subSize;
        PointD expected;
    };
    const Case cases[] = {
        {"right of the row", {1024, 768}, {0, 20, 120, 20}, {100, 100}, {150, 40}, {120, 20}},
        {"past the right edge: left", {1024, 768}, {0, 20, 120, 20}, {900, 100}, {150, 40}, {-150, 20}},
        {"no room on the left: right", {300, 768}, {0, 20, 120, 20}, {100, 100}, {150, 40}, {120, 20}},
        {"past the bottom: moved up", {1024, 768}, {0, 50, 120, 20}, {100, 600}, {150, 200}, {120, -32}},
        {"taller than the window: the menu's top",
         {1024, 768},
         {0, 20, 120, 20},
         {100, 100},
         {150, 800},
         {120, 0}},
    };
    for (const Case& c : cases)
    {
        const PointD at = LPopupMenu::PlaceBesideRow(c.row, c.menuAt, c.subSize, c.client);
        EXPECT_EQ(at.x, c.expected.x) << c.name;
        EXPECT_EQ(at.y, c.expected.y) << c.name;
    }
}

// A context menu of "owner" with a sub-menu at row 1, at (100, 100) in the window.
RCPtr<LPopupMenu> MenuWithSubMenu(MenuScene& scene)
{
    const RCPtr<LControl> owner = scene.main->FindChildControl(String(u"owner"));
    const RCPtr<LPopupMenu> popup(scene.app.factory->CreateChildControlByName(String(u"contextMenu"), owner));
    RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    menu->InsertItem(0, u"Plain", u"NID_TEST_PLAIN", 1, 0);
    RCPtr<LMenuItemDescriptor> more = LMenuItemDescriptor::Create(u"More", String(), 1, 0);
    more->InsertItem(0, u"Deep", u"NID_TEST_DEEP", 1, 0);
    more->InsertItem(1, u"Deeper", u"NID_TEST_DEEPER", 1, 0);
    menu->InsertItem(1, more);
    menu->InsertItem(2, u"Last", u"NID_TEST_LAST", 1, 0);
    popup->SetMenu(menu);
    scene.os->mouse = PointI{100, 100};
    popup->PlaceOnScreen();
    return popup;
}

TEST(PopupMenuTest, TheTimerOpensAndClosesSubMenusAndTheKeysWalkTheChain)
{
    MenuScene scene;
    const RCPtr<LPopupMenu> popup = MenuWithSubMenu(scene);
    ASSERT_TRUE(popup->IsShown(true));
    EXPECT_EQ(popup->GetAbsolutePosition().x, 100.0);
    ASSERT_TRUE(popup->HasFocus());

    // The pointer rests on "More": the sub-menu opens after 250 ms.
    scene.MoveTo(110, 130);
    EXPECT_EQ(popup->GetCaret(), 1);
    EXPECT_TRUE(popup->IsSubMenuTimerArmed());
    scene.Step(251);
    const RCPtr<LPopupMenu> sub = popup->GetOpenSubMenu();
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->GetAbsolutePosition().x, 220.0);
    EXPECT_EQ(sub->GetAbsolutePosition().y, 120.0);

    // Onto a plain row: it closes at 251 ms, not at 250.
    scene.MoveTo(110, 145);
    EXPECT_EQ(popup->GetCaret(), 2);
    scene.Step(250);
    EXPECT_TRUE(popup->GetOpenSubMenu());
    scene.Step(1);
    EXPECT_FALSE(popup->GetOpenSubMenu());

    // Right opens it and goes in; Left in it closes only it; Left at the root nothing.
    popup->SelectRange(1, -1, true);
    scene.Key(0x20270000);
    const RCPtr<LPopupMenu> opened = popup->GetOpenSubMenu();
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->HasFocus());
    EXPECT_EQ(opened->GetCaret(), 0);
    scene.Key(0x20250000);
    EXPECT_FALSE(popup->GetOpenSubMenu());
    EXPECT_TRUE(popup->HasFocus()) << "the focus came back without closing the chain";
    scene.Key(0x20250000);
    EXPECT_TRUE(popup->IsShown(true));

    // Escape in a sub-menu closes the whole chain.
    scene.Key(0x20270000);
    ASSERT_TRUE(popup->GetOpenSubMenu());
    scene.Key(0x201B0000);
    EXPECT_FALSE(popup->IsShown(false));
    scene.Step(0);
    EXPECT_FALSE(scene.main->FindChildControl(String(u"owner"))->FindChildControl(String(u"contextMenu")));
}

TEST(PopupMenuTest, ARightClickOpensTheContextMenuAtThePointerAndItsCommandReachesTheControl)
{
    MenuScene scene;
    const RCPtr<LControl> owner = scene.main->FindChildControl(String(u"owner"));
    RCPtrArray<LMenuDescriptor> menus;
    owner->BuildContextMenu(menus);
    ASSERT_EQ(menus.GetCount(), 1u);
    owner->SetContextMenu(menus.GetAt(0));

    // The right click opens the menu at the pointer.
    scene.Opaque();
    scene.os->mouse = PointI{450, 320};
    scene.os->buttons = MouseButton::kRight;
    scene.window->OnMouseButton(MouseAction::kPress, MouseButton::kRight, 0, PointI{450, 320});
    scene.os->buttons = 0;
    scene.window->OnMouseButton(MouseAction::kRelease, MouseButton::kRight, 0, PointI{450, 320});
    const RCPtr<LPopupMenu> popup(owner->FindChildControl(String(u"contextMenu")));
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->IsShown(true));
    EXPECT_EQ(popup->GetAbsolutePosition().x, 450.0);
    EXPECT_EQ(popup->GetAbsolutePosition().y, 320.0);
    EXPECT_EQ(popup->GetSize().y, 40.0);
    // Near the right bottom corner it moves back inside the client area.
    scene.os->mouse = PointI{1000, 760};
    popup->PlaceOnScreen();
    EXPECT_EQ(popup->GetAbsolutePosition().x, 1024.0 - popup->GetSize().x);
    EXPECT_EQ(popup->GetAbsolutePosition().y, 768.0 - popup->GetSize().y);

    // The command reaches the control at once: its context-menu handler hands it to the
    // application's hot-key target (a queue here) before any window queue drains.
    const RCPtr<LNotificationDistributor> center(new LNotificationDistributor);
    scene.appQueue->SetDistributor(center);
    const RCPtr<Heard> app = Heard::Create();
    app->RegisterForNotification(center, u"NID_TEST_SECOND");
    popup->SelectRange(1, -1, true);
    popup->ActivateCurrentItem();
    EXPECT_FALSE(popup->IsShown(false));
    scene.appQueue->ProcessNotifications(false);
    EXPECT_EQ(app->names, (std::vector<std::string>{"NID_TEST_SECOND"}));
    app->UnregisterForNotification(center, u"NID_TEST_SECOND");
    scene.Step(0);
    EXPECT_FALSE(owner->FindChildControl(String(u"contextMenu"))) << "made for one use";
}

} // namespace
} // namespace KR
