// The push-button, pad and sustain pedal edit panels in the real tree over the real
// engine, bound as their groups bind them: labels, the block shown on the pages, and every
// change landing in the model as the control's whole block at its place among the
// preset's data bytes.

#include "editor/edit/ButtonEditPanel.h"
#include "editor/edit/PadEditPanel.h"
#include "editor/edit/SustainEditPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "kr/ui/TabControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Blob;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::LRecordingParentModule;
using KR::TestSupport::ReceivedValue;
using Bytes = std::vector<int>;

// Where blocks stand among the preset's data bytes.
constexpr int kSustainAt = 58;
constexpr int kPadsAt = 64;
constexpr int kButtonsAt = 288;

class ButtonRecordPanels : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(editor.loaded, KR::kOk); }
    template <typename T>
    T* Panel(const char* name)
    {
        return editor.ShownPanel<T>(name);
    }
    template <typename T = KR::LControl>
    T* At(KR::LControl* from, const std::string& path) const
    {
        T* found = editor.Find<T>(path, KR::RCPtr<KR::LControl>(from));
        EXPECT_TRUE(found) << path;
        return found;
    }
    std::string Text(KR::LControl* from, const std::string& path) const
    {
        KR::LControl* control = At(from, path);
        return control ? control->GetText().ToUtf8().GetPtr() : "";
    }
    std::string Selected(KR::LControl* from, const std::string& path) const
    {
        KR::LComboBox* list = At<KR::LComboBox>(from, path);
        return list ? InProcessEditor::Selected(*list) : "?";
    }
    int Number(KR::LControl* from, const std::string& path) const
    {
        KR::LNumericUpDown* box = At<KR::LNumericUpDown>(from, path);
        return box ? InProcessEditor::Number(*box) : -1;
    }
    static std::string Front(const LButtonControlEditPanel& editor)
    {
        return editor.GetTabControl()->GetSelectedName().ToUtf8().GetPtr();
    }
    Bytes Data(int from, int count) const
    {
        const Bytes data = engine.DataBytes();
        return Bytes(data.begin() + from, data.begin() + from + count);
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    KR::RCPtr<LRecordingParentModule> parent{new LRecordingParentModule};
};

TEST_F(ButtonRecordPanels, APushButtonsBlockSpreadsOverItsThreePagesAndEveryChangeWritesItWhole)
{
    auto* panel = Panel<LButtonEditPanel>("buttonEditPanel");
    ASSERT_TRUE(panel);
    panel->SetFirstParamID(parent.Get(), 38, 13);
    EXPECT_EQ(Text(panel, "buttonName"), "BUTTON 5");
    EXPECT_EQ(Text(panel, "bankName"), "BANK 2");
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(38), engine.Value(38), true), KR::kOk);
    EXPECT_EQ(parent->received, (std::vector<ReceivedValue>{{38, engine.Bytes(38)}}))
        << "the picture shows it";

    const std::string midi = "viewTabControl/pageHolder/midiPage/tabControl/pageHolder/";
    const std::string colors = "viewTabControl/pageHolder/colorPage/";
    const std::string hid = "viewTabControl/pageHolder/asciiPage/";
    EXPECT_EQ(Front(*panel->GetButtonTypePanel()), "notePage");
    EXPECT_EQ(Number(panel, midi + "notePage/note/noteSelector/numericUpDown"), 13);
    EXPECT_EQ(At(panel, midi + "notePage/latching/button")->GetValue(), 0.0);
    const struct
    {
        const char* path;
        const char* shown;
    } lists[] = {
        {"color1/comboBox", "Magenta"}, {"color2/comboBox", "Blue"},    {"color3/comboBox", "White"},
        {"color4/comboBox", "Red"},     {"asciiColor/comboBox", "Off"},
    };
    for (const auto& list : lists)
    {
        EXPECT_EQ(Selected(panel, colors + list.path), list.shown) << list.path;
    }
    EXPECT_EQ(Selected(panel, hid + "key/comboBox"), "0");
    EXPECT_EQ(Selected(panel, hid + "modifierKey/comboBox"), "None");
    const struct
    {
        const char* selector;
        const char* label;
    } labels[] = {{"color1", "COLOR 1"},
                  {"color2", "COLOR 2"},
                  {"color3", "COLOR 3"},
                  {"color4", "COLOR 4"},
                  {"asciiColor", "HID COLOR"}};
    for (const auto& label : labels)
    {
        EXPECT_EQ(Text(panel, colors + label.selector + "/colorNameLabel"), label.label);
    }

    // Each choice writes the whole block from the state of all three pages.
    const int at = kButtonsAt + 13 * 17;
    const Bytes before = engine.DataBytes();
    const struct
    {
        std::string list;
        const char* item;
        int byte; // offset in the block
        int written;
    } choices[] = {
        {hid + "key/comboBox", "Num 0", 15, 0x55},
        {hid + "key/comboBox", "Off", 15, 0x57},
        {hid + "modifierKey/comboBox", "Cmd + Option (Mac)", 16, 0x17},
        {colors + "color2/comboBox", "Green", 2, 0x01},
    };
    for (const auto& choice : choices)
    {
        editor.Choose(At<KR::LComboBox>(panel, choice.list), choice.item);
        EXPECT_EQ(engine.DataBytes()[at + choice.byte], choice.written) << choice.item;
    }
    EXPECT_EQ(Data(at, 17), (Bytes{0x00, 0x04, 0x01, 0x07, 0x05, 0x01, 0x13, 0x0D, 0x00, 0x00, 0x00, 0x00,
                                   0x00, 0x7F, 0x00, 0x57, 0x17}));
    Bytes after = engine.DataBytes();
    std::copy(before.begin() + at, before.begin() + at + 17, after.begin() + at);
    EXPECT_EQ(after, before) << "no other byte of the preset changed";

    // The label of the button index, in its bank.
    const struct
    {
        std::int32_t index;
        const char* button;
        const char* bank;
    } indices[] = {{35, "BUTTON 9", "BANK 4"}, {9, "BUTTON 1", "BANK 2"}, {36, "BUTTON 1", "BANK 2"}};
    for (const auto& index : indices)
    {
        panel->SetButtonLabelText(index.index);
        EXPECT_EQ(Text(panel, "buttonName"), index.button) << index.index;
        EXPECT_EQ(Text(panel, "bankName"), index.bank) << index.index;
    }
}

TEST_F(ButtonRecordPanels, ABytePastItsListIsBuiltBackAndWrongBlocksAreRefused)
{
    auto* button = Panel<LButtonEditPanel>("buttonEditPanel");
    auto* pad = Panel<LPadEditPanel>("padEditPanel");
    auto* sustain = Panel<LSustainPedalEditPanel>("sustainEditPage");
    ASSERT_TRUE(button && pad && sustain);
    button->SetFirstParamID(parent.Get(), 38, 13);
    pad->SetFirstParamID(parent.Get(), 11, 2);
    sustain->SetFirstParamID(parent.Get(), 8, 0);

    // A colour of 8 and a key of 86 have no item: the lists stay empty and build them back.
    Bytes block = engine.Bytes(38);
    block[1] = 8;
    block[15] = 86;
    ASSERT_EQ(button->SetParamValueLocal(KR::ParamDescriptor(38), Blob(block), true), KR::kOk);
    const std::string colors = "viewTabControl/pageHolder/colorPage/";
    const std::string hid = "viewTabControl/pageHolder/asciiPage/";
    EXPECT_EQ(Selected(button, colors + "color1/comboBox"), "");
    EXPECT_EQ(Selected(button, hid + "key/comboBox"), "");
    editor.Choose(At<KR::LComboBox>(button, hid + "modifierKey/comboBox"), "Shift (Mac)");
    block[16] = 14;
    EXPECT_EQ(engine.Bytes(38), block);

    Bytes padBlock = engine.Bytes(11);
    padBlock[1] = 13;
    padBlock[2] = 14;
    ASSERT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(11), Blob(padBlock), true), KR::kOk);
    EXPECT_EQ(Selected(pad, colors + "color1/comboBox"), "White");
    EXPECT_EQ(Selected(pad, colors + "color2/comboBox"), "");
    editor.Choose(At<KR::LComboBox>(pad, colors + "color3/comboBox"), "Off");
    padBlock[3] = 0;
    EXPECT_EQ(engine.Bytes(11), padBlock);

    parent->received.clear();
    const Bytes model = engine.DataBytes();
    const struct
    {
        LParameterizedModule* panel;
        std::int32_t id;
        std::size_t size;
    } refused[] = {
        {button, 38, 16}, {button, 38, 14}, {button, 39, 17}, {pad, 11, 17},
        {pad, 12, 14},    {sustain, 8, 10}, {sustain, 7, 6},
    };
    for (const auto& c : refused)
    {
        EXPECT_EQ(c.panel->SetParamValueLocal(KR::ParamDescriptor(c.id), Blob(Bytes(c.size, 1)), true),
                  KR::kFail)
            << c.id << " " << c.size;
    }
    EXPECT_TRUE(parent->received.empty()) << "nothing refused reaches the picture";
    EXPECT_EQ(engine.DataBytes(), model);
}

TEST_F(ButtonRecordPanels, APadShowsItsColoursAndTheLatchingRuleOfItsNotes)
{
    auto* pad = Panel<LPadEditPanel>("padEditPanel");
    ASSERT_TRUE(pad);
    pad->SetFirstParamID(parent.Get(), 11, 2);
    EXPECT_EQ(Text(pad, "padName"), "PAD 3");
    EXPECT_EQ(pad->SetPadLabelText(16), KR::kFail);
    EXPECT_EQ(Text(pad, "padName"), "PAD 3");
    ASSERT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(11), engine.Value(11), true), KR::kOk);

    const std::string note = "viewTabControl/pageHolder/midiPage/tabControl/pageHolder/notePage/";
    const std::string colors = "viewTabControl/pageHolder/colorPage/";
    EXPECT_EQ(Number(pad, note + "note/noteSelector/numericUpDown"), 38);
    EXPECT_EQ(Text(pad, note + "note/noteSelector/noteNameLabel"), "D");
    EXPECT_EQ(Text(pad, note + "note/noteSelector/octaveNameLabel"), "(2)");
    EXPECT_FALSE(At(pad, note + "onOffSelectors")->IsShown(false));
    const char* shown[] = {"Cyan", "Aquamarine", "Violet", "Azure"};
    for (int n = 1; n <= 4; ++n)
    {
        const std::string selector = colors + "color" + std::to_string(n);
        EXPECT_EQ(Selected(pad, selector + "/comboBox"), shown[n - 1]);
        EXPECT_EQ(Text(pad, selector + "/colorNameLabel"), "COLOR " + std::to_string(n));
    }

    editor.Click(At(pad, note + "latching/button"));
    EXPECT_EQ(engine.DataBytes()[kPadsAt + 2 * 14 + 6], 0x14);
    EXPECT_TRUE(At(pad, note + "onOffSelectors")->IsShown(false)) << "the click itself shows the pair";
    ASSERT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(11), engine.Value(11), true), KR::kOk);
    EXPECT_TRUE(At(pad, note + "onOffSelectors")->IsShown(false));
}

TEST_F(ButtonRecordPanels, TheSustainPedalKeepsSixBytesOfTheRecord)
{
    auto* pedal = Panel<LSustainPedalEditPanel>("sustainEditPage");
    ASSERT_TRUE(pedal);
    pedal->SetFirstParamID(parent.Get(), 8, 0);
    ASSERT_EQ(pedal->SetParamValueLocal(KR::ParamDescriptor(8), engine.Value(8), true), KR::kOk);
    const LButtonControlEditPanel& modes = *pedal->GetButtonTypePanel();
    const std::string pages = "buttonTypePanel/tabControl/pageHolder/";
    EXPECT_EQ(Front(modes), "ccAbsolutePage");
    for (const char* page : {"ccAbsolutePage", "ccIncDecPage", "ccCyclePage"})
    {
        EXPECT_EQ(Number(pedal, pages + page + "/cc/ccSelector/numericUpDown"), 64) << page;
    }
    EXPECT_EQ(Number(pedal, pages + "ccAbsolutePage/pressedReleasedSelectors/pressed/numericUpDown"), 127);
    EXPECT_EQ(Number(pedal, pages + "ccAbsolutePage/pressedReleasedSelectors/released/numericUpDown"), 0);

    // Pages set as a user sets them, and the six bytes each writes.
    const struct
    {
        const char* page;
        std::function<void()> edit;
        Bytes written;
    } edits[] = {
        {"ccCyclePage",
         [&]
         {
             editor.Choose(At<KR::LComboBox>(pedal, pages + "ccCyclePage/cycleType/comboBox"), "4 Values");
             // The field the cycle type labels "LAST".
             for (const char* field : {"ccValue1", "ccValue2", "ccValue3", "ccValue4"})
             {
                 const std::string path = pages + "ccCyclePage/" + field;
                 if (Text(pedal, path + "/controlNameLabel") == "LAST")
                 {
                     InProcessEditor::Enter(At<KR::LNumericUpDown>(pedal, path + "/numericUpDown"), u"40");
                 }
             }
         },
         {0x00, 0x01, 0x12, 0x40, 0x00, 0x28}},
        {"mmcPage",
         [&] { editor.Choose(At<KR::LComboBox>(pedal, pages + "mmcPage/mmc/comboBox"), "Eject"); },
         {0x00, 0x01, 0x15, 0x00, 0x0A, 0x00}},
        {"nrpnRpnPage",
         [&]
         {
             editor.Choose(At<KR::LComboBox>(pedal, pages + "nrpnRpnPage/NrpnRpn/comboBox"), "RPN Fine");
             InProcessEditor::Enter(
                 At<KR::LNumericUpDown>(pedal, pages + "nrpnRpnPage/msbLSBSelectors/lsb/numericUpDown"),
                 u"2");
             InProcessEditor::Enter(
                 At<KR::LNumericUpDown>(pedal, pages + "nrpnRpnPage/msbLSBSelectors/msb/numericUpDown"),
                 u"1");
             InProcessEditor::Enter(At<KR::LNumericUpDown>(pedal, pages + "nrpnRpnPage/value/numericUpDown"),
                                    u"5");
         },
         {0x00, 0x01, 0x05, 0x05, 0x02, 0x01}},
    };
    for (const auto& c : edits)
    {
        // As a click on the page's tab selects it (an unchosen tab's face is see-through, so
        // the tree's hit test passes it by).
        modes.GetTabControl()->SelectPage(KR::String(c.page));
        ASSERT_EQ(Front(modes), c.page);
        c.edit();
        EXPECT_EQ(Data(kSustainAt, 6), c.written) << c.page;
        if (std::string(c.page) == "ccCyclePage")
        {
            // Shown again, the cycle has only its first and last values.
            ASSERT_EQ(pedal->SetParamValueLocal(KR::ParamDescriptor(8), engine.Value(8), true), KR::kOk);
            EXPECT_EQ(Selected(pedal, pages + "ccCyclePage/cycleType/comboBox"), "2 Values");
            EXPECT_EQ(Number(pedal, pages + "ccCyclePage/ccValue2/numericUpDown"), 40);
            EXPECT_EQ(Text(pedal, pages + "ccCyclePage/ccValue2/controlNameLabel"), "LAST");
        }
    }

    // A cycle record is built from its own page, also by the relabelling its show runs.
    const Bytes cycle{0x00, 0x01, 0x12, 0x0B, 0x00, 0x7F};
    ASSERT_EQ(pedal->SetParamValueLocal(KR::ParamDescriptor(8), Blob(cycle), true), KR::kOk);
    EXPECT_EQ(Front(modes), "ccCyclePage");
    EXPECT_EQ(Data(kSustainAt, 6), cycle);

    ASSERT_EQ(
        pedal->SetParamValueLocal(KR::ParamDescriptor(8), Blob({0x00, 0x01, 0x19, 0x07, 0x00, 0x7F}), true),
        KR::kOk);
    EXPECT_EQ(Front(modes), "ccIncDecPage");
    EXPECT_EQ(Selected(pedal, pages + "ccIncDecPage/incDec/comboBox"), "Decrement");
    EXPECT_EQ(Number(pedal, pages + "ccIncDecPage/cc/ccSelector/numericUpDown"), 7);
    EXPECT_EQ(Number(pedal, pages + "ccIncDecPage/minMaxSelectors/min/numericUpDown"), 0);
    EXPECT_EQ(Number(pedal, pages + "ccIncDecPage/minMaxSelectors/max/numericUpDown"), 127);
}

// The modifier list holds "Cmd + Option (Mac)" twice (codes 23 and 24). A button loaded
// with 23, opened on the picture, its MOD KEY list opened with the pointer and Return
// pressed, as a user checks what the list holds: the block stays as loaded, not 24.
TEST_F(ButtonRecordPanels, ReturnOnAnOpenedModifierListKeepsTheFirstOfTwoItemsOfOneText)
{
    KR::LControl* picture = editor.Find("viewDevice/buttons/buttonBank1/button1");
    ASSERT_TRUE(picture);
    const std::int32_t id = dynamic_cast<LParameterizedModule&>(*picture).GetFirstParamID();
    const Bytes loaded = KR::TestSupport::Numbers("00 03 01 01 01 00 07 00 00 00 00 00 00 7F 01 57 17", 16);
    ASSERT_EQ(engine.SetAsLoaded(id, loaded), KR::kOk);
    editor.Idle();
    editor.Click(editor.Find(std::string("viewDevice/buttons/buttonBank1/button1/button")));
    editor.Idle();
    auto* panel = editor.Find<LButtonEditPanel>("viewDevice/buttonEditPanel");
    ASSERT_TRUE(panel && panel->IsShown(false));
    ASSERT_EQ(panel->GetFirstParamID(), id);
    // As a click on the HID tab selects it (an unchosen tab's face is see-through, so the
    // tree's hit test passes it by).
    auto* tabs = At<KR::LTabControl>(panel, "viewTabControl");
    ASSERT_TRUE(tabs);
    tabs->SelectPage(KR::String(u"asciiPage"));
    editor.window->UpdateLayout();

    auto* modifier = At<KR::LComboBox>(panel, "viewTabControl/pageHolder/asciiPage/modifierKey/comboBox");
    ASSERT_TRUE(modifier && modifier->IsShown(false));
    ASSERT_EQ(modifier->GetSelectedIndex(), 0x17);
    ASSERT_EQ(InProcessEditor::Selected(*modifier), "Cmd + Option (Mac)");
    ASSERT_EQ(modifier->GetItemText(0x18), modifier->GetItemText(0x17)) << "the list holds the text twice";
    editor.Click(modifier);
    ASSERT_TRUE(modifier->IsDropDownShown());
    EXPECT_EQ(modifier->GetListBox()->GetSelectedIndices(), std::vector<std::int32_t>{0x17})
        << "the row marked is the item shown";
    editor.Press(0x0D); // Return
    editor.Idle();
    EXPECT_FALSE(modifier->IsDropDownShown());
    EXPECT_EQ(modifier->GetSelectedIndex(), 0x17);
    EXPECT_EQ(engine.Bytes(id), loaded);
}

TEST_F(ButtonRecordPanels, UnboundPanelsWriteNothingWhenTheSkinIsAppliedAgain)
{
    // Never bound, the push-button panel's id would be the preset name's.
    auto* button = Panel<LButtonEditPanel>("buttonEditPanel");
    ASSERT_TRUE(button);
    const Bytes model = engine.DataBytes();
    ASSERT_EQ(editor.factory->ApplySkinToControl(editor.main), KR::kOk);
    editor.Choose(
        editor.Find<KR::LComboBox>("viewDevice/buttonEditPanel/viewTabControl/pageHolder/asciiPage/key/"
                                   "comboBox"),
        "A");
    editor.Idle();
    EXPECT_EQ(engine.DataBytes(), model);
}

} // namespace
