// The list box's selection, its scrolling by whole rows and its sizes.

#include "kr/controls/ListBox.h"

#include "kr/controls/ListBoxItem.h"
#include "kr/render/Font.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/Look.h"
#include "kr/ui/LookDescriptor.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace KR
{
// ---- selection -----------------------------------------------------------------------------

void LListBox::SetItemSelectedValue(std::int32_t index, double value)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return;
    }
    Item& item = GetItemData(index);
    const bool was = item.value >= 0.5;
    const bool now = value >= 0.5;
    if (was != now)
    {
        mSelectedCount += now ? 1 : -1;
    }
    item.value = value;
    UpdateItemControl(index);
}

void LListBox::AnnounceSelectionChange()
{
    OnSelectionChanged();
    if (!mDropDown)
    {
        SendNotificationByName(u"NID_SELECTION_CHANGE");
    }
}

Result LListBox::SelectRange(std::int32_t first, std::int32_t last, bool exclusive)
{
    // A negative first would index before the items.
    if (first < 0 || first >= GetItemDataCount())
    {
        return kInvalidArg;
    }
    if (last < 0)
    {
        last = first;
    }
    last = std::min(last, GetItemDataCount() - 1);
    if (first == last && IsItemSelected(first) && (!exclusive || mSelectedCount == 1))
    {
        EnsureItemVisible(first);
        return first;
    }
    mAnchor = first;
    mCaret = last;
    bool changed = false;
    if (exclusive)
    {
        const std::int32_t low = std::min(first, last);
        const std::int32_t high = std::max(first, last);
        for (std::int32_t i = GetItemDataCount(); i-- > 0;)
        {
            const bool inside = i >= low && i <= high;
            if (inside != IsItemSelected(i))
            {
                SetItemSelectedValue(i, inside ? 1.0 : 0.0);
                changed = true;
            }
        }
    }
    else
    {
        const std::int32_t step = last >= first ? 1 : -1;
        for (std::int32_t i = first;; i += step)
        {
            if (!IsItemSelected(i))
            {
                SetItemSelectedValue(i, 1.0);
                changed = true;
            }
            if (i == last)
            {
                break;
            }
        }
    }
    EnsureItemVisible(mCaret);
    if (changed)
    {
        AnnounceSelectionChange();
    }
    return first;
}

Result LListBox::DeselectItem(std::int32_t index)
{
    if (!IsItemSelected(index))
    {
        return 1;
    }
    SetItemSelectedValue(index, 0.0);
    if (mSelectedCount > 0)
    {
        const bool together = mAnchor == mCaret;
        if (index == mCaret)
        {
            if (IsItemSelected(index + 1))
            {
                mCaret = index + 1;
            }
            else if (IsItemSelected(index - 1))
            {
                mCaret = index - 1;
            }
            else
            {
                mCaret = mAnchor;
            }
            if (together)
            {
                mAnchor = mCaret;
            }
        }
        else if (index == mAnchor)
        {
            mAnchor = IsItemSelected(index + 1) ? index + 1 : (IsItemSelected(index - 1) ? index - 1 : -1);
        }
    }
    else
    {
        mAnchor = mCaret = -1;
    }
    AnnounceSelectionChange();
    return kOk;
}

void LListBox::DeselectAll()
{
    bool changed = false;
    for (std::int32_t i = GetItemDataCount(); i-- > 0;)
    {
        if (IsItemSelected(i))
        {
            SetItemSelectedValue(i, 0.0);
            changed = true;
        }
    }
    if (changed)
    {
        AnnounceSelectionChange();
    }
}

const std::vector<std::int32_t>& LListBox::GetSelectedIndices()
{
    mSelected.clear();
    for (std::int32_t i = 0; i < GetItemDataCount(); ++i)
    {
        if (IsItemSelected(i))
        {
            mSelected.push_back(i);
        }
    }
    return mSelected;
}

// ---- scrolling -----------------------------------------------------------------------------

Result LListBox::EnsureItemVisible(std::int32_t index)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return kInvalidArg;
    }
    const double height = GetClientArea().height;
    std::int32_t visible = 1;
    // Rows a hidden list has yet to make count as made: it scrolls as it will show.
    for (std::int32_t k = 1; k < GetRowCount() + mOwedRows; ++k)
    {
        if (static_cast<double>(mRowHeight) * (k + 1) > height)
        {
            break;
        }
        ++visible;
    }
    if (index >= mFirstShown && index <= mFirstShown + visible - 1)
    {
        return kOk;
    }
    std::int32_t top = index < mFirstShown ? index : index - visible + 1;
    if (GetItemDataCount() - top + 1 < visible)
    {
        top = GetItemDataCount() - visible + 1;
    }
    // With fewer items than whole rows the rule above reaches past the first item.
    top = std::max(0, top);
    SetScrollOffset(PointD{GetScrollOffset().x, static_cast<double>(mRowHeight) * top});
    return kOk;
}

// ---- sizes ---------------------------------------------------------------------------------

namespace
{
// The widths of the texts measured lately, for one renderer and font at a time: the
// program's lists repeat their texts (half of its combo boxes list the same MIDI channels),
// and a text measures the same again in the same font. The renderer is held, so that no
// other can take its place unnoticed; a font's id is never given to another font.
class RecentTextWidths
{
public:
    float Measure(const RCPtr<LMeasurementRenderer>& renderer, const RCPtr<LFont>& font, const String& text)
    {
        const std::int32_t fontId = LFont::GetUniqueID(font);
        if (renderer.Get() != mRenderer.Get() || fontId != mFont || mWidths.size() >= kMaxTexts)
        {
            mWidths.clear();
            mRenderer = renderer;
            mFont = fontId;
        }
        const auto known = mWidths.find(text.GetView());
        if (known != mWidths.end())
        {
            return known->second;
        }
        RectT<float> box{};
        renderer->MeasureText(box, text, font);
        mWidths.emplace(std::u16string(text.GetView()), box.width);
        return box.width;
    }

private:
    static constexpr std::size_t kMaxTexts = 1024;
    RCPtr<LMeasurementRenderer> mRenderer;
    std::int32_t mFont = 0;
    // Looked up by the text's own units, without a copy.
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const
        {
            return std::hash<std::u16string_view>{}(text);
        }
    };
    std::unordered_map<std::u16string, float, Hash, std::equal_to<>> mWidths;
};

// UI thread only, as the lists are. Never destroyed: the renderer it holds goes with the
// process, not among the other statics at its exit.
RecentTextWidths& RecentWidths()
{
    static RecentTextWidths* const widths = new RecentTextWidths;
    return *widths;
}
} // namespace

LListBox::ItemMeasure LListBox::PrepareItemMeasure() const
{
    ItemMeasure measure;
    measure.renderer = IFrameworkApp::GetInstance().GetMeasurementRenderer();
    measure.font = mRows[0]->GetFont();
    // A row of a width of its own shows a text narrower than its text area without growing:
    // counting that area as margin as well would make every item wider than its row, and the
    // rows, centred in the list, would lose their first letters past its left edge.
    // The text area is taken from the look's own rules at the empty row's width.
    const RCPtr<LLook>& look = mRows[0]->GetActiveLook(-1);
    if (look && look->GetDescriptor() && look->GetDescriptor()->text.hasTextProperties)
    {
        measure.room = std::round(
            look->GetDescriptor()->text.GetTextRect(static_cast<float>(mRowBaseWidth), 0.0f).width);
        measure.room = std::clamp(measure.room, 0.0, static_cast<double>(mRowBaseWidth));
    }
    return measure;
}

std::int32_t LListBox::MeasureItem(const ItemMeasure& measure, std::int32_t index) const
{
    const double text =
        measure.renderer ? RecentWidths().Measure(measure.renderer, measure.font, GetItemText(index)) : 0.0;
    const double needed = std::max(static_cast<double>(mRowBaseWidth),
                                   static_cast<double>(mRowBaseWidth) - measure.room + text);
    return static_cast<std::int32_t>(needed + 0.5);
}

std::int32_t LListBox::GetItemWidth(std::int32_t index)
{
    if (index < 0 || index >= GetItemDataCount() || mRows.empty())
    {
        return 0;
    }
    return MeasureItem(PrepareItemMeasure(), index);
}

std::int32_t LListBox::MeasureWidest()
{
    if (mRows.empty())
    {
        return 0;
    }
    // What is the same for every item is looked up once.
    const ItemMeasure measure = PrepareItemMeasure();
    std::int32_t widest = 0;
    for (std::int32_t i = 0; i < GetItemDataCount(); ++i)
    {
        widest = std::max(widest, MeasureItem(measure, i));
    }
    return widest;
}

void LListBox::UpdateWidestItem()
{
    if (mBulkUpdate)
    {
        return;
    }
    const std::int32_t widest = MeasureWidest();
    if (widest != mWidestWidth)
    {
        TakeWidest(widest);
    }
}

void LListBox::FitToItems()
{
    if (mBulkUpdate)
    {
        return;
    }
    // The rows first: a row's look, which the measuring reads, follows the item it shows.
    if (mRebindFrom >= 0)
    {
        FillRows();
        RebindRows(std::exchange(mRebindFrom, -1));
    }
    // The widest item is measured next: the rows are then placed once, at the width they
    // keep, not at the old width and at once again at the new one.
    const std::int32_t widest = MeasureWidest();
    if (widest != mWidestWidth)
    {
        TakeWidest(widest);
    }
    else
    {
        UpdateClientExtent();
    }
    FollowCountInDropDown();
}

void LListBox::RebindAfterBulk(std::int32_t fromItem)
{
    mRebindFrom = mRebindFrom < 0 ? fromItem : std::min(mRebindFrom, fromItem);
}

void LListBox::RaiseWidest(std::int32_t width)
{
    if (width > mWidestWidth)
    {
        TakeWidest(width);
    }
}

void LListBox::TakeWidest(std::int32_t width)
{
    mWidestWidth = width;
    UpdateClientExtent();
    // Rows that widen with their texts take the list with them.
    if (TemplateExpandsX())
    {
        // The list's own margin, which SetListWidth adds, holds the bar when it shows:
        // adding the bar's extent here as well would leave the list a bar too wide.
        SetListWidth(mWidestWidth);
    }
}

void LListBox::UpdateClientExtent()
{
    if (mBulkUpdate)
    {
        return;
    }
    if (mTemplate && !TemplateSizedBySelf())
    {
        // The rows take the list's width from the template's own placement.
        SetClientExtent(0.0, static_cast<double>(GetContentHeight()));
        return;
    }
    SetClientExtent(static_cast<double>(mWidestWidth), static_cast<double>(GetContentHeight()));
    for (const RCPtr<LListBoxItem>& row : mRows)
    {
        PlaceRowAtWidest(*row);
    }
}

void LListBox::PlaceRowAtWidest(LListBoxItem& row)
{
    // Rows of their own width are all as wide as the widest item, centred in the list.
    const RCPtr<LLayoutDescriptor>& layout = row.GetLayoutDescriptor();
    DockedPositionSpec position;
    SizeSpec size;
    if (layout)
    {
        layout->GetPlacement(0, position, size);
    }
    position.anchor = 0.5f;
    position.reference = kPositionToClient;
    position.referenceName = String();
    position.relative = 0.5f;
    position.absolute = 0.0;
    size = SizeSpec{kSizeToSelf, String(), 0.0f, static_cast<double>(mWidestWidth)};
    row.SetPlacement(0, position, size);
}

void LListBox::FollowCountInDropDown()
{
    if (mDropDown && !mBulkUpdate)
    {
        SetListHeight(static_cast<double>(GetContentHeight()));
    }
}

void LListBox::SnapToRows()
{
    const double nonClient = GetSize().y - GetClientArea().height;
    const double row = mRowHeight;
    const auto snapLimit = [&](double m)
    {
        return m > nonClient ? std::max(nonClient + row, nonClient + row * std::floor((m - nonClient) / row))
                             : m;
    };
    const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor();
    if (layout)
    {
        LimitSpec minimum;
        LimitSpec maximum;
        layout->GetSizeLimits(1, minimum, maximum);
        if (minimum.absolute > 0.0 || maximum.absolute > 0.0)
        {
            minimum.absolute = snapLimit(minimum.absolute);
            maximum.absolute = snapLimit(maximum.absolute);
            SetSizeLimits(1, minimum, maximum);
        }
        DockedPositionSpec position;
        SizeSpec size;
        layout->GetPlacement(1, position, size);
        if (size.absolute > 0.0)
        {
            size.absolute = std::max(nonClient + row, nonClient + row * std::floor(size.absolute / row));
            SetPlacement(1, position, size);
        }
    }
}

namespace
{
void SetOwnSize(LControl& control, std::int32_t axis, double size)
{
    const RCPtr<LLayoutDescriptor>& layout = control.GetLayoutDescriptor();
    DockedPositionSpec position;
    SizeSpec spec;
    if (layout)
    {
        layout->GetPlacement(axis, position, spec);
    }
    spec.reference = kSizeToSelf;
    spec.referenceName = String();
    spec.relative = 0.0f;
    spec.absolute = std::round(size);
    control.SetPlacement(axis, position, spec);
}
} // namespace

void LListBox::SetListHeight(double height)
{
    if (!mBulkUpdate)
    {
        SetOwnSize(*this, 1, height + GetSize().y - GetClientArea().height);
    }
}

void LListBox::SetListWidth(double width)
{
    if (!mBulkUpdate)
    {
        SetOwnSize(*this, 0, width + GetSize().x - GetClientArea().width);
    }
}

} // namespace KR
