// The picture's view panels in the real tree, numbered and given blocks as the model does:
// the number each label shows, what each block size maps to in the read-out, and the
// blocks a panel refuses.

#include "editor/picture/EncoderPanel.h"
#include "editor/picture/FaderPanel.h"
#include "editor/picture/VolumePedalPanel.h"
#include "editor/picture/WheelPanel.h"
#include "editor/support/InProcessEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;
using Bytes = std::vector<int>;

KR::Variant BlobOf(const Bytes& bytes)
{
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    KR::Variant value;
    value.SetBlob(data.data(), static_cast<std::uint32_t>(data.size()));
    return value;
}

class ViewPanels : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(editor.loaded, KR::kOk); }

    LParameterizedModule* Module(const std::string& path) const
    {
        return dynamic_cast<LParameterizedModule*>(editor.Find("viewDevice/" + path));
    }
    std::string Text(const std::string& path) const
    {
        const KR::LControl* control = editor.Find("viewDevice/" + path);
        return control ? control->GetText().ToUtf8().GetPtr() : "(missing)";
    }

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
    };
    constexpr std::int32_t kID = 300;
    for (const auto& c : cases)
    {
        LParameterizedModule* panel = Module(c.panel);
        ASSERT_TRUE(panel) << c.panel;
        panel->SetFirstParamID(nullptr, kID, 0);
        const KR::ParamDescriptor descriptor(c.ownID ? kID : kID + 1);
        EXPECT_EQ(panel->SetParamValueLocal(descriptor, BlobOf(c.block), true), c.result) << c.panel;
        EXPECT_EQ(Text(std::string(c.panel) + "/viewPanel/infoLabel"), c.info) << c.panel;
        EXPECT_EQ(Text(std::string(c.panel) + "/viewPanel/midiChannel/label"), c.channel) << c.panel;
    }
}

} // namespace
