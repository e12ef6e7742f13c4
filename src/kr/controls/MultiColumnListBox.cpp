#include "kr/controls/MultiColumnListBox.h"

#include "kr/controls/Button.h"
#include "kr/controls/ItemConditionsParam.h"
#include "kr/controls/ListBox.h"
#include "kr/controls/PartPlacement.h"
#include "kr/core/CaseMapping.h"
#include "kr/core/Exception.h"
#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/LayoutDescriptor.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace KR
{

namespace
{
constexpr NotificationName kSelectionChange = u"NID_SELECTION_CHANGE";
constexpr char16_t kColumnName[] = u"listboxNoScroll%d";
constexpr char16_t kHeaderName[] = u"buttonColumnHeader%d";
constexpr int kRemoveLine = 708;
constexpr int kRestoreLine = 751;
} // namespace

LMultiColumnListBox::LMultiColumnListBox(const RCPtr<LControl>& parent, const String& name)
    : LPanel(parent, name)
{
}

LMultiColumnListBox::~LMultiColumnListBox() = default;

Result LMultiColumnListBox::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mColumns.clear();
    mHeaders.clear();
    return LPanel::ReleaseInternalReferences();
}

Result LMultiColumnListBox::Receive(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        const Result handled = mHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LPanel::Receive(sender, notification);
}

Result LMultiColumnListBox::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                      NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LPanel::UnregisterForNotification(sender, name);
}

// ---- creation ------------------------------------------------------------------------------

Result LMultiColumnListBox::Initialize()
{
    const Result result = LPanel::Initialize();
    if (!mHandler)
    {
        mHandler = LNotificationHandler<LMultiColumnListBox>::Create(this);
    }
    mColumns.clear();
    mHeaders.clear();
    FindColumns();
    FindHeaders();
    mSortAscending.assign(mColumns.size(), true);
    SetScrollOptions(0, 0, 0);
    SetLineMode(kVertical, true);
    if (mColumns.empty())
    {
        // Every operation of the box reads the first column.
        return kFail;
    }
    if (!mHeaders.empty())
    {
        return mHeaders.size() == mColumns.size() ? 1 : 0;
    }
    return result;
}

void LMultiColumnListBox::FindColumns()
{
    for (std::int32_t n = 1;; ++n)
    {
        const RCPtr<LListBox> column(FindChildControl(String::Format(kColumnName, n)));
        if (!column)
        {
            break;
        }
        const RCPtr<LNotificationDistributor> sender(column);
        mHandler->Register(&LMultiColumnListBox::OnColumnItemHover, sender,
                           u"NID_ITEM_HOVER_CONDITION_CHANGE");
        mHandler->Register(&LMultiColumnListBox::OnColumnSelectionChange, sender, kSelectionChange);
        mHandler->Register(&LMultiColumnListBox::OnColumnItemActivated, sender, u"NID_ITEM_ACTIVATED");
        mHandler->Register(&LMultiColumnListBox::OnColumnItemDoubleClicked, sender,
                           u"NID_ITEM_DOUBLE_CLICKED");
        if (n == 1)
        {
            mHandler->Register(&LMultiColumnListBox::OnFirstColumnScrolled, sender,
                               u"NID_SCROLL_OFFSET_CHANGE");
            mHandler->Register(&LMultiColumnListBox::OnFirstColumnExtentChange, sender,
                               u"NID_CLIENT_EXTENT_CHANGE");
        }
        // The columns stay put while the box scrolls down: they scroll their rows themselves.
        DockedPositionSpec position;
        SizeSpec size;
        GetPartPlacement(*column, 1, position, size);
        position.docked = true;
        column->SetPlacement(1, position, size);
        mColumns.push_back(column);
    }
}

void LMultiColumnListBox::FindHeaders()
{
    for (std::int32_t n = 1;; ++n)
    {
        const RCPtr<LButton> header(FindChildControl(String::Format(kHeaderName, n)));
        if (!header)
        {
            break;
        }
        mHandler->Register(&LMultiColumnListBox::OnHeaderClick, RCPtr<LNotificationDistributor>(header),
                           u"NID_LEFT_CLICK");
        DockedPositionSpec position;
        SizeSpec size;
        GetPartPlacement(*header, 1, position, size);
        position.docked = true;
        header->SetPlacement(1, position, size);
        mHeaders.push_back(header);
    }
}

Result LMultiColumnListBox::PlaceParts()
{
    if (mColumns.empty())
    {
        return kOk;
    }
    for (std::size_t c = 1; c < mColumns.size(); ++c)
    {
        mColumns[c]->SetNotFocusable(true);
    }
    SetLineSize(kVertical, mColumns.front()->GetRowHeight());
    UpdateScrollBars();
    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        LimitColumnSizes(*mColumns[c]);
    }
    UpdateExtentFromColumns();
    return kOk;
}

void LMultiColumnListBox::LimitColumnSizes(LListBox& column)
{
    const ConstRCPtr<LControlDescriptor>& descriptor = column.GetControlDescriptor();
    const RCPtr<LLayoutDescriptor>& layout = column.GetLayoutDescriptor();
    if (!descriptor || !descriptor->GetLayout() || !layout)
    {
        return;
    }
    const LLayoutDescriptor& skin = *descriptor->GetLayout();
    LimitSpec minimum;
    LimitSpec maximum;
    if (skin.xMaxSize.absolute == 0.0)
    {
        layout->GetSizeLimits(0, minimum, maximum);
        maximum.relative = 0.0f;
        maximum.absolute = 0.0;
        column.SetSizeLimits(0, minimum, maximum);
    }
    if (skin.yMinSize.absolute == 0.0 || skin.yMaxSize.absolute == 0.0)
    {
        // A column is never shorter than one row.
        layout->GetSizeLimits(1, minimum, maximum);
        if (skin.yMinSize.absolute == 0.0)
        {
            minimum.relative = 0.0f;
            minimum.absolute = column.GetRowHeight();
        }
        if (skin.yMaxSize.absolute == 0.0)
        {
            maximum.relative = 0.0f;
            maximum.absolute = 0.0;
        }
        column.SetSizeLimits(1, minimum, maximum);
    }
}

// ---- scrolling -----------------------------------------------------------------------------

void LMultiColumnListBox::UpdateExtentFromColumns()
{
    if (mColumns.empty())
    {
        return;
    }
    const LListBox& first = *mColumns.front();
    const LListBox& last = *mColumns.back();
    // The bar reckons whole rows against the box's client height, which holds the headers
    // too: the rows of that height the columns cannot show are added, so the bar still
    // reaches the last row.
    const double step = std::max(1, first.GetRowHeight());
    const double boxRows = std::trunc(const_cast<LMultiColumnListBox*>(this)->GetClientArea().height / step);
    const double columnRows = std::trunc(const_cast<LListBox&>(first).GetClientArea().height / step);
    const double hidden = std::max(0.0, boxRows - columnRows) * step;
    SetClientExtent(last.GetPosition().x + last.GetSize().x, first.GetClientExtent().y + hidden);
}

void LMultiColumnListBox::ScrollContent(const PointD& oldOffset, const PointD& newOffset)
{
    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        LListBox& column = *mColumns[c];
        const PointD offset{column.GetScrollOffset().x, newOffset.y};
        if (c == 0 && mHandler)
        {
            // The first column's own change would come back here.
            CAutoNotificationDisabler<LMultiColumnListBox> quiet(
                mHandler, RCPtr<LNotificationDistributor>(mColumns[c]), u"NID_SCROLL_OFFSET_CHANGE");
            column.SetScrollOffset(offset);
        }
        else
        {
            column.SetScrollOffset(offset);
        }
    }
    LPanel::ScrollContent(oldOffset, newOffset);
}

void LMultiColumnListBox::OnChildRectChanged(const RCPtr<LControl>& child)
{
    // Only the last column's edge changes the extent; the columns and headers are the box's
    // whole content, so the scroll view's own measuring is not wanted.
    if (child && !mColumns.empty() && child.Get() == mColumns.back().Get())
    {
        UpdateExtentFromColumns();
    }
    LControl::OnChildRectChanged(child);
}

Result LMultiColumnListBox::OnFirstColumnScrolled(const RCPtr<LNotificationDistributor>&,
                                                  const RCPtr<LNotification>&)
{
    // The box keeps its own horizontal place: the column only moves down or up.
    SetScrollOffset(PointD{GetScrollOffset().x, mColumns.front()->GetScrollOffset().y});
    return 1;
}

Result LMultiColumnListBox::OnFirstColumnExtentChange(const RCPtr<LNotificationDistributor>&,
                                                      const RCPtr<LNotification>&)
{
    SetLineSize(kVertical, mColumns.front()->GetRowHeight());
    UpdateScrollBars();
    UpdateExtentFromColumns();
    return 1;
}

// ---- the columns in step -------------------------------------------------------------------

std::int32_t LMultiColumnListBox::ColumnIndexOf(const LNotificationDistributor* sender) const
{
    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        if (static_cast<const LNotificationDistributor*>(mColumns[c].Get()) == sender)
        {
            return static_cast<std::int32_t>(c);
        }
    }
    return -1;
}

RCPtr<LListBox> LMultiColumnListBox::GetColumn(std::int32_t column) const
{
    return column >= 0 && column < GetColumnCount() ? mColumns[static_cast<std::size_t>(column)] : nullptr;
}

bool LMultiColumnListBox::IsNextSortAscending(std::int32_t column) const
{
    return column >= 0 && column < GetColumnCount() && mSortAscending[static_cast<std::size_t>(column)];
}

Result LMultiColumnListBox::OnColumnSelectionChange(const RCPtr<LNotificationDistributor>& sender,
                                                    const RCPtr<LNotification>&)
{
    const std::int32_t from = ColumnIndexOf(sender.Get());
    if (from < 0)
    {
        return 1;
    }
    LListBox& source = *mColumns[static_cast<std::size_t>(from)];
    for (std::int32_t i = mColumns.front()->GetItemDataCount(); i-- > 0;)
    {
        const bool selected = source.IsItemSelected(i);
        for (std::size_t c = mColumns.size(); c-- > 0;)
        {
            LListBox& column = *mColumns[c];
            if (static_cast<std::int32_t>(c) == from || column.IsItemSelected(i) == selected)
            {
                continue;
            }
            CAutoNotificationDisabler<LMultiColumnListBox> quiet(
                mHandler, RCPtr<LNotificationDistributor>(mColumns[c]), kSelectionChange);
            if (selected)
            {
                column.SelectRange(i, i, !source.IsMultipleSelection());
            }
            else
            {
                column.DeselectItem(i);
            }
        }
    }
    SendNotificationByName(kSelectionChange);
    return 1;
}

Result LMultiColumnListBox::OnColumnItemHover(const RCPtr<LNotificationDistributor>& sender,
                                              const RCPtr<LNotification>& notification)
{
    const std::int32_t from = ColumnIndexOf(sender.Get());
    const RCPtr<LItemConditionsParam> item(notification ? notification->GetData() : nullptr);
    if (from < 0 || !item)
    {
        return 1;
    }
    const bool was = (item->previous & Condition::kHoverOrForced) != 0;
    const bool now = (item->current & Condition::kHoverOrForced) != 0;
    // A row that only takes a forced hover from here reports it too, not being under the
    // pointer itself: that report changes nothing.
    if (now && !was && !item->hover)
    {
        return 1;
    }
    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        if (static_cast<std::int32_t>(c) == from)
        {
            continue;
        }
        if (now != was)
        {
            mColumns[c]->SetItemForcedHover(item->itemIndex, now);
        }
        else
        {
            mColumns[c]->SetRowLook(item->itemIndex, item->lookIndex);
        }
    }
    if (now != was)
    {
        mHoveredItem = now ? item->itemIndex : -1;
    }
    return 1;
}

Result LMultiColumnListBox::OnColumnItemActivated(const RCPtr<LNotificationDistributor>&,
                                                  const RCPtr<LNotification>&)
{
    SendNotificationByName(u"NID_ITEM_ACTIVATED");
    return 1;
}

Result LMultiColumnListBox::OnColumnItemDoubleClicked(const RCPtr<LNotificationDistributor>&,
                                                      const RCPtr<LNotification>&)
{
    SendNotificationByName(u"NID_ITEM_DOUBLE_CLICKED");
    return 1;
}

// ---- sorting -------------------------------------------------------------------------------

Result LMultiColumnListBox::OnHeaderClick(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>&)
{
    for (std::size_t k = mHeaders.size(); k-- > 0;)
    {
        if (static_cast<const LNotificationDistributor*>(mHeaders[k].Get()) == sender.Get())
        {
            SortByColumn(static_cast<std::int32_t>(k));
            break;
        }
    }
    return 1;
}

Result LMultiColumnListBox::SortByColumn(std::int32_t column)
{
    if (column < 0 || column >= GetColumnCount())
    {
        return kInvalidArg;
    }
    PerformSort(column);
    return kOk;
}

void LMultiColumnListBox::SetSelectionRegistrations(bool registered, int line)
{
    const std::string site =
        " : KR::LMultiColumnListBox::PerformSort : Controls\\MultiColumnListBox : Line " +
        std::to_string(line);
    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        const RCPtr<LNotificationDistributor> sender(mColumns[c]);
        Result result = kFail;
        if (registered)
        {
            // Only the selection registration was taken out, and only its result is the one
            // the failure text speaks of.
            result =
                mHandler->Register(&LMultiColumnListBox::OnColumnSelectionChange, sender, kSelectionChange);
        }
        else if (mHandler->Unregister(sender, kSelectionChange))
        {
            result = LPanel::UnregisterForNotification(sender, kSelectionChange);
        }
        ThrowIfFailed(result, site);
    }
}

void LMultiColumnListBox::PerformSort(std::int32_t k)
{
    struct Entry
    {
        std::int32_t former;
        String text;
    };
    LListBox& first = *mColumns.front();
    const std::int32_t count = first.GetItemDataCount();
    std::vector<Entry> entries;
    std::vector<bool> alternate;
    entries.reserve(static_cast<std::size_t>(count));
    alternate.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i)
    {
        // A shorter column sorts its missing texts as empty ones.
        entries.push_back(Entry{i, mColumns[static_cast<std::size_t>(k)]->GetItemText(i)});
        alternate.push_back(first.GetItemData(i).alternate);
    }
    std::vector<bool> wasSelected(static_cast<std::size_t>(count), false);
    for (const std::int32_t i : first.GetSelectedIndices())
    {
        wasSelected[static_cast<std::size_t>(i)] = true;
    }

    SetSelectionRegistrations(false, kRemoveLine);
    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        mColumns[c]->DeselectAll();
    }
    const bool ascending = mSortAscending[static_cast<std::size_t>(k)];
    std::sort(entries.begin(), entries.end(),
              [ascending](const Entry& a, const Entry& b)
              {
                  const int order = CompareNoCase(a.text.GetPtr(), b.text.GetPtr());
                  return ascending ? order < 0 : order > 0;
              });
    mSortAscending[static_cast<std::size_t>(k)] = !ascending;

    for (std::size_t c = mColumns.size(); c-- > 0;)
    {
        LListBox& column = *mColumns[c];
        const std::int32_t own = column.GetItemDataCount();
        std::vector<ConstRCPtr<LTaggableObject>> tags;
        tags.reserve(static_cast<std::size_t>(own));
        for (std::int32_t i = 0; i < own; ++i)
        {
            tags.push_back(column.GetItemData(i).tag);
        }
        for (std::int32_t p = std::min(own, count); p-- > 0;)
        {
            const std::int32_t former = entries[static_cast<std::size_t>(p)].former;
            column.SetItemTag(p, former < own ? tags[static_cast<std::size_t>(former)] : nullptr);
        }
    }
    for (std::int32_t p = count; p-- > 0;)
    {
        const auto former = static_cast<std::size_t>(entries[static_cast<std::size_t>(p)].former);
        for (const RCPtr<LListBox>& column : mColumns)
        {
            column->SetItemAlternate(p, alternate[former]);
            if (wasSelected[former])
            {
                column->SelectRange(p, p, false);
            }
        }
    }
    SetSelectionRegistrations(true, kRestoreLine);
}

} // namespace KR
