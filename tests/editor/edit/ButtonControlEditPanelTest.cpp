// The button mode editor in the real tree: the shared record table shown on the sustain
// pedal's editor and built back, what the pages build, the cycle pages' labels, when the
// editor reports a change, and the skins it refuses.

#include "editor/edit/ButtonControlEditPanel.h"
#include "TestPaths.h"
#include "editor/support/ButtonModeRecords.h"
#include "editor/support/InProcessEditor.h"
#include "kr/controls/Label.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using KR::RCPtr;
using KR::TestSupport::BytesOf;
using KR::TestSupport::InProcessEditor;
using KR::TestSupport::RecordBytes;
using KR::TestSupport::RecordOf;

constexpr const char* kSustainEditor = "viewDevice/sustainEditPage/buttonTypePanel";
constexpr const char* kButtonEditor = "viewDevice/buttonEditPanel/viewTabControl/pageHolder/midiPage";
constexpr const char* kPadEditor = "viewDevice/padEditPanel/viewTabControl/pageHolder/midiPage";

// What a control shows, as the table writes it: a list its selected item, a number box
// its number, a button its value, a label its text.
std::string Shown(KR::LControl* control)
{
    if (!control)
    {
        return "(missing)";
    }
    if (auto* list = dynamic_cast<KR::LComboBox*>(control))
    {
        return InProcessEditor::Selected(*list);
    }
    if (auto* box = dynamic_cast<KR::LNumericUpDown*>(control))
    {
        return std::to_string(InProcessEditor::Number(*box));
    }
    if (auto* button = dynamic_cast<KR::LButton*>(control))
    {
        return button->GetValue() >= 0.5 ? "1" : "0";
    }
    return control->GetText().ToUtf8().GetPtr();
}

class ButtonEditor : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        ASSERT_TRUE(editor.main);
        editor.Find("viewDevice/sustainEditPage")->SetVisible(true);
        editor.window->UpdateLayout();
        panel = editor.Find<LButtonControlEditPanel>(kSustainEditor);
        ASSERT_TRUE(panel);
        counter->Listen(RCPtr<KR::LNotificationDistributor>(panel), u"NID_PARAMETERS_CHANGED");
    }
    void TearDown() override { counter->UnregisterForAllNotifications(); }

    KR::LControl* At(const std::string& path) const
    {
        return editor.Find("tabControl/pageHolder/" + path, RCPtr<KR::LControl>(panel));
    }
    KR::LNumericUpDown* Box(const std::string& path) const
    {
        return dynamic_cast<KR::LNumericUpDown*>(At(path + "/numericUpDown"));
    }
    KR::LComboBox* List(const std::string& path) const
    {
        return dynamic_cast<KR::LComboBox*>(At(path + "/comboBox"));
    }
    std::string FrontTab() const
    {
        const KR::String name = panel->GetTabControl()->GetSelectedName();
        return editor
            .Find("tabControl/buttonHolder/" + std::string(name.ToUtf8().GetPtr()),
                  RCPtr<KR::LControl>(panel))
            ->GetText()
            .ToUtf8()
            .GetPtr();
    }
    void Show(const RecordBytes& bytes)
    {
        KR::Array<signed char> record = RecordOf(bytes);
        panel->ShowModeRecord(record);
    }
    int Changes() { return counter->Count("NID_PARAMETERS_CHANGED"); }
    void Click(KR::LControl* control) { editor.Click(control); }

    InProcessEditor editor;
    LButtonControlEditPanel* panel = nullptr;
    RCPtr<KR::TestSupport::LNotificationCounter> counter{new KR::TestSupport::LNotificationCounter};
};

TEST_F(ButtonEditor, TableRecordsLandOnTheirPagesAndBuildBack)
{
    for (const auto& c : KR::TestSupport::ButtonModeCases())
    {
        counter->Clear();
        KR::Array<signed char> record = RecordOf(c.shown);
        panel->ShowModeRecord(record);
        const RecordBytes repaired = c.repaired.empty() ? c.shown : c.repaired;
        EXPECT_EQ(BytesOf(record), repaired) << c.info;
        EXPECT_EQ(FrontTab(), c.tab) << c.info;
        for (const auto& [path, shown] : c.fields)
        {
            EXPECT_EQ(Shown(At(path)), shown) << c.info << " " << path;
        }
        EXPECT_EQ(BytesOf(panel->BuildModeRecord()), c.built.empty() ? repaired : c.built) << c.info;
        // Only the cycle pages' relabelling reports itself while a record is shown.
        const bool cycle = repaired[2] == 0x12 || repaired[2] == 0x1D;
        EXPECT_EQ(Changes(), cycle && repaired[1] != 0 ? 1 : 0) << c.info;
    }
}

TEST_F(ButtonEditor, PagesBuildTheirBytes)
{
    // Every field starts from a record that fills all bytes, so a byte a page must leave
    // at zero shows up when it does not.
    const RecordBytes full{0x03, 0x01, 0x12, 0x2A, 0x0B, 0x00, 0x16, 0x00, 0x21, 0x7F};
    const struct
    {
        const char* what;
        std::function<void(ButtonEditor&)> edit;
        RecordBytes built;
    } cases[] = {
        {"2 values: the third and fourth fields do not count",
         [](ButtonEditor& t) { t.List("ccCyclePage/cycleType")->SetSelectedIndex(0); },
         {0x03, 0x01, 0x12, 0x2A, 0x0B, 0x01, 0x00, 0x01, 0x00, 0x16}},
        {"3 values",
         [](ButtonEditor& t) { t.List("ccCyclePage/cycleType")->SetSelectedIndex(1); },
         {0x03, 0x01, 0x12, 0x2A, 0x0B, 0x00, 0x16, 0x01, 0x00, 0x21}},
        {"program cycle leaves byte 3",
         [](ButtonEditor& t)
         {
             t.panel->GetTabControl()->SelectPage(KR::String(u"programCyclePage"));
             t.List("programCyclePage/cycleType")->SetSelectedIndex(0);
         },
         {0x03, 0x01, 0x1D, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00}},
        {"program inc/dec leaves byte 3",
         [](ButtonEditor& t) { t.panel->GetTabControl()->SelectPage(KR::String(u"programIncDecPage")); },
         {0x03, 0x01, 0x1C, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00}},
        {"cc absolute leaves 5..8",
         [](ButtonEditor& t) { t.panel->GetTabControl()->SelectPage(KR::String(u"ccAbsolutePage")); },
         {0x03, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"Chase",
         [](ButtonEditor& t)
         {
             t.panel->GetTabControl()->SelectPage(KR::String(u"mmcPage"));
             t.List("mmcPage/mmc")->SetSelectedIndex(10);
         },
         {0x03, 0x01, 0x15, 0x00, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"MMC Reset",
         [](ButtonEditor& t) { t.List("mmcPage/mmc")->SetSelectedIndex(11); },
         {0x03, 0x01, 0x15, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"Pitch Bend",
         [](ButtonEditor& t)
         {
             t.panel->GetTabControl()->SelectPage(KR::String(u"otherPage"));
             t.List("otherPage/type")->SetSelectedIndex(12);
         },
         {0x03, 0x01, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"Reverb Type",
         [](ButtonEditor& t) { t.List("otherPage/type")->SetSelectedIndex(13); },
         {0x03, 0x01, 0x16, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"a value of 63.9 counts 63",
         [](ButtonEditor& t)
         {
             // A box that shows tenths holds 63.9; the record takes the whole part.
             KR::LNumericUpDown* box = t.Box("otherPage/value");
             box->SetDecimals(1);
             box->SetValue(box->NormalizeValue(63.9));
         },
         {0x03, 0x01, 0x16, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"RPN/NRPN: the list's item + 4",
         [](ButtonEditor& t)
         {
             t.panel->GetTabControl()->SelectPage(KR::String(u"nrpnRpnPage"));
             t.List("nrpnRpnPage/NrpnRpn")->SetSelectedIndex(3);
         },
         {0x03, 0x01, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    Show(full);
    ASSERT_EQ(Shown(List("ccCyclePage/cycleType")), "4 Values");
    for (const auto& c : cases)
    {
        c.edit(*this);
        EXPECT_EQ(BytesOf(panel->BuildModeRecord()), c.built) << c.what;
    }
}

TEST_F(ButtonEditor, CyclePagesShowAndLabelTheValuesTheirTypeNeeds)
{
    const struct
    {
        int type;
        bool visible[3]; // second, third, fourth field
        const char* labels[4];
    } cases[] = {
        {1, {true, true, false}, {"FIRST", "VALUE 2", "LAST", nullptr}},
        {2, {true, true, true}, {"FIRST", "VALUE 2", "VALUE 3", "LAST"}},
        {0, {true, false, false}, {"FIRST", "LAST", nullptr, nullptr}},
    };
    for (const char* page : {"ccCyclePage/ccValue", "programCyclePage/program"})
    {
        const std::string front(page, std::string(page).find('/'));
        for (const auto& c : cases)
        {
            counter->Clear();
            List(front + "/cycleType")->SetSelectedIndex(c.type);
            EXPECT_EQ(Changes(), 1) << page << c.type;
            for (int field = 0; field < 4; ++field)
            {
                const std::string path = page + std::to_string(field + 1);
                if (field > 0)
                {
                    EXPECT_EQ(At(path)->IsShown(false), c.visible[field - 1]) << path << " type " << c.type;
                }
                if (c.labels[field])
                {
                    EXPECT_EQ(Shown(At(path + "/controlNameLabel")), c.labels[field])
                        << path << " type " << c.type;
                }
            }
        }
    }
}

TEST_F(ButtonEditor, UserChangesReportThemselves)
{
    Show({0x05, 0x01, 0x13, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F});
    counter->Clear();
    KR::LControl* latch = At("notePage/latching/button");
    Click(latch);
    EXPECT_EQ(Shown(latch), "1");
    EXPECT_EQ(Changes(), 2); // the click and the value it flipped
    Click(latch);
    EXPECT_EQ(Shown(latch), "0");
    EXPECT_EQ(Changes(), 4);

    counter->Clear();
    InProcessEditor::Enter(Box("notePage/onOffSelectors/off"), u"12");
    EXPECT_EQ(Changes(), 1);
    Click(editor.Find("tabControl/buttonHolder/mmcPage", RCPtr<KR::LControl>(panel)));
    EXPECT_EQ(panel->GetTabControl()->GetSelectedName(), KR::String(u"mmcPage"));
    EXPECT_EQ(Changes(), 2);
    List("mmcPage/mmc")->SetSelectedIndex(4);
    EXPECT_EQ(Changes(), 3);
    EXPECT_EQ(BytesOf(panel->BuildModeRecord()), (RecordBytes{0x05, 0x01, 0x15, 0x00, 0x05, 0, 0, 0, 0, 0}));
}

// A show drops the editor's registrations while it fills the fields, never its place among
// the panels that hear their siblings' keys.
TEST_F(ButtonEditor, KeysASiblingLeavesStillReachTheEditorAfterAShow)
{
    ASSERT_TRUE(InProcessEditor::SiblingKeysReach(*panel));
    Show({0x05, 0x01, 0x12, 0x0B, 0x00, 0x00, 0x10, 0x01, 0x00, 0x7F});
    EXPECT_TRUE(InProcessEditor::SiblingKeysReach(*panel));
}

TEST_F(ButtonEditor, EveryInstanceHasTenChannelListsInPageOrder)
{
    for (const char* path : {kSustainEditor, kButtonEditor, kPadEditor})
    {
        auto* instance = editor.Find<LButtonControlEditPanel>(path);
        ASSERT_TRUE(instance) << path;
        const KR::RCPtrArray<KR::LComboBox>& lists = instance->GetChannelSelectors();
        ASSERT_EQ(lists.GetCount(), 10u) << path;
        for (std::int32_t i = 0; i < 10; ++i)
        {
            const RCPtr<KR::LControl> page = instance->GetTabControl()->GetPage(i);
            EXPECT_EQ(lists[static_cast<std::uint32_t>(i)].Get(), editor.Find("midiChannel/comboBox", page))
                << path << " page " << i;
            EXPECT_EQ(lists[static_cast<std::uint32_t>(i)]->GetItemCount(), 22);
        }
        // Only the pad panel asks for it.
        EXPECT_EQ(instance->GetOnOffFollowsLatching(), std::string(path) == kPadEditor) << path;
    }
}

TEST_F(ButtonEditor, OnlyThePadsOnOffPairFollowsLatching)
{
    const RecordBytes latching{0x00, 0x01, 0x14, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F};
    const RecordBytes plain{0x00, 0x01, 0x13, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F};
    auto* pad = editor.Find<LButtonControlEditPanel>(kPadEditor);
    auto* button = editor.Find<LButtonControlEditPanel>(kButtonEditor);
    ASSERT_TRUE(pad && button);
    pad->SetOnOffFollowsLatching(true);
    const struct
    {
        LButtonControlEditPanel* instance;
        const RecordBytes& record;
        bool shown;
    } cases[] = {{pad, latching, true},
                 {pad, plain, false},
                 {pad, latching, true},
                 {button, plain, true},
                 {button, latching, true}};
    for (const auto& c : cases)
    {
        KR::Array<signed char> record = RecordOf(c.record);
        c.instance->ShowModeRecord(record);
        EXPECT_EQ(
            editor.Find("tabControl/pageHolder/notePage/onOffSelectors", RCPtr<KR::LControl>(c.instance))
                ->IsShown(false),
            c.shown)
            << (c.instance == pad ? "pad " : "button ") << c.record[2];
    }
}

TEST_F(ButtonEditor, BytesNoListCanShowAreKeptAndNoPageBuildsNothing)
{
    // "Other" keeps the command it stands for, whatever else the user changes.
    Show({0x00, 0x01, 0x15, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00});
    List("mmcPage/midiChannel")->SetSelectedIndex(2);
    EXPECT_EQ(BytesOf(panel->BuildModeRecord()), (RecordBytes{0x02, 0x01, 0x15, 0x00, 0x0C, 0, 0, 0, 0, 0}));
    // A channel past the list is built back after the user changes something else.
    Show({0x16, 0x01, 0x13, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F});
    Click(At("notePage/latching/button"));
    EXPECT_EQ(BytesOf(panel->BuildModeRecord()), (RecordBytes{0x16, 0x01, 0x14, 0x3C, 0, 0, 0, 0, 0, 0x7F}));
    // Records of other sizes change nothing, and registrations stay as they were.
    for (const RecordBytes& wrong : {RecordBytes{0x00, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F},
                                     RecordBytes(11, 0), RecordBytes{}})
    {
        Show(wrong);
        EXPECT_EQ(FrontTab(), "NOTE");
    }
    counter->Clear();
    InProcessEditor::Enter(Box("notePage/onOffSelectors/on"), u"99");
    EXPECT_EQ(Changes(), 1);

    panel->GetTabControl()->SelectPage(KR::String(u"nowhere"));
    EXPECT_EQ(panel->BuildModeRecord().GetCount(), 0u);
}

// A cycle page that lost a child after Initialize: the relabelling names it and its line.
TEST_F(ButtonEditor, ACyclePageThatLostAChildStopsTheRelabellingWithItsText)
{
    const struct
    {
        const char* parent;
        const char* child;
        const char* detail;
        int line;
    } cases[] = {
        {"tabControl/buttonHolder", "ccCyclePage", "Failed to find cc Cycle page", 532},
        {"tabControl/pageHolder/ccCyclePage/ccValue1", "controlNameLabel",
         "couldn't find child ccValue1 child Label", 536},
        {"tabControl/pageHolder/ccCyclePage/ccValue2", "controlNameLabel",
         "couldn't find child controlNameLabel", 540},
        {"tabControl/pageHolder/ccCyclePage", "ccValue4", "couldn't find child ccValue4", 548},
    };
    for (const auto& c : cases)
    {
        KR::LControl* parent = editor.Find(c.parent, RCPtr<KR::LControl>(panel));
        ASSERT_TRUE(parent) << c.parent;
        const RCPtr<KR::LControl> child = parent->FindChildControl(KR::String(c.child));
        ASSERT_TRUE(child) << c.child;
        parent->GetChildren().RenameChild(child, KR::String(u"gone"));
        std::string thrown;
        try
        {
            panel->UpdateCCCycleTypeVisibleParameters();
        }
        catch (const std::exception& error)
        {
            thrown = error.what();
        }
        parent->GetChildren().RenameChild(child, KR::String(c.child));
        EXPECT_EQ(thrown, "Runtime Error : Null Pointer : " + std::string(c.detail) +
                              " : LButtonControlEditPanel::UpdateCCCycleTypeVisibleParameters : "
                              "UI\\QuillanCommon\\ButtonControlEditPanel : Line " +
                              std::to_string(c.line));
    }
}

// The editors the tree made, kept alive past a failed creation.
std::vector<RCPtr<LButtonControlEditPanel>>& MadeEditors()
{
    static std::vector<RCPtr<LButtonControlEditPanel>> made;
    return made;
}

RCPtr<KR::LControl> CreateKeptEditor(const RCPtr<KR::LControl>& parent,
                                     const RCPtr<KR::LControlDescriptor>& descriptor)
{
    const RCPtr<LButtonControlEditPanel> made(new LButtonControlEditPanel(parent, descriptor->GetName()));
    MadeEditors().push_back(made);
    return KR::LControl::CompleteCreation(RCPtr<KR::LControl>(made), parent, descriptor);
}

void KeepEditorsMadeFrom(KR::LControlDescriptor& descriptor)
{
    if (descriptor.GetClass() == KR::String(LButtonControlEditPanel::kClassName))
    {
        descriptor.SetCreateFunction(&CreateKeptEditor);
    }
    for (std::uint32_t i = 0; i < descriptor.GetChildren().GetCount(); ++i)
    {
        KeepEditorsMadeFrom(*descriptor.GetChildren()[i]);
    }
}

TEST(ButtonEditorSkins, AMissingChildStopsTheEditorWithItsTextAndNothingRegistered)
{
    const char* const pageHolder = "Class=\"PresetEditor.Control.ButtonModesControl.TabControl.PageHolder\"";
    const struct
    {
        std::vector<std::pair<std::string, std::string>> renamed; // (after, child)
        const char* detail;                                       // the whole text when the line is 0
        int line;
    } cases[] = {
        {{{"Class=\"PresetEditor.Control.ButtonModesControl.TabControl.ButtonHolder\"", "otherPage"},
          {pageHolder, "otherPage"}},
         "can not find child otherPage",
         204},
        {{{"PageHolder.NrpnRpnPage\"", "lsb"}}, "Failed to find child: LSB", 137},
        {{{"PageHolder.NrpnRpnPage\"", "lsb"}, {"PageHolder.NrpnRpnPage\"", "msb"}},
         "Failed to find child: LSB",
         137},
        {{{"PageHolder.NrpnRpnPage\"", "msb"}}, "Failed to find child: MSB", 136},
        {{{"Name=\"latching\"", "button"}}, "Couldn't find latiching", 112},
        {{{"Name=\"ccValue1\"", "controlNameLabel"}}, "couldn't find child ccValue1 child Label", 78},
        {{{"Name=\"ccValue3\"", "controlNameLabel"}}, "couldn't find child controlNameLabel", 86},
        {{{"", "program3"}}, "couldn't find child program3", 151},
        {{{"", "program2"}}, "couldn't find child program2", 167},
        // Children Initialize does not test: the registration of their fields is refused.
        {{{"PageHolder.ProgramPage\"", "msbLSBSelectors"}},
         "Failed Result : KRRESULT = 80070057 : "
         "LButtonControlEditPanel::RegisterForAllParameterNotifications : "
         "UI\\QuillanCommon\\ButtonControlEditPanel : Line 263",
         0},
        {{{"ButtonModesControl.TabControl.PageHolder.CCAbsolutePage\"", "cc"}},
         "Failed Result : KRRESULT = 80070057 : SetNotificationForAllArrayItems : ControlUtilities : Line "
         "433",
         0},
    };
    for (const auto& c : cases)
    {
        const std::string skin =
            InProcessEditor::EditedFile(KR_EDITOR_SKIN_FILE, "button_editor_skin",
                                        [&](std::string& text)
                                        {
                                            for (const auto& [after, child] : c.renamed)
                                            {
                                                InProcessEditor::RenameChildren(text, after, child);
                                            }
                                        });
        InProcessEditor editor(false, skin);
        ASSERT_EQ(editor.loaded, KR::kOk);
        const RCPtr<KR::LControlDescriptor> main =
            editor.factory->FindControlDescriptor(KR::String(u"mainControl"));
        ASSERT_TRUE(main);
        KeepEditorsMadeFrom(*main);
        MadeEditors().clear();
        std::string thrown;
        try
        {
            editor.factory->CreateControlByName(KR::String(u"mainControl"), editor.window);
        }
        catch (const std::exception& error)
        {
            thrown = error.what();
        }
        if (c.line == 0)
        {
            // The registrations made before the refused one stay, as they do in the program.
            EXPECT_EQ(thrown, c.detail);
            MadeEditors().front()->ReleaseInternalReferences();
            MadeEditors().clear();
            continue;
        }
        EXPECT_EQ(thrown,
                  "Runtime Error : Null Pointer : " + std::string(c.detail) +
                      " : LButtonControlEditPanel::Initialize : UI\\QuillanCommon\\ButtonControlEditPanel : "
                      "Line " +
                      std::to_string(c.line));
        ASSERT_EQ(MadeEditors().size(), 1u) << c.detail;
        const RCPtr<LButtonControlEditPanel> failed = MadeEditors().front();
        const RCPtr<KR::LTabControl> tabs = failed->GetTabControl();
        ASSERT_TRUE(tabs);
        EXPECT_FALSE(tabs->HasClient(failed.Get())) << c.detail;
        const RCPtr<KR::LControl> note =
            editor.Find("pageHolder/notePage/onOffSelectors/on/numericUpDown", RCPtr<KR::LControl>(tabs));
        ASSERT_TRUE(note);
        EXPECT_FALSE(note->HasClient(failed.Get())) << c.detail;
        failed->ReleaseInternalReferences();
        MadeEditors().clear();
    }
}

} // namespace
