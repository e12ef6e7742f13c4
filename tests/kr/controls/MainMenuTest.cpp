// The menu bar and its titles: titles from the strings, inserting and naming them, a new
// skin, sliding between open titles, the popup kept inside the window, the keys of a
// title's menu, and a press-slide-release choice.

#include "ControlsTestSupport.h"

#include "kr/controls/TextBox.h"
#include "kr/ui/Clipboard.h"

namespace KR
{
namespace
{

using ControlsTest::Heard;
using ControlsTest::MenuScene;
using ControlsTest::Utf8;

// The bar's strings with these extra entries (id, text).
std::string BarStrings(std::initializer_list<std::pair<const char*, const char*>> entries)
{
    std::string document = R"(<?xml version="1.0" encoding="utf-8"?><Test_Strings>)"
                           R"(<StringTable ID="Test.Group|mainMenu">)";
    for (const auto& [id, text] : entries)
    {
        document +=
            std::string("<String ID=\"") + id + "\"><Locale LCID=\"9\">" + text + "</Locale></String>";
    }
    return document + "</StringTable></Test_Strings>";
}

std::vector<std::string> TitleNames(const LMainMenu& bar)
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < bar.GetMenuTitleCount(); ++i)
    {
        names.push_back(Utf8(bar.GetMenuTitleName(i)));
    }
    return names;
}

std::vector<std::string> TitleTexts(const LMainMenu& bar)
{
    std::vector<std::string> texts;
    for (std::int32_t i = 0; i < bar.GetMenuTitleCount(); ++i)
    {
        texts.push_back(Utf8(bar.GetMenuTitle(i)->GetText()));
    }
    return texts;
}

// The first row's label of each title's menu.
std::vector<std::string> FirstRows(const LMainMenu& bar)
{
    std::vector<std::string> rows;
    for (std::int32_t i = 0; i < bar.GetMenuTitleCount(); ++i)
    {
        const RCPtr<LPopupMenu> popup = bar.GetMenuTitle(i)->GetPopup();
        rows.push_back(popup && popup->GetMenu() ? Utf8(popup->GetMenu()->GetItem(0)->GetLabel()) : "-");
    }
    return rows;
}

RCPtr<LMenuDescriptor> OneRowMenu(const char16_t* label, const char16_t* command)
{
    RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    menu->InsertItem(0, label, command, 1, 0);
    return menu;
}

TEST(MainMenuTest, TitlesComeFromTheLabelsOnlyWhenEachHasItsMenu)
{
    struct Case
    {
        const char* name;
        std::string strings;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"labels 00 and 02 with three menus: three titles, the middle one empty",
         BarStrings({{"MENU_LABEL.00", "File"},
                     {"MENU_LABEL.02", "Help"},
                     {"CONTEXT_MENU0.00.NID_A", "A"},
                     {"CONTEXT_MENU1.00.NID_B", "B"},
                     {"CONTEXT_MENU2.00.NID_C", "C"}}),
         {"File", "", "Help"}},
        {"labels 00 and 02 with two menus: none",
         BarStrings({{"MENU_LABEL.00", "File"},
                     {"MENU_LABEL.02", "Help"},
                     {"CONTEXT_MENU0.00.NID_A", "A"},
                     {"CONTEXT_MENU1.00.NID_B", "B"}}),
         {}},
        {"ids that are no plain number below 4096 are passed over",
         BarStrings({{"MENU_LABEL.00", "File"},
                     {"MENU_LABEL.x1", "Bad"},
                     {"MENU_LABEL.-1", "Bad"},
                     {"MENU_LABEL.99999", "Huge"},
                     {"MENU_LABEL.4096", "Huge"},
                     {"CONTEXT_MENU0.00.NID_A", "A"}}),
         {"File"}},
    };
    for (const Case& c : cases)
    {
        MenuScene scene(ControlsTest::MenuSkin(), c.strings.c_str());
        ASSERT_TRUE(scene.bar) << c.name;
        EXPECT_EQ(TitleNames(*scene.bar), c.titles) << c.name;
        EXPECT_EQ(TitleTexts(*scene.bar), c.titles) << c.name;
    }
}

TEST(MainMenuTest, InsertingAndAddingMoveNamesTextsAndMenusButNotTheControls)
{
    MenuScene scene;
    LMainMenu& bar = *scene.bar;
    const RCPtr<LComboMenu> first = scene.Title(0);
    const RCPtr<LComboMenu> second = scene.Title(1);
    ASSERT_EQ(TitleNames(bar), (std::vector<std::string>{"File", "Help"}));

    // The second title stands at the first one's right edge.
    DockedPositionSpec x;
    SizeSpec width;
    second->GetLayoutDescriptor()->GetPlacement(0, x, width);
    EXPECT_EQ(x.anchor, 0.0f);
    EXPECT_EQ(x.reference, kPositionToNamed);
    EXPECT_EQ(Utf8(x.referenceName), "File");
    EXPECT_EQ(x.relative, 1.0f);
    EXPECT_EQ(second->GetAbsolutePosition().x, first->GetAbsolutePosition().x + first->GetSize().x);

    EXPECT_EQ(bar.InsertMenu(String(u"Help"), String(u"Edit"), String(u"Edit"),
                             OneRowMenu(u"Copy", u"NID_EDIT_COPY_REQ")),
              1);
    EXPECT_EQ(TitleNames(bar), (std::vector<std::string>{"File", "Edit", "Help"}));
    EXPECT_EQ(TitleTexts(bar), (std::vector<std::string>{"File", "Edit", "Help"}));
    EXPECT_EQ(FirstRows(bar), (std::vector<std::string>{"Send Preset", "Copy", "Open User Guide"}));
    EXPECT_EQ(scene.Title(0), first);
    EXPECT_EQ(scene.Title(1), second) << "the controls stay where they are";
    EXPECT_NE(scene.Title(1)->GetPopup()->GetMenu(), scene.Title(2)->GetPopup()->GetMenu());

    struct Case
    {
        const char* name;
        Result result;
    };
    const Case cases[] = {
        {"add at the count appends",
         bar.AddMenu(3, String(u"Tools"), String(u"Tools"), OneRowMenu(u"T", u"NID_T"))},
        {"add past the count", bar.AddMenu(5, String(u"Late"), String(u"Late"), OneRowMenu(u"L", u"NID_L"))},
        {"a label taken", bar.AddMenu(0, String(u"File"), String(u"File"), OneRowMenu(u"F", u"NID_F"))},
        {"before a title that is not there",
         bar.InsertMenu(String(u"None"), String(u"New"), String(u"New"), OneRowMenu(u"N", u"NID_N"))},
    };
    const Result expected[] = {3, kInvalidArg, kInvalidArg, kInvalidArg};
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        EXPECT_EQ(cases[i].result, expected[i]) << cases[i].name;
    }
    EXPECT_EQ(TitleNames(bar), (std::vector<std::string>{"File", "Edit", "Help", "Tools"}));
    EXPECT_EQ(FirstRows(bar), (std::vector<std::string>{"Send Preset", "Copy", "Open User Guide", "T"}));

    // A new skin makes the titles again with the same names, texts and menus.
    ASSERT_TRUE(Succeeded(bar.ApplyLayoutDescriptor(bar.GetControlDescriptor())));
    EXPECT_EQ(TitleNames(bar), (std::vector<std::string>{"File", "Edit", "Help", "Tools"}));
    EXPECT_EQ(TitleTexts(bar), (std::vector<std::string>{"File", "Edit", "Help", "Tools"}));
    EXPECT_EQ(FirstRows(bar), (std::vector<std::string>{"Send Preset", "Copy", "Open User Guide", "T"}));
    EXPECT_EQ(scene.Popup(0)->GetItemDataCount(), 9);
}

TEST(MainMenuTest, ABarWithoutATemplateMakesNoTitles)
{
    MenuScene scene(ControlsTest::MenuSkin(ControlsTest::Template::kNone));
    ASSERT_TRUE(scene.bar);
    EXPECT_EQ(scene.bar->GetMenuTitleCount(), 0);
    EXPECT_FALSE(scene.bar->HasTemplate());
    EXPECT_EQ(scene.bar->CreateMenuTitle(String(u"File")), kFail);
    EXPECT_EQ(scene.bar->AddMenu(0, String(u"File"), String(u"File"), OneRowMenu(u"F", u"NID_F")), kFail);
}

TEST(MainMenuTest, TitlesWithoutAPopupKeepTheirNamesAndTextsAndAreOtherwisePassedOver)
{
    MenuScene scene(ControlsTest::MenuSkin(ControlsTest::Template::kWithoutPopup));
    LMainMenu& bar = *scene.bar;
    ASSERT_EQ(TitleNames(bar), (std::vector<std::string>{"File", "Help"}));
    EXPECT_FALSE(scene.Popup(0));
    EXPECT_EQ(bar.InsertMenu(String(u"Help"), String(u"Edit"), String(u"Edit"), OneRowMenu(u"C", u"NID_C")),
              1);
    EXPECT_EQ(TitleTexts(bar), (std::vector<std::string>{"File", "Edit", "Help"}));
    bar.RegisterIdleHandlers();
    ASSERT_TRUE(Succeeded(bar.ApplyLayoutDescriptor(bar.GetControlDescriptor())));
    EXPECT_EQ(TitleNames(bar), (std::vector<std::string>{"File", "Edit", "Help"}));
    scene.Press(20, 10);
    scene.Release(20, 10);
    EXPECT_FALSE(scene.Title(0)->IsDropDownShown());
}

TEST(MainMenuTest, AnOpenTitleFollowsThePointerAlongTheBarAndADisabledOneShowsItsLook)
{
    MenuScene scene;
    const RCPtr<LComboMenu> file = scene.Title(0);
    const RCPtr<LComboMenu> help = scene.Title(1);
    // Hovering opens nothing while no title is open.
    scene.MoveTo(20, 10);
    EXPECT_EQ(file->GetActiveLookIndex(), LComboMenu::kHotLook);
    scene.MoveTo(80, 10);
    EXPECT_FALSE(file->IsDropDownShown());
    EXPECT_FALSE(help->IsDropDownShown());
    EXPECT_EQ(file->GetActiveLookIndex(), LComboMenu::kClosedLook);

    scene.Press(20, 10);
    scene.Release(20, 10);
    ASSERT_TRUE(file->IsDropDownShown());
    scene.MoveTo(80, 10);
    EXPECT_FALSE(file->IsDropDownShown());
    EXPECT_TRUE(help->IsDropDownShown());
    EXPECT_EQ(help->GetActiveLookIndex(), LComboMenu::kOpenLook);
    EXPECT_EQ(file->GetActiveLookIndex(), LComboMenu::kClosedLook);

    // In a title's menu Escape is taken and closes nothing; Shift+Left is the list's.
    scene.Key(0x201B0000);
    EXPECT_TRUE(help->IsDropDownShown());
    scene.Key(0x22250000);
    EXPECT_TRUE(help->IsDropDownShown());

    help->ShowDropDown(false);
    help->SetEnabled(false);
    EXPECT_EQ(help->GetActiveLookIndex(), LComboMenu::kDisabledLook);
    scene.MoveTo(80, 10);
    EXPECT_EQ(help->GetActiveLookIndex(), LComboMenu::kDisabledLook);
}

TEST(MainMenuTest, APressOnAnOpenTitleClosesItsMenuAndTheNextOpensItAgain)
{
    // The popup holds the focus while it is open and hands it back to its title as it
    // hides: the press that closes must still be known as the closing one.
    enum Act
    {
        kClick,
        kDoubleClick,
        kSlide,
    };
    struct Step
    {
        Act act;
        std::int32_t x;
    };
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"File three times", {{kClick, 20}, {kClick, 20}, {kClick, 20}}, {"File", "-", "File"}},
        {"Help three times", {{kClick, 80}, {kClick, 80}, {kClick, 80}}, {"Help", "-", "Help"}},
        {"a double click", {{kDoubleClick, 20}}, {"-"}},
        {"a double click on an open title", {{kClick, 20}, {kDoubleClick, 20}}, {"File", "File"}},
        {"File, slid onto Help, Help", {{kClick, 20}, {kSlide, 80}, {kClick, 80}}, {"File", "Help", "-"}},
    };
    for (const Case& c : cases)
    {
        MenuScene scene;
        std::vector<std::string> shown;
        for (const Step& step : c.steps)
        {
            if (step.act == kSlide)
            {
                scene.MoveTo(step.x, 10);
            }
            else
            {
                scene.Press(step.x, 10);
                scene.Release(step.x, 10);
            }
            if (step.act == kDoubleClick)
            {
                scene.Press(step.x, 10, MouseAction::kDoubleClick);
                scene.Release(step.x, 10);
            }
            shown.push_back(scene.Title(0)->IsDropDownShown()   ? "File"
                            : scene.Title(1)->IsDropDownShown() ? "Help"
                                                                : "-");
        }
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

TEST(MainMenuTest, AMenuPassingTheRightEdgeMovesLeftButNeverPastTheLeftEdge)
{
    struct Case
    {
        const char* name;
        double titleX;
        std::int32_t labelLength;
        double expectedX;
    };
    const Case cases[] = {
        {"room below the title", 8, 10, 8},
        {"past the right edge: its right edge meets the window's", 900, 10, 1024 - 142},
        {"wider than the window: at the left edge", 100, 110, 0},
    };
    for (const Case& c : cases)
    {
        MenuScene scene;
        ASSERT_EQ(scene.main->GetSize().x, 1024.0);
        const RCPtr<LComboMenu> file = scene.Title(0);
        DockedPositionSpec x;
        SizeSpec width;
        file->GetLayoutDescriptor()->GetPlacement(0, x, width);
        x.absolute = c.titleX;
        file->SetPlacement(0, x, width);
        // As wide as the label at 10 a character and the row's margin of 42.
        scene.Popup(0)->SetMenu(OneRowMenu(
            String(std::u16string(static_cast<std::size_t>(c.labelLength), u'x')).GetPtr(), u"NID_X"));
        ASSERT_EQ(scene.Popup(0)->GetSize().x, 10.0 * c.labelLength + 42) << c.name;
        file->ShowDropDown(true);
        EXPECT_EQ(scene.Popup(0)->GetAbsolutePosition().x, c.expectedX) << c.name;
    }
}

TEST(MainMenuTest, APressOnFileASlideOntoExitAndAReleasePostExit)
{
    MenuScene scene;
    const RCPtr<Heard> heard = Heard::Create();
    heard->RegisterForNotification(RCPtr<LNotificationDistributor>(scene.window), u"NID_MENU_FILE_EXIT_REQ");
    scene.Press(20, 10);
    const RCPtr<LPopupMenu> popup = scene.Popup(0);
    ASSERT_TRUE(popup->IsShown(true));
    EXPECT_EQ(popup->GetAbsolutePosition().y, 20.0);
    scene.MoveTo(40, 100, MouseButton::kLeft);
    scene.MoveTo(40, 190, MouseButton::kLeft);
    EXPECT_EQ(popup->GetCaret(), 8);
    scene.Release(40, 190);
    EXPECT_FALSE(popup->IsShown(false));
    EXPECT_TRUE(heard->names.empty());
    scene.Step(0);
    EXPECT_EQ(heard->names, (std::vector<std::string>{"NID_MENU_FILE_EXIT_REQ"}));
    heard->UnregisterForNotification(RCPtr<LNotificationDistributor>(scene.window),
                                     u"NID_MENU_FILE_EXIT_REQ");
}

TEST(MainMenuTest, ADragLeavingTheMenuOntoTheNextTitleOpensThatTitlesMenu)
{
    MenuScene scene;
    scene.Press(20, 10);
    scene.MoveTo(40, 100, MouseButton::kLeft);
    ASSERT_TRUE(scene.Title(0)->IsDropDownShown());
    scene.MoveTo(90, 10, MouseButton::kLeft);
    EXPECT_FALSE(scene.Title(0)->IsDropDownShown());
    EXPECT_TRUE(scene.Title(1)->IsDropDownShown());
    EXPECT_TRUE(scene.Popup(1)->HasCapture()) << "the drag goes on in Help's menu";
    scene.MoveTo(90, 50, MouseButton::kLeft);
    EXPECT_EQ(scene.Popup(1)->GetCaret(), 1);
    scene.Release(90, 50);
    EXPECT_FALSE(scene.Title(1)->IsDropDownShown());
}

TEST(MainMenuTest, ATitleUnregisteredFromItsPopupNoLongerFollowsItsVisibility)
{
    MenuScene scene;
    const RCPtr<LComboMenu> file = scene.Title(0);
    const RCPtr<LPopupMenu> popup = scene.Popup(0);
    popup->SetVisible(true);
    EXPECT_EQ(file->GetActiveLookIndex(), LComboMenu::kOpenLook);
    popup->SetVisible(false);
    EXPECT_EQ(file->GetActiveLookIndex(), LComboMenu::kClosedLook);
    EXPECT_EQ(file->UnregisterForNotification(RCPtr<LNotificationDistributor>(popup),
                                              u"NID_VISIBLITY_CONDITION_CHANGE"),
              kOk);
    popup->SetVisible(true);
    EXPECT_EQ(file->GetActiveLookIndex(), LComboMenu::kClosedLook) << "the title heard nothing";
}

TEST(MainMenuTest, CopyChosenInTheBarCopiesFromTheTextBoxThatHadTheFocus)
{
    MenuScene scene;
    const RCPtr<LClipboard> clipboard = LClipboard::Create();
    clipboard->Initialize(RCPtr<LNotificationDistributor>(scene.window));
    scene.app.clipboard = clipboard;
    ASSERT_EQ(
        scene.bar->AddMenu(1, String(u"Edit"), String(u"Edit"), OneRowMenu(u"Copy", u"NID_EDIT_COPY_REQ")),
        1);
    const RCPtr<LTextBox> edit(scene.main->FindChildControl(String(u"edit")));
    edit->SetTextFromString(String(u"abc"));
    edit->SetFocus(true);
    edit->SetSelection(0, 3, 0);

    scene.Press(90, 10);
    scene.Release(90, 10);
    const RCPtr<LPopupMenu> popup = scene.Popup(1);
    ASSERT_TRUE(popup->IsShown(true));
    popup->SelectRange(0, -1, true);
    scene.Key(0x200D0000);
    scene.Step(0);
    const auto* held = dynamic_cast<const LClipboard::TextHolder*>(clipboard->GetStoredContent().Get());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(Utf8(held->GetValue()), "abc");
    scene.app.clipboard = nullptr;
}

} // namespace
} // namespace KR
