#include "kr/controls/ComboMenu.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/controls/PopupMenu.h"
#include "kr/ui/NotificationParams.h"

#include <algorithm>

namespace KR
{

namespace
{
constexpr char16_t kPopupName[] = u"popupMenu";
} // namespace

LComboMenu::LComboMenu(const RCPtr<LControl>& parent, const String& name) : LDropDownControl(parent, name)
{
}

LComboMenu::~LComboMenu() = default;

Result LComboMenu::ReleaseInternalReferences()
{
    mHandler = nullptr;
    return LDropDownControl::ReleaseInternalReferences();
}

Result LComboMenu::Receive(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LDropDownControl::Receive(sender, notification);
}

Result LComboMenu::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                             NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LDropDownControl::UnregisterForNotification(sender, name);
}

RCPtr<LPopupMenu> LComboMenu::GetPopup() const
{
    return RCPtr<LPopupMenu>(dynamic_cast<LPopupMenu*>(FindChildControl(String(kPopupName)).Get()));
}

Result LComboMenu::Initialize()
{
    if (Failed(LDropDownControl::Initialize()))
    {
        return kFail;
    }
    mHandler = LNotificationHandler<LComboMenu>::Create(this);
    if (const RCPtr<LPopupMenu> popup = GetPopup())
    {
        const RCPtr<LNotificationDistributor> sender(popup);
        mHandler->Register(&LComboMenu::OnPopupVisibility, sender, u"NID_VISIBLITY_CONDITION_CHANGE");
        mHandler->Register(&LComboMenu::OnPopupActivated, sender, u"NID_ITEM_ACTIVATED");
        popup->SetSelfClosing(false);
    }
    return kOk;
}

Result LComboMenu::PlaceParts()
{
    if (const RCPtr<LPopupMenu> popup = GetPopup())
    {
        DockedPositionSpec position;
        SizeSpec size;
        if (const RCPtr<LLayoutDescriptor>& layout = popup->GetLayoutDescriptor())
        {
            layout->GetPlacement(0, position, size);
        }
        mPopupOffsetX = position.absolute;
    }
    return kOk;
}

bool LComboMenu::IsDropDownShown()
{
    const RCPtr<LPopupMenu> popup = GetPopup();
    return popup && popup->IsShown(false) && popup->GetSize().x > 0.0 && popup->GetSize().y > 0.0;
}

std::int32_t LComboMenu::RestingLook() const
{
    return (GetConditions() & Condition::kHover) != 0 ? kHotLook : kClosedLook;
}

void LComboMenu::ShowLook(std::int32_t look)
{
    if (look >= 0 && static_cast<std::uint32_t>(look) < GetLookCount())
    {
        SetLookWeight(look, 1.0f, true);
    }
}

Result LComboMenu::ShowDropDown(bool show)
{
    const RCPtr<LPopupMenu> popup = GetPopup();
    if (!popup)
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    if (show)
    {
        // Inside the root control: moved left as far as needed, never past its left edge.
        const RCPtr<LControl> root = GetRootControl();
        const double offset = GetAbsolutePosition().x - root->GetAbsolutePosition().x;
        double x = mPopupOffsetX + offset;
        if (x + popup->GetSize().x > root->GetSize().x)
        {
            x = std::max(0.0, root->GetSize().x - popup->GetSize().x);
        }
        x -= offset;
        DockedPositionSpec position;
        SizeSpec size;
        if (const RCPtr<LLayoutDescriptor>& layout = popup->GetLayoutDescriptor())
        {
            layout->GetPlacement(0, position, size);
        }
        if (x != position.absolute)
        {
            position.absolute = x;
            popup->SetPlacement(0, position, size);
        }
    }
    popup->SetVisible(show);
    if (!show)
    {
        ShowLook(RestingLook());
        return kOk;
    }
    popup->SetFocus(true);
    ShowLook(kOpenLook);
    // A press that opened the menu goes on as a drag inside it, so the release can choose.
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if (window && (GetConditions() & Condition::kLeftPressed) != 0)
    {
        const PointI mouse = window->GetMousePosition();
        const PointD at = popup->GetAbsolutePosition();
        popup->BeginDrag(MouseButton::kLeft, mouse.x - static_cast<std::int32_t>(at.x),
                         mouse.y - static_cast<std::int32_t>(at.y));
    }
    return kOk;
}

Result LComboMenu::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (!conditions)
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    ShowLook(!IsEnabled(true) ? kDisabledLook : (IsDropDownShown() ? kOpenLook : RestingLook()));
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    if ((turnedOn & Condition::kHover) != 0 && GetParent())
    {
        // Sliding along an open bar moves the open menu with the pointer.
        LControl::ChildControlList& siblings = GetParent()->GetChildren();
        RCPtr<LComboMenu> open;
        for (std::uint32_t i = siblings.GetCount(); i-- > 0 && !open;)
        {
            const RCPtr<LComboMenu> sibling(
                dynamic_cast<LComboMenu*>(siblings.GetAt(i, kInsertionOrder).Get()));
            if (sibling && sibling->IsDropDownShown())
            {
                open = sibling;
            }
        }
        if (open && open.Get() != this && IsEnabled(true))
        {
            open->GetPopup()->SetVisible(false);
            open->ShowLook(open->RestingLook());
            ShowDropDown(true);
        }
    }
    if ((turnedOn & Condition::kLeftPressed) != 0)
    {
        const RCPtr<LPopupMenu> popup = GetPopup();
        const PointD at = popup ? popup->GetPosition() : PointD{};
        mPressPoint = PointD{conditions->point.x - at.x, conditions->point.y - at.y};
    }
    if (!IsEnabled(true))
    {
        return kOk;
    }
    return LDropDownControl::OnConditionsChanged(conditions);
}

Result LComboMenu::OnPopupVisibility(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    ShowLook(IsDropDownShown() ? kOpenLook : RestingLook());
    return 0;
}

Result LComboMenu::OnPopupActivated(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    if (const RCPtr<LPopupMenu> popup = GetPopup())
    {
        popup->SetVisible(false);
    }
    ShowLook(RestingLook());
    return 1;
}

} // namespace KR
