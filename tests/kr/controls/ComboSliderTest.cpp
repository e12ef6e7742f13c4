// The combo slider: the value both ways with the face's number, where the panel opens
// against the root's right edge, the looks, and a combo slider without its panel.

#include "kr/controls/ComboSlider.h"
#include "ControlsTestSupport.h"
#include "kr/controls/Slider.h"

#include <gtest/gtest.h>

#include <string>

namespace KR
{
namespace
{

using namespace ControlsTest;

// A combo slider at `x` in a 1024-wide root, its panel `panelWidth` wide at X 20 with a
// slider whose markers lie 127 apart, so one unit of travel is one step of 127.
std::string Combo(const char* name, int x, int panelWidth)
{
    return std::string("<SubControl Class=\"Framework.ComboSlider\" Name=\"") + name + "\" XPositionAbs=\"" +
           std::to_string(x) + "\" YPositionAbs=\"10\" XSizeAbs=\"60\" YSizeAbs=\"20\"><Skin Name=\"" + name +
           "\" LookList=\"c7\">"
           "<SubControl Class=\"Framework.ComboSlider.DropDownPanel\" Name=\"dropDownPanel\" "
           "XPositionAbs=\"20\" "
           "YPositionAbs=\"20\" XSizeAbs=\"" +
           std::to_string(panelWidth) + "\" YSizeAbs=\"40\"><Skin Name=\"" + name +
           "Panel\" LookList=\"one\">"
           "<SubControl Class=\"Framework.Slider\" Name=\"slider\" XSizeAbs=\"180\" YSizeAbs=\"40\"><Skin "
           "Name=\"" +
           name +
           "Slider\" LookList=\"c3\">"
           "<SubControl Class=\"Framework.Button\" Name=\"thumbStart\" XSizeAbs=\"10\" YSizeAbs=\"10\"><Skin "
           "Name=\"" +
           name +
           "Start\" LookList=\"b14\"/></SubControl>"
           "<SubControl Class=\"Test.Group\" Name=\"thumbEnd\" XPositionAbs=\"127\" XSizeAbs=\"10\" "
           "YSizeAbs=\"10\"><Skin Name=\"" +
           name + "End\" LookList=\"one\"/></SubControl>" +
           "</Skin></SubControl></Skin></SubControl></Skin></SubControl>";
}

const std::string kCombos =
    "<SubControl Class=\"Test.Group\" Name=\"main\" XSizeAbs=\"1024\" YSizeAbs=\"600\"><Skin Name=\"main\">" +
    Combo("combo", 100, 200) + Combo("edge", 880, 200) + Combo("wide", 300, 1100) +
    "<SubControl Class=\"Framework.ComboSlider\" Name=\"bare\" YPositionAbs=\"300\" XSizeAbs=\"60\" "
    "YSizeAbs=\"20\"><Skin Name=\"bare\" LookList=\"c7\"/></SubControl>"
    "</Skin></SubControl>";

struct ComboSliderTest : ::testing::Test
{
    ComboSliderTest()
    {
        combo = scene.Find<LComboSlider>(u"combo");
        combo->SetValueScaling(0.0, 127.0, 0);
        slider = RCPtr<LSlider>(combo->GetDropDownPanel()->FindChildControl(String(u"slider")));
    }

    Scene scene{kCombos,
                nullptr,
                {{u"Framework.ComboSlider.DropDownPanel", &LControl::CreateFromSkin<LPanel>}},
                ControlsTest::LookList("c7", 7)};
    RCPtr<LComboSlider> combo;
    RCPtr<LSlider> slider;
};

TEST_F(ComboSliderTest, TheValueGoesBothWaysAndTheFaceShowsItsNumber)
{
    ASSERT_TRUE(slider);
    EXPECT_FALSE(combo->IsDropDownShown());
    combo->SetValue(0.5);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.5);
    EXPECT_EQ(combo->GetText(), u"64");

    // Every drag step of the slider writes the face.
    combo->ShowDropDown(true);
    combo->SetValue(0.0);
    const RCPtr<LControl> thumb = slider->GetThumb();
    Press(*thumb, 5, 5);
    for (const int x : {30, 64})
    {
        // The pointer in the thumb's own coordinates, which move with it.
        Move(*thumb, x + 5 - static_cast<int>(thumb->GetPosition().x), 5);
        EXPECT_EQ(combo->GetText(), String::Format(u"%d", x)) << x;
        EXPECT_DOUBLE_EQ(combo->GetValue(), x / 127.0);
    }
    Release(*thumb, 5, 5);
    EXPECT_DOUBLE_EQ(combo->GetValue(), 64 / 127.0);

    const struct
    {
        std::int32_t decimals;
        const char16_t* text;
    } rows[] = {{1, u"64.0"}, {3, u"64.000"}, {-2, u"64"}, {0, u"64"}};
    for (const auto& row : rows)
    {
        combo->SetDecimals(row.decimals);
        EXPECT_EQ(combo->GetText(), row.text) << row.decimals;
    }
}

TEST_F(ComboSliderTest, TheOpenedPanelStaysInsideTheRootOnTheRight)
{
    const struct
    {
        const char16_t* name;
        double rootX; // of the opened panel
    } rows[] = {{u"combo", 120}, {u"edge", 824}, {u"wide", 0}};
    for (const auto& row : rows)
    {
        const RCPtr<LComboSlider> opened = scene.Find<LComboSlider>(row.name);
        EXPECT_EQ(opened->ShowDropDown(true), kOk);
        EXPECT_TRUE(opened->IsDropDownShown());
        const RCPtr<LPanel>& panel = opened->GetDropDownPanel();
        EXPECT_EQ(panel->GetAbsolutePosition().x - scene.main->GetAbsolutePosition().x, row.rootX)
            << String(row.name).ToUtf8().GetPtr();
        EXPECT_EQ(panel->GetPosition().y, 20);
        EXPECT_EQ(opened->ShowDropDown(false), kOk);
        EXPECT_FALSE(opened->IsDropDownShown());
    }

    // Every opening starts from the skin's X, not from where the last one moved the panel.
    const RCPtr<LComboSlider> edge = scene.Find<LComboSlider>(u"edge");
    DockedPositionSpec x;
    SizeSpec width;
    edge->GetLayoutDescriptor()->GetPlacement(0, x, width);
    x.absolute = 100;
    edge->SetPlacement(0, x, width);
    edge->ShowDropDown(true);
    EXPECT_EQ(edge->GetDropDownPanel()->GetAbsolutePosition().x - scene.main->GetAbsolutePosition().x, 120);
}

TEST_F(ComboSliderTest, TheLookFollowsHoverFocusTheOpenPanelAndEnabling)
{
    const auto look = [&] { return combo->GetActiveLookIndex(); };
    EXPECT_EQ(look(), 0);
    combo->OnMouseEnter();
    EXPECT_EQ(look(), 2);
    combo->ShowDropDown(true);
    EXPECT_EQ(look(), 5);
    combo->OnMouseLeave();
    EXPECT_EQ(look(), 4);
    combo->ShowDropDown(false);
    EXPECT_EQ(look(), 0);
    combo->SetEnabled(false);
    EXPECT_EQ(look(), 6);
}

TEST_F(ComboSliderTest, WithoutItsPanelItOpensNothing)
{
    const RCPtr<LComboSlider> bare = scene.Find<LComboSlider>(u"bare");
    ASSERT_TRUE(bare);
    EXPECT_FALSE(bare->GetDropDownPanel());
    EXPECT_EQ(bare->ShowDropDown(true), kFail);
    EXPECT_FALSE(bare->IsDropDownShown());
    Press(*bare, 5, 5);
    Release(*bare, 5, 5);
    EXPECT_FALSE(bare->IsDropDownShown());
    bare->SetValueScaling(0.0, 127.0, 0);
    bare->SetValue(1.0);
    EXPECT_EQ(bare->GetText(), u"127");

    RCPtr<LComboSlider> made(new LComboSlider(scene.main, String(u"made")));
    EXPECT_EQ(made->Initialize(), kOk);
    made->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
