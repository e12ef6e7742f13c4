// The numeric up/down: typed numbers clamped and shown again, the allowed characters, the
// arrows held and pressed from the keyboard, and skins that leave parts out.

#include "kr/controls/NumericUpDown.h"
#include "ControlsTestSupport.h"
#include "SliderTestSupport.h"
#include "kr/controls/Button.h"
#include "kr/controls/TextBox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;

std::string Parts(const char* parts)
{
    std::string skin =
        R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.NumericUpDown" Name="upDown" XSizeAbs="80" YSizeAbs="20"><Skin Name="upDown">)";
    if (std::string(parts).find('t') != std::string::npos)
    {
        skin +=
            R"(<SubControl Class="Framework.TextBox" Name="textBox" XSizeAbs="60" YSizeAbs="20"><Skin Name="t" LookList="b14"/></SubControl>)";
    }
    if (std::string(parts).find('u') != std::string::npos)
    {
        skin +=
            R"(<SubControl Class="Framework.Button" Name="buttonUp" XPositionAbs="60" XSizeAbs="20" YSizeAbs="10"><Skin Name="u" LookList="b14"/></SubControl>)";
    }
    if (std::string(parts).find('d') != std::string::npos)
    {
        skin +=
            R"(<SubControl Class="Framework.Button" Name="buttonDown" XPositionAbs="60" YPositionAbs="10" XSizeAbs="20" YSizeAbs="10"><Skin Name="d" LookList="b14"/></SubControl>)";
    }
    return skin + "</Skin></SubControl></Skin></SubControl>";
}

using SliderTest::Key;

constexpr std::uint32_t kEnter = 0x200D0000;
constexpr std::uint32_t kShiftUp = 0x22260000;

struct UpDownScene
{
    explicit UpDownScene(const char* parts) : scene(Parts(parts))
    {
        recorder->Listen(RCPtr<LControl>(upDown), {u"NID_VALUE_CHANGE", u"NID_TEXTBOX_VALIDATED"});
        recorder->Listen(scene.main, {u"NID_SIBLING_KEY"});
    }
    std::string Text() const { return upDown->GetTextBox()->GetText().ToUtf8().GetPtr(); }
    double Scaled() const { return upDown->InterpolateValue(upDown->GetValue()); }
    // Types the text into the field and confirms it with Enter.
    void Enter(const char16_t* text)
    {
        upDown->GetTextBox()->SetText(String(text), false);
        upDown->GetTextBox()->OnKey(Key(kEnter));
    }
    int Count(const char* name) const
    {
        int count = 0;
        for (const std::string& entry : recorder->received)
        {
            count += entry == name ? 1 : 0;
        }
        return count;
    }

    Scene scene;
    RCPtr<LNumericUpDown> upDown = scene.Find<LNumericUpDown>(u"upDown");
    RCPtr<Recorder> recorder = Recorder::Create();
};

TEST(NumericUpDown, TypedNumbersAreClampedAndShownInTheFieldsFormat)
{
    UpDownScene s("tud");
    ASSERT_TRUE(s.upDown && s.upDown->GetTextBox());
    ASSERT_EQ(s.upDown->SetValueScaling(0.0, 127.0, 0), kOk);
    EXPECT_EQ(s.Text(), "0");
    const struct
    {
        const char* name;
        double before; // scaled
        const char16_t* typed;
        std::string shown;
        double after;
        int valueChanges;
    } rows[] = {
        {"above the maximum", 5, u"200", "127", 127, 1},
        {"below the minimum reads as the minimum", 5, u"", "0", 0, 1},
        {"the same value inside the range stays as typed", 64, u"064", "064", 64, 0},
        {"the maximum typed with a leading zero", 127, u"0127", "127", 127, 0},
        {"a plain change", 3, u"42", "42", 42, 1},
    };
    for (const auto& row : rows)
    {
        s.upDown->SetValue(s.upDown->NormalizeValue(row.before));
        s.recorder->received.clear();
        s.Enter(row.typed);
        EXPECT_EQ(s.Text(), row.shown) << row.name;
        EXPECT_DOUBLE_EQ(s.Scaled(), row.after) << row.name;
        EXPECT_EQ(s.Count("upDown:NID_VALUE_CHANGE"), row.valueChanges) << row.name;
        EXPECT_EQ(s.Count("upDown:NID_TEXTBOX_VALIDATED"), 1) << row.name;
    }
    EXPECT_DOUBLE_EQ(s.upDown->GetValue(), s.upDown->NormalizeValue(42));
    s.Enter(u"200");
    EXPECT_EQ(s.upDown->GetValue(), 1.0);

    // The allowed characters follow the range and the decimals.
    const RCPtr<LTextBox> box = s.upDown->GetTextBox();
    EXPECT_FALSE(box->AcceptsCharacter(u'-'));
    EXPECT_FALSE(box->AcceptsCharacter(u'.'));
    EXPECT_TRUE(box->AcceptsCharacter(u'7'));
    EXPECT_EQ(s.upDown->SetValueScaling(0.0, 10.0, 1), kInvalidArg) << "a power law needs a minimum above 0";
    EXPECT_EQ(s.upDown->InterpolateValue(1.0), 127.0) << "a refused scaling changes nothing";
    ASSERT_EQ(s.upDown->SetValueScaling(-64.0, 63.0, 0), kOk);
    EXPECT_TRUE(box->AcceptsCharacter(u'-'));
    s.upDown->SetDecimals(2);
    EXPECT_TRUE(box->AcceptsCharacter(u'.'));
    s.upDown->SetValue(s.upDown->NormalizeValue(12.5));
    EXPECT_EQ(s.Text(), "12.50");
    EXPECT_TRUE(s.upDown->SetTextFromString(String(u"12.5"))) << "the same value: nothing changed";
    s.upDown->SetTextFromString(String(u"1.5"));
    EXPECT_NEAR(s.Scaled(), 1.5, 1e-9);
    EXPECT_EQ(s.Text(), "1.50");
    s.upDown->SetTextFromString(String(u"junk"));
    EXPECT_NEAR(s.Scaled(), 0.0, 1e-9) << "no number reads as 0";
}

TEST(NumericUpDown, TheArrowsRepeatWhileHeldAndTheArrowKeysPressThem)
{
    UpDownScene s("tud");
    s.upDown->SetValueScaling(0.0, 127.0, 0);
    s.upDown->SetValue(s.upDown->NormalizeValue(124));
    const RCPtr<LButton> up = s.upDown->GetUpButton();
    ASSERT_TRUE(up && s.upDown->GetDownButton());
    EXPECT_TRUE(up->autoRepeat && s.upDown->GetDownButton()->autoRepeat);
    EXPECT_TRUE(up->IsNotFocusable(false));
    EXPECT_FALSE(s.upDown->IsNotFocusable(false));

    // Held: one step at the press, one after 0.3 s, then every 0.1 s, none past the top.
    up->OnMouseEnter();
    Press(*up, 5, 5);
    std::vector<double> seen{s.Scaled()};
    for (int tick = 0; tick < 6; ++tick)
    {
        s.scene.Step(100);
        seen.push_back(s.Scaled());
    }
    Release(*up, 5, 5);
    for (double& v : seen)
    {
        v = std::round(v);
    }
    EXPECT_EQ(seen, (std::vector<double>{125, 125, 125, 126, 127, 127, 127}));
    EXPECT_EQ(s.upDown->GetValue(), 1.0);
    EXPECT_EQ(s.Text(), "127");

    // Keys the text box leaves: Up and Down press the arrows (the step comes when the
    // simulated press ends), Shift+Up goes on to the parent.
    const struct
    {
        const char* name;
        std::uint32_t code;
        double before;
        double after;
        bool toParent;
    } keys[] = {{"Down", LNumericUpDown::kDownKey, 127, 126, false},
                {"Up", LNumericUpDown::kUpKey, 126, 127, false},
                {"Shift+Up", kShiftUp, 127, 127, true}};
    for (const auto& key : keys)
    {
        s.recorder->received.clear();
        s.upDown->GetTextBox()->OnKey(Key(key.code));
        s.scene.Step(100);
        EXPECT_EQ(std::round(s.Scaled()), key.before)
            << key.name << ": no step before the simulated press ends";
        s.scene.Step(60);
        EXPECT_EQ(std::round(s.Scaled()), key.after) << key.name;
        EXPECT_EQ(s.Count("main:NID_SIBLING_KEY"), key.toParent ? 1 : 0) << key.name;
    }
}

TEST(NumericUpDown, UnregisteringFromAnArrowStopsItsSteps)
{
    UpDownScene s("tud");
    s.upDown->SetValueScaling(0.0, 10.0, 0);
    const RCPtr<LNotificationDistributor> up(s.upDown->GetUpButton());
    EXPECT_EQ(s.upDown->UnregisterForNotification(up, u"NID_BUTTON_AUTOREPEAT"), kOk);
    s.upDown->GetUpButton()->SendNotificationByName(u"NID_BUTTON_AUTOREPEAT");
    EXPECT_EQ(s.upDown->GetValue(), 0.0);
}

TEST(NumericUpDown, ASkinWithoutSomePartsStillWorks)
{
    const struct
    {
        const char* parts;
    } skins[] = {{"tu"}, {"ud"}, {"t"}};
    for (const auto& skin : skins)
    {
        UpDownScene s(skin.parts);
        ASSERT_TRUE(s.upDown) << skin.parts;
        s.upDown->SetValueScaling(0.0, 10.0, 0);
        s.upDown->SetValue(s.upDown->NormalizeValue(5));
        s.upDown->OnKeyDown(Key(LNumericUpDown::kUpKey));
        s.upDown->OnKeyDown(Key(LNumericUpDown::kDownKey));
        s.scene.Step(200);
        const bool hasUp = std::string(skin.parts).find('u') != std::string::npos;
        const bool hasDown = std::string(skin.parts).find('d') != std::string::npos;
        EXPECT_EQ(std::round(s.Scaled()), 5 + (hasUp ? 1 : 0) - (hasDown ? 1 : 0)) << skin.parts;
        if (s.upDown->GetTextBox())
        {
            EXPECT_EQ(s.Text(), std::to_string(5 + (hasUp ? 1 : 0) - (hasDown ? 1 : 0))) << skin.parts;
        }
    }
}

} // namespace
} // namespace KR
