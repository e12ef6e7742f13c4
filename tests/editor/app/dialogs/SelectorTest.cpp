// The note and controller selectors on the editor's real tree: what their labels spell for
// a value, the scale operations the note-mode editor fills its boxes with, and skins that
// lack a child.

#include "TestPaths.h"
#include "editor/app/MidiNoteSelector.h"
#include "editor/app/NumberBoxTextSelector.h"
#include "editor/edit/ScaleOperations.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/SkinFailure.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

constexpr char kPadNote[] = "viewDevice/padEditPanel/viewTabControl/pageHolder/midiPage/tabControl/"
                            "pageHolder/notePage/note/noteSelector";
// The zone editor holds its keys on the keybed (0..48).
constexpr char kZoneEnd[] = "viewDevice/zoneEditPanel/startEndNoteSelector/endNote/noteSelector";
constexpr char kKnobCc[] =
    "viewDevice/knobEditPanel/moveableTypePanel/tabControl/pageHolder/ccAbsolutePage/cc/ccSelector";
constexpr char kNoteRow[] = "viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage/note";

std::string Text(const KR::RCPtr<KR::LLabel>& label)
{
    return label ? label->GetText().ToUtf8().GetPtr() : "(none)";
}

void Set(KR::LControl& box, double value)
{
    box.SetValue(box.NormalizeValue(value));
}

class Selectors : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(editor.loaded, KR::kOk); }
    InProcessEditor editor;
};

TEST_F(Selectors, SpellTheValueOfTheirBoxFromTheirLabelsTables)
{
    const struct
    {
        const char* path;
        double value;
        const char* first;  // note name, or controller name
        const char* second; // octave; empty for a controller selector
    } cases[] = {
        {kPadNote, 0, "C", "(-1)"},     {kPadNote, 60, "C", "(4)"},         {kPadNote, 61, "Db", "(4)"},
        {kPadNote, 127, "G", "(9)"},    {kZoneEnd, 36, "C", "(4)"},         {kZoneEnd, 0, "C", "(1)"},
        {kZoneEnd, 47, "B", "(4)"},     {kKnobCc, 7, "Channel Volume", ""}, {kKnobCc, 3, "Controller 3", ""},
        {kKnobCc, 66, "Sostenuto", ""}, {kKnobCc, 127, "Poly Mode On", ""}, {kKnobCc, 0, "Bank Select", ""},
    };
    for (const auto& c : cases)
    {
        if (auto* note = editor.Find<LMidiNoteSelector>(c.path))
        {
            Set(*note->GetNumericUpDown(), c.value);
            EXPECT_EQ(Text(note->GetNoteNameLabel()), c.first) << c.path << " " << c.value;
            EXPECT_EQ(Text(note->GetOctaveNameLabel()), c.second) << c.path << " " << c.value;
        }
        else if (auto* cc = editor.Find<LNumberBoxTextSelector>(c.path))
        {
            Set(*cc->GetNumericUpDown(), c.value);
            EXPECT_EQ(Text(cc->GetLabel()), c.first) << c.path << " " << c.value;
        }
        else
        {
            ADD_FAILURE() << "no selector at " << c.path;
        }
    }
}

TEST_F(Selectors, ATypedValueIsSpeltAndOneOutsideTheTableLeavesTheText)
{
    auto* cc = editor.Find<LNumberBoxTextSelector>(kKnobCc);
    ASSERT_TRUE(cc);
    editor.Find("viewDevice/knobEditPanel")->SetVisible(true);
    // The owning panel may widen the range; the table still ends at 127.
    cc->GetNumericUpDown()->SetValueScaling(0.0, 200.0, 0);
    InProcessEditor::Enter(cc->GetNumericUpDown().Get(), u"127");
    EXPECT_EQ(Text(cc->GetLabel()), "Poly Mode On");
    InProcessEditor::Enter(cc->GetNumericUpDown().Get(), u"128");
    EXPECT_EQ(InProcessEditor::Number(*cc->GetNumericUpDown()), 128);
    EXPECT_EQ(Text(cc->GetLabel()), "Poly Mode On");
}

TEST(ScaleNotes, FollowTheStepTablesOctaveAfterOctave)
{
    const struct
    {
        std::int32_t scale;
        double root;
        std::uint32_t count;
        std::vector<double> notes;
    } cases[] = {
        {0, 60, 8, {60, 62, 64, 65, 67, 69, 71, 72}},
        {1, 57, 8, {57, 59, 60, 62, 64, 65, 67, 69}},
        {6, 60, 7, {60, 62, 64, 66, 67, 69, 71}},
        {7, 60, 7, {60, 62, 63, 65, 67, 69, 70}},
        {8, 0, 9, {0, 1, 3, 5, 6, 8, 10, 12, 13}},
        {9, 48, 3, {48, 49, 50}},
        {10, 60, 13, {60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 72}},
        {0, 120, 8, {120, 122, 124, 125, 127, 129, 131, 132}}, // not clamped
        {0, 60, 0, {}},
        {11, 60, 8, {}},
        {-1, 60, 8, {}},
    };
    for (const auto& c : cases)
    {
        const KR::Array<double> notes = GetScaleNoteNumbers(c.scale, c.root, c.count);
        std::vector<double> got;
        for (std::uint32_t i = 0; i < notes.GetCount(); ++i)
        {
            got.push_back(notes[i]);
        }
        EXPECT_EQ(got, c.notes) << "scale " << c.scale << " from " << c.root;
    }
    // The octave term lives in a byte: the 155th turn of a seven-note scale wraps.
    const KR::Array<double> many = GetScaleNoteNumbers(0, 0.0, 7 * 22);
    EXPECT_EQ(many[7 * 21], static_cast<double>(static_cast<std::uint8_t>(12 * 21)));
}

TEST_F(Selectors, AScaleFillsARowOfNoteBoxesFromTheFirst)
{
    KR::RCPtrArray<KR::LControl> row;
    std::vector<LMidiNoteSelector*> selectors;
    for (int k = 1; k <= 8; ++k)
    {
        auto* selector = editor.Find<LMidiNoteSelector>(kNoteRow + std::to_string(k) + "/noteSelector");
        ASSERT_TRUE(selector) << k;
        selectors.push_back(selector);
        row.AddItem(KR::RCPtr<KR::LControl>(selector->GetNumericUpDown()));
        Set(*selector->GetNumericUpDown(), 30 + k);
    }
    const auto numbers = [&]
    {
        std::vector<int> got;
        for (LMidiNoteSelector* selector : selectors)
        {
            got.push_back(InProcessEditor::Number(*selector->GetNumericUpDown()));
        }
        return got;
    };

    EXPECT_EQ(ApplyScaleToNoteSelectors(KR::RCPtrArray<KR::LControl>(), 7), KR::kOk);
    EXPECT_EQ(ApplyScaleToNoteSelectors(row, 11), KR::kOk);
    EXPECT_EQ(numbers(), (std::vector<int>{31, 32, 33, 34, 35, 36, 37, 38})) << "nothing changed";

    Set(*selectors[0]->GetNumericUpDown(), 60);
    EXPECT_EQ(ApplyScaleToNoteSelectors(row, 7), KR::kOk);
    EXPECT_EQ(numbers(), (std::vector<int>{60, 62, 63, 65, 67, 69, 70, 72}));
    EXPECT_EQ(Text(selectors[2]->GetNoteNameLabel()), "Eb") << "the labels follow";
    EXPECT_EQ(Text(selectors[7]->GetOctaveNameLabel()), "(5)");

    Set(*selectors[0]->GetNumericUpDown(), 120);
    ApplyScaleToNoteSelectors(row, 0);
    EXPECT_EQ(numbers(), (std::vector<int>{120, 122, 124, 125, 127, 127, 127, 127})) << "held by the range";
}

TEST(SelectorSkins, AMissingChildStopsTheTreeWithItsText)
{
    const struct
    {
        const char* after;
        const char* child;
        const char* text;
    } cases[] = {
        {"Class=\"PresetEditor.Control.NoteSelector\"", "numericUpDown",
         "Runtime Error : Null Pointer : Cannot find child numericUpDown : LMidiNoteSelector::Initialize : "
         "UI\\PresetEditorCommon\\MidiNoteSelector : Line 27"},
        {"Class=\"PresetEditor.Control.CCSelector\"", "numericUpDown",
         "Failed Result : KRRESULT = 80070057 : LNumberBoxTextSelector::Initialize : "
         "UI\\PresetEditorCommon\\NumberBoxTextSelector : Line 31"},
        {"Class=\"PresetEditor.Control.CCSelector\"", "label",
         "Runtime Error : Null Pointer : Cannot find child label : LNumberBoxTextSelector::Initialize : "
         "UI\\PresetEditorCommon\\NumberBoxTextSelector : Line 33"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(KR::TestSupport::ThrownWithoutChild(KR_EDITOR_SKIN_FILE, c.after, c.child), c.text)
            << c.child;
    }
}

} // namespace
