// Skinned lists in a real window on the test X server. A checked list clicked with xdotool:
// the row clicked shows selected, the check box clicked shows checked, rows past the items
// show disabled without a check box. A long list scrolled by a wheel notch: the rows that
// stay visible are moved in the window, not drawn again, and the window then shows what a
// second window, its list scrolled the same way and painted whole, shows.

#include "kr/controls/CheckedListBox.h"
#include "kr/controls/ControlClasses.h"
#include "kr/controls/ListBox.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/MouseTestSupport.h"
#include "kr/ui_display/PaintedWindow.h"

#include <chrono>

namespace KR::UiDisplayTest
{
namespace
{

// The list at (10, 60), 100 wide, rows 14 high; a row's check box 10 by 10 at (3, 2) in it.
constexpr std::int32_t kRowX = 60;
constexpr std::int32_t kCheckX = 18;
constexpr std::int32_t RowY(std::int32_t row)
{
    return 60 + 14 * row + 7;
}

// The framework's controls in the skin's windows.
class ListClasses : public PaintedWindow
{
protected:
    void SetUp() override
    {
        PaintedWindow::SetUp();
        if (IsSkipped())
        {
            return;
        }
        app.factory->RegisterControlClass(String(u"Framework.ScrollChannel"),
                                          &LControl::CreateFromSkin<LControl>);
        RegisterFrameworkControlClasses(*app.factory);
    }
};

class ListWindow : public ListClasses
{
protected:
    void SetUp() override
    {
        ListClasses::SetUp();
        if (IsSkipped())
        {
            return;
        }
        Open(u"lists", 160, 120);
        list = RCPtr<LCheckedListBox>(Child(u"list"));
        ASSERT_TRUE(list);
        for (int i = 0; i < 3; ++i)
        {
            list->InsertItem(i, MakeStringTag(String::Format(u"item %d", i)));
        }
        ASSERT_TRUE(WaitForPixel(kRowX, RowY(0), kWhite)) << "row 0 shows item 0";
        TakeFocus();
    }
    void TearDown() override
    {
        recorder->UnregisterForAllNotifications();
        PaintedWindow::TearDown();
    }
    void Click(std::int32_t x, std::int32_t y)
    {
        PointAt(x, y);
        ASSERT_EQ(Xdo("click 1"), 0);
    }

    RCPtr<LCheckedListBox> list;
    RCPtr<UiTest::Recorder> recorder = UiTest::Recorder::Create();
};

TEST_F(ListWindow, AClickedRowShowsSelectedAndAClickedCheckBoxChecked)
{
    recorder->Listen(RCPtr<LControl>(list), {u"NID_ITEM_CHECK_CHANGE"});
    const WindowPixels first = Read();
    EXPECT_EQ(first.At(kCheckX, RowY(0)), kBlue) << "unchecked";
    EXPECT_EQ(first.At(kRowX, RowY(3)), kGrey) << "no item: disabled";
    EXPECT_EQ(first.At(kCheckX, RowY(3)), kGrey) << "no item: no check box";

    Click(kRowX, RowY(1));
    EXPECT_TRUE(RunUntil([&] { return Read().At(kRowX, RowY(1)) == kRed; })) << "row 1 selected";
    EXPECT_EQ(list->GetCaret(), 1);

    Click(kCheckX, RowY(2));
    EXPECT_TRUE(RunUntil([&] { return Read().At(kCheckX, RowY(2)) == kYellow; })) << "item 2 checked";
    const WindowPixels after = Read();
    WritePng(after, "checked-list.png");
    EXPECT_EQ(after.At(kRowX, RowY(2)), kRed) << "the checked item is selected";
    EXPECT_EQ(after.At(kRowX, RowY(1)), kWhite) << "and alone";
    EXPECT_TRUE(list->IsItemChecked(2));
    ASSERT_EQ(recorder->received, std::vector<std::string>{"list:NID_ITEM_CHECK_CHANGE"});
}

constexpr std::int32_t kItems = 200;
constexpr std::int32_t kWidth = 120;
constexpr std::int32_t kHeight = 160;

class ListScroll : public ListClasses
{
protected:
    void TearDown() override
    {
        if (fresh && fresh->GetWindowHandle() != 0)
        {
            fresh->EndModal(0);
        }
        PaintedWindow::TearDown();
    }
    static void Fill(const RCPtr<LListBox>& list)
    {
        for (std::int32_t i = 0; i < kItems; ++i)
        {
            list->InsertItem(i, MakeStringTag(String::Format(u"item %d", i)));
        }
    }

    RCPtr<OSWindow> fresh;
};

TEST_F(ListScroll, AWheelNotchShowsWhatAWholePaintOfTheScrolledListShows)
{
    Open(u"longList", kWidth, kHeight);
    const RCPtr<LListBox> list(Child(u"list"));
    ASSERT_TRUE(list);
    Fill(list);
    // Row 0 shows "item 0" in blue on white.
    if (!WaitForPixel(80, 17, 0xFFFFFF))
    {
        WritePng(Read(), "list-start.png");
        FAIL() << "row 0 does not show";
    }
    // A wheel notch of three rows; the pointer away from the window, so that no hover
    // differs from the second window's.
    PointAt(kWidth + 40, kHeight + 40);
    PumpUntil([] { return false; }, 0.5);
    const std::int32_t first = 3;
    list->SetScrollOffset(PointD{0.0, static_cast<double>(first * list->GetRowHeight())});
    ASSERT_EQ(list->GetFirstShown(), first);
    // The paint that follows: nothing more changes after it.
    PumpUntil([] { return false; }, 0.5);
    const WindowPixels kept = Read();

    fresh = new OSWindow;
    ASSERT_EQ(fresh->Create(u"Fresh", RectI{600, 150, kWidth, kHeight}, 0), kOk);
    ASSERT_EQ(fresh->CreateRenderer(1), kOk);
    const RCPtr<LControl> scene =
        app.factory->CreateControlByName(String(u"longList"), fresh->GetRootWindow());
    ASSERT_TRUE(scene);
    ASSERT_EQ(fresh->GetRootWindow()->SetRootControl(scene), kOk);
    const RCPtr<LListBox> other(scene->FindChildControl(String(u"list")));
    ASSERT_TRUE(other);
    Fill(other);
    other->SetScrollOffset(PointD{0.0, static_cast<double>(first * other->GetRowHeight())});
    ASSERT_EQ(other->GetFirstShown(), first);
    fresh->Show(P::SW_SHOWNORMAL);
    WindowPixels whole;
    const bool same = PumpUntil(
        [&]
        {
            whole = WindowPixels{};
            P::ReadWindowPixels(fresh->GetWindowHandle(), whole.argb, whole.width, whole.height);
            return whole.width == kWidth && whole.height == kHeight && whole.Rgb() == kept.Rgb();
        });
    if (!same)
    {
        WritePng(kept, "list-scrolled.png");
        WritePng(whole, "list-whole.png");
    }
    EXPECT_TRUE(same) << "first shown " << first;
}

} // namespace
} // namespace KR::UiDisplayTest
