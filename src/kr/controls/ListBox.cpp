#include "kr/controls/ListBox.h"

#include "kr/controls/ListBoxItem.h"
#include "kr/controls/NumberedTextId.h"
#include "kr/core/CaseMapping.h"
#include "kr/core/Wrapper.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/StringTable.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace KR
{

namespace
{

const LListBox::Item& NoItem()
{
    static const LListBox::Item empty;
    return empty;
}

String TagText(const ConstRCPtr<LTaggableObject>& tag)
{
    return tag ? String(tag->ToString()) : String();
}
} // namespace

LListBox::LListBox(const RCPtr<LControl>& parent, const String& name) : LScrollView(parent, name)
{
}

LListBox::~LListBox() = default;

Result LListBox::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mRows.clear();
    mTemplate = nullptr;
    return LScrollView::ReleaseInternalReferences();
}

Result LListBox::Receive(const RCPtr<LNotificationDistributor>& sender,
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
    return LScrollView::Receive(sender, notification);
}

Result LListBox::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                           NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LScrollView::UnregisterForNotification(sender, name);
}

// ---- creation ------------------------------------------------------------------------------

Result LListBox::Initialize()
{
    const Result result = LScrollView::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = LNotificationHandler<LListBox>::Create(this);
    SetScrollOptions(0, 0, 0);
    KeepPartsInView();
    const RCPtr<LControl> templateRow = FindChildControl(String(u"templateItem"));
    if (templateRow)
    {
        TakeTemplate(RCPtr<LControlDescriptor>(
                         const_cast<LControlDescriptor*>(templateRow->GetControlDescriptor().Get())),
                     *templateRow);
        templateRow->Detach();
        if (const RCPtr<LStringTable> strings = GetStringTable())
        {
            LoadItemTexts(ConstRCPtr<LStringTable>(strings));
        }
        FillRows();
        return kOk;
    }
    for (std::int32_t n = 1;; ++n)
    {
        const RCPtr<LListBoxItem> row(FindChildControl(String::Format(u"item%d", n)));
        if (!row)
        {
            break;
        }
        if (n == 1)
        {
            TakeRowGeometry(*row);
        }
        // Creating the children has recorded the rows already (AddChildControl).
        if (GetRow(n - 1).Get() != row.Get())
        {
            mRows.push_back(row);
        }
        ListenToRow(RCPtr<LControl>(row));
        const std::int32_t index = GetItemDataCount();
        InsertItemData(index);
        GetItemData(index).tag = MakeStringTag(row->GetText());
        row->SetDropDown(mDropDown);
        if (const RCPtr<LLayoutDescriptor>& rowLayout = row->GetLayoutDescriptor())
        {
            rowLayout->SetTextOverflowX(mRowTextOverflow);
            // Where the skin put it, whatever the scroll offset: scrolling rebinds it.
            rowLayout->yDocked = true;
            row->UpdateLayout();
        }
    }
    if (!mRows.empty())
    {
        // Scrolled in whole rows, as a list made from a template is.
        SetLineMode(kVertical, true);
        SetLineSize(kVertical, mRowHeight);
        RebindRows(0);
        UpdateWidestItem();
        FollowCountInDropDown();
        UpdateClientExtent();
    }
    return kOk;
}

void LListBox::ListenToRow(const RCPtr<LControl>& row)
{
    if (mHandler)
    {
        mHandler->Register(&LListBox::OnRowMouseDown, RCPtr<LNotificationDistributor>(row),
                           u"NID_MOUSE_DOWN");
        mHandler->Register(&LListBox::OnRowLeftDrag, RCPtr<LNotificationDistributor>(row),
                           u"NID_LEFT_DRAG_CONDITION_CHANGE");
        mHandler->Register(&LListBox::OnRowHover, RCPtr<LNotificationDistributor>(row),
                           u"NID_HOVER_CONDITION_CHANGE");
    }
}

void LListBox::KeepPartsInView()
{
    // The offset only chooses which items the rows show; the bars, the corner and the rows
    // stay where the skin puts them in the box. Content that moved with the offset would
    // leave the box, drawn above it, as the list scrolls.
    for (const RCPtr<LControl>& part :
         {GetScrollBar(kHorizontal), GetScrollBar(kVertical), FindChildControl(String(u"corner"))})
    {
        const LLayoutDescriptor* layout = part ? part->ReadLayoutDescriptor() : nullptr;
        if (layout && (!layout->xDocked || !layout->yDocked))
        {
            part->GetLayoutDescriptor()->xDocked = true;
            part->GetLayoutDescriptor()->yDocked = true;
            part->UpdateLayout();
        }
    }
}

void LListBox::TakeTemplate(const RCPtr<LControlDescriptor>& descriptor, LControl& measured)
{
    mTemplate = descriptor;
    TakeRowGeometry(measured);
    SetLineMode(kVertical, true);
    SetLineSize(kVertical, mRowHeight);
    UpdateScrollBars();
}

bool LListBox::TemplateExpandsX() const
{
    return mTemplate && mTemplate->GetLayout() &&
           mTemplate->GetLayout()->textOverflowX == kTextOverflowExpand;
}

bool LListBox::TemplateSizedBySelf() const
{
    return mTemplate && mTemplate->GetLayout() && mTemplate->GetLayout()->xSize.reference == kSizeToSelf;
}

void LListBox::TakeRowGeometry(LControl& row)
{
    // The row is measured with no X minimum on the list, so that a row growing with its
    // text cannot leave the list wider for good.
    const RCPtr<LLayoutDescriptor> layout = GetLayoutDescriptor();
    LimitSpec minimum;
    LimitSpec maximum;
    if (layout)
    {
        layout->GetSizeLimits(0, minimum, maximum);
        LimitSpec none = minimum;
        none.absolute = 0.0;
        SetSizeLimits(0, none, maximum);
    }
    const double widthBefore = GetSize().x;
    const String text = row.GetText();
    row.SetText(String());
    mRowBaseWidth = static_cast<std::int32_t>(std::lround(row.GetSize().x));
    row.SetText(String(u"{WXyg|}"));
    mRowHeight = static_cast<std::int32_t>(std::lround(row.GetSize().y));
    if (mRowHeight < 1)
    {
        mRowHeight = kDefaultRowHeight;
    }
    row.SetText(text);
    if (layout)
    {
        // A list whose rows widen with their texts keeps at least the width it had.
        if (TemplateExpandsX() && minimum.absolute <= 0.0)
        {
            minimum.reference = kLimitToSelf;
            minimum.referenceName = String();
            minimum.absolute = widthBefore;
        }
        SetSizeLimits(0, minimum, maximum);
        const ConstRCPtr<LControlDescriptor>& own = GetControlDescriptor();
        if (own && own->GetLayout())
        {
            DockedPositionSpec position;
            DockedPositionSpec skinPosition;
            SizeSpec size;
            SizeSpec skinSize;
            layout->GetPlacement(0, position, size);
            own->GetLayout()->GetPlacement(0, skinPosition, skinSize);
            SetPlacement(0, position, skinSize);
        }
    }
    mGeometryKnown = true;
    if (mDropDown)
    {
        SetListHeight(static_cast<double>(mRowHeight) * std::max(1, GetItemDataCount()));
    }
}

Result LListBox::AddItemControl()
{
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    if (!factory || !mTemplate)
    {
        return kFail;
    }
    const std::int32_t number = GetRowCount() + 1;
    // Rows stack downwards from the client frame's top, each against the previous one,
    // docked so that every layout of the list keeps them in view whatever the scroll offset.
    const RCPtr<LLayoutDescriptor> layout =
        mTemplate->GetLayout() ? mTemplate->GetLayout()->Clone() : LLayoutDescriptor::Create();
    DockedPositionSpec position;
    SizeSpec size;
    layout->GetPlacement(1, position, size);
    position.anchor = 0.0f;
    position.absolute = 0.0;
    position.docked = true;
    position.reference = number == 1 ? kPositionToClient : kPositionToNamed;
    position.referenceName = number == 1 ? String() : String::Format(u"ItemControl%d", number - 1);
    position.relative = number == 1 ? 0.0f : 1.0f;
    layout->SetPlacement(1, position, size);
    layout->SetTextOverflowX(mRowTextOverflow);
    const RCPtr<LControlDescriptor> descriptor =
        factory->CloneControlDescriptor(mTemplate, layout, String::Format(u"ItemControl%d", number));
    const RCPtr<LListBoxItem> row(descriptor ? factory->CreateControl(descriptor, RCPtr<LControl>(this))
                                             : nullptr);
    if (!row)
    {
        return kFail;
    }
    ListenToRow(RCPtr<LControl>(row));
    row->SetDropDown(mDropDown);
    row->SetUseParentToolTip(true);
    mRows.push_back(row);
    UpdateItemControl(mFirstShown + number - 1);
    return kOk;
}

void LListBox::FillRows()
{
    // A list hidden on its own (a closed drop-down) makes its first row only, which its
    // items are measured with; the others are counted and made when it shows.
    FillRows(!mRowsWaitForShow || OwnVisibleFlag());
}

void LListBox::FillRows(bool made)
{
    if (mFilling || mApplyingLayout || !mTemplate || !mGeometryKnown)
    {
        return;
    }
    mFilling = true;
    if (made)
    {
        MakeOwedRows();
    }
    // The client rectangle ends with the rows made so far; the visible area is what counts.
    const RectD client = GetClientRect();
    const double bottom = client.y + GetClientArea().height;
    while (GetRowCount() < kMaxRows)
    {
        const double lastBottom =
            mRows.empty() ? client.y : mRows.back()->GetPosition().y + mRows.back()->GetSize().y;
        if (lastBottom >= bottom)
        {
            break;
        }
        if (!made && !mRows.empty())
        {
            // Rows from one template stand one under the other, each as high as the last.
            const double height = mRows.back()->GetSize().y;
            std::int32_t count = GetRowCount();
            for (double end = lastBottom; count < kMaxRows && end < bottom; end += height)
            {
                count = height > 0.0 ? count + 1 : kMaxRows;
            }
            mOwedRows = std::max(mOwedRows, count - GetRowCount());
            break;
        }
        if (Failed(AddItemControl()))
        {
            break;
        }
    }
    mFilling = false;
}

void LListBox::MakeOwedRows()
{
    if (mOwedRows == 0)
    {
        return;
    }
    const std::int32_t first = GetRowCount();
    for (; mOwedRows > 0; --mOwedRows)
    {
        if (Failed(AddItemControl()))
        {
            mOwedRows = 0;
            break;
        }
    }
    // Where the rows made earlier already are.
    if (mBulkUpdate || !TemplateSizedBySelf())
    {
        return;
    }
    for (std::int32_t k = first; k < GetRowCount(); ++k)
    {
        PlaceRowAtWidest(*mRows[static_cast<std::size_t>(k)]);
    }
}

bool LListBox::OwnVisibleFlag() const
{
    const LLayoutDescriptor* layout = ReadLayoutDescriptor();
    return !layout || layout->visible;
}

bool LListBox::SetVisible(bool visible)
{
    // The rows owed are made while the list is still hidden, so that they come to be
    // shown with it, as rows made at the start do.
    if (visible && mRowsWaitForShow && !OwnVisibleFlag())
    {
        FillRows(true);
    }
    return LScrollView::SetVisible(visible);
}

void LListBox::OnLayoutChanged()
{
    LScrollView::OnLayoutChanged();
    FillRows();
}

// ---- children and skins ----------------------------------------------------------------------

Result LListBox::AddChildControl(const RCPtr<LControl>& child, ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!child)
    {
        if (!descriptor || !ControlNamesMatch(descriptor->GetName(), String(u"templateItem")))
        {
            return kFail;
        }
        const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
        const RCPtr<LControlDescriptor> model(const_cast<LControlDescriptor*>(descriptor.Get()));
        // A row made only to be measured.
        const RCPtr<LControl> measured =
            factory ? factory->CreateControl(model, RCPtr<LControl>(this)) : nullptr;
        if (!measured)
        {
            return kFail;
        }
        TakeTemplate(model, *measured);
        measured->Detach();
        measured->ReleaseInternalReferences();
        FillRows();
        RebindRows(mFirstShown);
        return kOk;
    }
    const Result result = LScrollView::AddChildControl(child, descriptor);
    const std::int32_t number = descriptor ? ReadNumberedTextId(descriptor->GetName(), u"item") : -1;
    const RCPtr<LListBoxItem> row(number >= 1 ? child : nullptr);
    if (Succeeded(result) && row)
    {
        // Recorded at its place when the rows before it are known; a gap is not filled.
        const auto at = static_cast<std::size_t>(number - 1);
        if (at < mRows.size())
        {
            mRows[at] = row;
            ListenToRow(child);
        }
        else if (at == mRows.size())
        {
            mRows.push_back(row);
            ListenToRow(child);
        }
    }
    return result;
}

Result LListBox::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    // A new skin brings its own template, if any; its rows replace the ones made so far.
    const bool reapplying = IsCreationFinished();
    mTemplate = nullptr;
    mApplyingLayout = true;
    const Result result = LScrollView::ApplyLayoutDescriptor(descriptor);
    mApplyingLayout = false;
    KeepPartsInView();
    if (reapplying && descriptor)
    {
        const LControlDescriptor::Children& children = descriptor->GetChildren();
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            const RCPtr<LControlDescriptor>& child = children.GetAt(i);
            if (child && ControlNamesMatch(child->GetName(), String(u"templateItem")))
            {
                AddChildControl(nullptr, ConstRCPtr<LControlDescriptor>(child));
                break;
            }
        }
    }
    RebindRows(mFirstShown);
    return result;
}

void LListBox::OnChildRemoved(std::int32_t index)
{
    LScrollView::OnChildRemoved(index);
    // Rows are kept as controls: the one that left is dropped, and the rows after it move up.
    const auto gone =
        std::find_if(mRows.begin(), mRows.end(),
                     [this](const RCPtr<LListBoxItem>& row) { return row->GetParent().Get() != this; });
    if (gone != mRows.end())
    {
        const auto from = static_cast<std::int32_t>(gone - mRows.begin());
        mRows.erase(gone);
        RebindRows(mFirstShown + from);
    }
}

void LListBox::OnScrollClientRectChanged()
{
    LScrollView::OnScrollClientRectChanged();
    FollowVerticalBar();
}

void LListBox::OnScrollBarAvailabilityChanged(std::int32_t axis)
{
    LScrollView::OnScrollBarAvailabilityChanged(axis);
    if (axis == kVertical)
    {
        FollowVerticalBar();
    }
}

void LListBox::FollowVerticalBar()
{
    // Rows that widen with their texts keep their width beside the bar, shown or not.
    const bool shown = IsScrollBarShown(kVertical);
    if (shown != mVerticalBarShown)
    {
        mVerticalBarShown = shown;
        if (TemplateExpandsX())
        {
            SetListWidth(mWidestWidth);
        }
    }
}

// ---- rows ------------------------------------------------------------------------------------

RCPtr<LListBoxItem> LListBox::GetRow(std::int32_t row) const
{
    return row >= 0 && row < GetRowCount() ? mRows[static_cast<std::size_t>(row)] : nullptr;
}

std::int32_t LListBox::RowIndexOfItem(std::int32_t index) const
{
    const std::int32_t row = index - mFirstShown;
    return row >= 0 && row < GetRowCount() ? row : -1;
}

std::int32_t LListBox::ItemIndexOfRow(const LControl* row) const
{
    for (std::int32_t k = GetRowCount(); k-- > 0;)
    {
        if (mRows[static_cast<std::size_t>(k)].Get() == row)
        {
            return mFirstShown + k;
        }
    }
    return -1;
}

Result LListBox::UpdateItemControl(std::int32_t itemIndex)
{
    const RCPtr<LListBoxItem> row = GetRow(RowIndexOfItem(itemIndex));
    if (!row)
    {
        return 1;
    }
    const bool present = itemIndex >= 0 && itemIndex < GetItemDataCount();
    const Item& item = present ? GetItemData(itemIndex) : NoItem();
    row->SetText(TagText(item.tag));
    row->SetValue(item.value);
    row->SetAlternate(item.alternate);
    row->SetBlank(item.blank);
    row->SetEnabled(present);
    return kOk;
}

void LListBox::RebindRows(std::int32_t fromItem)
{
    for (std::int32_t k = std::max(0, fromItem - mFirstShown); k < GetRowCount(); ++k)
    {
        UpdateItemControl(mFirstShown + k);
    }
}

void LListBox::SetItemText(std::int32_t index)
{
    UpdateItemControl(index);
    if (mDropDown)
    {
        UpdateClientExtent();
        FollowCountInDropDown();
    }
}

// ---- items -----------------------------------------------------------------------------------

void LListBox::InsertItemData(std::int32_t index)
{
    mItems.insert(mItems.begin() + std::clamp(index, 0, GetItemDataCount()), Item{});
}

void LListBox::RemoveItemData(std::int32_t index)
{
    mItems.erase(mItems.begin() + index);
}

void LListBox::SwapItemData(std::int32_t a, std::int32_t b)
{
    std::swap(GetItemData(a), GetItemData(b));
}

String LListBox::GetItemText(std::int32_t index) const
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return String();
    }
    // Through the slot: a derived list keeps its own records.
    return TagText(const_cast<LListBox*>(this)->GetItemData(index).tag);
}

bool LListBox::IsItemSelected(std::int32_t index) const
{
    return index >= 0 && index < GetItemDataCount() &&
           const_cast<LListBox*>(this)->GetItemData(index).value >= 0.5;
}

void LListBox::SetItemTag(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return;
    }
    const std::int32_t before = mBulkUpdate ? 0 : GetItemWidth(index);
    GetItemData(index).tag = tag;
    SetItemText(index);
    if (mBulkUpdate)
    {
        return;
    }
    const std::int32_t width = GetItemWidth(index);
    if (before == mWidestWidth && width < before)
    {
        UpdateWidestItem();
    }
    else
    {
        RaiseWidest(width);
    }
}

void LListBox::SetItem(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag, double value,
                       bool alternate, bool blank)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return;
    }
    Item& item = GetItemData(index);
    // The count follows the stored value, whatever the caller passes.
    mSelectedCount += (value >= 0.5 ? 1 : 0) - (item.value >= 0.5 ? 1 : 0);
    item = Item{tag, value, alternate, blank};
    SetItemText(index);
}

Result LListBox::SetItemAlternate(std::int32_t index, bool alternate)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return 0;
    }
    GetItemData(index).alternate = alternate;
    UpdateItemControl(index);
    return 1;
}

Result LListBox::SetItemBlank(std::int32_t index, bool blank)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return 0;
    }
    GetItemData(index).blank = blank;
    UpdateItemControl(index);
    return 1;
}

Result LListBox::SetItemForcedHover(std::int32_t index, bool forced)
{
    const RCPtr<LListBoxItem> row = GetRow(RowIndexOfItem(index));
    if (!row)
    {
        return 1;
    }
    row->SetForcedHover(forced);
    return kOk;
}

Result LListBox::SetRowLook(std::int32_t index, std::int32_t look)
{
    const RCPtr<LListBoxItem> row = GetRow(RowIndexOfItem(index));
    if (!row)
    {
        return 1;
    }
    if (look >= 0 && static_cast<std::uint32_t>(look) < row->GetLookCount())
    {
        row->SetLookWeight(look, 1.0f, true);
    }
    return kOk;
}

std::int32_t LListBox::InsertItem(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag)
{
    index = std::clamp(index, 0, GetItemDataCount());
    InsertItemData(index);
    GetItemData(index).tag = tag;
    // The selection moves with its items.
    if (mAnchor >= index)
    {
        ++mAnchor;
    }
    if (mCaret >= index)
    {
        ++mCaret;
    }
    if (mBulkUpdate)
    {
        RebindAfterBulk(index);
        return index;
    }
    FillRows();
    RebindRows(index);
    UpdateClientExtent();
    RaiseWidest(GetItemWidth(index));
    FollowCountInDropDown();
    return index;
}

Result LListBox::RemoveItem(std::int32_t index)
{
    if (index < 0 || index >= GetItemDataCount())
    {
        return kInvalidArg;
    }
    const std::int32_t width = mBulkUpdate ? 0 : GetItemWidth(index);
    DeselectItem(index);
    RemoveItemData(index);
    // The selection moves with its items, as it does when one is inserted.
    if (mAnchor > index)
    {
        --mAnchor;
    }
    if (mCaret > index)
    {
        --mCaret;
    }
    if (mAnchor >= GetItemDataCount() || mCaret >= GetItemDataCount())
    {
        mAnchor = mCaret = -1;
    }
    if (mBulkUpdate)
    {
        RebindAfterBulk(index);
        return GetItemDataCount();
    }
    FillRows();
    RebindRows(index);
    if (width >= mWidestWidth)
    {
        UpdateWidestItem();
    }
    UpdateClientExtent();
    FollowCountInDropDown();
    return GetItemDataCount();
}

Result LListBox::RemoveAllItems()
{
    Result result = kOk;
    // The sizes are worked out once at the end, not again for every item that leaves.
    const bool bulk = std::exchange(mBulkUpdate, true);
    for (std::int32_t i = GetItemDataCount(); i-- > 0;)
    {
        if (Failed(RemoveItem(i)))
        {
            result = kFail;
        }
    }
    mBulkUpdate = bulk;
    mAnchor = mCaret = -1;
    FitToItems();
    return result;
}

std::int32_t LListBox::SetItemCount(std::int32_t count)
{
    count = std::max(0, count);
    if (count == GetItemDataCount())
    {
        return count;
    }
    // A caller that changes more leaves its flag set: it sizes the list once, at its end.
    const bool bulk = std::exchange(mBulkUpdate, true);
    while (GetItemDataCount() > count)
    {
        RemoveItem(GetItemDataCount() - 1);
    }
    while (GetItemDataCount() < count)
    {
        InsertItem(GetItemDataCount(), nullptr);
    }
    mBulkUpdate = bulk;
    FitToItems();
    return GetItemDataCount() == count ? count : -GetItemDataCount();
}

std::int32_t LListBox::FindItemByText(const String& text, std::int32_t start) const
{
    if (start >= GetItemDataCount() || start < -1)
    {
        start = -1;
    }
    for (std::int32_t i = start + 1; i < GetItemDataCount(); ++i)
    {
        const String itemText = GetItemText(i);
        if (itemText.SharesBufferWith(text) || CompareNoCase(itemText.GetPtr(), text.GetPtr()) == 0)
        {
            return i;
        }
    }
    return -1;
}

std::int32_t LListBox::FindItemByText(const String& text) const
{
    for (std::int32_t i = GetItemDataCount(); i-- > 0;)
    {
        const String itemText = GetItemText(i);
        if (itemText.SharesBufferWith(text) || CompareNoCase(itemText.GetPtr(), text.GetPtr()) == 0)
        {
            return i;
        }
    }
    return -1;
}

Result LListBox::LoadItemTexts(const ConstRCPtr<LStringTable>& section)
{
    if (!section)
    {
        return kInvalidArg;
    }
    // An empty list has nothing to remove, and every size that emptying works out for no items
    // is worked out again below for the texts: sizing it twice would only cost the time.
    if (GetItemDataCount() > 0)
    {
        RemoveAllItems();
    }
    mAnchor = mCaret = -1;
    std::vector<String> texts;
    for (const auto& [id, text] : section->GetTexts())
    {
        const std::int32_t number = ReadNumberedTextId(id, u"ITEM.");
        if (number < 0)
        {
            continue;
        }
        if (static_cast<std::size_t>(number) >= texts.size())
        {
            texts.resize(static_cast<std::size_t>(number) + 1);
        }
        texts[static_cast<std::size_t>(number)] = text;
    }
    // The widths and the places are worked out once, for the texts, not also for the
    // empty items before them.
    mBulkUpdate = true;
    SetItemCount(static_cast<std::int32_t>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i)
    {
        SetItemTag(static_cast<std::int32_t>(i), MakeStringTag(texts[i]));
    }
    mBulkUpdate = false;
    FitToItems();
    return kOk;
}

} // namespace KR
