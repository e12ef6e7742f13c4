// The picture's view panels in the real tree, numbered and given blocks as the model does:
// the number each label shows, what each block size maps to in the read-out, and the
// blocks a panel refuses.

#include "editor/edit/RootModuleEngineAccess.h"
#include "editor/picture/ButtonPanel.h"
#include "editor/picture/EncoderPanel.h"
#include "editor/picture/FaderPanel.h"
#include "editor/picture/KeybedZonePanel.h"
#include "editor/picture/PadPanel.h"
#include "editor/picture/SustainPedalPanel.h"
#include "editor/picture/VolumePedalPanel.h"
#include "editor/picture/WheelPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Blob;
using KR::TestSupport::InProcessEditor;
using Bytes = std::vector<int>;

class ViewPanels : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(editor.loaded, KR::kOk); }

    // The look the colour indicator shows.
    std::int32_t Look(const std::string& panel) const
    {
        return editor.Find("viewDevice/" + panel + "/color")->GetActiveLookIndex();
    }

    LParameterizedModule* Module(const std::string& path) const
    {
        return dynamic_cast<LParameterizedModule*>(editor.Find("viewDevice/" + path));
    }
    std::string Text(const std::string& path) const
    {
        const KR::LControl* control = editor.Find("viewDevice/" + path);
        return control ? control->GetText().ToUtf8().GetPtr() : "(missing)";
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
};

TEST_F(ViewPanels, NumberLabelsAreFormattedOnceFromTheirOwnText)
{
    const struct
    {
        const char* panel;
        const char* label;
        std::int32_t index;
        std::int32_t secondIndex;
        const char* shown; // after both calls
    } cases[] = {
        {"encoders/encoderBank2/encoder5", "encoderNameLabel", 12, 3, "E5"},
        {"encoders/encoderBank4/encoder8", "encoderNameLabel", 31, 0, "E8"},
        {"faders/faderBank2/fader1", "faderNumberLabel", 9, 2, "F1"},
        {"faders/faderBank4/fader9", "faderNumberLabel", 35, 0, "F9"},
        {"buttons/buttonBank2/button4", "buttonNumberLabel", 12, 0, "B4"},
        {"buttons/buttonBank4/button9", "buttonNumberLabel", 35, 1, "B9"},
        {"pads/pad16", "padNumberLabel", 15, 0, "P16"},
        {"pads/pad1", "padNumberLabel", 0, 5, "P1"},
        {"keybedZones/zone3", "zoneName", 2, 0, "ZONE 3"},
    };
    for (const auto& c : cases)
    {
        LParameterizedModule* panel = Module(c.panel);
        ASSERT_TRUE(panel) << c.panel;
        panel->SetFirstParamID(nullptr, 200 + c.index, c.index);
        panel->SetFirstParamID(nullptr, 200 + c.secondIndex, c.secondIndex);
        EXPECT_EQ(Text(std::string(c.panel) + "/" + c.label), c.shown) << c.panel;
        EXPECT_EQ(panel->GetFirstParamID(), 200 + c.secondIndex) << "the id is the latest";
    }
}

TEST_F(ViewPanels, BlocksOfTheExactLengthReachTheReadOut)
{
    const struct
    {
        const char* panel;
        Bytes block;
        bool ownID;
        std::int32_t result;
        const char* info; // the read-out afterwards
        const char* channel;
    } cases[] = {
        {"encoders/encoderBank1/encoder3",
         {0x00, 0x00, 0x2A, 0x00, 0x00, 0x7F},
         true,
         KR::kOk,
         "CC:\n42",
         "CH:G"},
        {"encoders/encoderBank1/encoder3",
         {0x03, 0x00, 0x07, 0x00, 0x00},
         true,
         KR::kFail,
         "CC:\n42",
         "CH:G"},
        {"encoders/encoderBank1/encoder3",
         {0x03, 0x00, 0x07, 0x00, 0x00, 0x7F, 0},
         true,
         KR::kFail,
         "CC:\n42",
         "CH:G"},
        {"encoders/encoderBank1/encoder3",
         {0x03, 0x00, 0x07, 0x00, 0x00, 0x7F},
         false,
         KR::kFail,
         "CC:\n42",
         "CH:G"},
        {"faders/faderBank3/fader2",
         {0x05, 0x01, 0x06, 0x00, 0x05, 0x01},
         true,
         KR::kOk,
         "NRPN:\n133",
         "CH:5"},
        {"pedals/volumePedal", {0x15, 0x00, 0x07, 0x00, 0x00, 0x7F}, true, KR::kOk, "CC:\n7", "CH:OM"},
        // A wheel's five bytes are the message block without its relative flag.
        {"wheels/modWheel", {0x01, 0x00, 0x07, 0x00, 0x7F}, true, KR::kOk, "CC:\n7", "CH:1"},
        {"wheels/pitchWheel", {0x00, 0x01, 0x10, 0x00, 0x7F}, true, KR::kOk, "PITCH\nBEND", "CH:G"},
        {"wheels/pitchWheel", {0x02, 0x00, 0x07, 0x00, 0x00, 0x7F}, true, KR::kFail, "PITCH\nBEND", "CH:G"},
        // Push buttons and pads: the record is byte 0 and bytes 5..13, around the colours.
        {"buttons/buttonBank2/button5",
         {0x05, 0x01, 0x02, 0x03, 0x04, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F, 0x11, 0x12,
          0x13},
         true,
         KR::kOk,
         "CC:\n7",
         "CH:5"},
        {"buttons/buttonBank2/button5",
         {0x00, 0x01, 0x02, 0x03, 0x04, 0x01, 0x11, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x11, 0x12},
         true,
         KR::kFail,
         "CC:\n7",
         "CH:5"},
        {"pads/pad3",
         {0x01, 0x01, 0x02, 0x03, 0x04, 0x01, 0x11, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         true,
         KR::kOk,
         "PG:\n42",
         "CH:1"},
        {"pads/pad3",
         {0x01, 0x01, 0x02, 0x03, 0x04, 0x01, 0x11, 0x2B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
         false,
         KR::kFail,
         "PG:\n42",
         "CH:1"},
        // The sustain pedal's block has no second or third value.
        {"pedals/sustainPedal", {0x00, 0x01, 0x13, 0x3C, 0x00, 0x01}, true, KR::kOk, "NT:\n60", "CH:G"},
        {"pedals/sustainPedal", {0x15, 0x01, 0x19, 0x0D, 0x00, 0x7F}, true, KR::kOk, "CC:\n13", "CH:OM"},
        {"pedals/sustainPedal",
         {0x00, 0x01, 0x13, 0x3C, 0x00, 0x01, 0x00},
         true,
         KR::kFail,
         "CC:\n13",
         "CH:OM"},
    };
    constexpr std::int32_t kID = 300;
    for (const auto& c : cases)
    {
        LParameterizedModule* panel = Module(c.panel);
        ASSERT_TRUE(panel) << c.panel;
        panel->SetFirstParamID(nullptr, kID, 0);
        const KR::ParamDescriptor descriptor(c.ownID ? kID : kID + 1);
        EXPECT_EQ(panel->SetParamValueLocal(descriptor, Blob(c.block), true), c.result) << c.panel;
        EXPECT_EQ(Text(std::string(c.panel) + "/viewPanel/infoLabel"), c.info) << c.panel;
        EXPECT_EQ(Text(std::string(c.panel) + "/viewPanel/midiChannel/label"), c.channel) << c.panel;
    }
}

TEST_F(ViewPanels, AZoneNamesItsKeysWithTheEditorsNames)
{
    auto* zone = dynamic_cast<LParameterizedModule*>(editor.Find("viewDevice/keybedZones/zone2"));
    ASSERT_TRUE(zone);
    zone->SetFirstParamID(nullptr, 2, 1);
    const struct
    {
        Bytes block;
        std::int32_t result;
        const char* info;
        const char* channel;
    } cases[] = {
        {{1, 0, 0, 0, 0, 12, 36, 0, 1}, KR::kOk, "First: C (2) | Last C (4)", "CH:G"},
        {{1, 0, 0, 0, 0, 13, 47, 0, 1}, KR::kOk, "First: Db (2) | Last B (4)", "CH:G"},
        {{1, 10, 0, 0, 0, 0, 48, 0, 1}, KR::kOk, "First: C (1) | Last C (5)", "CH:10"},
        // A key of 0x80 or more, read as the negative number it is, has no names.
        {{1, 10, 0, 0, 0, 0x90, 48, 0, 1}, KR::kOk, "First: ? ? | Last C (5)", "CH:10"},
        {{1, 10, 0, 0, 0, 131, 127, 0, 1}, KR::kOk, "First: ? ? | Last G (11)", "CH:10"},
        {{1, 2, 0}, KR::kFail, "First: ? ? | Last G (11)", "CH:10"},
        {{1, 2, 0, 0, 0, 0, 48, 0, 1, 0}, KR::kFail, "First: ? ? | Last G (11)", "CH:10"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(zone->SetParamValueLocal(KR::ParamDescriptor(2), Blob(c.block), true), c.result) << c.info;
        EXPECT_EQ(Text("keybedZones/zone2/infoLabel"), c.info);
        EXPECT_EQ(Text("keybedZones/zone2/midiChannel/label"), c.channel) << c.info;
    }
    EXPECT_EQ(zone->SetParamValueLocal(KR::ParamDescriptor(3), Blob({1, 0, 0, 0, 0, 12, 36, 0, 1}), true),
              KR::kFail);

    // Out of the device view there are no names to borrow.
    const KR::RCPtr<KR::LControl> moved(editor.Find("viewDevice/keybedZones/zone2"));
    moved->Detach();
    EXPECT_EQ(zone->SetParamValueLocal(KR::ParamDescriptor(2), Blob({1, 3, 0, 0, 0, 12, 36, 0, 1}), true),
              KR::kOk);
    EXPECT_EQ(std::string(editor.Find("infoLabel", moved)->GetText().ToUtf8().GetPtr()),
              "First: ? ? | Last ? ?");
}

TEST_F(ViewPanels, ShiftClicksStepThroughTheColoursTheModelHolds)
{
    const std::string button = "buttons/buttonBank1/button5";
    auto* panel = dynamic_cast<LButtonPanel*>(editor.Find("viewDevice/" + button));
    ASSERT_TRUE(panel);
    panel->SetFirstParamID(nullptr, 29, 4);
    const Bytes block = engine.Bytes(29);
    ASSERT_EQ(block.size(), 17u);
    ASSERT_EQ(Bytes(block.begin() + 1, block.begin() + 5), (Bytes{4, 3, 7, 5}));
    panel->SetParamValueLocal(KR::ParamDescriptor(29), Blob(block), true);
    const std::int32_t looks[] = {4, 4, 3, 7, 5, 4};
    for (std::int32_t clicks = 0; clicks <= 5; ++clicks)
    {
        if (clicks > 0)
        {
            editor.Click(editor.Find("viewDevice/" + button + "/button"), KR::ModifierFlag::kShift);
        }
        EXPECT_EQ(Look(button), looks[clicks]) << clicks << " Shift-clicks";
    }
    editor.Click(editor.Find("viewDevice/" + button + "/button"));
    EXPECT_EQ(Look(button), 4) << "a click without Shift";
    editor.Click(editor.Find("viewDevice/" + button + "/button"),
                 KR::ModifierFlag::kShift | KR::ModifierFlag::kCtrl);
    EXPECT_EQ(Look(button), 3);
}

TEST_F(ViewPanels, TheColourPreviewShowsOnlyColoursItHasALookFor)
{
    const struct
    {
        const char* panel;
        std::int32_t id;
        Bytes block; // set in the model, then shown (another id: refused, the preview refreshed all the same)
        bool ownID;
        std::int32_t look;
    } cases[] = {
        {"buttons/buttonBank1/button1",
         25,
         {0, 6, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0, 0, 0, 0},
         true,
         6},
        {"buttons/buttonBank1/button1",
         25,
         {0, 9, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0, 0, 0, 0},
         true,
         6},
        {"buttons/buttonBank1/button1",
         25,
         {0, 0x80, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0, 0, 0, 0},
         true,
         6},
        {"buttons/buttonBank1/button1",
         25,
         {0, 2, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0, 0, 0, 0},
         false,
         2},
        {"pads/pad1", 9, {0, 9, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0}, true, 9},
        {"pads/pad1", 9, {0, 14, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0}, true, 9},
        {"pads/pad1", 9, {0, 13, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0}, true, 13},
    };
    for (const auto& c : cases)
    {
        auto* panel = dynamic_cast<LParameterizedModule*>(editor.Find(std::string("viewDevice/") + c.panel));
        ASSERT_TRUE(panel);
        panel->SetFirstParamID(nullptr, c.id, 0);
        ASSERT_EQ(engine.SetAsLoaded(c.id, c.block), KR::kOk);
        panel->SetParamValueLocal(KR::ParamDescriptor(c.ownID ? c.id : c.id + 1), Blob(c.block), true);
        EXPECT_EQ(Look(c.panel), c.look) << c.panel << " colour " << c.block[1];
    }
    // Without an engine to ask, the preview stays as it is.
    SetRootModuleEngine(nullptr);
    auto* pad = dynamic_cast<LParameterizedModule*>(editor.Find("viewDevice/pads/pad1"));
    EXPECT_EQ(pad->SetParamValueLocal(KR::ParamDescriptor(9),
                                      Blob({0, 2, 3, 7, 5, 1, 0x13, 0x24, 0x7F, 1, 0, 1, 0, 0}), true),
              KR::kOk);
    EXPECT_EQ(Look("pads/pad1"), 13);
    SetRootModuleEngine(engine.engine);
}

} // namespace
