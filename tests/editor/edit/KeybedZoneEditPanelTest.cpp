// The keybed zone edit panel in the real tree over the real engine, bound as the zone
// group binds it: the block shown on every control and built back, the keys kept on the
// keybed and in order, and each edit landing in the model as the zone's whole block.

#include "editor/edit/KeybedZoneEditPanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Blob;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::LRecordingParentModule;
using Bytes = std::vector<int>;

constexpr std::int32_t kZone3 = 3;
// Where zone 3's block lies among the preset's data bytes.
constexpr std::size_t kZone3Data = 24;

class ZoneEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        panel = editor.Find<LKeybedZoneEditPanel>("viewDevice/zoneEditPanel");
        ASSERT_TRUE(panel);
        panel->SetVisible(true);
    }
    KR::RCPtr<KR::LControl> Panel() const { return KR::RCPtr<KR::LControl>(panel); }
    KR::LNumericUpDown* Box(const std::string& path) const
    {
        return editor.Find<KR::LNumericUpDown>(path + "/numericUpDown", Panel());
    }
    int Number(const std::string& path) const { return InProcessEditor::Number(*Box(path)); }
    std::string Text(const std::string& path) const
    {
        return editor.Find(path, Panel())->GetText().ToUtf8().GetPtr();
    }
    // A key as its selector names it: note and octave.
    std::string KeyName(const char* selector) const
    {
        const std::string at = std::string("startEndNoteSelector/") + selector + "/noteSelector/";
        return Text(at + "noteNameLabel") + " " + Text(at + "octaveNameLabel");
    }
    KR::LComboBox& Channel() const { return *editor.Find<KR::LComboBox>("midiChannel/comboBox", Panel()); }
    KR::LButton& Toggle() const { return *editor.Find<KR::LButton>("zoneEnabledToggleButton", Panel()); }
    Bytes Built() const
    {
        const KR::Array<signed char> block = panel->BuildZoneBlock();
        Bytes bytes;
        for (std::uint32_t i = 0; i < block.GetCount(); ++i)
        {
            bytes.push_back(static_cast<std::uint8_t>(block[i]));
        }
        return bytes;
    }
    Bytes Zone3Data() const
    {
        const Bytes data = engine.DataBytes();
        return Bytes(data.begin() + kZone3Data, data.begin() + kZone3Data + 9);
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    LKeybedZoneEditPanel* panel = nullptr;
    KR::RCPtr<LRecordingParentModule> parent{new LRecordingParentModule};
};

TEST_F(ZoneEditor, ABlockIsShownOnEveryControlAndBuiltBack)
{
    panel->SetFirstParamID(parent.Get(), kZone3, 2);
    EXPECT_EQ(Text("zoneName"), "ZONE 3");
    EXPECT_EQ(Text("startEndNoteSelector/startNote/controlNameLabel"), "FIRST");
    EXPECT_EQ(Text("startEndNoteSelector/endNote/controlNameLabel"), "LAST");
    engine.center.Drain();
    const auto asked = engine.center.log->Payloads<LParamChangePair>(kNidParamModuleStateChange);
    ASSERT_EQ(asked.size(), 1u);
    ASSERT_TRUE(asked[0]);
    EXPECT_EQ(asked[0]->first.id, kZone3);

    const struct
    {
        Bytes block;
        double on;
        const char* channel; // "" none selected
        int program, msb, lsb, first, last, octave, transpose;
        const char* firstName;
        const char* lastName;
        Bytes built; // and what the model then holds
    } cases[] = {
        // The model's default for zone 3.
        {{0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x0C},
         0.0,
         "Channel 2",
         0,
         0,
         0,
         0,
         48,
         0,
         0,
         "C (1)",
         "C (5)",
         {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x0C}},
        {{0x01, 0x05, 0x0A, 0x00, 0x01, 0x0C, 0x24, 0x06, 0x0E},
         1.0,
         "Channel 5",
         10,
         0,
         1,
         12,
         36,
         1,
         2,
         "C (2)",
         "C (4)",
         {0x01, 0x05, 0x0A, 0x00, 0x01, 0x0C, 0x24, 0x06, 0x0E}},
        // The first key above the last lands on the last.
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0x14, 0x05, 0x0C},
         0.0,
         "Global",
         0,
         0,
         0,
         20,
         20,
         0,
         0,
         "Ab (2)",
         "Ab (2)",
         {0x00, 0x00, 0x00, 0x00, 0x00, 0x14, 0x14, 0x05, 0x0C}},
        // The last key is shown first: the first key meets the new last key, not the old.
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x28, 0x05, 0x0C},
         0.0,
         "Global",
         0,
         0,
         0,
         30,
         40,
         0,
         0,
         "Gb (3)",
         "E (4)",
         {0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x28, 0x05, 0x0C}},
        // Keys past the keybed are held on its last key.
        {{0x00, 0x10, 0x7F, 0x7F, 0x7F, 0x3C, 0x7F, 0x0A, 0x18},
         0.0,
         "Channel 16",
         127,
         127,
         127,
         48,
         48,
         5,
         12,
         "C (5)",
         "C (5)",
         {0x00, 0x10, 0x7F, 0x7F, 0x7F, 0x30, 0x30, 0x0A, 0x18}},
        // A channel past the list selects nothing and is built back as it came.
        {{0x01, 0x11, 0x00, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00},
         1.0,
         "",
         0,
         0,
         0,
         0,
         48,
         -5,
         -12,
         "C (1)",
         "C (5)",
         {0x01, 0x11, 0x00, 0x00, 0x00, 0x00, 0x30, 0x00, 0x00}},
    };
    for (const auto& c : cases)
    {
        const std::string at = ::testing::PrintToString(c.block);
        ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kZone3), Blob(c.block), false), KR::kOk)
            << at;
        EXPECT_EQ(Toggle().GetValue(), c.on) << at;
        EXPECT_EQ(InProcessEditor::Selected(Channel()), c.channel) << at;
        EXPECT_EQ(Number("program"), c.program) << at;
        EXPECT_EQ(Number("msbLSBSelectors/msb"), c.msb) << at;
        EXPECT_EQ(Number("msbLSBSelectors/lsb"), c.lsb) << at;
        EXPECT_EQ(Number("startEndNoteSelector/startNote/noteSelector"), c.first) << at;
        EXPECT_EQ(Number("startEndNoteSelector/endNote/noteSelector"), c.last) << at;
        EXPECT_EQ(Number("octave"), c.octave) << at;
        EXPECT_EQ(Number("transpose"), c.transpose) << at;
        EXPECT_EQ(KeyName("startNote"), c.firstName) << at;
        EXPECT_EQ(KeyName("endNote"), c.lastName) << at;
        EXPECT_EQ(Built(), c.built) << at;
        EXPECT_EQ(engine.Bytes(kZone3), c.built) << at;
        ASSERT_FALSE(parent->received.empty()) << at;
        EXPECT_EQ(parent->received.back().bytes, c.block) << "the picture is handed the value as it came";
    }
}

TEST_F(ZoneEditor, EachEditWritesTheWholeBlock)
{
    panel->SetFirstParamID(parent.Get(), kZone3, 2);
    const Bytes standard{0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x0C};
    const struct
    {
        Bytes shown;
        std::vector<std::pair<const char*, const char16_t*>> typed; // box, text; "" clicks the toggle
        Bytes data;                                                 // zone 3's data bytes afterwards
    } cases[] = {
        {standard,
         {{"startEndNoteSelector/startNote/noteSelector", u"60"}},
         {0x00, 0x02, 0x00, 0x00, 0x00, 0x30, 0x30, 0x05, 0x0C}},
        {{0x00, 0x02, 0x00, 0x00, 0x00, 0x1E, 0x28, 0x05, 0x0C},
         {{"startEndNoteSelector/endNote/noteSelector", u"20"}},
         {0x00, 0x02, 0x00, 0x00, 0x00, 0x14, 0x14, 0x05, 0x0C}},
        {{0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x14, 0x05, 0x0C},
         {{"startEndNoteSelector/startNote/noteSelector", u"60"}},
         {0x00, 0x02, 0x00, 0x00, 0x00, 0x14, 0x14, 0x05, 0x0C}},
        {standard, {{"", nullptr}}, {0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x0C}},
        {standard, {{"", nullptr}, {"", nullptr}}, standard},
        {standard, {{"octave", u"-5"}}, {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x00, 0x0C}},
        {standard, {{"octave", u"5"}}, {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x0A, 0x0C}},
        {standard, {{"transpose", u"12"}}, {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x18}},
        {standard, {{"transpose", u"-12"}}, {0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x30, 0x05, 0x00}},
        {standard,
         {{"program", u"99"}, {"msbLSBSelectors/msb", u"3"}, {"msbLSBSelectors/lsb", u"4"}},
         {0x00, 0x02, 0x63, 0x03, 0x04, 0x00, 0x30, 0x05, 0x0C}},
    };
    for (const auto& c : cases)
    {
        const std::string at = ::testing::PrintToString(c.data);
        ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kZone3), Blob(c.shown), false), KR::kOk);
        engine.engine->SetParamValue(KR::ParamDescriptor(kZone3), Blob(c.shown));
        const auto others = engine.All();
        for (const auto& [box, text] : c.typed)
        {
            if (text)
            {
                InProcessEditor::Enter(Box(box), text);
            }
            else
            {
                editor.Click(&Toggle());
            }
        }
        EXPECT_EQ(Zone3Data(), c.data) << at;
        auto after = engine.All();
        after[kZone3] = others[kZone3];
        EXPECT_EQ(after, others) << at << ": no other parameter changed";
    }
}

TEST_F(ZoneEditor, WrongValuesAndAnUnboundPanelChangeNothing)
{
    const Bytes before = Built();
    const auto model = engine.All();
    InProcessEditor::Enter(Box("program"), u"42");
    editor.Click(&Toggle());
    EXPECT_EQ(engine.All(), model) << "unbound, the panel writes nothing";

    panel->SetFirstParamID(parent.Get(), kZone3, 2);
    const Bytes shown = Built();
    const struct
    {
        std::int32_t id;
        Bytes value;
    } cases[] = {
        {kZone3, {0x01, 0x05, 0x0A}},
        {kZone3, {0x01, 0x05, 0x0A, 0x00, 0x01, 0x0C, 0x24, 0x06, 0x0E, 0x00}},
        {kZone3, {}},
        {kZone3 + 1, {0x01, 0x05, 0x0A, 0x00, 0x01, 0x0C, 0x24, 0x06, 0x0E}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(c.id), Blob(c.value), false), KR::kFail)
            << c.value.size();
        EXPECT_EQ(Built(), shown);
    }
    EXPECT_EQ(engine.All(), model);
    EXPECT_TRUE(parent->received.empty());
    EXPECT_NE(before, shown) << "the edits made unbound stay on the controls";
}

} // namespace
