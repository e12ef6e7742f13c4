// The list box's rows as controls: their condition changes passed on as the item's, the
// template offered by a skin, whole-row sizes and the widths the items need.

#include "ControlsTestSupport.h"
#include "kr/controls/ItemConditionsParam.h"
#include "kr/controls/ListBox.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/ControlDescriptor.h"

#include <gtest/gtest.h>

namespace KR
{
namespace
{

using namespace ControlsTest;

// A list whose look keeps 2 units above and below its client area, rows 8 wide without
// text; and a list with neither template nor rows.
std::string FramedLists()
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Colorizers><Colorizer Name="black" ColorType="SolidFill" Color="0xFF000000"/></Colorizers>)"
           R"(<Parts><Part Name="fill" Width="1" Height="1" ResizeType="Stretch" ColorizerName="black"/></Parts>)"
           R"(<Looks><Look Name="plain"/><Look Name="framed">)"
           R"(<ClientPart Name="fill" OffsetLeft="0" OffsetTop="2" OffsetRight="0" OffsetBottom="-2"/></Look></Looks>)"
           R"(<LookLists>)" +
           ControlsTest::LookList("r14", 14) +
           R"(<LookList Name="framed" NumLooks="1"><Look Name="framed" Index="0"/></LookList></LookLists>)"
           R"(<Skins><Skin Name="One">)"
           R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">)"
           R"(<SubControl Class="Framework.ListBox" Name="list" XSizeAbs="200" YSizeAbs="74"><Skin Name="list" LookList="framed">)"
           R"(<SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="8" YSizeAbs="14"><Skin Name="row" LookList="r14"/></SubControl>)"
           R"(</Skin></SubControl>)"
           R"(<SubControl Class="Framework.listboxNoScroll" Name="bare" YPositionAbs="100" XSizeAbs="200" YSizeAbs="40"><Skin Name="bare" LookList="framed"/></SubControl>)"
           R"(<SubControl Class="Framework.ListBox" Name="wide" YPositionAbs="150" XSizeAbs="100" YSizeAbs="74"><Skin Name="wide" LookList="framed">)"
           R"(<SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="8" YSizeAbs="14" TextOverflowXType="Expand"><Skin Name="row" LookList="r14"/></SubControl>)"
           R"(<SubControl Class="Test.Bar" Name="vBar" XPositionAbs="90" XSizeAbs="10" YSizeAbs="74"><Skin Name="bar" LookList="one"/></SubControl>)"
           R"(</Skin></SubControl>)"
           R"(</Skin></SubControl></Skin></Skins></Application></Test_Skins>)";
}

RCPtr<LControlDescriptor> ChildDescriptor(const LControl& parent, const char16_t* name)
{
    const LControlDescriptor::Children& children = parent.GetControlDescriptor()->GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        if (children.GetAt(i) && children.GetAt(i)->GetName() == String(name))
        {
            return children.GetAt(i);
        }
    }
    return nullptr;
}

struct ListBoxRowsTest : ::testing::Test
{
    Scene scene{kTemplateList};
    RCPtr<LListBox> list = scene.Find<LListBox>(u"list");

    void SetUp() override
    {
        ASSERT_TRUE(list);
        ASSERT_EQ(list->GetRowCount(), 6);
        for (int i = 0; i < 3; ++i)
        {
            list->InsertItem(i, MakeStringTag(String::Format(u"item %d", i)));
        }
    }
    void ExpectRowsBound()
    {
        for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
        {
            const std::int32_t index = list->GetFirstShown() + k;
            EXPECT_EQ(list->GetRow(k)->GetText(), list->GetItemText(index)) << k;
            EXPECT_EQ(list->GetRow(k)->IsEnabled(false), index < list->GetItemDataCount()) << k;
        }
    }
};

TEST_F(ListBoxRowsTest, ARowsHoverAndPressArePassedOnAsTheItems)
{
    const RCPtr<Recorder> recorder = Recorder::Create();
    recorder->Listen(RCPtr<LControl>(list),
                     {u"NID_ITEM_HOVER_CONDITION_CHANGE", u"NID_ITEM_LEFT_DRAG_CONDITION_CHANGE"});
    const RCPtr<LListBoxItem> row = list->GetRow(1);
    row->OnMouseEnter();
    ASSERT_EQ(recorder->received, std::vector<std::string>{"list:NID_ITEM_HOVER_CONDITION_CHANGE"});
    RCPtr<LItemConditionsParam> param(recorder->last);
    ASSERT_TRUE(param);
    EXPECT_EQ(param->itemIndex, 1);
    EXPECT_TRUE(param->hover);
    EXPECT_EQ(param->lookIndex, LListBoxItem::kHotLook);
    EXPECT_NE(param->current & Condition::kHoverOrForced, 0u);
    EXPECT_EQ(param->previous & Condition::kHoverOrForced, 0u);

    recorder->received.clear();
    Press(*row, 2, 2);
    ASSERT_EQ(recorder->received, std::vector<std::string>{"list:NID_ITEM_LEFT_DRAG_CONDITION_CHANGE"});
    param = RCPtr<LItemConditionsParam>(recorder->last);
    ASSERT_TRUE(param);
    EXPECT_EQ(param->itemIndex, 1);
    EXPECT_NE(param->current & Condition::kLeftPressed, 0u);
    recorder->last = nullptr;
    param = nullptr;
    // Released into a pool of their own, not the general heap.
    EXPECT_GT(LItemConditionsParam::GetPool().GetBlockCount(), 0u);
    EXPECT_GT(LItemConditionsParam::GetPool().GetFreeCount(), 0u);

    recorder->received.clear();
    list->GetRow(4)->OnMouseEnter();
    EXPECT_TRUE(recorder->received.empty()) << "a row past the last item is disabled";
}

TEST_F(ListBoxRowsTest, ATemplateOfferedWithoutAControlMakesTheRows)
{
    EXPECT_EQ(list->AddChildControl(nullptr, ChildDescriptor(*list, u"vBar")), kFail);
    EXPECT_EQ(list->AddChildControl(nullptr, nullptr), kFail);
    list->SetDropDownMode(true);
    list->SetItemCount(0);
    const RCPtr<LControlDescriptor> model = ChildDescriptor(*list, u"templateItem");
    ASSERT_TRUE(model);
    EXPECT_EQ(list->AddChildControl(nullptr, model), kOk);
    EXPECT_EQ(list->GetClientArea().height, 14) << "no items still shows one row";
    EXPECT_FALSE(list->FindChildControl(String(u"templateItem"))) << "the measured row is gone";
    list->SetItemCount(2);
    EXPECT_EQ(list->GetClientArea().height, 28);
}

TEST_F(ListBoxRowsTest, ANewSkinReplacesTheRowsFromItsTemplate)
{
    list->EnsureItemVisible(2);
    std::vector<RCPtr<LListBoxItem>> before;
    for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
    {
        before.push_back(list->GetRow(k));
    }
    EXPECT_EQ(list->ApplyLayoutDescriptor(list->GetControlDescriptor()), kOk);
    scene.main->UpdateLayout();
    ASSERT_EQ(list->GetRowCount(), 6);
    for (const RCPtr<LListBoxItem>& old : before)
    {
        EXPECT_FALSE(old->GetParent());
    }
    EXPECT_EQ(list->GetRow(0)->GetParent().Get(), list.Get());
    EXPECT_EQ(list->GetItemDataCount(), 3);
    ExpectRowsBound();
}

TEST(ListBoxSizeTest, WholeRowsAndItemWidths)
{
    Scene scene(FramedLists());
    scene.app.measurementRenderer = ControlsTest::TenPerUnit(14, -11, 3);
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    const RCPtr<LListBox> bare = scene.Find<LListBox>(u"bare");
    ASSERT_TRUE(list && bare);
    ASSERT_EQ(list->GetSize().y - list->GetClientArea().height, 4);
    list->InsertItem(0, MakeStringTag(String(u"abc")));
    EXPECT_EQ(list->GetItemWidth(0), 38);
    EXPECT_EQ(list->GetWidestWidth(), 38);
    bare->InsertItem(0, MakeStringTag(String(u"abc")));
    EXPECT_EQ(bare->GetItemWidth(0), 0) << "no rows to measure with";

    const struct
    {
        const char* name;
        double maximum;
        double size;
        double snappedMaximum;
        double snappedSize;
    } rows[] = {
        {"maximum 100", 100, 74, 88, 74},
        {"size 50", 0, 50, 0, 46},
        {"size 5", 0, 5, 0, 18},
    };
    for (const auto& row : rows)
    {
        LimitSpec minimum;
        LimitSpec maximum;
        list->GetLayoutDescriptor()->GetSizeLimits(1, minimum, maximum);
        maximum.absolute = row.maximum;
        list->SetSizeLimits(1, minimum, maximum);
        DockedPositionSpec position;
        SizeSpec size;
        list->GetLayoutDescriptor()->GetPlacement(1, position, size);
        size.absolute = row.size;
        list->SetPlacement(1, position, size);
        list->SnapToRows();
        list->GetLayoutDescriptor()->GetSizeLimits(1, minimum, maximum);
        list->GetLayoutDescriptor()->GetPlacement(1, position, size);
        EXPECT_EQ(maximum.absolute, row.snappedMaximum) << row.name;
        EXPECT_EQ(size.absolute, row.snappedSize) << row.name;
    }
}

// A long list: each notch a step of 1/n of the bar.
TEST_F(ListBoxRowsTest, EachWheelNotchMovesTheRowsOnByOneItem)
{
    list->SetItemCount(10000);
    const RCPtr<LMouseWheelParam> notch =
        LMouseWheelParam::Create(PointI{5, 5}, 0, WheelDirection::kTowardsUser);
    for (std::int32_t i = 1; i <= 100; ++i)
    {
        ASSERT_EQ(list->OnVerticalWheel(notch), kOk);
        ASSERT_EQ(list->GetFirstShown(), i);
    }
    ExpectRowsBound();
}

// Rows that widen with their texts: the list keeps its first width as its least and takes the
// widest item's width beside its bar.
TEST(ListBoxSizeTest, ARowTemplateThatExpandsWidensTheList)
{
    Scene scene(FramedLists());
    scene.app.measurementRenderer = ControlsTest::TenPerUnit(14, -11, 3);
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"wide");
    ASSERT_TRUE(list);
    LimitSpec minimum;
    LimitSpec maximum;
    list->GetLayoutDescriptor()->GetSizeLimits(0, minimum, maximum);
    EXPECT_EQ(minimum.absolute, 100);
    const struct
    {
        const char* name;
        std::function<void()> change;
        std::int32_t widest;
        double width;
    } rows[] = {
        {"a long text", [&] { list->InsertItem(0, MakeStringTag(String(u"a much longer text"))); }, 188, 188},
        {"the bar shows beside it", [&] { list->SetItemCount(10); }, 188, 198},
        {"a short text in its place", [&] { list->SetItemTag(0, MakeStringTag(String(u"short"))); }, 58, 100},
    };
    for (const auto& row : rows)
    {
        row.change();
        scene.main->UpdateLayout();
        EXPECT_EQ(list->GetWidestWidth(), row.widest) << row.name;
        EXPECT_EQ(list->GetSize().x, row.width) << row.name;
    }
}

// A drop-down list like a combo's: rows of a width of their own, their text inset 8 on either
// side, in a list a little wider than them.
std::string InsetRowList()
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Test_Skins><Application Name="PresetEditor">)"
           R"(<Colorizers><Colorizer Name="black" ColorType="SolidFill" Color="0xFF000000"/></Colorizers>)"
           R"(<Parts><Part Name="ink" Width="1" Height="1" ResizeType="Stretch" ColorizerName="black"/></Parts>)"
           R"(<Looks><Look Name="plain"/><Look Name="inset"><TextProperties TextLeftRel="0" TextLeftAbs="8")"
           R"( TextRightRel="1" TextRightAbs="-8" TextHAlign="0" TextTopRel="0" TextTopAbs="0" TextBottomRel="1")"
           R"( TextBottomAbs="0" TextVAlign="0.5" TextForegroundPart="ink"/></Look></Looks><LookLists>)" +
           ControlsTest::LookList("one", 1) + R"(<LookList Name="inset14" NumLooks="14">)" +
           []
    {
        std::string looks;
        for (int i = 0; i < 14; ++i)
        {
            looks += "<Look Name=\"inset\" Index=\"" + std::to_string(i) + "\"/>";
        }
        return looks;
    }() +
           R"(</LookList></LookLists><Skins><Skin Name="One">)"
           R"(<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">)"
           R"(<SubControl Class="Framework.ListBox" Name="list" XSizeAbs="112" YSizeAbs="68"><Skin Name="list" LookList="one">)"
           R"(<SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="100" YSizeAbs="22"><Skin Name="row" LookList="inset14"/></SubControl>)"
           R"(</Skin></SubControl>)"
           R"(</Skin></SubControl></Skin></Skins></Application></Test_Skins>)";
}

// A text that fits a row's text area needs no more than the row; a longer one needs the row's
// insets beside it. Rows no wider than the list stay inside it, so no item loses its start.
TEST(ListBoxSizeTest, ItemsNeedTheirTextBesideTheRowsInsetsNotBesideTheWholeRow)
{
    Scene scene(InsetRowList());
    scene.app.measurementRenderer = ControlsTest::TenPerUnit(14, -11, 3);
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    ASSERT_TRUE(list);
    const struct
    {
        const char16_t* text;
        std::int32_t width;
    } rows[] = {
        {u"", 100},
        {u"Global", 100},
        {u"Channel 16", 116},
        {u"Channel 1", 106},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
    {
        list->InsertItem(static_cast<std::int32_t>(i), MakeStringTag(String(rows[i].text)));
        EXPECT_EQ(list->GetItemWidth(static_cast<std::int32_t>(i)), rows[i].width) << "item " << i;
    }
    EXPECT_EQ(list->GetWidestWidth(), 116);
    list->RemoveItem(2);
    scene.main->UpdateLayout();
    EXPECT_EQ(list->GetWidestWidth(), 106);
    for (std::int32_t k = 0; k < list->GetRowCount(); ++k)
    {
        const RCPtr<LListBoxItem> row = list->GetRow(k);
        EXPECT_GE(row->GetPosition().x, 0.0) << "row " << k;
        EXPECT_LE(row->GetPosition().x + row->GetSize().x, list->GetClientArea().width) << "row " << k;
    }
}

// Measures each unit of a text as wide as its font is large, times a scale.
class FontSizedRenderer : public TestSupport::LRecordingRenderer
{
public:
    explicit FontSizedRenderer(float scale) : mScale(scale) {}
    Result MeasureText(RectT<float>& box, const String& text, const RCPtr<LFont>& font) override
    {
        box = RectT<float>{0.0f, -11.0f, (font ? font->GetSize() : 1.0f) * mScale * text.GetLength(), 14.0f};
        return kOk;
    }

private:
    float mScale;
};

// Lists measure the same texts over and over (every MIDI channel list), and a text measured
// once in a font is not measured again: in another font, or through another renderer, it is.
TEST(ListBoxSizeTest, TheSameTextsMeasureAfreshInAnotherFontOrThroughAnotherRenderer)
{
    Scene scene(FramedLists());
    const RCPtr<LListBox> list = scene.Find<LListBox>(u"list");
    ASSERT_TRUE(list);
    const struct
    {
        float fontSize;
        float rendererScale;
        std::int32_t widest; // the row's 8 beside "Channel 16"
    } rows[] = {
        {10.0f, 1.0f, 108}, {12.0f, 1.0f, 128}, {12.0f, 2.0f, 248}, {10.0f, 2.0f, 208}, {10.0f, 1.0f, 108},
    };
    float scale = 0.0f;
    for (const auto& row : rows)
    {
        if (row.rendererScale != scale)
        {
            scale = row.rendererScale;
            scene.app.measurementRenderer = RCPtr<LMeasurementRenderer>(new FontSizedRenderer(scale));
        }
        list->GetRow(0)->SetFont(String(u"Sans"), row.fontSize, 0, false);
        list->RemoveAllItems();
        list->InsertItem(0, MakeStringTag(String(u"Global")));
        list->InsertItem(1, MakeStringTag(String(u"Channel 16")));
        EXPECT_EQ(list->GetWidestWidth(), row.widest) << row.fontSize << " x " << row.rendererScale;
        EXPECT_EQ(list->GetItemWidth(0), 8 + static_cast<std::int32_t>(6 * row.fontSize * scale))
            << row.fontSize << " x " << row.rendererScale;
    }
}

// A list without bars holds as many rows as its height does; a list of the skin's own rows
// scrolls in whole rows, as one made from a template does.
TEST(ListBoxSizeTest, ListsWithoutBarsOrTemplateShowAndScrollWholeRows)
{
    Scene scene{R"(
<SubControl Class="Test.Group" Name="main" XSizeAbs="400" YSizeAbs="300"><Skin Name="main">
  <SubControl Class="Framework.listboxNoScroll" Name="bare" XSizeAbs="200" YSizeAbs="60"><Skin Name="bare" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="templateItem" XSizeAbs="180" YSizeAbs="14"><Skin Name="row" LookList="r14"/></SubControl>
  </Skin></SubControl>
  <SubControl Class="Framework.ListBox" Name="own" YPositionAbs="100" XSizeAbs="200" YSizeAbs="60"><Skin Name="own" LookList="one">
    <SubControl Class="Framework.ListBoxItem" Name="item1" XSizeAbs="180" YSizeAbs="14"><Skin Name="r1" LookList="r14"/></SubControl>
    <SubControl Class="Framework.ListBoxItem" Name="item2" YPositionAbs="14" XSizeAbs="180" YSizeAbs="14"><Skin Name="r2" LookList="r14"/></SubControl>
    <SubControl Class="Test.Bar" Name="vBar" XPositionAbs="190" XSizeAbs="10" YSizeAbs="60"><Skin Name="bar" LookList="one"/></SubControl>
  </Skin></SubControl>
</Skin></SubControl>)"};
    const RCPtr<LListBox> bare = scene.Find<LListBox>(u"bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->GetRowCount(), 5) << "rows of 14 over 60";

    const RCPtr<LListBox> own = scene.Find<LListBox>(u"own");
    const RCPtr<KeyBar> bar = scene.Find<KeyBar>(u"vBar");
    ASSERT_TRUE(own && bar);
    for (int i = 0; i < 11; ++i)
    {
        own->InsertItem(own->GetItemDataCount(), MakeStringTag(String::Format(u"item %d", i)));
    }
    // 13 items, 4 whole rows shown: one line of the 9 it can scroll.
    EXPECT_DOUBLE_EQ(bar->line, 1.0 / 9.0);
}

} // namespace
} // namespace KR
