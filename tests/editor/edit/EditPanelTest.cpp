// The encoder, fader, volume pedal and wheel edit panels in the real tree, bound as their
// group binds them, over the real engine: labels, the block shown, and every edit landing
// in the model as one block of the panel's parameter.

#include "editor/edit/EncoderEditPanel.h"
#include "editor/edit/FaderEditPanel.h"
#include "editor/edit/VolumePedalEditPanel.h"
#include "editor/edit/WheelEditPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;
using KR::TestSupport::LRecordingParentModule;
using KR::TestSupport::ReceivedValue;
using Bytes = std::vector<int>;

class EditPanels : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        ASSERT_TRUE(editor.MainControl());
    }
    template <typename T>
    T* Panel(const char* name)
    {
        return editor.ShownPanel<T>(name);
    }
    std::string Text(KR::LControl* panel, const char* child) const
    {
        return editor.Find(child, KR::RCPtr<KR::LControl>(panel))->GetText().ToUtf8().GetPtr();
    }
    KR::LNumericUpDown* Box(KR::LControl* panel, const char* path) const
    {
        return editor.Find<KR::LNumericUpDown>(std::string("moveableTypePanel/tabControl/pageHolder/") +
                                                   path + "/numericUpDown",
                                               KR::RCPtr<KR::LControl>(panel));
    }
    std::string Front(const LMoveableControlEditPanel& editor) const
    {
        return editor.GetTypeTabControl()->GetSelectedName().ToUtf8().GetPtr();
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    KR::RCPtr<LRecordingParentModule> parent{new LRecordingParentModule};
};

TEST_F(EditPanels, NamesFollowTheIndexInItsBank)
{
    auto* encoder = Panel<LEncoderEditPanel>("knobEditPanel");
    auto* fader = Panel<LFaderEditPanel>("faderEditPanel");
    auto* wheel = Panel<LWheelEditPanel>("wheelEditPanel");
    ASSERT_TRUE(encoder && fader && wheel);
    const struct
    {
        KR::LControl* panel;
        const char* nameLabel;
        std::int32_t index;
        const char* name; // the labels as they read afterwards
        const char* bank;
    } cases[] = {
        {encoder, "knobName", 10, "ENCODER 3", "BANK 2"}, {encoder, "knobName", 31, "ENCODER 8", "BANK 4"},
        {encoder, "knobName", 32, "ENCODER 8", "BANK 4"}, {fader, "faderName", 9, "FADER 1", "BANK 2"},
        {fader, "faderName", 35, "FADER 9", "BANK 4"},    {fader, "faderName", 36, "FADER 9", "BANK 4"},
        {wheel, "wheelName", 0, "P. WHEEL", nullptr},     {wheel, "wheelName", 1, "M. WHEEL", nullptr},
        {wheel, "wheelName", 2, "M. WHEEL", nullptr},
    };
    for (const auto& c : cases)
    {
        dynamic_cast<LParameterizedModule*>(c.panel)->SetFirstParamID(parent.Get(), 100, c.index);
        EXPECT_EQ(Text(c.panel, c.nameLabel), c.name) << c.index;
        if (c.bank)
        {
            EXPECT_EQ(Text(c.panel, "bankName"), c.bank) << c.index;
        }
    }
}

TEST_F(EditPanels, AnEncodersEditLandsInTheModelAsItsOneBlock)
{
    auto* encoder = Panel<LEncoderEditPanel>("knobEditPanel");
    ASSERT_TRUE(encoder);
    encoder->SetFirstParamID(parent.Get(), 107, 10);
    EXPECT_EQ(Text(encoder, "knobName"), "ENCODER 3");
    // The engine was asked for that one parameter.
    engine.center.Drain();
    const auto asked = engine.center.log->Payloads<LParamChangePair>(kNidParamModuleStateChange);
    ASSERT_EQ(asked.size(), 1u);
    ASSERT_TRUE(asked[0]);
    EXPECT_EQ(asked[0]->first.id, 107);
    // The answer went through the encoder group to the panel bound to its encoder.
    EXPECT_EQ(parent->received.size(), 1u);
    parent->received.clear();

    const auto before = engine.All();
    ASSERT_EQ(before[107], (Bytes{0x00, 0x00, 0x32, 0x00, 0x00, 0x7F}));
    ASSERT_EQ(encoder->SetParamValueLocal(KR::ParamDescriptor(107), engine.Value(107), true), KR::kOk);
    EXPECT_EQ(Front(*encoder->GetMoveableTypePanel()), "ccAbsolutePage");
    EXPECT_EQ(InProcessEditor::Number(*Box(encoder, "ccAbsolutePage/cc/ccSelector")), 50);
    EXPECT_EQ(engine.Writes(), 0) << "showing writes nothing";
    EXPECT_EQ(parent->received, (std::vector<ReceivedValue>{{107, before[107]}}))
        << "the picture shows it too";

    InProcessEditor::Enter(Box(encoder, "ccAbsolutePage/minMaxSelectors/max"), u"100");
    auto after = engine.All();
    EXPECT_EQ(after[107], (Bytes{0x00, 0x00, 0x32, 0x00, 0x00, 0x64}));
    after[107] = before[107];
    EXPECT_EQ(after, before) << "no other parameter changed";

    const int writes = engine.Writes();
    InProcessEditor::Enter(Box(encoder, "ccAbsolutePage/cc/ccSelector"), u"60");
    EXPECT_EQ(engine.Writes(), writes + 1);
    EXPECT_EQ(engine.Bytes(107), (Bytes{0x00, 0x00, 60, 0x00, 0x00, 0x64}));
}

TEST_F(EditPanels, AWheelsBlockIsFiveBytesWithoutTheRelativeFlag)
{
    auto* wheel = Panel<LWheelEditPanel>("wheelEditPanel");
    ASSERT_TRUE(wheel);
    wheel->SetFirstParamID(parent.Get(), 6, 1);
    EXPECT_EQ(Text(wheel, "wheelName"), "M. WHEEL");
    EXPECT_FALSE(
        editor
            .Find("moveableTypePanel/tabControl/buttonHolder/ccRelativePage", KR::RCPtr<KR::LControl>(wheel))
            ->IsShown(false));

    ASSERT_EQ(wheel->SetParamValueLocal(KR::ParamDescriptor(6),
                                        KR::TestSupport::Blob({0x02, 0x00, 0x01, 0x00, 0x7F}), true),
              KR::kOk);
    const LMoveableControlEditPanel& moveable = *wheel->GetMoveableTypePanel();
    EXPECT_EQ(Front(moveable), "ccAbsolutePage");
    EXPECT_EQ(InProcessEditor::Selected(*editor.Find<KR::LComboBox>(
                  "moveableTypePanel/tabControl/pageHolder/ccAbsolutePage/midiChannel/comboBox",
                  KR::RCPtr<KR::LControl>(wheel))),
              "Channel 2");
    EXPECT_EQ(InProcessEditor::Number(*Box(wheel, "ccAbsolutePage/cc/ccSelector")), 1);
    EXPECT_EQ(InProcessEditor::Number(*Box(wheel, "ccAbsolutePage/minMaxSelectors/min")), 0);
    EXPECT_EQ(InProcessEditor::Number(*Box(wheel, "ccAbsolutePage/minMaxSelectors/max")), 127);
    InProcessEditor::Enter(Box(wheel, "ccAbsolutePage/minMaxSelectors/max"), u"100");
    EXPECT_EQ(engine.Bytes(6), (Bytes{0x02, 0x00, 0x01, 0x00, 0x64}));
}

TEST_F(EditPanels, TheVolumePedalWritesItsOwnParameter)
{
    auto* pedal = Panel<LVolumePedalEditPanel>("volumePedalEditPanel");
    ASSERT_TRUE(pedal);
    pedal->SetFirstParamID(parent.Get(), 7, 0);
    ASSERT_EQ(pedal->SetParamValueLocal(KR::ParamDescriptor(7), engine.Value(7), true), KR::kOk);
    EXPECT_EQ(InProcessEditor::Number(*Box(pedal, "ccAbsolutePage/cc/ccSelector")), 7);
    const auto before = engine.All();
    InProcessEditor::Enter(Box(pedal, "ccAbsolutePage/cc/ccSelector"), u"11");
    EXPECT_EQ(engine.Writes(), 1);
    auto after = engine.All();
    EXPECT_EQ(after[7][2], 11);
    after[7] = before[7];
    EXPECT_EQ(after, before) << "only its own parameter";
}

TEST_F(EditPanels, ValuesOfAnotherParameterOrLengthAreRefusedAndShowNothing)
{
    auto* encoder = Panel<LEncoderEditPanel>("knobEditPanel");
    auto* wheel = Panel<LWheelEditPanel>("wheelEditPanel");
    ASSERT_TRUE(encoder && wheel);
    encoder->SetFirstParamID(parent.Get(), 107, 10);
    wheel->SetFirstParamID(parent.Get(), 6, 1);
    const struct
    {
        LParameterizedModule* panel;
        LMoveableControlEditPanel* moveable;
        std::int32_t id;
        Bytes value;
    } cases[] = {
        {encoder, encoder->GetMoveableTypePanel().Get(), 108, {0x03, 0x01, 0x06, 0x00, 0x05, 0x02}},
        {encoder, encoder->GetMoveableTypePanel().Get(), 107, {0x03, 0x01, 0x06, 0x00, 0x05}},
        {wheel, wheel->GetMoveableTypePanel().Get(), 6, {0x03, 0x01, 0x06, 0x00, 0x05, 0x02}},
    };
    for (const auto& c : cases)
    {
        const KR::Array<signed char> shown = c.moveable->BuildMoveableBlock();
        EXPECT_EQ(
            c.panel->SetParamValueLocal(KR::ParamDescriptor(c.id), KR::TestSupport::Blob(c.value), true),
            KR::kFail);
        const KR::Array<signed char> after = c.moveable->BuildMoveableBlock();
        EXPECT_TRUE(after.GetCount() == shown.GetCount() && std::equal(&after[0], &after[0] + 6, &shown[0]));
    }
    EXPECT_TRUE(parent->received.empty());
}

TEST_F(EditPanels, AnUnboundPanelHandsNothingOn)
{
    // Unbound, its id would be the preset name's.
    auto* fader = Panel<LFaderEditPanel>("faderEditPanel");
    ASSERT_TRUE(fader);
    fader->GetMoveableTypePanel()->ShowMoveableBlock(KR::Array<signed char>{0, 0, 7, 0, 0, 127});
    const auto before = engine.All();
    InProcessEditor::Enter(Box(fader, "ccAbsolutePage/cc/ccSelector"), u"9");
    EXPECT_EQ(engine.Writes(), 0);
    EXPECT_EQ(engine.All(), before);

    // Bound, it writes once fader 1's own block is on it: before, it shows another's.
    fader->SetFirstParamID(parent.Get(), 61, 0);
    InProcessEditor::Enter(Box(fader, "ccAbsolutePage/cc/ccSelector"), u"10");
    EXPECT_EQ(engine.Writes(), 0);
    ASSERT_EQ(fader->SetParamValueLocal(KR::ParamDescriptor(61), engine.Value(61), true), KR::kOk);
    InProcessEditor::Enter(Box(fader, "ccAbsolutePage/cc/ccSelector"), u"10");
    EXPECT_EQ(engine.Writes(), 1);
    EXPECT_EQ(engine.Bytes(61)[2], 10);
}

} // namespace
