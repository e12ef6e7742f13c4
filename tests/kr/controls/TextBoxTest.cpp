#include "kr/controls/TextBox.h"

#include "kr/controls/TextBoxFuzzInput.h"

#include "kr/notify/NotificationID.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace KR
{
namespace
{

constexpr std::uint32_t kDown = KeyCode::kDownBit;
constexpr std::uint32_t kCtrl = KeyCode::kCtrlBit;
constexpr std::uint32_t kShift = KeyCode::kShiftBit;

std::uint32_t VirtualKey(std::uint32_t key, std::uint32_t modifiers = 0)
{
    return kDown | (key << KeyCode::kVirtualKeyShift) | modifiers;
}

constexpr std::uint32_t kLeft = 0x25, kRight = 0x27, kUp = 0x26, kDownArrow = 0x28, kDelete = 0x2E,
                        kBack = 0x08, kReturn = 0x0D, kHome = 0x24;

std::string Narrow(const String& text)
{
    return std::string(text.ToUtf8().GetPtr());
}

// Receives a text box's notifications by name and runs what the test gives it.
class TextListener : public LNotificationClient
{
public:
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>& notification) override
    {
        const String name = GetNotificationName(notification->GetID());
        received.push_back(Narrow(name));
        if (onValidating && name == u"NID_TEXTBOX_VALIDATING")
        {
            onValidating(*dynamic_cast<LTextValidationParams*>(notification->GetData().Get()));
        }
        return kOk;
    }
    std::function<void(LTextValidationParams&)> onValidating;
    std::vector<std::string> received;
};

struct TextBoxTest : ::testing::Test
{
    void SetUp() override
    {
        app.clipboard = clipboard;
        app.activeRootWindow = window;
        root = UiTest::TestControl::MakeRoot(window);
        box = RCPtr<LTextBox>(new LTextBox(RCPtr<LControl>(root), String(u"box")));
        box->SetFrame(PointD{}, PointD{100, 20});
        box->SetNotFocusable(false);
        box->InitializeConditions();
        other = UiTest::TestControl::Make(root, u"other");
    }
    void TearDown() override { root->ReleaseInternalReferences(); }

    // Text, caret, selection start and length, anchor.
    void Set(const char16_t* text, std::int32_t caret, std::int32_t start = 0, std::int32_t length = 0,
             std::int32_t maximum = 0)
    {
        box->SetMaxLength(0);
        box->SetText(String(text), true);
        box->SetMaxLength(maximum);
        box->SetCaretPosition(caret, true);
        if (length > 0)
        {
            box->SetSelection(start, length, start);
        }
    }
    Result Key(std::uint32_t code) { return box->OnKeyDown(LKeyParam::Create(KeyCode{code}, false)); }
    void Clip(const char16_t* text)
    {
        clipboard->SetText(RCPtr<LRefCountedObject>(LClipboard::TextHolder::Create(String(text))));
    }
    void Listen(const char16_t* name)
    {
        ASSERT_EQ(box->AddClient(RCPtr<LNotificationReceiver>(listener), name), kOk);
    }

    TestSupport::LStandInFrameworkApp app;
    RCPtr<LClipboard> clipboard = LClipboard::Create();
    RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    RCPtr<UiTest::TestControl> root;
    RCPtr<UiTest::TestControl> other;
    RCPtr<LTextBox> box;
    RCPtr<TextListener> listener = RCPtr<TextListener>(new TextListener());
};

TEST_F(TextBoxTest, EditingTable)
{
    struct Row
    {
        const char* what;
        const char16_t* text;
        std::int32_t caret, start, length, maximum;
        std::function<Result(TextBoxTest&)> action;
        const char16_t* resultText;
        std::int32_t resultCaret, resultStart, resultLength;
        Result result;
    };
    const auto type = [](char16_t c) { return [c](TextBoxTest& t) { return t.Key(c); }; };
    const auto key = [](std::uint32_t code) { return [code](TextBoxTest& t) { return t.Key(code); }; };
    const auto edit = [](std::int32_t op) { return [op](TextBoxTest& t) { return t.box->PerformEdit(op); }; };
    const auto paste = [](const char16_t* text)
    {
        return [text](TextBoxTest& t)
        {
            t.Clip(text);
            return t.box->PerformEdit(EditOperation::kPaste);
        };
    };
    const Row rows[] = {
        {"full field refuses typing", u"abcdef", 3, 0, 0, 6, type(u'x'), u"abcdef", 3, 0, 0, kOk},
        {"typing replaces a selection in a full field", u"abcdef", 3, 1, 2, 6, type(u'x'), u"axdef", 2, 0, 0,
         kOk},
        {"paste past the maximum does nothing", u"abcd", 4, 0, 0, 6, paste(u"xyz"), u"abcd", 4, 0, 0, kOk},
        {"paste at the caret", u"ab", 2, 0, 0, 6, paste(u"xyz"), u"abxyz", 5, 0, 0, kOk},
        {"paste replaces the selection", u"abcd", 0, 1, 2, 0, paste(u"XY"), u"aXYd", 3, 0, 0, kOk},
        {"paste cut at a line feed", u"", 0, 0, 0, 0, paste(u"12\n34"), u"12", 2, 0, 0, kOk},
        {"paste of a tab alone is impossible", u"ab", 1, 0, 0, 0, paste(u"\t"), u"ab", 1, 0, 0, kFail},
        {"cut without a selection", u"ab", 1, 0, 0, 0, edit(EditOperation::kCut), u"ab", 1, 0, 0, kFail},
        {"copy without a selection", u"ab", 1, 0, 0, 0, edit(EditOperation::kCopy), u"ab", 1, 0, 0, kFail},
        {"delete without a selection", u"ab", 1, 0, 0, 0, edit(EditOperation::kDelete), u"ab", 1, 0, 0,
         kFail},
        {"cut", u"abcd", 1, 1, 2, 0, edit(EditOperation::kCut), u"ad", 1, 0, 0, kOk},
        {"unknown edit", u"ab", 1, 0, 0, 0, edit(7), u"ab", 1, 0, 0, kFail},
        {"Ctrl+Right over a word and spaces", u"ab  cd", 0, 0, 0, 0, key(VirtualKey(kRight, kCtrl)),
         u"ab  cd", 4, 0, 0, kOk},
        {"Ctrl+Left from the end", u"ab  cd", 6, 0, 0, 0, key(VirtualKey(kLeft, kCtrl)), u"ab  cd", 4, 0, 0,
         kOk},
        {"Ctrl+Left from a word start", u"ab  cd", 4, 0, 0, 0, key(VirtualKey(kLeft, kCtrl)), u"ab  cd", 0, 0,
         0, kOk},
        {"Ctrl+Delete", u"abcdef", 2, 0, 0, 0, key(VirtualKey(kDelete, kCtrl)), u"ab", 2, 0, 0, kOk},
        {"Backspace at the start", u"ab", 0, 0, 0, 0, key(VirtualKey(kBack)), u"ab", 0, 0, 0, kOk},
        {"Backspace", u"ab", 2, 0, 0, 0, key(VirtualKey(kBack)), u"a", 1, 0, 0, kOk},
        {"Shift+Delete deletes before the caret", u"abc", 2, 0, 0, 0, key(VirtualKey(kDelete, kShift)), u"ac",
         1, 0, 0, kOk},
        {"Delete at the end", u"ab", 2, 0, 0, 0, key(VirtualKey(kDelete)), u"ab", 2, 0, 0, kOk},
        {"Delete removes a selection", u"abcd", 3, 1, 2, 0, key(VirtualKey(kDelete)), u"ad", 1, 0, 0, kOk},
        {"Shift+Home selects to the start", u"abcd", 3, 0, 0, 0, key(VirtualKey(kHome, kShift)), u"abcd", 0,
         0, 3, kOk},
        {"a key release is consumed", u"ab", 1, 0, 0, 0, key(0x00250000), u"ab", 1, 0, 0, kOk},
        {"Up passes", u"ab", 1, 0, 0, 0, key(VirtualKey(kUp)), u"ab", 1, 0, 0, kNothingDone},
        {"Shift+Down passes", u"ab", 1, 0, 0, 0, key(VirtualKey(kDownArrow, kShift)), u"ab", 1, 0, 0,
         kNothingDone},
        {"Ctrl+Up passes", u"ab", 1, 0, 0, 0, key(VirtualKey(kUp, kCtrl)), u"ab", 1, 0, 0, kNothingDone},
        {"the key-down of A is consumed", u"ab", 1, 0, 0, 0, key(0x20410000), u"ab", 1, 0, 0, kOk},
        {"Ctrl+A passes", u"ab", 1, 0, 0, 0, key(0x21410000), u"ab", 1, 0, 0, kNothingDone},
        {"Left clears the selection", u"abcd", 3, 1, 2, 0, key(VirtualKey(kLeft)), u"abcd", 2, 0, 0, kOk},
    };
    for (const Row& row : rows)
    {
        Set(row.text, row.caret, row.start, row.length, row.maximum);
        EXPECT_EQ(row.action(*this), row.result) << row.what;
        EXPECT_EQ(Narrow(box->GetText()), Narrow(String(row.resultText))) << row.what;
        EXPECT_EQ(box->GetCaretPosition(), row.resultCaret) << row.what;
        EXPECT_EQ(box->GetSelectionStart(), row.resultStart) << row.what;
        EXPECT_EQ(box->GetSelectionLength(), row.resultLength) << row.what;
    }
}

TEST_F(TextBoxTest, ShiftArrowsGrowAndShrinkFromTheAnchor)
{
    Set(u"abcdefg", 5);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(Key(VirtualKey(kLeft, kShift)), kOk);
    }
    EXPECT_EQ(box->GetSelectionStart(), 2);
    EXPECT_EQ(box->GetSelectionLength(), 3);
    EXPECT_EQ(box->GetSelectionAnchor(), 5);
    EXPECT_EQ(Key(VirtualKey(kRight, kShift)), kOk);
    EXPECT_EQ(box->GetSelectionStart(), 3);
    EXPECT_EQ(box->GetSelectionLength(), 2);
    EXPECT_EQ(box->GetCaretPosition(), 3);
    // Copy leaves the selection and puts it on the clipboard.
    box->PerformEdit(EditOperation::kCopy);
    const auto* held = dynamic_cast<const LClipboard::TextHolder*>(clipboard->GetStoredContent().Get());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(Narrow(held->GetValue()), "de");
}

TEST_F(TextBoxTest, CharactersAreTypedOnlyWhenPrintableAndLetThroughTheFilter)
{
    struct Row
    {
        const char* what;
        const char16_t* filter;
        bool allowList;
        char16_t character;
        bool inserted;
        Result result;
    };
    const Row rows[] = {
        {"e acute", u"", true, u'\u00e9', true, kOk},
        {"no-break space", u"", true, u'\u00a0', true, kOk},
        {"tab", u"", true, u'\t', false, kNothingDone},
        {"lone surrogate", u"", true, char16_t(0xD83D), false, kNothingDone},
        {"line separator", u"", true, u'\u2028', false, kNothingDone},
        {"letter in a digits field", u"0123456789", true, u'a', false, kOk},
        {"digit in a digits field", u"0123456789", true, u'7', true, kOk},
        {"minus refused by a deny list", u"-", false, u'-', false, kOk},
        {"plus past a deny list", u"-", false, u'+', true, kOk},
    };
    for (const Row& row : rows)
    {
        box->characterFilter = String(row.filter);
        box->filterIsAllowList = row.allowList;
        Set(u"", 0);
        EXPECT_EQ(Key(row.character), row.result) << row.what;
        EXPECT_EQ(box->GetTextLength(), row.inserted ? 1 : 0) << row.what;
    }
    box->characterFilter = String(u"0123456789");
    box->filterIsAllowList = true;
    const struct
    {
        const char16_t* pasted;
        const char* result;
    } pastes[] = {{u"12\n34", "12"}, {u"1a2", "12"}, {u"\r9", ""}};
    for (const auto& paste : pastes)
    {
        Set(u"", 0);
        Clip(paste.pasted);
        box->PerformEdit(EditOperation::kPaste);
        EXPECT_EQ(Narrow(box->GetText()), paste.result);
        EXPECT_EQ(box->CanPerformEdit(EditOperation::kPaste), paste.result[0] != 0);
    }
}

TEST_F(TextBoxTest, ValidationCanRefuseOrReplaceTheText)
{
    Listen(u"NID_TEXTBOX_VALIDATING");
    Listen(u"NID_TEXTBOX_VALIDATED");
    Listen(u"NID_TEXTBOX_TEXT_CHANGE");
    Set(u"7", 1);
    box->SetFocus(true);
    ASSERT_TRUE(box->HasFocus());
    listener->received.clear();
    listener->onValidating = [](LTextValidationParams& params) { params.valid = false; };
    EXPECT_EQ(Key(VirtualKey(kReturn)), kOk);
    EXPECT_EQ(listener->received, std::vector<std::string>{"NID_TEXTBOX_VALIDATING"});
    EXPECT_EQ(other->SetFocus(true), kFail);
    EXPECT_TRUE(box->HasFocus());

    listener->received.clear();
    listener->onValidating = [](LTextValidationParams& params) { params.text = String(u"007"); };
    EXPECT_EQ(Key(VirtualKey(kReturn)), kNothingDone);
    EXPECT_EQ(Narrow(box->GetText()), "007");
    EXPECT_EQ(listener->received,
              (std::vector<std::string>{"NID_TEXTBOX_VALIDATING", "NID_TEXTBOX_TEXT_CHANGE",
                                        "NID_TEXTBOX_VALIDATED"}));
    other->SetFocus(true);
    EXPECT_TRUE(other->HasFocus());
    box->RemoveClient(RCPtr<LNotificationReceiver>(listener), u"NID_TEXTBOX_VALIDATING");
}

TEST_F(TextBoxTest, ContextMenuItemsFollowTheSelection)
{
    box->SetFocus(true);
    ASSERT_TRUE(box->HasFocus());
    Set(u"abc", 1);
    const struct
    {
        const char16_t* item;
        bool enabled;
        Result result;
    } items[] = {{u"NID_EDIT_CUT_REQ", false, kOk},
                 {u"NID_EDIT_COPY_REQ", false, kOk},
                 {u"NID_EDIT_DELETE_REQ", false, kOk},
                 {u"NID_EDIT_PASTE_REQ", false, kOk},
                 {u"NID_OTHER", true, kNothingDone}};
    for (const auto& item : items)
    {
        MenuItemInfo state;
        state.enabled = 1;
        EXPECT_EQ(box->UpdateMenuItem(0, String(item.item), state), item.result);
        EXPECT_EQ(state.enabled != 0, item.enabled);
    }
    box->SetSelection(0, 1, 0);
    MenuItemInfo state;
    box->UpdateMenuItem(0, String(u"NID_EDIT_CUT_REQ"), state);
    EXPECT_EQ(state.enabled, 1);
}

TEST_F(TextBoxTest, PositionsOutsideTheTextAreRefused)
{
    Set(u"abc", 1);
    EXPECT_EQ(box->SetCaretPosition(4, false), kInvalidArg);
    EXPECT_EQ(box->SetCaretPosition(-1, false), kInvalidArg);
    EXPECT_EQ(box->SetCaretPosition(1, false), kNothingDone);
    box->SelectRange(1, 99);
    EXPECT_EQ(box->GetSelectionStart(), 1);
    EXPECT_EQ(box->GetSelectionLength(), 2);
    box->SelectRange(0, -1);
    EXPECT_EQ(box->GetSelectionLength(), 3);
    box->SetMaxLength(2);
    EXPECT_EQ(Narrow(box->GetText()), "ab");
    EXPECT_EQ(box->GetCaretPosition(), 2);
    EXPECT_EQ(box->GetSelectionLength(), 0);
}

TEST(TextBoxFuzz, SeededStepsKeepTheInvariants)
{
    std::uint32_t state = 38;
    std::vector<std::uint8_t> bytes;
    for (int round = 0; round < 300; ++round)
    {
        bytes.resize(1 + round % 120);
        for (std::uint8_t& byte : bytes)
        {
            state = state * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(state >> 24);
        }
        const char* fault = KRTest::ExerciseTextBoxBytes(bytes.data(), bytes.size());
        ASSERT_EQ(fault, nullptr) << fault << " in round " << round;
    }
}

} // namespace
} // namespace KR
