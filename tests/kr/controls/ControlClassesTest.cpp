// The framework's container classes made from skins: which class each name makes, a panel
// scrolled by a real scroll bar, and unregistering through every handler table of a class.

#include "kr/controls/ControlClasses.h"
#include "ControlsTestSupport.h"
#include "kr/controls/Button.h"
#include "kr/controls/CheckedListBox.h"
#include "kr/controls/LevelMeter.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/Scrollbar.h"
#include "kr/controls/Slider.h"
#include "kr/ui/Panel.h"
#include "kr/ui/TabControl.h"

#include <gtest/gtest.h>

#include <string>

namespace KR
{
namespace
{

using namespace ControlsTest;

// A panel 300 x 400 with a vertical bar docked along its right edge: a channel of 400 and a thumb
// 12 wide, no arrows. Beside it a tab control of two pages, and a drop-down panel.
const std::string kContainers = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="600" YSizeAbs="400"><Skin Name="main">
  <SubControl Class="Framework.Panel" Name="view" XSizeAbs="300" YSizeAbs="400"><Skin Name="view">
    <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="288" XSizeAbs="12" YSizeAbs="400" XIsDocked="True" YIsDocked="True"><Skin Name="vBar">
      <SubControl Class="Framework.ScrollChannel" Name="channel" XSizeAbs="12" YSizeAbs="400"><Skin Name="channel" LookList="c3">
        <SubControl Class="Framework.Button" Name="thumb" XSizeAbs="12" YSizeAbs="20"><Skin Name="thumb" LookList="b14"/></SubControl>
      </Skin></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.TabControl" Name="tabs" XPositionAbs="300" XSizeAbs="200" YSizeAbs="200"><Skin Name="tabs">
    <SubControl Class="Framework.Panel" Name="buttonHolder" XSizeAbs="200" YSizeAbs="20"><Skin Name="buttonHolder">
      <SubControl Class="Framework.Button" Name="one" XSizeAbs="40" YSizeAbs="20"><Skin Name="one" LookList="b14"/></SubControl>
      <SubControl Class="Framework.Button" Name="two" XPositionAbs="40" XSizeAbs="40" YSizeAbs="20"><Skin Name="two" LookList="b14"/></SubControl>
    </Skin></SubControl>
    <SubControl Class="Framework.Panel" Name="pageHolder" YPositionAbs="20" XSizeAbs="200" YSizeAbs="180"><Skin Name="pageHolder">
      <SubControl Class="Framework.Panel" Name="one" XSizeAbs="200" YSizeAbs="180"><Skin Name="pageOne"/></SubControl>
      <SubControl Class="Framework.Panel" Name="two" XSizeAbs="200" YSizeAbs="180"><Skin Name="pageTwo"/></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.ComboSlider.DropDownPanel" Name="drop" XPositionAbs="500" XSizeAbs="100" YSizeAbs="50"><Skin Name="drop"/></SubControl>
</Skin></SubControl>)";

// One control of each standard class that keeps a table of its own, with the part it hears.
const std::string kOwnTables = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="600" YSizeAbs="400"><Skin Name="main">
  <SubControl Class="Framework.CheckedListBox" Name="checked" XSizeAbs="200" YSizeAbs="30"><Skin Name="checked" LookList="one">
    <SubControl Class="Framework.CheckedListBoxItem" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="b14">
      <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="10" YSizeAbs="10"><Skin Name="check" LookList="b14"/></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.Slider" Name="lone" YPositionAbs="40" XSizeAbs="200" YSizeAbs="40"><Skin Name="slider" LookList="c3">
    <SubControl Class="Framework.Button" Name="thumbStart" XSizeAbs="10" YSizeAbs="10"><Skin Name="thumbStart" LookList="b14"/></SubControl>
    <SubControl Class="Test.Group" Name="thumbEnd" XPositionAbs="100" XSizeAbs="10" YSizeAbs="10"><Skin Name="thumbEnd" LookList="one"/></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.ComboSlider" Name="combo" YPositionAbs="100" XSizeAbs="60" YSizeAbs="20"><Skin Name="combo" LookList="c3">
    <SubControl Class="Framework.ComboSlider.DropDownPanel" Name="dropDownPanel" YPositionAbs="20" XSizeAbs="200" YSizeAbs="40"><Skin Name="comboPanel" LookList="one">
      <SubControl Class="Framework.Slider" Name="slider" XSizeAbs="180" YSizeAbs="40"><Skin Name="comboSlider" LookList="c3">
        <SubControl Class="Framework.Button" Name="thumbStart" XSizeAbs="10" YSizeAbs="10"><Skin Name="comboStart" LookList="b14"/></SubControl>
        <SubControl Class="Test.Group" Name="thumbEnd" XPositionAbs="100" XSizeAbs="10" YSizeAbs="10"><Skin Name="comboEnd" LookList="one"/></SubControl>
      </Skin></SubControl>
    </Skin></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.StatusBar" Name="status" YPositionAbs="200" XSizeAbs="200" YSizeAbs="20"><Skin Name="status" LookList="one"/></SubControl>
  <SubControl Class="Framework.LevelMeter" Name="meter" YPositionAbs="250" XSizeAbs="20" YSizeAbs="100"><Skin Name="meter" LookList="one">
    <SubControl Class="Framework.Button" Name="clipButton" XSizeAbs="20" YSizeAbs="10"><Skin Name="clip" LookList="b14"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

// A client that hears a name from a sender through one of its tables.
struct HeardRow
{
    const char* table;
    RCPtr<LControl> client;
    RCPtr<LNotificationDistributor> sender;
    const char16_t* name;
};

// Unregistering takes the entry out of the table, and out of every other one of the chain.
void ExpectUnregisteringClears(const HeardRow& row)
{
    const RCPtr<LNotification> notification = LNotification::Create(row.name);
    EXPECT_NE(row.client->Receive(row.sender, notification), 0) << row.table;
    EXPECT_EQ(row.client->UnregisterForNotification(row.sender, row.name), kOk) << row.table;
    EXPECT_EQ(row.client->Receive(row.sender, notification), 0) << row.table;
    // Registered again without a handler, the client hears it and nothing handles it.
    ASSERT_NE(row.client->RegisterForNotification(row.sender, row.name), 0u) << row.table;
    EXPECT_EQ(row.client->UnregisterForNotification(row.sender, row.name), kOk) << row.table;
    // Nothing left in any table or at the sender: the client's own answer.
    EXPECT_EQ(row.client->UnregisterForNotification(row.sender, row.name), kNothingDone) << row.table;
}

struct ControlClassesTest : ::testing::Test
{
    Scene scene{kContainers};
};

TEST_F(ControlClassesTest, TheContainerNamesMakePanelsAndTheTabControl)
{
    const RCPtr<LControl> channel = scene.Find(u"vBar")->FindChildControl(String(u"channel"));
    EXPECT_NE(dynamic_cast<LPanel*>(channel.Get()), nullptr) << "Framework.ScrollChannel";
    EXPECT_NE(dynamic_cast<LPanel*>(scene.Find(u"drop").Get()), nullptr)
        << "Framework.ComboSlider.DropDownPanel";
    EXPECT_NE(dynamic_cast<LPanel*>(scene.Find(u"view").Get()), nullptr) << "Framework.Panel";
    const RCPtr<LTabControl> tabs = scene.Find<LTabControl>(u"tabs");
    ASSERT_TRUE(tabs) << "Framework.TabControl";
    EXPECT_EQ(tabs->GetSelectedName(), u"one");
    EXPECT_EQ(tabs->GetPageCount(), 2u);

    // Kept in line order, as registration runs.
    std::int32_t line = 0;
    for (const ControlClassRow& row : GetFrameworkControlClasses())
    {
        EXPECT_GT(row.line, line) << String(row.name).ToUtf8().GetPtr();
        line = row.line;
    }
}

TEST_F(ControlClassesTest, APanelScrolledByARealBar)
{
    const RCPtr<LPanel> view = scene.Find<LPanel>(u"view");
    const RCPtr<LScrollbar> bar = scene.Find<LScrollbar>(u"vBar");
    const RCPtr<LButton> thumb = scene.Find<LButton>(u"thumb");
    view->SetClientExtent(100, 1000);
    ASSERT_TRUE(view->IsScrollBarShown(LScrollView::kVertical));
    EXPECT_EQ(thumb->GetSize().y, 160.0) << "0.4 of the track";

    // 120 of the 240 the thumb can travel: half of the 600 the contents can scroll.
    Press(*thumb, 5, 5);
    Move(*thumb, 5, 5 + 120);
    EXPECT_EQ(view->GetScrollOffset().y, 300.0);
    Release(*thumb, 5, 5 + 120);
    EXPECT_EQ(view->GetScrollOffset().y, 300.0);
    EXPECT_EQ(thumb->GetPosition().y, 120.0);
    EXPECT_EQ(bar->GetAbsolutePosition(), (PointD{288, 0})) << "docked, it does not scroll away";

    view->SetScrollOffset(PointD{0, 150});
    EXPECT_DOUBLE_EQ(bar->GetValue(), 0.25);
    EXPECT_EQ(thumb->GetPosition().y, 60.0);
    EXPECT_EQ(view->GetScrollOffset().y, 150.0);
}

TEST_F(ControlClassesTest, UnregisteringClearsEveryTableOfTheChain)
{
    const RCPtr<LControl> view = scene.Find(u"view");
    const RCPtr<LControl> bar = scene.Find(u"vBar");
    const RCPtr<LControl> channel = bar->FindChildControl(String(u"channel"));
    const RCPtr<LControl> tabs = scene.Find(u"tabs");
    const HeardRow rows[] = {
        {"tab control's", tabs, RCPtr<LNotificationDistributor>(scene.Find(u"two")), u"NID_LEFT_CLICK"},
        {"panel's", view, RCPtr<LNotificationDistributor>(scene.main), u"NID_SIBLING_KEY"},
        {"scroll view's", view, RCPtr<LNotificationDistributor>(bar), u"NID_VALUE_CHANGE"},
        {"scroll bar's", bar, RCPtr<LNotificationDistributor>(channel), u"NID_HOVER_CONDITION_CHANGE"},
    };
    for (const HeardRow& row : rows)
    {
        ExpectUnregisteringClears(row);
    }

    // The control's own table: its idle entry goes with the registration, so ending idle
    // processing afterwards finds no entry to take out.
    const RCPtr<LControl> thumb = scene.Find(u"thumb");
    ASSERT_EQ(thumb->BeginIdleProcessing(), kOk);
    const RCPtr<LNotificationDistributor> window(scene.window);
    EXPECT_EQ(thumb->UnregisterForNotification(window, u"NID_IDLE"), kOk);
    EXPECT_EQ(thumb->EndIdleProcessing(), kFail);
}

// The standard controls' own tables, and for the checked list the list box's below its own.
TEST(OwnTablesTest, UnregisteringClearsEveryTableOfTheChain)
{
    Scene scene{kOwnTables};
    const RCPtr<LCheckedListBox> checked = scene.Find<LCheckedListBox>(u"checked");
    ASSERT_TRUE(checked && checked->GetRowCount() > 0);
    const RCPtr<LControl> checkedRow(checked->GetRow(0));
    const RCPtr<LControl> checkBox = checkedRow->FindChildControl(String(u"checkBox"));
    const RCPtr<LSlider> slider = scene.Find<LSlider>(u"lone");
    const RCPtr<LControl> combo = scene.Find(u"combo");
    const RCPtr<LControl> status = scene.Find(u"status");
    const RCPtr<LLevelMeter> meter = scene.Find<LLevelMeter>(u"meter");
    ASSERT_TRUE(checkBox && slider && combo && status && meter);
    ASSERT_EQ(meter->SetClipLatching(true), kOk) << "the clip light heard";
    const HeardRow rows[] = {
        {"list box's", checked, RCPtr<LNotificationDistributor>(checkedRow), u"NID_MOUSE_DOWN"},
        {"checked list's", checked, RCPtr<LNotificationDistributor>(checkBox), u"NID_VALUE_CHANGE"},
        {"slider's", slider, RCPtr<LNotificationDistributor>(slider->GetThumb()), u"NID_MOUSE_MOVE"},
        {"combo slider's", combo,
         RCPtr<LNotificationDistributor>(
             combo->FindChildControl(String(u"dropDownPanel"))->FindChildControl(String(u"slider"))),
         u"NID_VALUE_CHANGE"},
        {"status bar's", status, RCPtr<LNotificationDistributor>(status), u"NID_SET_STATUS_TEXT"},
        {"level meter's", meter,
         RCPtr<LNotificationDistributor>(meter->FindChildControl(String(u"clipButton"))), u"NID_LEFT_CLICK"},
    };
    for (const HeardRow& row : rows)
    {
        ExpectUnregisteringClears(row);
    }

    // The checked row lets its check box's hover pass on once it has lit the row: it is heard
    // by what it does.
    const auto enter = [&]
    {
        checkedRow->Receive(RCPtr<LNotificationDistributor>(checkBox),
                            LNotification::Create(u"NID_HOVER_CONDITION_CHANGE",
                                                  LConditionsParam::Create(0, Condition::kHover, PointD{})));
        return (checkedRow->GetConditions() & Condition::kHoverOrForced) != 0;
    };
    EXPECT_TRUE(enter());
    checkedRow->Receive(RCPtr<LNotificationDistributor>(checkBox),
                        LNotification::Create(u"NID_HOVER_CONDITION_CHANGE",
                                              LConditionsParam::Create(Condition::kHover, 0, PointD{})));
    EXPECT_EQ(checkedRow->UnregisterForNotification(RCPtr<LNotificationDistributor>(checkBox),
                                                    u"NID_HOVER_CONDITION_CHANGE"),
              kOk);
    EXPECT_FALSE(enter()) << "the checked row's table cleared";
}

} // namespace
} // namespace KR
