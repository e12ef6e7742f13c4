// The picture's read-outs in an encoder cell of the real tree: the channel and message
// texts a block prints, and the blocks that print nothing.

#include "TestPaths.h"
#include "editor/edit/TableTextFormat.h"
#include "editor/picture/MIDIChannelViewPanel.h"
#include "editor/picture/MoveableControlViewPanel.h"
#include "editor/support/InProcessEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::InProcessEditor;

KR::Array<signed char> Block(const std::vector<int>& bytes)
{
    KR::Array<signed char> block;
    for (const int byte : bytes)
    {
        block.AddItem(static_cast<signed char>(byte));
    }
    return block;
}

class ReadOut : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        view = editor.Find<LMoveableControlViewPanel>("viewDevice/encoders/encoderBank1/encoder1/viewPanel");
        ASSERT_TRUE(view);
        channel = editor.Find<LMIDIChannelViewPanel>("midiChannel", KR::RCPtr<KR::LControl>(view));
        ASSERT_TRUE(channel);
    }
    std::string Text(const char* path) const
    {
        return editor.Find(path, KR::RCPtr<KR::LControl>(view))->GetText().ToUtf8().GetPtr();
    }

    InProcessEditor editor;
    LMoveableControlViewPanel* view = nullptr;
    LMIDIChannelViewPanel* channel = nullptr;
};

TEST_F(ReadOut, ChannelBytesPrintTheirTexts)
{
    channel->ShowChannel(5);
    const struct
    {
        int byte;
        const char* text; // "CH:5": unchanged from before
    } cases[] = {{0, "CH:G"},   {1, "CH:1"},   {16, "CH:16"},  {17, "CH:Z1"},   {20, "CH:Z4"},
                 {21, "CH:OM"}, {22, "CH:OM"}, {127, "CH:OM"}, {0xFF, "CH:-1"}, {0x80, "CH:-128"}};
    for (const auto& c : cases)
    {
        channel->ShowChannel(static_cast<signed char>(c.byte));
        EXPECT_EQ(Text("midiChannel/label"), c.text) << c.byte;
    }
}

TEST_F(ReadOut, BlocksPrintTheirChannelAndMessage)
{
    const struct
    {
        std::vector<int> block;
        const char* channel;
        const char* info;
    } cases[] = {
        {{0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}, "CH:G", "CC:\n7"},
        {{0x02, 0x01, 0x06, 0x00, 0x05, 0x01}, "CH:2", "NRPN:\n133"},
        {{0x03, 0x01, 0x04, 0x00, 0x00, 0x00}, "CH:3", "RPN:\n0"},
        {{0x00, 0x01, 0x10, 0x00, 0x00, 0x7F}, "CH:G", "PITCH\nBEND"},
        {{0x00, 0x01, 0x03, 0x00, 0x00, 0x7F}, "CH:G", "CH. AFT."},
        {{0x00, 0x01, 0x02, 0x00, 0x00, 0x7F}, "CH:G", "OTHER"},
        {{0x00, 0x01, 0x08, 0x00, 0x00, 0x7F}, "CH:G", "SYSEX"},
        {{0x00, 0x01, 0x0F, 0x00, 0x00, 0x7F}, "CH:G", "SYSEX"},
        {{0x00, 0x00, 0x07, 0x01, 0x00, 0x7F}, "CH:G", "CC:\n7"},          // relative: byte 3 is not read
        {{0x01, 0x00, 0x80, 0x00, 0x00, 0x00}, "CH:1", "CC:\n4294967168"}, // %u of the sign-extended byte
    };
    for (const auto& c : cases)
    {
        view->ShowMoveableBlock(Block(c.block));
        EXPECT_EQ(Text("midiChannel/label"), c.channel) << c.info;
        EXPECT_EQ(Text("infoLabel"), c.info);
    }
    for (const std::vector<int>& wrong : {std::vector<int>{0x05, 0x01, 0x06, 0x00, 0x05},
                                          std::vector<int>{0x05, 0x01, 0x06, 0x00, 0x05, 0x01, 0x00}})
    {
        view->ShowMoveableBlock(Block(wrong));
        EXPECT_EQ(Text("midiChannel/label"), "CH:1");
        EXPECT_EQ(Text("infoLabel"), "CC:\n4294967168");
    }
}

// Table texts can come from a folder the user edits: a text whose conversions do not fit
// the values is shown as it stands.
TEST(TableText, FormatsOnlyWhenTheConversionsFitTheValues)
{
    const KR::String name(u"A");
    const struct
    {
        const char16_t* format;
        std::vector<TableTextArgument> arguments;
        const char* shown;
    } cases[] = {
        {u"CH:%d", {std::int64_t{5}}, "CH:5"},
        {u"CH:%s", {std::int64_t{5}}, "CH:%s"},
        {u"CC:\n%s%s", {std::int64_t{7}}, "CC:\n%s%s"},
        {u"CC:\n%u", {std::int64_t{-1}}, "CC:\n4294967295"},
        {u"B%03d %%", {std::int64_t{7}}, "B007 %"},
        {u"%s: %i", {name, std::int64_t{-2}}, "A: -2"},
        {u"%d %d", {std::int64_t{1}}, "%d %d"},
        {u"%d", {}, "%d"},
        {u"%ld", {std::int64_t{1}}, "%ld"},
        {u"%*d", {std::int64_t{1}}, "%*d"},
        {u"%n", {std::int64_t{1}}, "%n"},
        {u"50%", {}, "50%"},
        {u"plain", {}, "plain"},
    };
    for (const auto& c : cases)
    {
        KR::String shown;
        switch (c.arguments.size())
        {
        case 0:
            shown = FormatTableText(KR::String(c.format), {});
            break;
        case 1:
            shown = FormatTableText(KR::String(c.format), {c.arguments[0]});
            break;
        default:
            shown = FormatTableText(KR::String(c.format), {c.arguments[0], c.arguments[1]});
            break;
        }
        EXPECT_EQ(std::string(shown.ToUtf8().GetPtr()), c.shown) << KR::String(c.format).ToUtf8().GetPtr();
    }
}

// A string table edited by the user may hold texts whose conversions do not fit the
// read-out's numbers: they are shown as they stand, never formatted with a number taken
// as a text.
TEST(ReadOutTexts, ATableTextThatDoesNotFitIsShownAsItStands)
{
    const std::string strings = InProcessEditor::EditedFile(
        KR_EDITOR_STRINGS_FILE, "edited_strings",
        [](std::string& text)
        {
            for (const auto& [from, to] : {std::pair<std::string, std::string>{">CH:%d<", ">CH:%s<"},
                                           {">CC:&#10;%u<", ">CC:&#10;%s%s<"}})
            {
                const std::size_t at = text.find(from);
                ASSERT_NE(at, std::string::npos) << from;
                text.replace(at, from.size(), to);
            }
        });
    InProcessEditor editor(true, std::string(), strings);
    ASSERT_EQ(editor.loaded, KR::kOk);
    auto* view =
        editor.Find<LMoveableControlViewPanel>("viewDevice/encoders/encoderBank1/encoder1/viewPanel");
    ASSERT_TRUE(view);
    view->ShowMoveableBlock(Block({0x05, 0x00, 0x07, 0x00, 0x00, 0x7F}));
    const KR::RCPtr<KR::LControl> at(view);
    EXPECT_EQ(std::string(editor.Find("midiChannel/label", at)->GetText().ToUtf8().GetPtr()), "CH:%s");
    EXPECT_EQ(std::string(editor.Find("infoLabel", at)->GetText().ToUtf8().GetPtr()), "CC:\n%s%s");
}

} // namespace
