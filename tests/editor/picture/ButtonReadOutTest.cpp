// The button mode read-out in the real tree: what each record of the shared table prints,
// and where a record prints nothing.

#include "editor/picture/ButtonControlViewPanel.h"
#include "editor/support/ButtonModeRecords.h"
#include "editor/support/InProcessEditor.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using KR::TestSupport::InProcessEditor;
using KR::TestSupport::RecordOf;

class ButtonReadOut : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        view = editor.Find<LButtonControlViewPanel>("viewDevice/buttons/buttonBank1/button1/viewPanel");
        ASSERT_TRUE(view);
    }
    std::string Text(const char* path) const
    {
        return editor.Find(path, KR::RCPtr<KR::LControl>(view))->GetText().ToUtf8().GetPtr();
    }

    InProcessEditor editor;
    LButtonControlViewPanel* view = nullptr;
};

TEST_F(ButtonReadOut, EveryButtonPadAndTheSustainPedalHoldOne)
{
    std::vector<std::string> paths{"viewDevice/pedals/sustainPedal/viewPanel"};
    for (int bank = 1; bank <= 4; ++bank)
    {
        for (int button = 1; button <= 9; ++button)
        {
            paths.push_back("viewDevice/buttons/buttonBank" + std::to_string(bank) + "/button" +
                            std::to_string(button) + "/viewPanel");
        }
    }
    for (int pad = 1; pad <= 16; ++pad)
    {
        paths.push_back("viewDevice/pads/pad" + std::to_string(pad) + "/viewPanel");
    }
    for (const std::string& path : paths)
    {
        EXPECT_TRUE(editor.Find<LButtonControlViewPanel>(path)) << path;
    }
}

TEST_F(ButtonReadOut, RecordsPrintTheirModeAndChannel)
{
    for (const auto& c : KR::TestSupport::ButtonModeCases())
    {
        KR::Array<signed char> record = RecordOf(c.shown);
        view->ShowModeRecord(record);
        EXPECT_EQ(Text("infoLabel"), c.info) << c.tab << " " << c.info;
        EXPECT_EQ(Text("midiChannel/label"), c.channel) << c.info;
        // The copy it was given is repaired as the editor repairs it.
        EXPECT_EQ(KR::TestSupport::BytesOf(record), c.repaired.empty() ? c.shown : c.repaired) << c.info;
    }
}

TEST_F(ButtonReadOut, RecordsOfOtherSizesAndOddBytesPrintAsTheyShould)
{
    const struct
    {
        KR::TestSupport::RecordBytes record;
        const char* info;
        const char* channel;
    } cases[] = {
        {{0x05, 0x00, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F}, "CC:\n7", "CH:5"},
        // The same controller as a message code: an NRPN number from the first and last values.
        {{0x05, 0x01, 0x07, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x02}, "NRPN:\n259", "CH:5"},
        {{0x01, 0x01, 0x11, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "PG:\n42", "CH:1"},
        {{0x11, 0x01, 0x12, 0x0C, 0x00, 0x01, 0x00, 0x01, 0x00, 0x7F}, "CC:\n12", "CH:Z1"},
        {{0x15, 0x01, 0x19, 0x0D, 0x00, 0x01, 0x00, 0x01, 0x00, 0x7F}, "CC:\n13", "CH:OM"},
        {{0x00, 0x01, 0x15, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}, "STOP", "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00}, "CHASE", "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "MMC", "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00}, "MMC", "CH:G"},
        {{0x00, 0x01, 0x15, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00}, "MMC", "CH:G"},
        {{0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "OTHER", "CH:G"},
        {{0x00, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "SYSEX", "CH:G"},
        {{0x00, 0x01, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "OTHER", "CH:G"},
    };
    for (const auto& c : cases)
    {
        KR::Array<signed char> record = RecordOf(c.record);
        view->ShowModeRecord(record);
        EXPECT_EQ(Text("infoLabel"), c.info);
        EXPECT_EQ(Text("midiChannel/label"), c.channel) << c.info;
    }
    for (const KR::TestSupport::RecordBytes& wrong :
         {KR::TestSupport::RecordBytes{0x05, 0x01, 0x14, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x7F},
          KR::TestSupport::RecordBytes{0x05, 0x01, 0x14, 0x3C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7F, 0x00},
          KR::TestSupport::RecordBytes{}})
    {
        KR::Array<signed char> record = RecordOf(wrong);
        view->ShowModeRecord(record);
        EXPECT_EQ(Text("infoLabel"), "OTHER");
        EXPECT_EQ(Text("midiChannel/label"), "CH:G");
    }
}

} // namespace

namespace
{

// The read-out keeps the MMC list it found; once that list leaves the window, it names
// the commands from another mode editor's list, and with none left its text stands.
TEST_F(ButtonReadOut, MmcNamesComeFromAListStillInTheWindow)
{
    const auto show = [&](signed char command)
    {
        KR::Array<signed char> record =
            RecordOf({0x00, 0x01, 0x15, 0x00, command, 0x00, 0x00, 0x00, 0x00, 0x00});
        view->ShowModeRecord(record);
        return Text("infoLabel");
    };
    EXPECT_EQ(show(0x02), "PLAY");
    KR::RCPtrArray<KR::LControl> lists;
    editor.Find("viewDevice")->FindDescendantControls(KR::String(u"mmc"), lists);
    ASSERT_GE(lists.GetCount(), 2u);
    std::string last;
    for (std::uint32_t i = 0; i < lists.GetCount(); ++i)
    {
        last = i % 2 == 0 ? "STOP" : "EJECT";
        EXPECT_EQ(show(i % 2 == 0 ? 0x01 : 0x0A), last) << "lists left: " << lists.GetCount() - i;
        ASSERT_EQ(lists[i]->Detach(), KR::kOk);
    }
    EXPECT_EQ(show(0x02), last) << "no list left: the text stands";
}

} // namespace
