// The touch-pad axis edit panel and its note page in the real tree over the real engine:
// note blocks shown and built back, scales filled and recognised, and every edit on
// either page written as the axis' whole 15-byte block.

#include "editor/edit/XYPadEditPanel.h"
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

constexpr std::int32_t kXAxis = 129;
// Where the first axis' block lies among the preset's data bytes.
constexpr std::size_t kXAxisData = 1308;

Bytes ToBytes(const KR::Array<signed char>& block)
{
    Bytes bytes;
    for (std::uint32_t i = 0; i < block.GetCount(); ++i)
    {
        bytes.push_back(static_cast<std::uint8_t>(block[i]));
    }
    return bytes;
}

KR::Array<signed char> ToBlock(const Bytes& bytes)
{
    KR::Array<signed char> block;
    for (const int byte : bytes)
    {
        block.AddItem(static_cast<signed char>(byte));
    }
    return block;
}

class AxisEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        panel = editor.Find<LXYPadEditPanel>("viewDevice/xyPadEditPanel");
        ASSERT_TRUE(panel && panel->GetNoteModePage() && panel->GetMidiPage());
        panel->SetVisible(true);
        notes = panel->GetNoteModePage().Get();
        changes->Listen(KR::RCPtr<KR::LNotificationDistributor>(notes), u"NID_PARAMETERS_CHANGED");
    }
    KR::RCPtr<KR::LControl> Notes() const { return KR::RCPtr<KR::LControl>(notes); }
    std::vector<int> Fields() const
    {
        std::vector<int> fields;
        const auto& boxes = notes->GetNoteSelectors();
        for (std::uint32_t k = 0; k < boxes.GetCount(); ++k)
        {
            fields.push_back(InProcessEditor::Number(*boxes[k]));
        }
        return fields;
    }
    std::string Label(int field) const
    {
        return editor.Find("note" + std::to_string(field) + "/controlNameLabel", Notes())
            ->GetText()
            .ToUtf8()
            .GetPtr();
    }
    // How many fields are shown; each must be "note1".."noteN".
    int ShownFields() const
    {
        int shown = 0;
        while (shown < 8 && editor.Find("note" + std::to_string(shown + 1), Notes())->IsShown(false))
        {
            ++shown;
        }
        return shown;
    }
    std::string Mode() const { return InProcessEditor::Selected(*notes->GetNoteModeTypeSelector()); }
    std::string Scale() const { return InProcessEditor::Selected(*notes->GetNoteScaleTypeSelector()); }
    // A page in front, as its tab shows it; hidden controls take no keys.
    void Front(const char16_t* page)
    {
        editor.Find<KR::LTabControl>("viewTabControl", KR::RCPtr<KR::LControl>(panel))
            ->SelectPage(KR::String(page));
    }
    void Type(int field, const char16_t* note)
    {
        InProcessEditor::Enter(notes->GetNoteSelectors()[static_cast<std::uint32_t>(field - 1)].Get(), note);
    }
    Bytes DataBytes(std::size_t from, std::size_t count) const
    {
        const Bytes data = engine.DataBytes();
        return Bytes(data.begin() + static_cast<std::ptrdiff_t>(from),
                     data.begin() + static_cast<std::ptrdiff_t>(from + count));
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    LXYPadEditPanel* panel = nullptr;
    LNoteModeEditPanel* notes = nullptr;
    KR::RCPtr<KR::TestSupport::LNotificationCounter> changes{new KR::TestSupport::LNotificationCounter};
    KR::RCPtr<LRecordingParentModule> parent{new LRecordingParentModule};
};

TEST_F(AxisEditor, NoteBlocksAreShownInFieldOrderAndBuiltBack)
{
    const struct
    {
        const char* block;
        const char* fields;
        const char* mode;
        const char* scale;
        int shown; // fields shown, the last reading "LAST"
    } shows[] = {
        // The axes' defaults.
        {"8 60 72 62 64 65 67 69 71", "60 62 64 65 67 69 71 72", "8 Notes", "Major", 8},
        {"8 69 81 71 72 74 76 77 79", "69 71 72 74 76 77 79 81", "8 Notes", "Minor", 8},
        {"5 60 67 62 64 65 69 71 72", "60 62 64 65 67 69 71 72", "5 Notes", "Major", 5},
        {"3 60 70 61 0 0 0 0 0", "60 61 70 0 0 0 0 0", "3 Notes", "Off", 3},
        // A range keeps the hidden fields (built as 0 below).
        {"2 48 50 1 2 3 4 5 6", "48 50 70 0 0 0 0 0", "Range", "Off", 2},
        // Counts outside 2..8 show as the nearest (mend).
        {"0 48 50 0 0 0 0 0 0", "48 50 70 0 0 0 0 0", "Range", "Off", 2},
        {"9 60 72 62 64 65 67 69 71", "60 62 64 65 67 69 71 72", "8 Notes", "Major", 8},
        // Lydian and Dorian sit in the list the other way round from the scale tables.
        {"8 60 72 62 64 66 67 69 71", "60 62 64 66 67 69 71 72", "8 Notes", "Lydian", 8},
        {"8 62 74 64 65 67 69 71 72", "62 64 65 67 69 71 72 74", "8 Notes", "Dorian", 8},
    };
    for (const auto& c : shows)
    {
        const std::string at = c.block;
        KR::Array<signed char> block = ToBlock(Numbers(c.block));
        notes->ShowNoteModeBlock(block);
        EXPECT_EQ(Fields(), Numbers(c.fields)) << at;
        EXPECT_EQ(Mode(), c.mode) << at;
        EXPECT_EQ(Scale(), c.scale) << at;
        EXPECT_EQ(ShownFields(), c.shown) << at;
        EXPECT_EQ(Label(c.shown), "LAST") << at;
        for (int field = 2; field < c.shown; ++field)
        {
            EXPECT_EQ(Label(field), "NOTE " + std::to_string(field)) << at;
        }
    }

    const struct
    {
        const char* block;
        const char* reordered; // the caller's block after the show
        const char* built;
    } builds[] = {
        {"8 60 72 62 64 65 67 69 71", "8 60 62 64 65 67 69 71 72", "8 60 72 62 64 65 67 69 71"},
        {"8 69 81 71 72 74 76 77 79", "8 69 71 72 74 76 77 79 81", "8 69 81 71 72 74 76 77 79"},
        {"5 60 67 62 64 65 69 71 72", "5 60 62 64 65 67 69 71 72", "5 60 67 62 64 65 69 71 72"},
        {"3 60 70 61 0 0 0 0 0", "3 60 61 70 0 0 0 0 0", "3 60 70 61 0 0 0 0 0"},
        {"2 48 50 1 2 3 4 5 6", "2 48 50 1 2 3 4 5 6", "2 48 50 0 0 0 0 0 0"},
        {"0 48 50 0 0 0 0 0 0", "0 48 50 0 0 0 0 0 0", "2 48 50 0 0 0 0 0 0"},
        {"9 60 72 62 64 65 67 69 71", "9 60 62 64 65 67 69 71 72", "8 60 72 62 64 65 67 69 71"},
        {"8 60 72 62 64 66 67 69 71", "8 60 62 64 66 67 69 71 72", "8 60 72 62 64 66 67 69 71"},
        {"8 62 74 64 65 67 69 71 72", "8 62 64 65 67 69 71 72 74", "8 62 74 64 65 67 69 71 72"},
    };
    for (const auto& c : builds)
    {
        const std::string at = c.block;
        KR::Array<signed char> block = ToBlock(Numbers(c.block));
        notes->ShowNoteModeBlock(block);
        EXPECT_EQ(ToBytes(block), Numbers(c.reordered)) << at;
        EXPECT_EQ(ToBytes(notes->BuildNoteModeBlock()), Numbers(c.built)) << at;
    }
    KR::Array<signed char> wrong = ToBlock({5, 1, 2, 3, 4, 5, 6, 7});
    notes->ShowNoteModeBlock(wrong);
    EXPECT_EQ(ToBytes(notes->BuildNoteModeBlock()), (Bytes{8, 62, 74, 64, 65, 67, 69, 71, 72}))
        << "a block of another size is ignored";
}

TEST_F(AxisEditor, ScalesFillTheNotesFromTheFirst)
{
    KR::Array<signed char> standard = ToBlock({8, 60, 72, 62, 64, 65, 67, 69, 71});
    notes->ShowNoteModeBlock(standard);
    EXPECT_EQ(Label(1), "KEY");
    Front(u"noteModePage");
    const struct
    {
        int field;            // a note typed into this field (null: none),
        const char16_t* note; //
        const char* scale;    // then the scale and the mode chosen (null: none)
        const char* mode;     //
        std::vector<int> fields;
        const char* scaleShown;
        const char* firstLabel;
    } steps[] = {
        {1, u"57", nullptr, nullptr, {57, 59, 61, 62, 64, 66, 68, 69}, "Major", "KEY"},
        {0, nullptr, "Minor", nullptr, {57, 59, 60, 62, 64, 65, 67, 69}, "Minor", "KEY"},
        {0, nullptr, "Off", nullptr, {57, 59, 60, 62, 64, 65, 67, 69}, "Off", "FIRST"},
        {0, nullptr, "Major", nullptr, {57, 59, 61, 62, 64, 66, 68, 69}, "Major", "KEY"},
        {3, u"60", nullptr, nullptr, {57, 59, 60, 62, 64, 66, 68, 69}, "Off", "FIRST"},
        {0, nullptr, "Major", nullptr, {57, 59, 61, 62, 64, 66, 68, 69}, "Major", "KEY"},
        {1, u"125", "Chromatic", nullptr, {125, 126, 127, 127, 127, 127, 127, 127}, "Chromatic", "KEY"},
        {0, nullptr, nullptr, "Range", {125, 126, 127, 127, 127, 127, 127, 127}, "Chromatic", "KEY"},
        // In a range a scale moves no note and leaves the first label.
        {1, u"40", "Major", nullptr, {40, 126, 127, 127, 127, 127, 127, 127}, "Major", "KEY"},
    };
    for (const auto& s : steps)
    {
        const std::string at = ::testing::PrintToString(s.fields);
        if (s.note)
        {
            Type(s.field, s.note);
        }
        if (s.mode)
        {
            InProcessEditor::Choose(notes->GetNoteModeTypeSelector().Get(), s.mode);
        }
        if (s.scale)
        {
            InProcessEditor::Choose(notes->GetNoteScaleTypeSelector().Get(), s.scale);
        }
        EXPECT_EQ(Fields(), s.fields) << at;
        EXPECT_EQ(Scale(), s.scaleShown) << at;
        EXPECT_EQ(Label(1), s.firstLabel) << at;
    }

    // The held notes no longer follow the scale.
    KR::Array<signed char> chromatic = ToBlock({8, 125, 127, 126, 127, 127, 127, 127, 127});
    notes->ShowNoteModeBlock(chromatic);
    EXPECT_EQ(Scale(), "Off");

    InProcessEditor::Choose(notes->GetNoteModeTypeSelector().Get(), "Range");
    changes->Clear();
    InProcessEditor::Choose(notes->GetNoteScaleTypeSelector().Get(), "Minor");
    EXPECT_EQ(Fields(), (std::vector<int>{125, 126, 127, 127, 127, 127, 127, 127}));
    EXPECT_EQ(changes->Count("NID_PARAMETERS_CHANGED"), 1);
    EXPECT_TRUE(InProcessEditor::SiblingKeysReach(*notes)) << "keys between siblings work after a scale";
}

TEST_F(AxisEditor, EitherPageWritesTheWholeAxisBlock)
{
    panel->SetFirstParamID(parent.Get(), kXAxis, 0);
    const KR::RCPtr<KR::LControl> self(panel);
    EXPECT_EQ(editor.Find("axisName", self)->GetText(), KR::String(u"X-AXIS"));
    const Bytes standard = engine.Bytes(kXAxis);
    ASSERT_EQ(standard, (Bytes{0, 0, 112, 0, 0, 127, 8, 60, 72, 62, 64, 65, 67, 69, 71}));

    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kXAxis), Blob(standard), false), KR::kOk);
    EXPECT_EQ(panel->GetMidiPage()->GetTypeTabControl()->GetSelectedName(), KR::String(u"ccAbsolutePage"));
    auto* const controller = editor.Find<KR::LNumericUpDown>(
        "viewTabControl/pageHolder/midiPage/tabControl/pageHolder/ccAbsolutePage/cc/ccSelector/numericUpDown",
        self);
    ASSERT_TRUE(controller);
    EXPECT_EQ(InProcessEditor::Number(*controller), 112);
    EXPECT_EQ(Fields(), (std::vector<int>{60, 62, 64, 65, 67, 69, 71, 72}));
    EXPECT_EQ(engine.Bytes(kXAxis), standard);
    EXPECT_EQ(ToBytes(panel->BuildAxisBlock()), standard);
    ASSERT_FALSE(parent->received.empty());
    EXPECT_EQ(parent->received.back().bytes, standard) << "the picture is handed the value";

    const auto others = engine.All();
    InProcessEditor::Choose(notes->GetNoteScaleTypeSelector().Get(), "Chromatic");
    EXPECT_EQ(DataBytes(kXAxisData + 6, 9), (Bytes{0x08, 0x3C, 0x43, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42}));
    InProcessEditor::Choose(notes->GetNoteModeTypeSelector().Get(), "Range");
    EXPECT_EQ(DataBytes(kXAxisData + 6, 9), (Bytes{0x02, 0x3C, 0x3D, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ShownFields(), 2);
    EXPECT_EQ(Label(2), "LAST");
    Front(u"midiPage");
    InProcessEditor::Enter(controller, u"20");
    EXPECT_EQ(DataBytes(kXAxisData, 15), (Bytes{0, 0, 0x14, 0, 0, 0x7F, 0x02, 0x3C, 0x3D, 0, 0, 0, 0, 0, 0}));
    auto after = engine.All();
    after[kXAxis] = others[kXAxis];
    EXPECT_EQ(after, others) << "no other parameter changed";

    const Bytes handed{3, 1, 6, 0, 5, 2, 5, 60, 67, 62, 64, 65, 69, 71, 72};
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kXAxis), Blob(handed), false), KR::kOk);
    EXPECT_EQ(engine.Bytes(kXAxis), handed);
    EXPECT_EQ(ToBytes(panel->BuildAxisBlock()), handed);
    EXPECT_EQ(Mode(), "5 Notes");

    // A scale chosen from a high root holds notes at 127, where no scale is recognised: the
    // model's echo of that write leaves the user's choice standing.
    Front(u"noteModePage");
    Type(1, u"120");
    InProcessEditor::Choose(notes->GetNoteScaleTypeSelector().Get(), "Major");
    const Bytes chosen = engine.Bytes(kXAxis);
    ASSERT_EQ(chosen, (Bytes{3, 1, 6, 0, 5, 2, 5, 120, 127, 122, 124, 125, 127, 127, 127}));
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kXAxis), Blob(chosen), false), KR::kOk);
    EXPECT_EQ(Scale(), "Major");
    EXPECT_EQ(Label(1), "KEY");
    EXPECT_EQ(engine.Bytes(kXAxis), chosen);
    EXPECT_EQ(parent->received.back().bytes, chosen) << "the picture is handed the echo";
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kXAxis), Blob(handed), false), KR::kOk);

    for (const Bytes& wrong : {Bytes(14, 0), Bytes(16, 0)})
    {
        EXPECT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kXAxis), Blob(wrong), false), KR::kFail);
    }
    EXPECT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(kXAxis + 1), Blob(standard), false), KR::kFail);
    EXPECT_EQ(ToBytes(panel->BuildAxisBlock()), handed);

    panel->SetFirstParamID(parent.Get(), kXAxis + 1, 1);
    EXPECT_EQ(editor.Find("axisName", self)->GetText(), KR::String(u"Y-AXIS"));
    panel->SetFirstParamID(parent.Get(), kXAxis + 2, 2);
    EXPECT_EQ(editor.Find("axisName", self)->GetText(), KR::String(u"Y-AXIS"));
}

TEST_F(AxisEditor, AnUnboundPanelWritesNothing)
{
    const auto model = engine.All();
    InProcessEditor::Choose(notes->GetNoteScaleTypeSelector().Get(), "Chromatic");
    InProcessEditor::Choose(notes->GetNoteModeTypeSelector().Get(), "5 Notes");
    EXPECT_GT(changes->Count("NID_PARAMETERS_CHANGED"), 0);
    EXPECT_EQ(engine.All(), model);
}

} // namespace
