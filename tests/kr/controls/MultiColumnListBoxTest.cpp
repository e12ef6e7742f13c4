// The multi-column list: header sorts, the selection and the scroll position kept in step
// across the columns, and a skin that lacks columns or headers.

#include "kr/controls/MultiColumnListBox.h"
#include "ControlsTestSupport.h"
#include "kr/controls/Button.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/core/Wrapper.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace KR
{
namespace
{

using namespace ControlsTest;

// Three columns 100 wide under headers 20 high; each column shows 3 rows of 14.
std::string Table(int columns, int headers)
{
    std::string parts;
    for (int n = 1; n <= headers; ++n)
    {
        parts += "<SubControl Class=\"Framework.Button\" Name=\"buttonColumnHeader" + std::to_string(n) +
                 "\" XPositionAbs=\"" + std::to_string(100 * (n - 1)) +
                 "\" XSizeAbs=\"100\" YSizeAbs=\"20\"><Skin Name=\"h\" LookList=\"r14\"/></SubControl>";
    }
    for (int n = 1; n <= columns; ++n)
    {
        parts += "<SubControl Class=\"Framework.listboxNoScroll\" Name=\"listboxNoScroll" +
                 std::to_string(n) + "\" XPositionAbs=\"" + std::to_string(100 * (n - 1)) +
                 "\" YPositionAbs=\"20\" XSizeAbs=\"100\" YSizeAbs=\"42\"><Skin Name=\"c\" LookList=\"one\">"
                 "<SubControl Class=\"Framework.ListBoxItem\" Name=\"templateItem\" XSizeAbs=\"100\" "
                 "YSizeAbs=\"14\"><Skin Name=\"row\" LookList=\"r14\"/></SubControl></Skin></SubControl>";
    }
    return R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">)"
           R"(<SubControl Class="Framework.listbox2ColumnSortable" Name="table" XSizeAbs="310" YSizeAbs="62">)"
           R"(<Skin Name="table" LookList="one">)" +
           parts +
           R"(<SubControl Class="Test.Bar" Name="vBar" XPositionAbs="300" XSizeAbs="10" YSizeAbs="62">)"
           R"(<Skin Name="bar" LookList="one"/></SubControl>)"
           "</Skin></SubControl></Skin></SubControl>";
}

struct MultiColumnTest : ::testing::Test
{
    Scene scene{Table(3, 3)};
    RCPtr<LMultiColumnListBox> table = scene.Find<LMultiColumnListBox>(u"table");
    RCPtr<Recorder> recorder = Recorder::Create();

    void SetUp() override
    {
        ASSERT_TRUE(table);
        ASSERT_EQ(table->GetColumnCount(), 3);
        recorder->Listen(RCPtr<LControl>(table), {u"NID_SELECTION_CHANGE"});
    }
    LListBox& Column(int c) { return *table->GetColumn(c); }
    void Fill(const std::vector<std::array<const char16_t*, 3>>& rows)
    {
        for (const auto& row : rows)
        {
            for (int c = 0; c < 3; ++c)
            {
                Column(c).InsertItem(Column(c).GetItemDataCount(), MakeStringTag(String(row[c])));
            }
        }
    }
    void ClickHeader(int n)
    {
        const RCPtr<LButton> header =
            scene.Find<LButton>(String::Format(u"buttonColumnHeader%d", n).GetPtr());
        header->OnMouseEnter();
        Press(*header, 5, 5);
        Release(*header, 5, 5);
        header->OnMouseLeave();
    }
    // Column c's texts, top to bottom, joined by spaces.
    std::string Texts(int c)
    {
        std::string texts;
        for (std::int32_t i = 0; i < Column(c).GetItemDataCount(); ++i)
        {
            texts += (i ? " " : "") + std::string(Column(c).GetItemText(i).ToUtf8().GetPtr());
        }
        return texts;
    }
    std::vector<std::int32_t> Selected(int c) { return Column(c).GetSelectedIndices(); }
    std::vector<std::string> Received() { return std::exchange(recorder->received, {}); }
};

TEST_F(MultiColumnTest, HeadersSortTheWholeRowsByTheirColumnEachInItsOwnDirection)
{
    Fill({{u"b", u"delta", u"1"}, {u"D", u"Alpha", u"2"}, {u"a", u"charlie", u"3"}, {u"c", u"bravo", u"4"}});
    struct Step
    {
        int header;
        const char* first;
        const char* second;
        const char* third;
    };
    const Step steps[] = {
        {2, "D c a b", "Alpha bravo charlie delta", "2 4 3 1"},
        {2, "b a c D", "delta charlie bravo Alpha", "1 3 4 2"},
        {1, "a b c D", "charlie delta bravo Alpha", "3 1 4 2"},
    };
    for (const Step& step : steps)
    {
        ClickHeader(step.header);
        EXPECT_EQ(Texts(0), step.first) << step.header;
        EXPECT_EQ(Texts(1), step.second) << step.header;
        EXPECT_EQ(Texts(2), step.third) << step.header;
    }
    EXPECT_TRUE(table->IsNextSortAscending(1));
    EXPECT_FALSE(table->IsNextSortAscending(0));
    EXPECT_TRUE(table->IsNextSortAscending(2));
    EXPECT_TRUE(Received().empty());
}

// A sort takes out and puts back the selection registrations alone: a column whose hover the
// table no longer hears stays unheard.
TEST_F(MultiColumnTest, ASortPutsBackOnlyTheSelectionRegistrations)
{
    Fill({{u"b", u"1", u"x"}, {u"a", u"2", u"y"}, {u"c", u"3", u"z"}});
    const RCPtr<LNotificationDistributor> column(table->GetColumn(1));
    ASSERT_EQ(table->UnregisterForNotification(column, u"NID_ITEM_HOVER_CONDITION_CHANGE"), kOk);
    ClickHeader(1);
    Column(1).GetRow(2)->OnMouseEnter();
    EXPECT_EQ(table->GetHoveredItem(), -1);
    Column(1).GetRow(2)->OnMouseLeave();
    Column(0).SelectRange(1, -1, true);
    EXPECT_EQ(Selected(1), std::vector<std::int32_t>{1}) << "the selection is heard again";
}

TEST_F(MultiColumnTest, TextsThatDifferOnlyInCaseSortAsEqual)
{
    Fill({{u"abd", u"", u""}, {u"abc", u"", u""}, {u"ab", u"", u""}, {u"ABC", u"", u""}});
    for (const bool ascending : {true, false})
    {
        table->SortByColumn(0);
        const std::string outer = ascending ? "ab" : "abd";
        EXPECT_EQ(std::string(Column(0).GetItemText(0).ToUtf8().GetPtr()), outer);
        EXPECT_EQ(CompareNoCase(Column(0).GetItemText(1).GetPtr(), u"abc"), 0);
        EXPECT_EQ(CompareNoCase(Column(0).GetItemText(2).GetPtr(), u"abc"), 0);
        EXPECT_NE(Column(0).GetItemText(1), Column(0).GetItemText(2));
    }
    EXPECT_EQ(table->SortByColumn(3), kInvalidArg);
}

TEST_F(MultiColumnTest, ASelectionInOneColumnIsMadeInEveryColumnWithOneNotification)
{
    Fill({{u"a", u"1", u"x"}, {u"b", u"2", u"y"}, {u"c", u"3", u"z"}, {u"d", u"4", u"w"}});
    // The rows show items 0..2; item 3 comes into view through the panel.
    table->SetScrollOffset(PointD{0, 14});
    const RCPtr<LListBoxItem> row = Column(0).GetRow(Column(0).RowIndexOfItem(3));
    ASSERT_TRUE(row);
    row->OnMouseEnter();
    Press(*row, 5, 5);
    Release(*row, 5, 5);
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(Selected(c), std::vector<std::int32_t>{3}) << c;
    }
    EXPECT_EQ(Received(), std::vector<std::string>{"table:NID_SELECTION_CHANGE"});
    // A selection made in code in another column follows too, and deselecting clears it.
    Column(2).SelectRange(1, 1, true);
    Column(1).DeselectItem(1);
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_TRUE(Selected(c).empty()) << c;
    }
    EXPECT_EQ(Received().size(), 2u);
}

TEST_F(MultiColumnTest, TheSelectionMovesWithItsRowsThroughASortWithoutANotification)
{
    Fill({{u"a", u"", u""}, {u"b", u"", u""}, {u"c", u"", u""}, {u"d", u"", u""}});
    Column(0).SetItemAlternate(2, true);
    for (int c = 0; c < 3; ++c)
    {
        Column(c).SetItemSelectedValue(0, 1.0);
        Column(c).SetItemSelectedValue(2, 1.0);
    }
    table->SortByColumn(0); // ascending: already in order
    table->SortByColumn(0); // descending: reversed
    EXPECT_EQ(Texts(0), "d c b a");
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(Selected(c), (std::vector<std::int32_t>{1, 3})) << c;
        // The first column's flag for the row goes to every column.
        EXPECT_TRUE(Column(c).GetItemData(1).alternate) << c;
        EXPECT_FALSE(Column(c).GetItemData(2).alternate) << c;
    }
    EXPECT_TRUE(Received().empty());
    // The box still hears its columns afterwards.
    Column(1).SelectRange(0, 0, true);
    EXPECT_EQ(Selected(0), std::vector<std::int32_t>{0});
    EXPECT_EQ(Received().size(), 1u);
}

TEST_F(MultiColumnTest, ThePanelScrollsEveryColumnInWholeRowsAndFollowsTheFirst)
{
    for (int i = 0; i < 10; ++i)
    {
        const String text = String::Format(u"%d", i);
        Fill({{text.GetPtr(), text.GetPtr(), text.GetPtr()}});
    }
    const RCPtr<TestSupport::LScrollbarStandIn> bar(table->GetScrollBar(LScrollView::kVertical));
    ASSERT_TRUE(bar);
    const double columnTop = Column(1).GetAbsolutePosition().y;
    // 10 rows, 3 shown: the bar's range is 7 whole rows, whatever the headers take.
    bar->SetValue(1.0);
    EXPECT_EQ(table->GetScrollOffset().y, 7 * 14);
    bar->SetValue(0.5); // 3.5 rows
    EXPECT_EQ(table->GetScrollOffset().y, 3 * 14);
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(Column(c).GetScrollOffset().y, 3 * 14) << c;
        EXPECT_EQ(Column(c).GetFirstShown(), 3) << c;
        EXPECT_EQ(Column(c).GetRow(0)->GetText(), u"3") << c;
    }
    // The columns stay where the skin puts them.
    EXPECT_EQ(Column(1).GetAbsolutePosition().y, columnTop);
    Column(0).SetScrollOffset(PointD{0, 5 * 14});
    EXPECT_EQ(table->GetScrollOffset().y, 5 * 14);
    EXPECT_EQ(Column(2).GetFirstShown(), 5);
}

TEST_F(MultiColumnTest, ThePointerOverARowHoversThatRowInEveryColumnUntilItLeaves)
{
    Fill({{u"a", u"1", u"x"}, {u"b", u"2", u"y"}, {u"c", u"3", u"z"}});
    const RCPtr<LListBoxItem> row = Column(1).GetRow(2);
    row->OnMouseEnter();
    EXPECT_EQ(table->GetHoveredItem(), 2);
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(Column(c).GetRow(2)->GetActiveLookIndex(), LListBoxItem::kHotLook) << c;
        EXPECT_EQ(Column(c).GetRow(1)->GetActiveLookIndex(), LListBoxItem::kNormalLook) << c;
    }
    row->OnMouseLeave();
    EXPECT_EQ(table->GetHoveredItem(), -1);
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(Column(c).GetRow(2)->GetActiveLookIndex(), LListBoxItem::kNormalLook) << c;
    }
}

TEST(MultiColumnSkin, InitializeTellsWhetherEveryColumnHasAHeaderAndNoColumnIsHarmless)
{
    struct Case
    {
        int columns;
        int headers;
        Result result;
    };
    const Case cases[] = {{3, 3, 1}, {3, 2, 0}, {2, 0, kOk}, {0, 2, kFail}, {0, 0, kFail}};
    for (const Case& c : cases)
    {
        Scene scene(Table(c.columns, c.headers));
        const RCPtr<LMultiColumnListBox> table = scene.Find<LMultiColumnListBox>(u"table");
        ASSERT_TRUE(table);
        EXPECT_EQ(table->Initialize(), c.result) << c.columns << " " << c.headers;
        EXPECT_EQ(table->GetColumnCount(), c.columns);
        if (c.columns == 0)
        {
            // Layout, a header click and a sort find nothing to do.
            scene.main->SetFrame(PointD{}, PointD{200, 100});
            scene.main->UpdateLayout();
            EXPECT_EQ(table->SortByColumn(0), kInvalidArg);
            if (c.headers > 0)
            {
                const RCPtr<LButton> header = scene.Find<LButton>(u"buttonColumnHeader1");
                header->OnMouseEnter();
                Press(*header, 5, 5);
                Release(*header, 5, 5);
            }
        }
    }
}

} // namespace
} // namespace KR
