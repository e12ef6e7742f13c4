// The push-button, pad and pedal groups in the real tree over the real engine: numbers and
// read-outs after start-up, clicks that open the edit panels, the pad's binding before its
// panel shows, the pedals' two edit panels, and a preset loaded while panels are open.

#include "editor/edit/ButtonControlEditPanel.h"
#include "editor/edit/SustainEditPanel.h"
#include "editor/picture/ButtonGroupPanel.h"
#include "editor/picture/GroupsFixture.h"
#include "editor/picture/PadGroupPanel.h"
#include "editor/picture/PedalGroupPanel.h"
#include "kr/controls/ComboBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Groups;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::LShownWithID;
using Bytes = std::vector<int>;

TEST_F(Groups, ButtonsPadsAndPedalsAreNumberedAndShowTheirBlocks)
{
    const Numbered cases[] = {
        {"pads/pad3", 11, 2, "padNumberLabel", "P3", "NT:\n38"},
        {"pads/pad16", 24, 15, "padNumberLabel", "P16", nullptr},
        {"buttons/buttonBank1/button1", 25, 0, "buttonNumberLabel", "B1", nullptr},
        {"buttons/buttonBank2/button5", 38, 13, "buttonNumberLabel", "B5", "NT:\n13"},
        {"buttons/buttonBank4/button9", 60, 35, "buttonNumberLabel", "B9", nullptr},
        {"pedals/volumePedal", 7, 0, nullptr, nullptr, "CC:\n7"},
        {"pedals/sustainPedal", 8, 0, nullptr, nullptr, "CC:\n64"},
    };
    for (const Numbered& c : cases)
    {
        ExpectNumbered(c);
    }
    for (int bank = 1; bank <= 4; ++bank)
    {
        for (int button = 1; button <= 9; ++button)
        {
            const std::string path =
                "buttons/buttonBank" + std::to_string(bank) + "/button" + std::to_string(button) + "/color";
            EXPECT_EQ(At(path)->GetActiveLookIndex(), 4) << path;
        }
    }
    for (int pad = 1; pad <= 16; ++pad)
    {
        EXPECT_EQ(At("pads/pad" + std::to_string(pad) + "/color")->GetActiveLookIndex(), 4) << pad;
    }
}

TEST_F(Groups, APadIsBoundBeforeItsPanelShowsAndTheOtherFamiliesAreCleared)
{
    auto* buttons = editor.Find<LButtonGroupPanel>("viewDevice/buttons");
    auto* pads = editor.Find<LPadGroupPanel>("viewDevice/pads");
    ASSERT_TRUE(buttons && pads);
    const KR::RCPtr<LShownWithID> padShown(new LShownWithID(At("padEditPanel")));
    const KR::RCPtr<LShownWithID> buttonShown(new LShownWithID(At("buttonEditPanel")));

    Click("groupBankPanel/bank2");
    Click("buttons/buttonBank2/button5/button");
    editor.Idle();
    EXPECT_EQ(Shown(), std::vector<std::string>{"buttonEditPanel"});
    EXPECT_EQ(buttonShown->ids, std::vector<std::int32_t>{0}) << "shown, then bound";
    EXPECT_EQ(buttons->GetEditPanel()->GetFirstParamID(), 38);
    std::uint32_t cleared = 0;
    EXPECT_EQ(Marked(*buttons, cleared), std::vector<std::uint32_t>{13});

    Click("pads/pad3/button");
    editor.Idle();
    EXPECT_EQ(Shown(), std::vector<std::string>{"padEditPanel"});
    EXPECT_EQ(padShown->ids, std::vector<std::int32_t>{11}) << "bound, then shown";
    EXPECT_EQ(pads->GetEditPanel()->GetIndex(), 2);
    EXPECT_EQ(Text("padEditPanel/padName"), "PAD 3");
    EXPECT_EQ(Marked(*pads, cleared), std::vector<std::uint32_t>{2});
    EXPECT_EQ(cleared, 15u);
    EXPECT_TRUE(Marked(*buttons, cleared).empty());
    EXPECT_EQ(cleared, 36u);

    // Latching writes the pad's kind byte; its read-out still names its note.
    const std::string note =
        "padEditPanel/viewTabControl/pageHolder/midiPage/tabControl/pageHolder/notePage/";
    Click(note + "latching/button");
    editor.Idle();
    EXPECT_EQ(engine.DataBytes()[98], 0x14);
    EXPECT_TRUE(At(note + "onOffSelectors")->IsShown(false));
    EXPECT_EQ(Text("pads/pad3/viewPanel/infoLabel"), "NT:\n38");
    padShown->UnregisterForAllNotifications();
    buttonShown->UnregisterForAllNotifications();
}

TEST_F(Groups, EachPedalOpensItsOwnEditPanel)
{
    auto* pedals = editor.Find<LPedalGroupPanel>("viewDevice/pedals");
    ASSERT_TRUE(pedals);
    KR::LControl* sustainMark = At("pedals/sustainPedal/button");
    KR::LControl* volumeMark = At("pedals/volumePedal/button");
    const struct
    {
        const char* pedal;
        const char* shown;
        std::int32_t id;
        double sustain;
        double volume;
    } cases[] = {
        {"pedals/sustainPedal/button", "sustainEditPage", 8, 1.0, 0.0},
        {"pedals/volumePedal/button", "volumePedalEditPanel", 7, 0.0, 1.0},
        {"pedals/sustainPedal/button", "sustainEditPage", 8, 1.0, 0.0},
    };
    for (const auto& c : cases)
    {
        Click(c.pedal);
        editor.Idle();
        EXPECT_EQ(Shown(), std::vector<std::string>{c.shown}) << c.pedal;
        auto* panel = dynamic_cast<LParameterizedModule*>(At(c.shown));
        EXPECT_EQ(panel->GetFirstParamID(), c.id);
        EXPECT_EQ(panel->GetParent().Get(), static_cast<LParameterizedModule*>(pedals));
        EXPECT_EQ(sustainMark->GetValue(), c.sustain) << c.pedal;
        EXPECT_EQ(volumeMark->GetValue(), c.volume) << c.pedal;
    }

    // The sustain pedal's MMC "Eject", written and echoed back onto the picture.
    auto* sustain = editor.Find<LSustainPedalEditPanel>("viewDevice/sustainEditPage");
    ASSERT_TRUE(sustain);
    sustain->GetButtonTypePanel()->GetTabControl()->SelectPage(KR::String(u"mmcPage"));
    InProcessEditor::Choose(
        editor.Find<KR::LComboBox>(
            "viewDevice/sustainEditPage/buttonTypePanel/tabControl/pageHolder/mmcPage/mmc/comboBox"),
        "Eject");
    editor.Idle();
    const Bytes data = engine.DataBytes();
    EXPECT_EQ(Bytes(data.begin() + 58, data.begin() + 64), (Bytes{0x00, 0x01, 0x15, 0x00, 0x0A, 0x00}));
    EXPECT_EQ(Text("pedals/sustainPedal/viewPanel/infoLabel"), "EJECT");

    // The shown panel alone decides what the group hands out, at every call.
    EXPECT_EQ(pedals->GetSustainPedal().Get(), static_cast<ISustainPedal*>(sustain));
    EXPECT_EQ(pedals->GetVolumePedal().Get(),
              static_cast<IVolumePedal*>(pedals->GetVolumePedalPanel().Get()));
    // Laid out 0 wide, as the skin could make it.
    const KR::RectD frame = sustain->GetFrame();
    KR::DockedPositionSpec left;
    left.reference = KR::kPositionToParent;
    left.absolute = frame.x;
    sustain->SetPlacement(0, left, KR::SizeSpec{KR::kSizeToSelf, KR::String(), 0.0f, 0.0});
    EXPECT_EQ(pedals->GetSustainPedal().Get(),
              static_cast<ISustainPedal*>(pedals->GetSustainPedalPanel().Get()));
    sustain->SetPlacement(0, left, KR::SizeSpec{KR::kSizeToSelf, KR::String(), 0.0f, frame.width});
    ASSERT_TRUE(sustain->IsShown(false));
    EXPECT_EQ(pedals->SetParamValue(KR::ParamDescriptor(9), KR::TestSupport::Blob({0, 1, 0x13, 0x3C, 0, 1})),
              KR::kFail);
    EXPECT_EQ(pedals->SetParamValue(KR::ParamDescriptor(8), KR::TestSupport::Blob({0, 1, 0x13, 0x3C, 0, 1})),
              KR::kOk);
    EXPECT_EQ(Text("pedals/sustainPedal/viewPanel/infoLabel"), "NT:\n60");

    // Both hidden: neither is marked.
    Click("encoders/encoderBank1/encoder1/button");
    EXPECT_EQ(sustainMark->GetValue(), 0.0);
    EXPECT_EQ(volumeMark->GetValue(), 0.0);
}

TEST_F(Groups, APresetLoadedWhilePanelsAreBoundShowsExactlyTheLoadedBlocks)
{
    // The button edit panel stays bound to button 5 of bank 2 while the pad's is shown.
    Click("groupBankPanel/bank2");
    Click("buttons/buttonBank2/button5/button");
    Click("pads/pad3/button");
    editor.Idle();
    const Bytes pad{0x03, 0x09, 0x02, 0x0A, 0x0C, 0x01, 0x11, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    const Bytes button{0x05, 0x01, 0x02, 0x03, 0x06, 0x00, 0x07, 0x00, 0x00,
                       0x00, 0x00, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x00};
    ASSERT_EQ(engine.SetAsLoaded(11, pad), KR::kOk);
    ASSERT_EQ(engine.SetAsLoaded(38, button), KR::kOk);
    editor.Idle();
    EXPECT_EQ(Text("pads/pad3/viewPanel/infoLabel"), "PG:\n42");
    EXPECT_EQ(Text("pads/pad3/viewPanel/midiChannel/label"), "CH:3");
    EXPECT_EQ(At("pads/pad3/color")->GetActiveLookIndex(), 9);
    EXPECT_EQ(Text("buttons/buttonBank2/button5/viewPanel/infoLabel"), "CC:\n7");
    EXPECT_EQ(Text("buttons/buttonBank2/button5/viewPanel/midiChannel/label"), "CH:5");
    const auto front = [this](const char* panel)
    {
        auto* modes = editor.Find<LButtonControlEditPanel>(std::string("viewDevice/") + panel);
        return modes ? std::string(modes->GetTabControl()->GetSelectedName().ToUtf8().GetPtr()) : "";
    };
    EXPECT_EQ(front("padEditPanel/viewTabControl/pageHolder/midiPage"), "programPage");
    EXPECT_EQ(front("buttonEditPanel/viewTabControl/pageHolder/midiPage"), "ccAbsolutePage");
    EXPECT_EQ(engine.Bytes(11), pad) << "the model keeps what was loaded";
    EXPECT_EQ(engine.Bytes(38), button);
}

} // namespace
