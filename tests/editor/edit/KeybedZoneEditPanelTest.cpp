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
using KR::TestSupport::Numbers;
using Bytes = std::vector<int>;

constexpr std::int32_t kZone3 = 3;
// Where zone 3's block lies among the preset's data bytes.
constexpr std::size_t kZone3Data = 24;
constexpr char kFirstKey[] = "startEndNoteSelector/startNote/noteSelector";
constexpr char kLastKey[] = "startEndNoteSelector/endNote/noteSelector";

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
        const char* block; // hex
        double on;
        const char* channel; // "" none selected
        const char* numbers; // program, MSB, LSB, first, last, octave, transpose
        const char* firstName;
        const char* lastName;
        const char* built; // and what the model then holds; null: the block as it came
    } cases[] = {
        // The model's default for zone 3.
        {"00 02 00 00 00 00 30 05 0C", 0.0, "Channel 2", "0 0 0 0 48 0 0", "C (1)", "C (5)", nullptr},
        {"01 05 0A 00 01 0C 24 06 0E", 1.0, "Channel 5", "10 0 1 12 36 1 2", "C (2)", "C (4)", nullptr},
        // Keys out of order or past the keybed are shown as they stand, so the editor, the
        // picture and the model agree; the user's change of a key corrects them.
        {"00 00 00 00 00 28 14 05 0C", 0.0, "Global", "0 0 0 40 20 0 0", "E (4)", "Ab (2)", nullptr},
        // The last key is shown first: the first key meets the new last key, not the old.
        {"00 00 00 00 00 1E 28 05 0C", 0.0, "Global", "0 0 0 30 40 0 0", "Gb (3)", "E (4)", nullptr},
        {"00 10 7F 7F 7F 3C 7F 0A 18", 0.0, "Channel 16", "127 127 127 60 127 5 12", "C (6)", "G (11)",
         nullptr},
        // A channel past the list selects nothing and is built back as it came.
        {"01 11 00 00 00 00 30 00 00", 1.0, "", "0 0 0 0 48 -5 -12", "C (1)", "C (5)", nullptr},
    };
    for (const auto& c : cases)
    {
        const Bytes block = Numbers(c.block, 16);
        const Bytes built = c.built ? Numbers(c.built, 16) : block;
        const std::string at = c.block;
        ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kZone3), Blob(block), false), KR::kOk) << at;
        EXPECT_EQ(Toggle().GetValue(), c.on) << at;
        EXPECT_EQ(InProcessEditor::Selected(Channel()), c.channel) << at;
        const std::vector<int> numbers{Number("program"),
                                       Number("msbLSBSelectors/msb"),
                                       Number("msbLSBSelectors/lsb"),
                                       Number(kFirstKey),
                                       Number(kLastKey),
                                       Number("octave"),
                                       Number("transpose")};
        EXPECT_EQ(numbers, Numbers(c.numbers)) << at;
        EXPECT_EQ(KeyName("startNote"), c.firstName) << at;
        EXPECT_EQ(KeyName("endNote"), c.lastName) << at;
        EXPECT_EQ(Built(), built) << at;
        EXPECT_EQ(engine.Bytes(kZone3), built) << at;
        ASSERT_FALSE(parent->received.empty()) << at;
        EXPECT_EQ(parent->received.back().bytes, block) << "the picture is handed the value as it came";
    }
}

TEST_F(ZoneEditor, EachEditWritesTheWholeBlock)
{
    panel->SetFirstParamID(parent.Get(), kZone3, 2);
    const char* const standard = "00 02 00 00 00 00 30 05 0C";
    const struct
    {
        const char* shown;                                          // hex
        std::vector<std::pair<const char*, const char16_t*>> typed; // box, text; "" clicks the toggle
        const char* data;                                           // zone 3's data bytes afterwards
    } cases[] = {
        {standard, {{kFirstKey, u"60"}}, "00 02 00 00 00 30 30 05 0C"},
        {"00 02 00 00 00 1E 28 05 0C", {{kLastKey, u"20"}}, "00 02 00 00 00 14 14 05 0C"},
        {"00 02 00 00 00 00 14 05 0C", {{kFirstKey, u"60"}}, "00 02 00 00 00 14 14 05 0C"},
        // Keys a shown block holds out of order or past the keybed: an edit of something
        // else writes them as they stand, the user's change of a key corrects them.
        {"00 02 00 00 00 28 14 05 0C", {{"program", u"9"}}, "00 02 09 00 00 28 14 05 0C"},
        {"00 02 00 00 00 3C 7F 05 0C", {{"program", u"9"}}, "00 02 09 00 00 3C 7F 05 0C"},
        {"00 02 00 00 00 28 14 05 0C", {{kLastKey, u"21"}}, "00 02 00 00 00 15 15 05 0C"},
        {"00 02 00 00 00 3C 7F 05 0C", {{kFirstKey, u"50"}}, "00 02 00 00 00 30 7F 05 0C"},
        {standard, {{"", nullptr}}, "01 02 00 00 00 00 30 05 0C"},
        {standard, {{"", nullptr}, {"", nullptr}}, standard},
        {standard, {{"octave", u"-5"}}, "00 02 00 00 00 00 30 00 0C"},
        {standard, {{"octave", u"5"}}, "00 02 00 00 00 00 30 0A 0C"},
        {standard, {{"transpose", u"12"}}, "00 02 00 00 00 00 30 05 18"},
        {standard, {{"transpose", u"-12"}}, "00 02 00 00 00 00 30 05 00"},
        {standard,
         {{"program", u"99"}, {"msbLSBSelectors/msb", u"3"}, {"msbLSBSelectors/lsb", u"4"}},
         "00 02 63 03 04 00 30 05 0C"},
    };
    for (const auto& c : cases)
    {
        const std::string at = c.data;
        const Bytes shown = Numbers(c.shown, 16);
        ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kZone3), Blob(shown), false), KR::kOk);
        engine.engine->SetParamValue(KR::ParamDescriptor(kZone3), Blob(shown));
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
        EXPECT_EQ(Zone3Data(), Numbers(c.data, 16)) << at;
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
