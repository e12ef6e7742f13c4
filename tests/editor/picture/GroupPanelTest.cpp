// The picture's groups in the real tree over the real engine: the main control's id pass
// numbers every view panel through the groups, a click opens the family's edit panel on
// that control, its edits reach the model and the picture follows the model's echo.

#include "editor/edit/MoveableControlEditPanel.h"
#include "editor/picture/EncoderGroupPanel.h"
#include "editor/picture/FaderGroupPanel.h"
#include "editor/picture/GroupsFixture.h"
#include "editor/picture/WheelGroupPanel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Groups;
using KR::TestSupport::InProcessEditor;
using Bytes = std::vector<int>;

TEST_F(Groups, TheIdPassNumbersEveryMemberAndTheModelFillsItsReadOut)
{
    const struct
    {
        Numbered numbered;
        const char* channel;
    } cases[] = {
        {{"encoders/encoderBank1/encoder3", 99, 2, "encoderNameLabel", "E3", "CC:\n42"}, "CH:G"},
        {{"encoders/encoderBank4/encoder8", 128, 31, "encoderNameLabel", "E8", nullptr}, "CH:G"},
        {{"faders/faderBank1/fader1", 61, 0, "faderNumberLabel", "F1", "CC:\n0"}, "CH:G"},
        {{"faders/faderBank2/fader9", 78, 17, "faderNumberLabel", "F9", nullptr}, "CH:G"},
        {{"wheels/pitchWheel", 5, 0, nullptr, nullptr, "PITCH\nBEND"}, "CH:G"},
        {{"wheels/modWheel", 6, 1, nullptr, nullptr, "CC:\n0"}, "CH:G"},
    };
    for (const auto& c : cases)
    {
        ExpectNumbered(c.numbered);
        EXPECT_EQ(Text(std::string(c.numbered.panel) + "/viewPanel/midiChannel/label"), c.channel)
            << c.numbered.panel;
    }
    // The id pass used up the counted accessor calls: with an edit panel bound to encoder
    // 1, the model now finds the edit panel for it, the view panels for the others.
    auto* encoders = editor.Find<LEncoderGroupPanel>("viewDevice/encoders");
    ASSERT_TRUE(encoders && encoders->GetEditPanel());
    Click("encoders/encoderBank1/encoder1/button");
    EXPECT_EQ(encoders->GetModuleForParamID(97).Get(),
              static_cast<LParameterizedModule*>(encoders->GetEditPanel().Get()));
    EXPECT_EQ(encoders->GetModuleForParamID(98).Get(),
              static_cast<LParameterizedModule*>(encoders->GetViewPanel(1).Get()));
    EXPECT_FALSE(encoders->GetEncoder(32));
    EXPECT_FALSE(encoders->GetEncoder(-1));
}

TEST_F(Groups, AClickOpensTheFamilysEditPanelOnThatControl)
{
    auto* encoders = editor.Find<LEncoderGroupPanel>("viewDevice/encoders");
    auto* faders = editor.Find<LFaderGroupPanel>("viewDevice/faders");
    auto* wheels = editor.Find<LWheelGroupPanel>("viewDevice/wheels");
    ASSERT_TRUE(encoders && faders && wheels);
    const struct
    {
        const char* bank; // clicked first, when given
        const char* control;
        const char* shown;
        const char* name; // the edit panel's label and its text
        const char* nameText;
        const char* bankText;
        std::int32_t id;
        std::int32_t index;
    } cases[] = {
        {"groupBankPanel/bank2", "encoders/encoderBank2/encoder3/button", "knobEditPanel", "knobName",
         "ENCODER 3", "BANK 2", 107, 10},
        {nullptr, "encoders/encoderBank2/encoder3/button", "knobEditPanel", "knobName", "ENCODER 3", "BANK 2",
         107, 10},
        {"groupBankPanel/bank3", "faders/faderBank3/fader4/button", "faderEditPanel", "faderName", "FADER 4",
         "BANK 3", 82, 21},
        {nullptr, "wheels/modWheel/button", "wheelEditPanel", "wheelName", "M. WHEEL", nullptr, 6, 1},
        {nullptr, "wheels/pitchWheel/button", "wheelEditPanel", "wheelName", "P. WHEEL", nullptr, 5, 0},
    };
    for (const auto& c : cases)
    {
        if (c.bank)
        {
            Click(c.bank);
        }
        Click(c.control);
        editor.Idle();
        EXPECT_EQ(Shown(), std::vector<std::string>{c.shown}) << c.control;
        auto* panel = dynamic_cast<LParameterizedModule*>(At(c.shown));
        EXPECT_EQ(panel->GetFirstParamID(), c.id) << c.control;
        EXPECT_EQ(panel->GetIndex(), c.index) << c.control;
        EXPECT_EQ(panel->GetParent(),
                  KR::RCPtr<LParameterizedModule>(dynamic_cast<LParameterizedModule*>(
                      At(std::string(c.control).substr(0, std::string(c.control).find('/'))))))
            << "the group is the edit panel's parent";
        EXPECT_EQ(Text(std::string(c.shown) + "/" + c.name), c.nameText) << c.control;
        if (c.bankText)
        {
            EXPECT_EQ(Text(std::string(c.shown) + "/bankName"), c.bankText) << c.control;
        }
        // Exactly the clicked control is marked, in every group; the others hold 0.0.
        std::uint32_t cleared = 0;
        const std::string group = std::string(c.control).substr(0, std::string(c.control).find('/'));
        const auto encoderMarks = Marked(*encoders, cleared);
        EXPECT_EQ(cleared + encoderMarks.size(), 32u);
        const auto faderMarks = Marked(*faders, cleared);
        EXPECT_EQ(cleared + faderMarks.size(), 36u);
        const auto wheelMarks = Marked(*wheels, cleared);
        const std::vector<std::uint32_t> own{static_cast<std::uint32_t>(c.index)};
        EXPECT_EQ(encoderMarks, group == "encoders" ? own : std::vector<std::uint32_t>{}) << c.control;
        EXPECT_EQ(faderMarks, group == "faders" ? own : std::vector<std::uint32_t>{}) << c.control;
        EXPECT_EQ(wheelMarks, group == "wheels" ? own : std::vector<std::uint32_t>{}) << c.control;
    }
}

TEST_F(Groups, AnEditReachesTheModelAndThePictureFollowsItsEcho)
{
    Click("groupBankPanel/bank2");
    Click("encoders/encoderBank2/encoder3/button");
    editor.Idle();
    const std::string page = "knobEditPanel/moveableTypePanel/tabControl/pageHolder/ccAbsolutePage/";
    auto* cc = editor.Find<KR::LNumericUpDown>("viewDevice/" + page + "cc/ccSelector/numericUpDown");
    auto* max = editor.Find<KR::LNumericUpDown>("viewDevice/" + page + "minMaxSelectors/max/numericUpDown");
    ASSERT_TRUE(cc && max);
    EXPECT_EQ(InProcessEditor::Number(*cc), 50);

    const Bytes before = engine.DataBytes();
    ASSERT_EQ(before.size(), 1338u);
    InProcessEditor::Enter(max, u"100");
    editor.Idle();
    Bytes after = engine.DataBytes();
    EXPECT_EQ(Bytes(after.begin() + 1176, after.begin() + 1182), (Bytes{0x00, 0x00, 0x32, 0x00, 0x00, 0x64}));
    std::copy(before.begin() + 1176, before.begin() + 1182, after.begin() + 1176);
    EXPECT_EQ(after, before) << "nothing else changed";

    InProcessEditor::Enter(cc, u"60");
    editor.Idle();
    EXPECT_EQ(Text("encoders/encoderBank2/encoder3/viewPanel/infoLabel"), "CC:\n60");
    EXPECT_EQ(Text("encoders/encoderBank2/encoder2/viewPanel/infoLabel"), "CC:\n49")
        << "its neighbour keeps its own";
}

TEST_F(Groups, HidingAnEditPanelClearsItsGroupsMarks)
{
    auto* faders = editor.Find<LFaderGroupPanel>("viewDevice/faders");
    auto* encoders = editor.Find<LEncoderGroupPanel>("viewDevice/encoders");
    ASSERT_TRUE(faders && encoders);
    KR::LControl* faderEditPanel = At("faderEditPanel");
    // Before any fader click the fader group does not listen to its edit panel.
    KR::LControl* mark = At("faders/faderBank1/fader2/button");
    mark->SetValue(1.0);
    faderEditPanel->SetVisible(true);
    faderEditPanel->SetVisible(false);
    EXPECT_EQ(mark->GetValue(), 1.0);

    const std::int32_t listeners = faderEditPanel->KR::LNotificationDistributor::GetRegistrationCount();
    Click("faders/faderBank1/fader4/button");
    EXPECT_EQ(faderEditPanel->KR::LNotificationDistributor::GetRegistrationCount(), listeners + 1)
        << "the group listens from its first click";
    Click("faders/faderBank1/fader4/button");
    EXPECT_EQ(faderEditPanel->KR::LNotificationDistributor::GetRegistrationCount(), listeners + 1)
        << "and once only";
    std::uint32_t cleared = 0;
    EXPECT_EQ(Marked(*faders, cleared), std::vector<std::uint32_t>{3});
    Click("encoders/encoderBank1/encoder1/button");
    EXPECT_TRUE(Marked(*faders, cleared).empty());
    EXPECT_EQ(cleared, 36u);
    EXPECT_EQ(Marked(*encoders, cleared), std::vector<std::uint32_t>{0});
    // Showing an edit panel clears nothing.
    At("knobEditPanel")->SetVisible(false);
    At("knobEditPanel")->SetVisible(true);
    EXPECT_TRUE(Marked(*encoders, cleared).empty()) << "hidden once, cleared";
}

TEST_F(Groups, APresetLoadedWhileAControlIsEditedReachesItsEditPanelAndItsPicture)
{
    Click("groupBankPanel/bank2");
    Click("encoders/encoderBank2/encoder3/button");
    editor.Idle();
    const Bytes block{0x05, 0x01, 0x06, 0x00, 0x05, 0x01};
    const Bytes wheel{0x02, 0x00, 0x0B, 0x00, 0x7F};
    ASSERT_EQ(engine.SetAsLoaded(107, block), KR::kOk);
    ASSERT_EQ(engine.SetAsLoaded(6, wheel), KR::kOk);
    editor.Idle();
    EXPECT_EQ(Text("encoders/encoderBank2/encoder3/viewPanel/infoLabel"), "NRPN:\n133");
    EXPECT_EQ(Text("encoders/encoderBank2/encoder3/viewPanel/midiChannel/label"), "CH:5");
    EXPECT_EQ(Text("wheels/modWheel/viewPanel/infoLabel"), "CC:\n11");
    auto* shown = editor.Find<LMoveableControlEditPanel>("viewDevice/knobEditPanel/moveableTypePanel");
    ASSERT_TRUE(shown);
    EXPECT_EQ(std::string(shown->GetTypeTabControl()->GetSelectedName().ToUtf8().GetPtr()), "nrpnRpnPage");
    EXPECT_EQ(engine.Bytes(107), block) << "showing it wrote nothing back";
    EXPECT_EQ(engine.Bytes(6), wheel);
}

} // namespace
