// The scroll bar: the thumb from the fractions, dragging it, paging in the channel on
// the driven clocks, the arrows, the sibling keys and the range.

#include "kr/controls/Scrollbar.h"
#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;

// A vertical bar at (100, 20): "dec" 12 x 12, "channel" 12 x 200 below it with a thumb
// 12 wide, "inc" below the channel. A horizontal one at (0, 300) with "inc" 30 right of
// "dec".
const std::string kBars = R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="400"><Skin Name="main">
  <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="100" YPositionAbs="20" XSizeAbs="12" YSizeAbs="224"><Skin Name="vBar">
    <SubControl Class="Framework.Button" Name="dec" XSizeAbs="12" YSizeAbs="12"><Skin Name="dec" LookList="b14"/></SubControl>
    <SubControl Class="Framework.ScrollChannel" Name="channel" YPositionAbs="12" XSizeAbs="12" YSizeAbs="200"><Skin Name="channel" LookList="c3">
      <SubControl Class="Framework.Button" Name="thumb" XSizeAbs="12" YSizeAbs="20"><Skin Name="thumb" LookList="b14"/></SubControl>
    </Skin></SubControl>
    <SubControl Class="Framework.Button" Name="inc" YPositionAbs="212" XSizeAbs="12" YSizeAbs="12"><Skin Name="inc" LookList="b14"/></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.ScrollBar" Name="hBar" YPositionAbs="300" XSizeAbs="42" YSizeAbs="12"><Skin Name="hBar">
    <SubControl Class="Framework.Button" Name="dec" XSizeAbs="12" YSizeAbs="12"><Skin Name="hdec" LookList="b14"/></SubControl>
    <SubControl Class="Framework.Button" Name="inc" XPositionAbs="30" XSizeAbs="12" YSizeAbs="12"><Skin Name="hinc" LookList="b14"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)";

struct ScrollbarTest : ::testing::Test
{
    ScrollbarTest()
    {
        bar = scene.Find<LScrollbar>(u"vBar");
        channel = bar->FindChildControl(String(u"channel"));
        thumb = scene.Find<LButton>(u"thumb");
        bar->SetThumbSize(0.25);
        bar->Recompute();
    }
    double ThumbAt() const { return thumb->GetPosition().y; }
    // The pointer over the channel at (x, y) of its own.
    void PointAtChannel(std::int32_t x, std::int32_t y)
    {
        const PointD origin = channel->GetAbsolutePosition();
        scene.window->mouse =
            PointI{static_cast<std::int32_t>(origin.x) + x, static_cast<std::int32_t>(origin.y) + y};
        channel->OnMouseEnter();
    }

    Scene scene{kBars};
    RCPtr<LScrollbar> bar;
    RCPtr<LControl> channel;
    RCPtr<LButton> thumb;
};

TEST_F(ScrollbarTest, TheThumbFollowsTheFractionAndTheValue)
{
    const struct
    {
        double fraction, value, length, at;
    } rows[] = {{0.25, 0.5, 50, 75},  {0.25, 1.0, 50, 150}, {0.01, 0.0, 12, 0},
                {0.01, 1.0, 12, 188}, {1.0, 0.7, 200, 0},   {3.0, 0.7, 200, 0}};
    for (const auto& row : rows)
    {
        bar->SetThumbSize(row.fraction);
        bar->Recompute();
        bar->SetValue(row.value);
        EXPECT_EQ(thumb->GetSize().y, row.length) << row.fraction << " " << row.value;
        EXPECT_EQ(ThumbAt(), row.at) << row.fraction << " " << row.value;
    }
    EXPECT_TRUE(bar->IsVertical());
    EXPECT_FALSE(scene.Find<LScrollbar>(u"hBar")->IsVertical());
}

TEST_F(ScrollbarTest, ADragStopsAtTheEndsAndHoldsValuesSetMeanwhileUntilTheRelease)
{
    Press(*thumb, 5, 5);
    Move(*thumb, 5, 600);
    EXPECT_TRUE(bar->IsDragging());
    EXPECT_EQ(bar->GetValue(), 1.0);
    EXPECT_EQ(ThumbAt(), 150);
    Move(*thumb, 5, -600);
    EXPECT_EQ(bar->GetValue(), 0.0);
    Move(*thumb, 5, 5 + 75);
    EXPECT_EQ(bar->GetValue(), 0.5);
    bar->SetValue(0.3);
    EXPECT_EQ(bar->GetValue(), 0.5);
    EXPECT_EQ(ThumbAt(), 75);
    Release(*thumb, 5, 5);
    EXPECT_FALSE(bar->IsDragging());
    EXPECT_DOUBLE_EQ(bar->GetValue(), 0.3);
    EXPECT_EQ(ThumbAt(), 45);

    // A thumb grown to fill its track during the drag has no room: the value goes to 0,
    // never 0 / 0.
    Press(*thumb, 5, 5);
    Move(*thumb, 5, 20);
    bar->SetThumbSize(1.0);
    bar->Recompute();
    Move(*thumb, 5, 30);
    EXPECT_EQ(bar->GetValue(), 0.0);
    Release(*thumb, 5, 5);
}

TEST_F(ScrollbarTest, HoldingTheChannelPagesUntilTheThumbReachesThePointer)
{
    PointAtChannel(6, 100);
    Press(*channel, 6, 100);
    EXPECT_DOUBLE_EQ(bar->GetValue(), 0.2);
    EXPECT_EQ(channel->GetLookWeight(LScrollbar::kChannelClickedLook), 1.0f);
    EdgesI strip{};
    ASSERT_TRUE(channel->GetActiveLook(LScrollbar::kChannelClickedLook)->GetRegion().GetBounds(strip));
    EXPECT_EQ(RectFromEdges(strip), (RectI{0, 80, 12, 120}));

    std::vector<std::pair<std::uint32_t, double>> pages;
    double last = bar->GetValue();
    while (scene.app.milliseconds < 1000)
    {
        scene.Step(50);
        if (bar->GetValue() != last)
        {
            last = bar->GetValue();
            pages.emplace_back(scene.app.milliseconds, last);
        }
    }
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].first, 400u);
    EXPECT_DOUBLE_EQ(pages[0].second, 0.4);
    Release(*channel, 6, 100);
    EXPECT_EQ(bar->GetPagingMode(), 0);
    EXPECT_EQ(bar->GetIdleRequestCount(), 0);
    EXPECT_EQ(channel->GetLookWeight(LScrollbar::kChannelClickedLook), 0.0f);

    // On the thumb's span the channel pages nothing and holds no idle.
    bar->SetValue(0.0);
    PointAtChannel(6, 10);
    Press(*channel, 6, 10);
    EXPECT_EQ(bar->GetValue(), 0.0);
    EXPECT_EQ(bar->GetIdleRequestCount(), 0);
    Release(*channel, 6, 10);
}

TEST_F(ScrollbarTest, ArrowsStepAndANewRangeKeepsThePosition)
{
    const RCPtr<LButton> inc(bar->FindChildControl(String(u"inc")));
    inc->OnMouseEnter();
    Press(*inc, 5, 5);
    EXPECT_DOUBLE_EQ(bar->GetValue(), 0.02);
    Release(*inc, 5, 5);

    bar->SetValueScaling(0.0, 100.0, 0);
    bar->SetValue(0.5);
    EXPECT_EQ(bar->SetValueScaling(0.0, 200.0, 0), kOk);
    EXPECT_DOUBLE_EQ(bar->GetValue(), 0.25);
    EXPECT_EQ(bar->SetValueScaling(0.0, 200.0, 1), kInvalidArg);
    EXPECT_DOUBLE_EQ(bar->GetValue(), 0.25);
}

TEST_F(ScrollbarTest, SiblingKeysMoveTheBarOnItsOwnAxisOnly)
{
    const RCPtr<LScrollbar> hBar = scene.Find<LScrollbar>(u"hBar");
    const struct
    {
        const char* name;
        std::uint32_t code;
        double vertical, horizontal; // the values from 0.5
    } rows[] = {{"Up", 0x20260000, 0.48, 0.5},        {"Down", 0x20280000, 0.52, 0.5},
                {"Left", 0x20250000, 0.5, 0.48},      {"Right", 0x20270000, 0.5, 0.52},
                {"Page Up", 0x20210000, 0.3, 0.5},    {"Page Down", 0x20220000, 0.7, 0.5},
                {"Home", 0x20240000, 0.0, 0.0},       {"End", 0x20230000, 1.0, 1.0},
                {"Shift+Home", 0x22240000, 0.5, 0.5}, {"End up", 0x00230000, 0.5, 0.5}};
    for (const auto& row : rows)
    {
        bar->SetValue(0.5);
        hBar->SetValue(0.5);
        KeyCode key;
        key.code = row.code;
        scene.main->SendNotification(
            LNotification::Create(u"NID_SIBLING_KEY", LSiblingKeyParam::Create(key, nullptr)));
        EXPECT_DOUBLE_EQ(bar->GetValue(), row.vertical) << row.name;
        EXPECT_DOUBLE_EQ(hBar->GetValue(), row.horizontal) << row.name;
    }

    KeyCode end;
    end.code = 0x20230000;
    bar->SetValue(0.5);
    bar->SetVisible(false);
    scene.main->SendNotification(
        LNotification::Create(u"NID_SIBLING_KEY", LSiblingKeyParam::Create(end, nullptr)));
    EXPECT_EQ(bar->GetValue(), 0.5) << "hidden";

    EXPECT_EQ(bar->SetKeyMask(0x100), kInvalidArg);
    RCPtr<LScrollbar> lone(new LScrollbar(nullptr, String(u"lone")));
    lone->SetFrame(PointD{}, PointD{12, 100});
    EXPECT_EQ(lone->Initialize(), kOk);
    lone->SetCreationFinished();
    lone->SendNotification(LNotification::Create(u"NID_SIBLING_KEY", LSiblingKeyParam::Create(end, nullptr)));
    EXPECT_EQ(lone->GetValue(), 1.0);
    lone->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
