// The edit menu of the preset name's text box in the editor's main window, on the test X
// server with xdotool: a right click opens its four rows under the pointer, drawn over
// what was there, and "Copy" chosen from it puts the selected name on the clipboard. The
// menu is made only when it is first asked for, so these are the first uses of it.

#include "editor/support/InstalledEngine.h"
#include "editor/support/MainWindowOnScreen.h"
#include "kr/app/FrameworkApp.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/PopupMenu.h"
#include "kr/controls/TextBox.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/ui/Clipboard.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

namespace P = KR::Platform;
using KR::RCPtr;
using KR::String;

std::string Utf8(const String& text)
{
    return text.ToUtf8().GetPtr();
}

class PresetNameMenu : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const std::string why = KR::Platform::Test::WhyTheMainWindowCannotBeDriven(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        ASSERT_NO_FATAL_FAILURE(shown.Open());
        const RCPtr<KR::LControl> view = shown.main->FindChildControl(String(u"viewDevice"));
        const RCPtr<KR::LControl> panel =
            view ? view->FindChildControl(String(u"presetNameEditPanel")) : nullptr;
        box = RCPtr<KR::LTextBox>(panel ? panel->FindChildControl(String(u"textBox")) : nullptr);
        ASSERT_TRUE(box);
        ASSERT_TRUE(shown.Pump([&] { return Window(before) && before.size() == 1200u * 750u; }, 30.0))
            << "the main window is shown at its designed size";
    }

    bool Window(std::vector<std::uint32_t>& pixels) const
    {
        std::int32_t width = 0;
        std::int32_t height = 0;
        return P::ReadWindowPixels(shown.window, pixels, width, height) && width == 1200;
    }
    // The rectangle's pixels out of a whole window's.
    static std::vector<std::uint32_t> Part(const std::vector<std::uint32_t>& window,
                                           const KR::LControl& control)
    {
        const KR::PointD at = control.GetAbsolutePosition();
        std::vector<std::uint32_t> part;
        for (auto y = static_cast<std::size_t>(at.y);
             y < static_cast<std::size_t>(at.y + control.GetSize().y); ++y)
        {
            for (auto x = static_cast<std::size_t>(at.x);
                 x < static_cast<std::size_t>(at.x + control.GetSize().x); ++x)
            {
                part.push_back(window[y * 1200 + x] & 0xFFFFFFu);
            }
        }
        return part;
    }
    void RightClickOnBox()
    {
        const KR::PointD at = box->GetAbsolutePosition();
        P::WindowPoint screen{static_cast<std::int32_t>(at.x + box->GetSize().x / 2),
                              static_cast<std::int32_t>(at.y + box->GetSize().y / 2)};
        P::ClientToScreen(shown.window, screen);
        ASSERT_TRUE(P::Test::MovePointerOnScreen(screen.x, screen.y));
        ASSERT_EQ(P::Test::Xdo("click 3"), 0);
        ASSERT_TRUE(shown.Pump(
            [&]
            {
                popup = RCPtr<KR::LPopupMenu>(box->FindChildControl(String(u"contextMenu")));
                return popup && popup->IsShown(true) && popup->GetRowCount() == 4;
            },
            30.0))
            << "the menu opens with its four rows";
    }

    KR::TestSupport::InstalledEngine engine;
    const RCPtr<KR::LFrameworkApp> app{new KR::LFrameworkApp(u"PresetEditor")};
    KR::TestSupport::MainWindowOnScreen shown{*app};
    RCPtr<KR::LTextBox> box;
    RCPtr<KR::LPopupMenu> popup;
    std::vector<std::uint32_t> before;
};

TEST_F(PresetNameMenu, ARightClickOpensTheFourEditRowsUnderThePointerDrawnOverTheWindow)
{
    ASSERT_NO_FATAL_FAILURE(RightClickOnBox());
    const struct
    {
        const char* label;
        const char* keys;
        const char* command;
    } rows[] = {{"Cut", "Ctrl+X", "NID_EDIT_CUT_REQ"},
                {"Copy", "Ctrl+C", "NID_EDIT_COPY_REQ"},
                {"Paste", "Ctrl+V", "NID_EDIT_PASTE_REQ"},
                {"Delete", "Del", "NID_EDIT_DELETE_REQ"}};
    const RCPtr<KR::LMenuDescriptor>& menu = box->GetContextMenu();
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->GetItemCount(), 4u);
    std::vector<std::uint32_t> after;
    for (std::int32_t k = 0; k < 4; ++k)
    {
        const auto& row = rows[k];
        const RCPtr<KR::LListBoxItem> shownRow = popup->GetRow(k);
        ASSERT_TRUE(shownRow) << row.label;
        EXPECT_EQ(Utf8(shownRow->GetText()), row.label);
        const RCPtr<KR::LControl> keys = shownRow->FindChildControl(String(u"hotKeyLabel"));
        EXPECT_TRUE(keys && Utf8(keys->GetText()) == row.keys) << row.label;
        EXPECT_EQ(Utf8(menu->GetItem(static_cast<std::uint32_t>(k))->GetCommand()), row.command);
        // Nothing is selected and the box has not the focus: every row is greyed.
        EXPECT_FALSE(shownRow->IsEnabled(false)) << row.label;
        EXPECT_TRUE(shown.Pump(
            [&] { return Window(after) && Part(after, *shownRow) != Part(before, *shownRow); }, 30.0))
            << row.label << ": drawn over what the window showed there";
    }
}

TEST_F(PresetNameMenu, CopyChosenFromTheMenuPutsTheSelectedNameOnTheClipboard)
{
    shown.Focus();
    shown.ClickOn(*box);
    ASSERT_TRUE(shown.Pump([&] { return box->HasFocus(); }, 30.0));
    ASSERT_EQ(P::Test::Xdo("type KEYS"), 0);
    ASSERT_TRUE(shown.Pump([&] { return box->GetText().GetLength() >= 4; }, 30.0));
    ASSERT_EQ(P::Test::Xdo("key Home shift+End"), 0);
    ASSERT_TRUE(shown.Pump(
        [&] { return box->GetSelectionLength() == static_cast<std::int32_t>(box->GetText().GetLength()); },
        30.0));
    ASSERT_NO_FATAL_FAILURE(RightClickOnBox());
    const RCPtr<KR::LListBoxItem> copy = popup->GetRow(1);
    ASSERT_TRUE(copy && copy->IsEnabled(false)) << "a selection can be copied";
    shown.ClickOn(*copy);
    const RCPtr<KR::LClipboard> clipboard = app->GetClipboard();
    ASSERT_TRUE(clipboard);
    EXPECT_TRUE(shown.Pump(
        [&]
        {
            const auto* text =
                dynamic_cast<const KR::LClipboard::TextHolder*>(clipboard->GetStoredContent().Get());
            return text && text->GetValue() == box->GetText();
        },
        30.0))
        << "the command reached the box and went out as its key would";
    EXPECT_FALSE(popup->IsShown(false));
}

} // namespace
