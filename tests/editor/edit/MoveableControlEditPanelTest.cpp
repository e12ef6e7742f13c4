// The block editor inside the encoder edit panel of the real tree: what a shown block
// puts on the pages, what the page in front builds, and when the editor reports a change.

#include "editor/edit/MoveableControlEditPanel.h"
#include "editor/support/InProcessEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

using Bytes = std::vector<int>;

KR::Array<signed char> Block(const Bytes& bytes)
{
    KR::Array<signed char> block;
    for (const int byte : bytes)
    {
        block.AddItem(static_cast<signed char>(byte));
    }
    return block;
}

Bytes Of(const KR::Array<signed char>& block)
{
    Bytes bytes;
    for (std::uint32_t i = 0; i < block.GetCount(); ++i)
    {
        bytes.push_back(static_cast<unsigned char>(block[i]));
    }
    return bytes;
}

class MoveableEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        ASSERT_TRUE(editor.main);
        // Shown as its group shows it when the encoder is chosen: hidden controls take no keys.
        editor.Find("viewDevice/knobEditPanel")->SetVisible(true);
        panel = editor.Find<LMoveableControlEditPanel>("viewDevice/knobEditPanel/moveableTypePanel");
        ASSERT_TRUE(panel);
        counter->Listen(KR::RCPtr<KR::LNotificationDistributor>(panel), u"NID_PARAMETERS_CHANGED");
    }
    void TearDown() override { counter->UnregisterForAllNotifications(); }

    KR::LControl* Page(const char* name) const
    {
        return editor.Find(std::string("tabControl/pageHolder/") + name, KR::RCPtr<KR::LControl>(panel));
    }
    template <typename T>
    T* At(const char* page, const char* path) const
    {
        return editor.Find<T>(path, KR::RCPtr<KR::LControl>(Page(page)));
    }
    KR::LComboBox* List(const char* page, const char* child) const
    {
        return At<KR::LComboBox>(page, (std::string(child) + "/comboBox").c_str());
    }
    KR::LNumericUpDown* Box(const char* page, const char* path) const
    {
        return At<KR::LNumericUpDown>(page, (std::string(path) + "/numericUpDown").c_str());
    }
    std::string Front() const { return panel->GetTypeTabControl()->GetSelectedName().ToUtf8().GetPtr(); }

    InProcessEditor editor;
    LMoveableControlEditPanel* panel = nullptr;
    KR::RCPtr<KR::TestSupport::LNotificationCounter> counter{new KR::TestSupport::LNotificationCounter};
};

TEST_F(MoveableEditor, TheListsAndBoxesAreThePagesOwnWithTheirRanges)
{
    const KR::LComboBox& other = *List("otherPage", "otherType");
    const std::vector<std::string> items = InProcessEditor::Items(other);
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items[0], "Pitch Bend Sensitivity(RPN)");
    EXPECT_EQ(items[4], "Master Volume (Sysex)");
    EXPECT_EQ(items[12], "Pitch Bend");
    EXPECT_EQ(InProcessEditor::Items(*List("ccAbsolutePage", "midiChannel")).size(), 22u);
    EXPECT_EQ(InProcessEditor::Items(*List("ccRelativePage", "relativeType")).size(), 4u);
    EXPECT_EQ(InProcessEditor::Items(*List("nrpnRpnPage", "NrpnRpnSelector")).size(), 4u);

    for (const auto& [page, box] : {std::pair{"ccAbsolutePage", "cc/ccSelector"},
                                    {"ccAbsolutePage", "minMaxSelectors/max"},
                                    {"otherPage", "minMaxSelectors/min"}})
    {
        KR::LNumericUpDown* numbers = Box(page, box);
        ASSERT_TRUE(numbers) << box;
        EXPECT_DOUBLE_EQ(numbers->InterpolateValue(1.0), 127.0) << box;
        InProcessEditor::Enter(numbers, u"1000");
        EXPECT_LE(InProcessEditor::Number(*numbers), 127) << box << ": three characters at most, in range";
    }
}

TEST_F(MoveableEditor, AShownBlockLandsOnItsPageAndBuildsBack)
{
    const struct
    {
        Bytes shown;
        const char* front;
        const char* channel; // on the page in front
        const char* list;    // the page's own list: its selected item ("" for none)
        Bytes built;         // empty: the shown block
    } cases[] = {
        {{0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}, "ccAbsolutePage", "Global", "", {}},
        {{0x03, 0x01, 0x06, 0x00, 0x05, 0x02}, "nrpnRpnPage", "Channel 3", "NRPN Coarse", {}},
        {{0x00, 0x01, 0x03, 0x00, 0x00, 0x7F}, "otherPage", "Global", "Channel Pressure", {}},
        {{0x00, 0x01, 0x10, 0x00, 0x00, 0x7F}, "otherPage", "Global", "Pitch Bend", {}},
        {{0x00, 0x01, 0x08, 0x00, 0x10, 0x70}, "otherPage", "Global", "Master Volume (Sysex)", {}},
        {{0x15, 0x00, 0x0A, 0x01, 0x02, 0x7F},
         "ccRelativePage",
         "Omni",
         "Up (Type 2)",
         {0x15, 0x00, 0x0A, 0x01, 0x02, 0x00}},
        // Bytes with no item in their list are built back as they were shown, never as 0xFF.
        {{0x00, 0x01, 0x11, 0x00, 0x00, 0x7F}, "otherPage", "Global", "", {}},
        {{0x16, 0x00, 0x07, 0x00, 0x00, 0x7F}, "ccAbsolutePage", "", "", {}},
        {{0x02, 0x00, 0x07, 0x01, 0x04, 0x00}, "ccRelativePage", "Channel 2", "", {}},
    };
    const char* lists[] = {"", "relativeType", "NrpnRpnSelector", "otherType"};
    const char* pages[] = {"ccAbsolutePage", "ccRelativePage", "nrpnRpnPage", "otherPage"};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(c.shown));
        panel->ShowMoveableBlock(Block(c.shown));
        EXPECT_EQ(Front(), c.front);
        const int page = panel->GetTypeTabControl()->GetSelectedIndex();
        ASSERT_GE(page, 0);
        for (const char* each : pages)
        {
            EXPECT_EQ(InProcessEditor::Selected(*List(each, "midiChannel")), c.channel) << each;
        }
        if (page > 0)
        {
            EXPECT_EQ(InProcessEditor::Selected(*List(pages[page], lists[page])), c.list);
        }
        EXPECT_EQ(Of(panel->BuildMoveableBlock()), c.built.empty() ? c.shown : c.built);
    }
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 0) << "showing reports nothing";

    panel->ShowMoveableBlock(Block({0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(InProcessEditor::Number(*Box("ccAbsolutePage", "cc/ccSelector")), 7);
    EXPECT_EQ(InProcessEditor::Number(*Box("ccRelativePage", "cc/ccSelector")), 7);
    EXPECT_EQ(InProcessEditor::Number(*Box("ccAbsolutePage", "minMaxSelectors/min")), 0);
    EXPECT_EQ(InProcessEditor::Number(*Box("ccAbsolutePage", "minMaxSelectors/max")), 127);
    EXPECT_EQ(InProcessEditor::Number(*Box("nrpnRpnPage", "msbLSBSelectors/lsb")), 5)
        << "unused pages keep theirs";

    // A block of another size changes nothing.
    for (const Bytes& wrong :
         {Bytes{0x03, 0x01, 0x06, 0x00}, Bytes{0x03, 0x01, 0x06, 0x00, 0x05, 0x02, 0x00}})
    {
        panel->ShowMoveableBlock(Block(wrong));
        EXPECT_EQ(Front(), "ccAbsolutePage");
        EXPECT_EQ(Of(panel->BuildMoveableBlock()), (Bytes{0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}));
    }
}

TEST_F(MoveableEditor, EachUserChangeAfterTheFirstShowReportsOnce)
{
    KR::LNumericUpDown* cc = Box("ccAbsolutePage", "cc/ccSelector");
    InProcessEditor::Enter(cc, u"9");
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 0) << "nothing registered before the first show";

    panel->ShowMoveableBlock(Block({0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 0);
    InProcessEditor::Enter(cc, u"60");
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 1);
    EXPECT_EQ(Of(panel->BuildMoveableBlock()), (Bytes{0x00, 0x00, 60, 0x00, 0x00, 0x7F}));

    List("ccAbsolutePage", "midiChannel")->SetSelectedIndex(5);
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 2);

    panel->GetTypeTabControl()->SelectPage(KR::String(u"otherPage"));
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 3) << "a tab switch is a change";
    EXPECT_EQ(panel->BuildMoveableBlock()[1], 1);

    List("otherPage", "otherType")->SetSelectedIndex(4);
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 4);
    EXPECT_EQ(panel->BuildMoveableBlock()[2], 8) << "Master Volume (Sysex)";

    // A second show re-registers without doubling anything.
    panel->ShowMoveableBlock(Block({0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}));
    counter->Clear();
    InProcessEditor::Enter(Box("ccAbsolutePage", "minMaxSelectors/max"), u"100");
    EXPECT_EQ(counter->Count("NID_PARAMETERS_CHANGED"), 1);

    panel->GetTypeTabControl()->SelectPage(KR::String(u"noSuchPage"));
    EXPECT_EQ(Of(panel->BuildMoveableBlock()), (Bytes{0, 0, 0, 0, 0, 0})) << "no page selected";
}

// A show drops the editor's registrations while it fills the fields, never its place among
// the panels that hear their siblings' keys.
TEST_F(MoveableEditor, KeysASiblingLeavesStillReachTheEditorAfterAShow)
{
    ASSERT_TRUE(InProcessEditor::SiblingKeysReach(*panel));
    panel->ShowMoveableBlock(Block({0x00, 0x01, 0x30, 0x00, 0x00, 0x7F}));
    EXPECT_TRUE(InProcessEditor::SiblingKeysReach(*panel));
}

} // namespace
