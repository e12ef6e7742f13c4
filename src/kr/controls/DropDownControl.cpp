#include "kr/controls/DropDownControl.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/ui/NotificationParams.h"

namespace KR
{

LDropDownControl::~LDropDownControl() = default;

Result LDropDownControl::Receive(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LControl::Receive(sender, notification);
}

Result LDropDownControl::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                   NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

Result LDropDownControl::Initialize()
{
    const Result result = LControl::Initialize();
    mHandler = LNotificationHandler<LDropDownControl>::Create(this);
    mHandler->Register(&LDropDownControl::OnMouseDownNotification, RCPtr<LNotificationDistributor>(this),
                       u"NID_MOUSE_DOWN");
    return result;
}

Result LDropDownControl::SetFocus(bool forward)
{
    const Result result = LControl::SetFocus(forward);
    const bool shown = IsDropDownShown();
    if (shown)
    {
        ShowDropDown(false);
    }
    // Recorded after the close: a drop-down part that held the focus hands it back to this
    // control as it hides, and that nested call finds the part already closed.
    mClosedByFocus = shown;
    return result;
}

Result LDropDownControl::OnMouseDownNotification(const RCPtr<LNotificationDistributor>&,
                                                 const RCPtr<LNotification>&)
{
    if (mClosedByFocus)
    {
        mClosingPress = true;
    }
    // The control's own handlers see the press as well.
    return 0;
}

Result LDropDownControl::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (!conditions || (conditions->current & ~conditions->previous & Condition::kLeftPressed) == 0)
    {
        return kOk;
    }
    if (mClosingPress)
    {
        mClosingPress = false;
        return kOk;
    }
    return ShowDropDown(true);
}

Result LDropDownControl::OnFocusLost()
{
    ShowDropDown(false);
    return LControl::OnFocusLost();
}

} // namespace KR
