// The standard controls as the editor's own skin draws them, on the test X server: the zone
// panel's channel list opened (every item's text whole, a bar for the items below its ten
// rows), a selection and the caret in a number field, and the menu's rows following the
// pointer after a click.

#include "kr/controls/ComboBox.h"
#include "kr/controls/ComboMenu.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/PopupMenu.h"
#include "kr/controls/Scrollbar.h"
#include "kr/controls/TextBox.h"
#include "kr/render/BitmapSource.h"
#include "kr/render/RendererFactory.h"
#include "kr/render/gdi/StandardRenderers.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/RootWindowOSAdapter.h"
#include "platform/png/PngCodec.h"
#include "platform/window/Window.h"
#include "platform/window_display/DisplayFixture.h"
#include "resources_display/SkinWindow.h"
#include "resources_skin/SkinFixture.h"
#include "support/FrameworkAppStandIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace KR::SkinTest
{
namespace
{

namespace P = Platform;

constexpr std::uint32_t kAccent = 0xF0A030, kThumb = 0x4A5059, kTint = 0x6A4B1F, kText = 0xE6E8EB;

class SkinControlsDisplay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        if (const std::string why = KR::Platform::Test::ScreenTooSmallForTheMainWindow(); !why.empty())
        {
            GTEST_SKIP() << why;
        }
        // The framework's own classes first: the program's are plain controls here.
        RegisterFrameworkControlClasses(*factory);
        for (const char16_t* name : kApplicationClasses)
        {
            factory->RegisterControlClass(String(name), &LControl::CreateFromSkin<LControl>);
        }
        factory->SetImagePathPrefix(String(u"::"));
        ASSERT_EQ(factory->LoadSkins(String(u"::APP_SKINS")), kOk);
        factory->LoadStringTables(String(u"::FRAMEWORK_STRINGS"), String(u"::APP_STRINGS"), 0x0409);
        InstallStandardRenderers();
        SetBitmapSource(&bitmaps);
        app.factory = factory;
        app.defaultFont = LFont::GetFont(String(u"Arial"), 8.25f, 0);
        ASSERT_EQ(window->Create(u"Vantor Preset Editor", RectI{0, 0, 1200, 750}, 0), kOk);
        ASSERT_EQ(window->CreateRenderer(1), kOk);
        rootWindow = new LRootWindow(window->GetRenderer(), window.Get());
        app.activeRootWindow = rootWindow;
        app.measurementRenderer = RCPtr<LMeasurementRenderer>(window->GetRenderer());
        window->AttachRoot(new LRootWindowOSAdapter(rootWindow));
        main = factory->CreateControlByName(String(u"mainControl"), rootWindow);
        ASSERT_TRUE(main);
        ASSERT_EQ(rootWindow->SetRootControl(main), kOk);
        zone = main->FindChildControl(String(u"viewDevice"))->FindChildControl(String(u"zoneEditPanel"));
        ASSERT_TRUE(zone);
        zone->SetVisible(true);
        window->Show(P::SW_SHOWNORMAL);
        id = P::GetNativeWindowId(window->GetWindowHandle());
        // Laid out and painted once, and the display's focus in the window, as a user finds it.
        ASSERT_TRUE(P::Test::PumpUntil(
            [&] {
                return P::CaptureNativeWindow(id, pixels, width, height) && width == 1200 &&
                       At(800, 740) == 0x1B1D21;
            }));
        ASSERT_EQ(P::Test::Xdo("windowfocus --sync " + std::to_string(id)), 0);
        ASSERT_TRUE(P::Test::PumpUntil([&] { return window->HasFocus(); }));
    }
    void TearDown() override
    {
        if (main)
        {
            main->Detach();
        }
        CloseSkinWindow(rootWindow, window);
    }
    template <typename T>
    RCPtr<T> Find(std::initializer_list<const char16_t*> path) const
    {
        RCPtr<LControl> at = zone;
        for (const char16_t* name : path)
        {
            at = at ? at->FindChildControl(String(name)) : nullptr;
        }
        return RCPtr<T>(dynamic_cast<T*>(at.Get()));
    }
    std::uint32_t At(std::int32_t x, std::int32_t y) const
    {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
    }
    // Reads the window back until `done` holds for what was read; writes it as `png` anyway.
    bool ReadUntil(const std::function<bool()>& done, const std::string& png)
    {
        const bool held = P::Test::PumpUntil(
            [&] { return P::CaptureNativeWindow(id, pixels, width, height) && width == 1200 && done(); });
        std::vector<std::uint32_t> opaque(pixels);
        for (std::uint32_t& pixel : opaque)
        {
            pixel |= 0xFF000000u;
        }
        EXPECT_TRUE(P::WritePngFile(::testing::TempDir() + png, width, height, opaque.data()));
        return held;
    }
    // The zone panel's program number field holding "123", focused.
    RCPtr<LTextBox> FocusedProgramField() const
    {
        const RCPtr<LTextBox> box = Find<LTextBox>({u"program", u"numericUpDown", u"textBox"});
        if (box)
        {
            box->SetText(String(u"123"), true);
            box->SetFocus(true);
        }
        return box;
    }
    static RectI Frame(const LControl& control)
    {
        const PointD at = control.GetAbsolutePosition();
        return RectI{static_cast<std::int32_t>(at.x), static_cast<std::int32_t>(at.y),
                     static_cast<std::int32_t>(control.GetSize().x),
                     static_cast<std::int32_t>(control.GetSize().y)};
    }

    RCPtr<LControlFactory> factory = new LControlFactory(String(u"PresetEditor"));
    LoadingBitmapSource bitmaps;
    TestSupport::LStandInFrameworkApp app;
    RCPtr<OSWindow> window = new OSWindow;
    RCPtr<LRootWindow> rootWindow;
    RCPtr<LControl> main;
    RCPtr<LControl> zone;
    std::uint64_t id = 0;
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
};

TEST_F(SkinControlsDisplay, TheOpenChannelListShowsWholeTextsAndABarForTheItemsBelowItsRows)
{
    const RCPtr<LComboBox> combo = Find<LComboBox>({u"midiChannel", u"comboBox"});
    ASSERT_TRUE(combo);
    if (combo->GetItemCount() == 0)
    {
        combo->AddItem(String(u"Global"));
        for (int channel = 1; channel <= 16; ++channel)
        {
            combo->AddItem(String::Format(u"Channel %d", channel));
        }
    }
    ASSERT_EQ(combo->GetItemCount(), 17);
    combo->SetSelectedIndex(0);
    ASSERT_EQ(combo->ShowDropDown(true), kOk);
    const RCPtr<LListBox>& list = combo->GetListBox();
    ASSERT_TRUE(list->IsShown(true));
    const RCPtr<LControl> bar = list->FindChildControl(String(u"vBar"));
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->IsShown(true)) << "17 items in 10 rows";
    const RectI box = Frame(*list);
    const RectI row = Frame(*list->GetRow(0));
    EXPECT_GE(row.x, box.x) << "the first row starts inside the list";
    EXPECT_LE(row.x + row.width, box.x + box.width) << "and ends inside it";

    // The selected row's accent shows inside the list and stops at its left edge; the thumb
    // shows in the bar's strip at the right.
    const std::int32_t y = row.y + row.height / 2;
    const bool drawn = ReadUntil(
        [&]
        {
            // A focus change of the display's window (a slow window system may send one late)
            // closes the list, as it should; this test is about the open list's drawing.
            if (!list->IsShown(true))
            {
                combo->ShowDropDown(true);
                return false;
            }
            bool thumb = false;
            for (std::int32_t x = box.x + box.width - 11; x < box.x + box.width - 1; ++x)
            {
                for (std::int32_t dy = 0; dy < box.height && !thumb; ++dy)
                {
                    thumb = At(x, box.y + dy) == kThumb;
                }
            }
            return thumb && At(box.x + 8, y) == kAccent;
        },
        "channel-list-open.png");
    EXPECT_TRUE(drawn) << "see channel-list-open.png: list at " << box.x << "," << box.y;
    EXPECT_NE(At(box.x - 1, y), kAccent) << "nothing of the row left of the list";
}

// The pad editor's channel list scrolled by keys, the page keys, the wheel and its thumb,
// then closed and reopened and paged down: after each, its ten rows show the items from its first shown one
// on, as a list of the same items opened afresh at that offset shows them.
class ScrolledChannelList : public SkinControlsDisplay
{
protected:
    // Over the keyboard's picture, away from either list.
    static constexpr PointD kAside{1100.0, 200.0};

    void SetUp() override
    {
        SkinControlsDisplay::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        const RCPtr<LControl> pad =
            main->FindChildControl(String(u"viewDevice"))->FindChildControl(String(u"padEditPanel"));
        ASSERT_TRUE(pad);
        zone->SetVisible(false);
        pad->SetVisible(true);
        RCPtrArray<LControl> selectors;
        ASSERT_GE(pad->FindDescendantControls(String(u"midiChannel"), selectors), 2u);
        scrolled = RCPtr<LComboBox>(selectors.GetAt(0)->FindChildControl(String(u"comboBox")));
        fresh = RCPtr<LComboBox>(selectors.GetAt(1)->FindChildControl(String(u"comboBox")));
        ASSERT_TRUE(scrolled && fresh);
        ASSERT_GT(scrolled->GetItemCount(), 20);
        // The fresh one stands beside the other, shown with its page, so both lists can be
        // open at once.
        for (RCPtr<LControl> at = fresh; at && at != pad; at = at->GetParent())
        {
            at->SetVisible(true);
        }
        DockedPositionSpec x;
        SizeSpec width;
        fresh->GetLayoutDescriptor()->GetPlacement(0, x, width);
        x.absolute += 300.0;
        fresh->SetPlacement(0, x, width);
        // The fresh list is placed as its combo opens it, then shown only by the test: an
        // open list takes the focus, and the other one closes when it loses it.
        ASSERT_EQ(fresh->ShowDropDown(true), kOk);
        fresh->ShowDropDown(false);
        ASSERT_EQ(PointAt(kAside), 0) << "no row under the pointer";
        scrolled->SetSelectedIndex(0);
        ASSERT_EQ(scrolled->ShowDropDown(true), kOk);
        list = scrolled->GetListBox();
        ASSERT_TRUE(list->HasFocus());
    }
    // The inside of a list's rows, row by row, as the window shows them.
    std::vector<std::uint32_t> Rows(const LListBox& shown) const
    {
        const RectI box = Frame(shown);
        std::vector<std::uint32_t> inside;
        for (std::int32_t y = box.y + 2; y < box.y + 2 + 10 * shown.GetRowHeight(); ++y)
        {
            for (std::int32_t x = box.x + 3; x < box.x + 95; ++x)
            {
                inside.push_back(At(x, y));
            }
        }
        return inside;
    }
    // Every one of the ten rows holds text, and the rows are those of the fresh list opened
    // with the same item selected, at the same offset.
    void ExpectRowsOfTheOffset(const char* step)
    {
        SCOPED_TRACE(step);
        ASSERT_TRUE(list->IsShown(true));
        const std::int32_t first = list->GetFirstShown();
        EXPECT_EQ(list->GetScrollOffset().y, first * list->GetRowHeight());
        const RCPtr<LListBox>& other = fresh->GetListBox();
        other->SelectRange(list->GetCaret(), -1, true);
        other->SetScrollOffset(list->GetScrollOffset());
        other->SetVisible(true);
        ASSERT_EQ(other->GetFirstShown(), first);
        const RectI box = Frame(*list);
        std::int32_t written = 0;
        const bool same = ReadUntil(
            [&]
            {
                written = 0;
                for (std::int32_t k = 0; k < 10; ++k)
                {
                    // Text: pixels far from the row's own background, left of its words.
                    const std::int32_t top = box.y + 2 + k * list->GetRowHeight();
                    const std::uint32_t background = At(box.x + 4, top + list->GetRowHeight() / 2);
                    std::int32_t inked = 0;
                    for (std::int32_t y = top; y < top + list->GetRowHeight(); ++y)
                    {
                        for (std::int32_t x = box.x + 8; x < box.x + 60; ++x)
                        {
                            const std::int32_t green = static_cast<std::int32_t>((At(x, y) >> 8) & 0xFF);
                            inked +=
                                std::abs(green - static_cast<std::int32_t>((background >> 8) & 0xFF)) > 0x40;
                        }
                    }
                    written += inked >= 5 ? 1 : 0;
                }
                return written == 10 && Rows(*list) == Rows(*other);
            },
            std::string("channel-list-") + step + ".png");
        EXPECT_TRUE(same) << written << " rows with text from item " << first << ", see channel-list-" << step
                          << ".png";
        other->SetVisible(false);
    }
    bool Keys(const std::string& name, std::int32_t times)
    {
        std::string keys;
        for (std::int32_t i = 0; i < times; ++i)
        {
            keys += " " + name;
        }
        return P::Test::Xdo("key --delay 5" + keys) == 0;
    }
    int PointAt(const PointD& at)
    {
        PointI screen{};
        window->ClientToScreen(screen,
                               PointI{static_cast<std::int32_t>(at.x), static_cast<std::int32_t>(at.y)});
        return P::Test::MovePointerOnScreen(screen.x, screen.y) ? 0 : 1;
    }

    RCPtr<LComboBox> scrolled;
    RCPtr<LComboBox> fresh;
    RCPtr<LListBox> list;
};

TEST_F(ScrolledChannelList, ShowsTheRowsOfItsOffsetWhateverScrolledIt)
{
    const std::int32_t last = list->GetItemDataCount() - 1;
    ASSERT_TRUE(Keys("Down", last + 1));
    ASSERT_TRUE(P::Test::PumpUntil([&] { return list->GetCaret() == last; }));
    EXPECT_EQ(list->GetFirstShown(), last - 9);
    ExpectRowsOfTheOffset("down");

    ASSERT_TRUE(Keys("Prior", 1));
    ASSERT_TRUE(P::Test::PumpUntil([&] { return list->GetFirstShown() == last - 19; }));
    ExpectRowsOfTheOffset("page-up");

    const RectI box = Frame(*list);
    ASSERT_EQ(PointAt(PointD{box.x + 50.0, box.y + 50.0}), 0);
    ASSERT_EQ(P::Test::Xdo("click 5 click 5 click 5"), 0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return list->GetFirstShown() == last - 16; }));
    ASSERT_EQ(PointAt(kAside), 0) << "no row hot";
    ExpectRowsOfTheOffset("wheel");

    const RCPtr<LControl> thumb = list->FindChildControl(String(u"vBar"))
                                      ->FindChildControl(String(u"channel"))
                                      ->FindChildControl(String(u"thumb"));
    ASSERT_TRUE(thumb);
    const PointD grip = thumb->GetAbsolutePosition();
    ASSERT_EQ(PointAt(PointD{grip.x + 4.0, grip.y + 4.0}), 0);
    ASSERT_EQ(P::Test::Xdo("mousedown 1"), 0);
    ASSERT_EQ(PointAt(PointD{grip.x + 4.0, box.y + box.height + 40.0}), 0);
    ASSERT_EQ(P::Test::Xdo("mouseup 1"), 0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return list->GetFirstShown() == last - 9; }));
    ASSERT_EQ(PointAt(kAside), 0);
    ExpectRowsOfTheOffset("thumb");

    scrolled->ShowDropDown(false);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return !list->IsShown(true); }));
    scrolled->ShowDropDown(true);
    EXPECT_EQ(list->GetFirstShown(), 0) << "opened at the combo's own item";
    ExpectRowsOfTheOffset("reopened");

    ASSERT_TRUE(Keys("Next", 1));
    ASSERT_TRUE(P::Test::PumpUntil([&] { return list->GetFirstShown() == 10; }));
    ExpectRowsOfTheOffset("page-down");
}

TEST_F(SkinControlsDisplay, ASelectionInANumberFieldIsShownBehindItsDigits)
{
    const RCPtr<LTextBox> box = FocusedProgramField();
    ASSERT_TRUE(box && box->HasFocus());
    box->SetSelection(0, 2, 0);
    const RectI field = Frame(*box);
    const double digits = box->GetCharRect(1).x + box->GetCharRect(1).width - box->GetCharRect(0).x;
    ASSERT_GT(digits, 8.0) << "two digits measured in the field's font";
    // The columns of the field where the selection's tint (its 40 % accent over the field)
    // shows between the digits' strokes.
    std::int32_t tinted = 0;
    const bool drawn = ReadUntil(
        [&]
        {
            tinted = 0;
            for (std::int32_t x = field.x + 1; x < field.x + field.width - 1; ++x)
            {
                bool tint = false;
                for (std::int32_t y = field.y + 2; y < field.y + field.height - 2 && !tint; ++y)
                {
                    tint = At(x, y) == kTint;
                }
                tinted += tint ? 1 : 0;
            }
            return tinted >= static_cast<std::int32_t>(digits) - 2;
        },
        "number-field-selection.png");
    EXPECT_TRUE(drawn) << tinted << " tinted columns for " << digits << " of digits";
    EXPECT_LE(tinted, static_cast<std::int32_t>(digits) + 2) << "only behind the selected digits";
}

// The caret of a focused number field stands behind its digits, in the colour of the text.
TEST_F(SkinControlsDisplay, TheCaretShowsInTheFieldInTheColourOfItsText)
{
    const RCPtr<LTextBox> box = FocusedProgramField();
    ASSERT_TRUE(box && box->HasFocus());
    box->SetCaretPosition(3, true);
    ASSERT_TRUE(box->IsCaretShown());
    const RectI field = Frame(*box);
    const RectD caret = box->GetCaretRect();
    ASSERT_GT(caret.height, 6.0);
    const std::int32_t x = field.x + static_cast<std::int32_t>(caret.x);
    const std::int32_t top = field.y + static_cast<std::int32_t>(caret.y);
    std::int32_t lit = 0;
    const bool drawn = ReadUntil(
        [&]
        {
            lit = 0;
            for (std::int32_t y = top; y < top + static_cast<std::int32_t>(caret.height); ++y)
            {
                lit += At(x, y) == kText ? 1 : 0;
            }
            return lit >= static_cast<std::int32_t>(caret.height) - 1;
        },
        "number-field-caret.png");
    EXPECT_TRUE(drawn) << lit << " of " << caret.height << " caret pixels at x " << x;
}

// A click on "File" opens its menu; the row under the pointer then follows it, as the press
// and slide of the same menu do.
TEST_F(SkinControlsDisplay, AfterAClickOnFileTheRowUnderThePointerIsChosen)
{
    const RCPtr<LMainMenu> bar(dynamic_cast<LMainMenu*>(main->FindChildControl(String(u"mainMenu")).Get()));
    ASSERT_TRUE(bar && bar->GetMenuTitleCount() == 2);
    const RCPtr<LPopupMenu> popup = bar->GetMenuTitle(0)->GetPopup();
    const auto pointAt = [&](std::int32_t x, std::int32_t y)
    {
        PointI screen{};
        window->ClientToScreen(screen, PointI{x, y});
        return P::Test::MovePointerOnScreen(screen.x, screen.y) ? 0 : 1;
    };
    ASSERT_EQ(pointAt(34, 12), 0);
    ASSERT_EQ(P::Test::Xdo("click 1"), 0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return popup->IsShown(true); }));
    const RectI row = Frame(*popup->GetRow(3));
    ASSERT_EQ(pointAt(row.x + 40, row.y + row.height / 2), 0);
    EXPECT_TRUE(P::Test::PumpUntil([&] { return popup->GetCaret() == 3; }))
        << "Load Preset under the pointer, caret " << popup->GetCaret();
}

// A control that greys out "Send Preset" in the menus it is asked about.
class SendGreyedOut : public LControl
{
public:
    using LControl::LControl;
    Result UpdateMenuItem(std::int32_t, const String& name, MenuItemInfo& state) override
    {
        if (name == u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE")
        {
            state.enabled = 0;
        }
        return kOk;
    }
};

// A greyed-out row's key text is greyed with its label: drawn no brighter than the skin's
// disabled text colour, never in the key texts' own.
TEST_F(SkinControlsDisplay, AGreyedOutRowShowsItsKeyTextGreyedToo)
{
    constexpr std::uint32_t kDisabledText = 0x5F656E, kKeyText = 0x9AA0A8;
    const RCPtr<LMainMenu> bar(dynamic_cast<LMainMenu*>(main->FindChildControl(String(u"mainMenu")).Get()));
    ASSERT_TRUE(bar && bar->GetMenuTitleCount() == 2);
    const RCPtr<SendGreyedOut> view(new SendGreyedOut(main, String(u"updater")));
    bar->SetMenuItemUpdater(view->GetMenuItemUpdater());
    const RCPtr<LPopupMenu> popup = bar->GetMenuTitle(0)->GetPopup();
    // No hot keys are bound in this window: the row's key text is given.
    popup->GetMenu()->GetItem(0)->SetShortcut(String(u"Ctrl+Shift+S"));
    PointI title{};
    window->ClientToScreen(title, PointI{34, 12});
    ASSERT_TRUE(P::Test::MovePointerOnScreen(title.x, title.y));
    ASSERT_EQ(P::Test::Xdo("click 1"), 0);
    ASSERT_TRUE(P::Test::PumpUntil([&] { return popup->IsShown(true); }));
    const RCPtr<LListBoxItem> send = popup->GetRow(popup->RowIndexOfItem(0));
    ASSERT_TRUE(send && !send->IsEnabled(false));
    const RCPtr<LControl> keys = send->FindChildControl(String(u"hotKeyLabel"));
    ASSERT_TRUE(keys && !keys->GetText().IsEmpty());
    const RectI label = Frame(*send);
    const RectI shortcut = Frame(*keys);
    // The brightest green of an area: text brighter than its row's dark background.
    const auto brightest = [&](const RectI& area)
    {
        std::uint32_t green = 0;
        for (std::int32_t y = area.y; y < area.y + area.height; ++y)
        {
            for (std::int32_t x = area.x; x < area.x + area.width; ++x)
            {
                green = std::max(green, (At(x, y) >> 8) & 0xFFu);
            }
        }
        return green;
    };
    const std::uint32_t disabledGreen = (kDisabledText >> 8) & 0xFFu;
    const bool drawn = ReadUntil(
        [&]
        {
            return popup->IsShown(true) &&
                   brightest(RectI{label.x, label.y, 100, label.height}) == disabledGreen &&
                   brightest(shortcut) > 0x40;
        },
        "menu-greyed-row.png");
    ASSERT_TRUE(drawn) << "the greyed row and its key text drawn";
    EXPECT_LE(brightest(shortcut), disabledGreen) << "the key text no brighter than the disabled text";
    EXPECT_LT(brightest(shortcut), (kKeyText >> 8) & 0xFFu);
    view->ReleaseInternalReferences();
}

} // namespace
} // namespace KR::SkinTest
