// The list box's hit tests, activation, keys and mouse.

#include "kr/controls/ListBox.h"

#include "kr/controls/ItemConditionsParam.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/Scrollbar.h"

namespace KR
{

namespace
{
constexpr std::uint32_t kUp = 0x20260000;
constexpr std::uint32_t kShiftUp = 0x22260000;
constexpr std::uint32_t kDown = 0x20280000;
constexpr std::uint32_t kShiftDown = 0x22280000;
constexpr std::uint32_t kLeft = 0x20250000;
constexpr std::uint32_t kRight = 0x20270000;
constexpr std::uint32_t kPageUp = 0x20210000;
constexpr std::uint32_t kPageDown = 0x20220000;
constexpr std::uint32_t kHome = 0x20240000;
constexpr std::uint32_t kEnd = 0x20230000;
constexpr std::uint32_t kEnter = 0x200D0000;
} // namespace

// ---- hit tests and modes -------------------------------------------------------------------

std::int32_t LListBox::HitTestItem(const PointD& point)
{
    const PointD origin = GetAbsolutePosition();
    const RectD area = GetClientArea();
    const double x = point.x - origin.x;
    const double y = point.y - origin.y;
    if (x < area.x || y < area.y || x >= area.x + area.width || y >= area.y + area.height)
    {
        return -1;
    }
    for (std::int32_t k = GetRowCount(); k-- > 0;)
    {
        const LListBoxItem& row = *mRows[static_cast<std::size_t>(k)];
        const PointD at = row.GetAbsolutePosition();
        if (point.x >= at.x && point.y >= at.y && point.x < at.x + row.GetSize().x &&
            point.y < at.y + row.GetSize().y)
        {
            const std::int32_t index = mFirstShown + k;
            return index < GetItemDataCount() ? index : -1;
        }
    }
    return -1;
}

RectD LListBox::GetItemRect(std::int32_t index)
{
    const RCPtr<LListBoxItem> row = GetRow(RowIndexOfItem(index));
    if (!row)
    {
        return RectD{};
    }
    return RectD{row->GetPosition().x, row->GetPosition().y, row->GetSize().x, row->GetSize().y};
}

void LListBox::SetDropDownMode(bool dropDown)
{
    mDropDown = dropDown;
    for (const RCPtr<LListBoxItem>& row : mRows)
    {
        row->SetDropDown(dropDown);
    }
}

void LListBox::ActivateItem(std::int32_t index)
{
    if (index < 0 || index >= GetItemDataCount() || !IsItemSelectable(index))
    {
        return;
    }
    OnItemActivated();
    if (mDropDown)
    {
        SetVisible(false);
    }
    if (GetParent())
    {
        SendNotificationByName(u"NID_ITEM_ACTIVATED");
    }
}

void LListBox::ActivateCurrentItem()
{
    if (mCaret >= 0)
    {
        ActivateItem(mCaret);
    }
}

// ---- input -----------------------------------------------------------------------------------

void LListBox::SelectStep(std::int32_t from, std::int32_t step)
{
    for (std::int32_t i = from; i >= 0 && i < GetItemDataCount(); i += step)
    {
        if (IsItemSelectable(i))
        {
            SelectRange(i, -1, true);
            return;
        }
    }
}

bool LListBox::PassKeyToBar(std::int32_t axis, const RCPtr<LKeyParam>& key)
{
    // A bar hidden for want of content scrolls nothing: the key is not the list's to take.
    IScrollbar* const bar = dynamic_cast<IScrollbar*>(GetScrollBar(axis).Get());
    return bar && IsScrollBarShown(axis) && bar->TakeKey(key->key);
}

Result LListBox::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    switch (key->key.code)
    {
    case kUp:
    case kShiftUp:
        SelectStep(mCaret - 1, -1);
        return kOk;
    case kDown:
    case kShiftDown:
        SelectStep(mCaret + 1, 1);
        return kOk;
    case kLeft:
    case kRight:
        return PassKeyToBar(kHorizontal, key) ? kOk : kNothingDone;
    case kPageUp:
    case kPageDown:
        return PassKeyToBar(kVertical, key) ? kOk : kNothingDone;
    case kHome:
    case kEnd:
    {
        // Both bars, the horizontal one first.
        const bool horizontal = PassKeyToBar(kHorizontal, key);
        const bool vertical = PassKeyToBar(kVertical, key);
        return horizontal || vertical ? kOk : kNothingDone;
    }
    case kEnter:
        ActivateCurrentItem();
        return kOk;
    default:
        return kNothingDone;
    }
}

Result LListBox::OnRowMouseDown(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification)
{
    const RCPtr<LMouseButtonParam> button(notification ? notification->GetData() : nullptr);
    if (mDropDown || !button || button->button != MouseButton::kLeft)
    {
        return 1;
    }
    const RCPtr<LControl> row(sender);
    const std::int32_t index = ItemIndexOfRow(row.Get());
    if (index >= 0 && index < GetItemDataCount())
    {
        SelectRange(index, -1, true);
        if (button->doubleClick)
        {
            SendNotificationByName(u"NID_ITEM_DOUBLE_CLICKED");
        }
    }
    return 1;
}

Result LListBox::OnRowHover(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> row(sender);
    const RCPtr<LConditionsParam> conditions(notification ? notification->GetData() : nullptr);
    if (!row || !conditions || !row->IsEnabled(true))
    {
        return 1;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const std::int32_t index = ItemIndexOfRow(row.Get());
    if (mDropDown && (turnedOn & Condition::kHoverOrForced) != 0 && index >= 0 && index < GetItemDataCount())
    {
        SelectRange(index, -1, true);
    }
    SendItemConditions(row, conditions, u"NID_ITEM_HOVER_CONDITION_CHANGE");
    return 1;
}

Result LListBox::OnRowLeftDrag(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> row(sender);
    const RCPtr<LConditionsParam> conditions(notification ? notification->GetData() : nullptr);
    if (row && conditions && row->IsEnabled(true))
    {
        SendItemConditions(row, conditions, u"NID_ITEM_LEFT_DRAG_CONDITION_CHANGE");
    }
    return 1;
}

void LListBox::SendItemConditions(const RCPtr<LControl>& row, const RCPtr<LConditionsParam>& conditions,
                                  NotificationName name)
{
    SendNotificationByName(
        name, LItemConditionsParam::Create(*conditions, ItemIndexOfRow(row.Get()), row->GetActiveLookIndex(),
                                           (row->GetConditions() & Condition::kHover) != 0));
}

Result LListBox::OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point)
{
    const std::uint32_t conditions = GetConditions();
    if (!mDropDown || !point || (conditions & Condition::kCapture) == 0 ||
        (conditions & Condition::kLeftDrag) == 0)
    {
        return kOk;
    }
    const PointD origin = GetAbsolutePosition();
    const std::int32_t index = HitTestItem(PointD{origin.x + point->x, origin.y + point->y});
    if (index < 0)
    {
        DeselectAll();
    }
    else if (IsItemSelectable(index))
    {
        SelectRange(index, -1, true);
    }
    return kOk;
}

Result LListBox::OnLeftButtonUp(const RCPtr<LMouseButtonParam>& button)
{
    if (!mDropDown || !button)
    {
        return kOk;
    }
    const PointD origin = GetAbsolutePosition();
    const std::int32_t index = HitTestItem(PointD{origin.x + button->x, origin.y + button->y});
    const RCPtr<LControl>& parent = GetParent();
    if (index >= 0)
    {
        if (parent)
        {
            ActivateItem(index);
        }
    }
    else if (parent)
    {
        const PointD inParent{origin.x + button->x - parent->GetAbsolutePosition().x,
                              origin.y + button->y - parent->GetAbsolutePosition().y};
        const PointD size = parent->GetSize();
        if (inParent.x < 0.0 || inParent.y < 0.0 || inParent.x >= size.x || inParent.y >= size.y)
        {
            SetVisible(false);
        }
    }
    return kOk;
}

Result LListBox::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    const Result result = LScrollView::OnConditionsChanged(conditions);
    if (conditions &&
        ((conditions->current ^ conditions->previous) & (Condition::kEnabled | Condition::kHasFocus)) != 0)
    {
        std::int32_t look = !IsEnabled(true) ? 1 : (HasFocus() ? 2 : 0);
        if (look >= static_cast<std::int32_t>(GetLookCount()))
        {
            look = 0;
        }
        if (GetLookCount() > 0)
        {
            SetLookWeight(look, 1.0f, true);
        }
    }
    return result;
}

} // namespace KR
