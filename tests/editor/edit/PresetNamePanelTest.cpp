// The preset name at the top left of the device view, in the real tree over the real
// engine: what the user types lands in the model as the name's six bytes, in the
// keyboard's own codes, and what the model holds is shown without going back.

#include "editor/edit/PresetNamePanel.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"
#include "kr/ui/Clipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::TestSupport::Blob;
using KR::TestSupport::InProcessEditor;
using Bytes = std::vector<int>;

constexpr std::uint8_t kEnd = 0x23;
constexpr std::uint8_t kHome = 0x24;

class PresetName : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        panel = editor.Find<LPresetNamePanel>("viewDevice/presetNameEditPanel");
        ASSERT_TRUE(panel && panel->GetTextBox());
        box = panel->GetTextBox().Get();
    }
    std::string Shown() const { return box->GetText().ToUtf8().GetPtr(); }
    // The whole name selected, as a user selects it to type over it.
    void SelectAll()
    {
        editor.Click(box);
        editor.Press(kEnd);
        editor.Press(kHome, KR::KeyCode::kShiftBit);
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
    LPresetNamePanel* panel = nullptr;
    KR::LTextBox* box = nullptr;
};

TEST_F(PresetName, WhatIsTypedLandsInTheModelInTheKeyboardsCodes)
{
    EXPECT_EQ(box->GetMaxLength(), 6);
    SelectAll();
    ASSERT_TRUE(box->HasFocus());
    editor.Type(u"ab c");
    EXPECT_EQ(box->GetScrollOffset().x, 0.0) << "a short name is not scrolled out of its box's left edge";
    EXPECT_EQ(engine.Bytes(0), (Bytes{0x41, 0x42, 0x22, 0x43, 0x00, 0x00}));
    EXPECT_EQ(Shown(), "ab c") << "the box keeps what was typed until the model's value comes back";
    // The model's echo of the newest name reads in upper case.
    editor.Idle();
    EXPECT_EQ(Shown(), "AB C");
    ASSERT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(0), engine.Value(0), false), KR::kOk);
    EXPECT_EQ(Shown(), "AB C");

    // Typed at the end of "AB C", one after the other.
    const struct
    {
        const char16_t* typed;
        const char* shown;
        Bytes model;
    } cases[] = {
        {u"!", "AB C", {0x41, 0x42, 0x22, 0x43, 0x00, 0x00}},
        {u"`", "AB C", {0x41, 0x42, 0x22, 0x43, 0x00, 0x00}},
        {u"'", "AB C'", {0x41, 0x42, 0x22, 0x43, 0x60, 0x00}},
        {u"]", "AB C']", {0x41, 0x42, 0x22, 0x43, 0x60, 0x5D}},
        {u"x", "AB C']", {0x41, 0x42, 0x22, 0x43, 0x60, 0x5D}},
    };
    editor.Press(kEnd);
    for (const auto& c : cases)
    {
        editor.Type(c.typed);
        EXPECT_EQ(Shown(), c.shown) << c.shown;
        EXPECT_EQ(engine.Bytes(0), c.model) << c.shown;
    }
}

TEST_F(PresetName, ABlockFromTheModelIsShownAndNotSentBack)
{
    const Bytes model = engine.Bytes(0);
    const struct
    {
        Bytes block;
        const char* shown;
    } cases[] = {
        {{0x4D, 0x41, 0x22, 0x60, 0x53, 0x00}, "MA 'S"},
        {{0x41, 0x42, 0x00, 0x43, 0x00, 0x00}, "AB"},
        {{0x57, 0x58, 0x59, 0x5A}, "WXYZ"},
        {{}, ""},
        {{0x50, 0x52, 0x45, 0x53, 0x45, 0x54}, "PRESET"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(0), Blob(c.block), false), KR::kOk);
        EXPECT_EQ(Shown(), c.shown);
    }
    EXPECT_EQ(panel->SetParamValueLocal(KR::ParamDescriptor(1), Blob({0x41, 0, 0, 0, 0, 0}), false),
              KR::kFail);
    EXPECT_EQ(Shown(), "PRESET");

    // A name loaded into the model reaches the box at the next idle pass and stays as loaded.
    ASSERT_EQ(engine.SetAsLoaded(0, {0x4D, 0x41, 0x22, 0x60, 0x53, 0x00}), KR::kOk);
    editor.Idle();
    EXPECT_EQ(Shown(), "MA 'S");
    EXPECT_EQ(engine.Bytes(0), (Bytes{0x4D, 0x41, 0x22, 0x60, 0x53, 0x00}));
    ASSERT_EQ(engine.SetAsLoaded(0, model), KR::kOk);
    editor.Idle();
    EXPECT_EQ(Shown(), "PRESET");
    EXPECT_EQ(engine.Bytes(0), model) << "nothing shown went back to the model";

    // Still listening to the user afterwards.
    SelectAll();
    editor.Type(u"Q");
    EXPECT_EQ(engine.Bytes(0), (Bytes{0x51, 0, 0, 0, 0, 0}));
}

TEST_F(PresetName, APasteKeepsOnlyWhatTypingWouldTake)
{
    const KR::RCPtr<KR::LClipboard> clipboard = KR::LClipboard::Create();
    editor.app.clipboard = clipboard;
    clipboard->SetText(KR::LClipboard::TextHolder::Create(KR::String(u"\u00e9!x")));
    SelectAll();
    EXPECT_EQ(box->PerformEdit(KR::EditOperation::kPaste), KR::kOk);
    EXPECT_EQ(engine.Bytes(0), (Bytes{0x58, 0, 0, 0, 0, 0}));
    editor.app.clipboard = nullptr;
}

} // namespace
