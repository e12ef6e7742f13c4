// The popup menu's keys, pointer, sub-menus, placement and activation.

#include "kr/controls/ComboMenu.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/PopupMenu.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindow.h"

#include <algorithm>

namespace KR
{

namespace
{
// Whole key codes: these keys going down without a modifier.
constexpr std::uint32_t kLeftKey = 0x20250000;
constexpr std::uint32_t kRightKey = 0x20270000;
constexpr std::uint32_t kMenuEscapeKey = 0x201B0000;
constexpr char16_t kSubMenuName[] = u"submenu";

// Sets the absolute part of one axis' position (relative part 0), keeping its reference.
void SetAbsolutePosition(LControl& control, std::int32_t axis, double value)
{
    DockedPositionSpec position;
    SizeSpec size;
    if (const RCPtr<LLayoutDescriptor>& layout = control.GetLayoutDescriptor())
    {
        layout->GetPlacement(axis, position, size);
    }
    else
    {
        size.absolute = axis == 0 ? control.GetSize().x : control.GetSize().y;
    }
    position.relative = 0.0f;
    position.absolute = value;
    control.SetPlacement(axis, position, size);
}
} // namespace

// ---- focus and conditions ----------------------------------------------------------------------

Result LPopupMenu::SetFocus(bool forward)
{
    if ((HasFocus() || ContainsFocus()) && mSelfClosing && !mClosing && !mFocusHandOver)
    {
        CloseMenuChain();
    }
    mFocusHandOver = false;
    return LCheckedListBox::SetFocus(forward);
}

Result LPopupMenu::RequestFocus(const RCPtr<LControl>&)
{
    // A press on a menu leaves the focus where it is.
    return kOk;
}

Result LPopupMenu::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (!conditions)
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    const std::uint32_t changed = conditions->current ^ conditions->previous;
    const std::uint32_t focus = Condition::kHasFocus | Condition::kContainsFocus;
    const bool root = !GetParentMenu();
    if ((changed & focus) != 0 && root && (conditions->current & focus) == 0 && IsShown(true) &&
        GetSize().x > 0.0 && GetSize().y > 0.0 && mSelfClosing && !mClosing)
    {
        CloseMenuChain();
    }
    if ((changed & Condition::kShown) != 0)
    {
        if ((conditions->current & Condition::kShown) != 0)
        {
            RefreshItemStates();
        }
        else if (root)
        {
            CloseSubMenus();
        }
    }
    return kOk;
}

// ---- placement ----------------------------------------------------------------------------------

Result LPopupMenu::PlaceOnScreen()
{
    const RCPtr<LControl> self(this);
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (window)
    {
        const PointI mouse = window->GetMousePosition();
        const PointI client = window->GetClientSize();
        const double at[2] = {static_cast<double>(mouse.x), static_cast<double>(mouse.y)};
        const double limit[2] = {static_cast<double>(client.x), static_cast<double>(client.y)};
        const double size[2] = {GetSize().x, GetSize().y};
        const PointD parent = GetParent() ? GetParent()->GetAbsolutePosition() : PointD{};
        const double origin[2] = {parent.x, parent.y};
        for (std::int32_t axis = 0; axis < 2; ++axis)
        {
            double value = at[axis];
            if (value + size[axis] > limit[axis])
            {
                value = limit[axis] - size[axis];
            }
            SetAbsolutePosition(*this, axis, std::max(0.0, value) - origin[axis]);
        }
    }
    SetVisible(true);
    if (!HasFocus())
    {
        SetFocus(true);
    }
    return kOk;
}

PointD LPopupMenu::PlaceBesideRow(const RectD& row, const PointD& menuAt, const PointD& subSize,
                                  const PointI& client)
{
    const double width = client.x;
    const double height = client.y;
    double x = row.x + row.width;
    if (menuAt.x + x + subSize.x > width)
    {
        x = -subSize.x;
        if (menuAt.x + x < 0.0)
        {
            x = row.x + row.width;
        }
    }
    double y = row.y;
    if (menuAt.y + y + subSize.y > height)
    {
        y = height - menuAt.y - subSize.y;
        if (menuAt.y + y < 0.0)
        {
            y = 0.0;
        }
    }
    return PointD{x, y};
}

void LPopupMenu::PlaceSubMenu(std::int32_t index)
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const PointD at = PlaceBesideRow(GetItemRect(index), GetAbsolutePosition(), mOpenSubMenu->GetSize(),
                                     window ? window->GetClientSize() : PointI{});
    SetAbsolutePosition(*mOpenSubMenu, 0, at.x);
    SetAbsolutePosition(*mOpenSubMenu, 1, at.y);
}

// ---- sub-menus ------------------------------------------------------------------------------------

Result LPopupMenu::OpenSubMenu(std::int32_t index)
{
    const RCPtr<LMenuItemDescriptor> item = ItemAt(index);
    if (!HasSubItems(item))
    {
        return kInvalidArg;
    }
    const RCPtr<LControl> self(this);
    CloseSubMenus();
    // A closed sub-menu waits for the idle step to leave; its name is needed now.
    if (const RCPtr<LControl> closed = FindChildControl(String(kSubMenuName)))
    {
        closed->Detach();
    }
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    const RCPtr<LControlDescriptor> own(const_cast<LControlDescriptor*>(GetControlDescriptor().Get()));
    if (!factory || !own)
    {
        return kFail;
    }
    const RCPtr<LControlDescriptor> descriptor = factory->CloneControlDescriptor(
        own, own->GetLayout() ? own->GetLayout()->Clone() : nullptr, String(kSubMenuName));
    const RCPtr<LPopupMenu> sub(descriptor ? factory->CreateControl(descriptor, self) : nullptr);
    if (!sub)
    {
        return kFail;
    }
    mOpenSubMenu = sub;
    mOpenSubMenuItem = item;
    // What the chain shares goes first, so the sub-menu's key texts look where ours do.
    sub->mCommandReceiver = mCommandReceiver;
    sub->mSelfClosing = mSelfClosing;
    sub->mItemUpdater = mItemUpdater;
    sub->SetSubMenuFromParent(index);
    PlaceSubMenu(index);
    sub->SetVisible(true);
    return kOk;
}

Result LPopupMenu::CloseSubMenus()
{
    DisarmTimer();
    if (!mOpenSubMenu)
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    mFocusHandOver = true;
    const RCPtr<LPopupMenu> sub = std::move(mOpenSubMenu);
    mOpenSubMenuItem = nullptr;
    sub->CloseSubMenus();
    // Hiding the sub-menu hands its focus back here, which must not close the chain.
    sub->SetVisible(false);
    DeferChildRemoval(RCPtr<LControl>(sub));
    mFocusHandOver = false;
    return kOk;
}

Result LPopupMenu::CloseMenuChain()
{
    mClosing = true;
    if (const RCPtr<LPopupMenu> parent = GetParentMenu())
    {
        return parent->CloseMenuChain();
    }
    const RCPtr<LControl> self(this);
    DisarmTimer();
    CloseSubMenus();
    const RCPtr<LControl> parent = GetParent();
    return parent ? parent->DeferChildRemoval(self) : kOk;
}

bool LPopupMenu::IsInChain(const LPopupMenu* menu) const
{
    for (const LPopupMenu* down = this; down; down = down->mOpenSubMenu.Get())
    {
        if (down == menu)
        {
            return true;
        }
    }
    for (RCPtr<LPopupMenu> up = GetParentMenu(); up; up = up->GetParentMenu())
    {
        if (up.Get() == menu)
        {
            return true;
        }
    }
    return false;
}

void LPopupMenu::HighlightSubMenuItem()
{
    for (std::int32_t i = 0; mOpenSubMenuItem && i < GetItemDataCount(); ++i)
    {
        if (ItemAt(i) == mOpenSubMenuItem)
        {
            SelectRange(i, -1, true);
            break;
        }
    }
    DisarmTimer();
}

void LPopupMenu::SelectFirstRow()
{
    for (std::int32_t i = 0; i < GetItemDataCount(); ++i)
    {
        if (IsItemSelectable(i))
        {
            SelectRange(i, -1, true);
            return;
        }
    }
}

// ---- the sub-menu timer ---------------------------------------------------------------------------

void LPopupMenu::ArmTimer()
{
    mTimerArmed = true;
    mTimerStart = IFrameworkApp::GetInstance().GetMilliseconds();
    if (!mIdleBegun)
    {
        mIdleBegun = true;
        BeginIdleProcessing();
    }
}

void LPopupMenu::DisarmTimer()
{
    mTimerArmed = false;
    if (mIdleBegun)
    {
        mIdleBegun = false;
        EndIdleProcessing();
    }
}

void LPopupMenu::OnSelectionChanged()
{
    if (const RCPtr<LPopupMenu> parent = GetParentMenu())
    {
        parent->HighlightSubMenuItem();
    }
    const std::int32_t current = GetCaret();
    const RCPtr<LMenuItemDescriptor> item = ItemAt(current);
    if (!item)
    {
        return;
    }
    if (!HasSubItems(item))
    {
        if (mOpenSubMenu)
        {
            ArmTimer();
        }
        return;
    }
    if (mOpenSubMenu && item == mOpenSubMenuItem)
    {
        DisarmTimer();
        return;
    }
    // Only the pointer resting on the row opens its sub-menu by time; the keys open it
    // with Right.
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const RCPtr<LListBoxItem> row = GetRow(RowIndexOfItem(current));
    if (window && row)
    {
        const PointI mouse = window->GetMousePosition();
        const PointD at = row->GetAbsolutePosition();
        const PointD size = row->GetSize();
        if (mouse.x >= at.x && mouse.y >= at.y && mouse.x < at.x + size.x && mouse.y < at.y + size.y)
        {
            ArmTimer();
        }
    }
}

Result LPopupMenu::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    const Result result = LCheckedListBox::OnIdle(sender, notification);
    if (mTimerArmed && IFrameworkApp::GetInstance().GetMilliseconds() - mTimerStart > kSubMenuDelayMs)
    {
        CloseSubMenus();
        if (HasSubItems(ItemAt(GetCaret())))
        {
            OpenSubMenu(GetCaret());
        }
    }
    return result;
}

// ---- keys and the pointer -------------------------------------------------------------------------

Result LPopupMenu::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    const RCPtr<LControl> self(this);
    switch (key->key.code)
    {
    case kLeftKey:
        if (const RCPtr<LPopupMenu> parent = GetParentMenu())
        {
            parent->CloseSubMenus();
        }
        return kOk;
    case kRightKey:
        if (HasSubItems(ItemAt(GetCaret())))
        {
            OpenSubMenu(GetCaret());
            // Asking a menu that holds the focus for it again would close the chain.
            const RCPtr<LPopupMenu> sub = mOpenSubMenu;
            if (sub && !sub->HasFocus())
            {
                sub->SetFocus(true);
            }
            if (sub)
            {
                sub->SelectFirstRow();
            }
        }
        return kOk;
    case kMenuEscapeKey:
        if (mSelfClosing && !mClosing)
        {
            CloseMenuChain();
        }
        return kOk;
    default:
        return LCheckedListBox::OnKeyDown(key);
    }
}

Result LPopupMenu::OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point)
{
    const RCPtr<LControl> self(this);
    const Result result = LCheckedListBox::OnMouseMoved(point);
    if (point && (GetConditions() & Condition::kLeftDrag) != 0 &&
        (point->x < 0 || point->y < 0 || point->x >= GetSize().x || point->y >= GetSize().y))
    {
        HandDragOver();
    }
    return result;
}

void LPopupMenu::HandDragOver()
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (!window)
    {
        return;
    }
    const PointI mouse = window->GetMousePosition();
    PointI local;
    RCPtr<LControl> hit;
    if (auto* root = dynamic_cast<LRootWindow*>(window.Get()))
    {
        hit = root->HitTest(mouse, local, false);
    }
    else
    {
        hit = GetRootControl()->HitTest(mouse, local, true);
    }
    RCPtr<LControl> target;
    if (dynamic_cast<LComboMenu*>(hit.Get()) != nullptr)
    {
        target = hit;
    }
    for (RCPtr<LControl> up = hit; up && !target; up = up->GetParent())
    {
        if (auto* menu = dynamic_cast<LPopupMenu*>(up.Get()))
        {
            if (menu != this && IsInChain(menu))
            {
                target = up;
            }
            break;
        }
    }
    if (target)
    {
        const PointD at = target->GetAbsolutePosition();
        target->BeginDrag(MouseButton::kLeft, mouse.x - static_cast<std::int32_t>(at.x),
                          mouse.y - static_cast<std::int32_t>(at.y));
    }
}

// ---- activation -----------------------------------------------------------------------------------

void LPopupMenu::ActivateCurrentItem()
{
    const std::int32_t current = GetCaret();
    const RCPtr<LMenuItemDescriptor> item = ItemAt(current);
    if (!item)
    {
        return;
    }
    if (!HasSubItems(item))
    {
        ActivateItem(current);
    }
    else if (item != mOpenSubMenuItem)
    {
        OpenSubMenu(current);
        if (mOpenSubMenu)
        {
            mOpenSubMenu->SelectFirstRow();
        }
    }
}

void LPopupMenu::ActivateItem(std::int32_t index)
{
    const RCPtr<LMenuItemDescriptor> item = ItemAt(index);
    if (!item || HasSubItems(item) || !IsItemSelectable(index))
    {
        return;
    }
    const RCPtr<LControl> self(this);
    const RCPtr<LMenuDescriptor> menu = mMenu;
    for (RCPtr<LControl> up = GetParent(); up; up = up->GetParent())
    {
        if (auto* bar = dynamic_cast<LMainMenu*>(up.Get()))
        {
            const RCPtr<LControl> remembered = bar->GetRememberedFocus();
            if (remembered && remembered->GetRootWindow())
            {
                remembered->SetFocus(true);
            }
            break;
        }
    }
    const bool closeAfter = mSelfClosing && !mClosing;
    if (closeAfter)
    {
        SetVisible(false);
    }
    const RCPtr<LControl> owner = GetOwnerControl();
    if (mCommandReceiver || owner)
    {
        SendNotificationByName(u"NID_ITEM_ACTIVATED");
        const RCPtr<LNotification> command =
            LNotification::Create(item->GetCommand(), LMenuActivationParam::Create(menu, index));
        if (command && mCommandReceiver)
        {
            mCommandReceiver->Receive(RCPtr<LNotificationDistributor>(self), command);
        }
        else if (command)
        {
            owner->Receive(RCPtr<LNotificationDistributor>(self), command);
        }
    }
    if (closeAfter)
    {
        CloseMenuChain();
    }
}

} // namespace KR
