#include "kr/ui/Panel.h"

#include "kr/core/Exception.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/KeyCode.h"

namespace KR
{
namespace
{

using ControlHelpers::LastVisited;

} // namespace

LPanel::~LPanel() = default;

Result LPanel::Receive(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification)
{
    if (mPanelHandler)
    {
        const Result handled = mPanelHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LScrollView::Receive(sender, notification);
}

Result LPanel::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender, NotificationName name)
{
    if (mPanelHandler)
    {
        mPanelHandler->Unregister(sender, name);
    }
    return LScrollView::UnregisterForNotification(sender, name);
}

Result LPanel::Initialize()
{
    const Result result = LScrollView::Initialize();
    if (Succeeded(result) && GetParent() && !mPanelHandler)
    {
        mPanelHandler = LNotificationHandler<LPanel>::Create(this);
        const Result registered =
            mPanelHandler->Register(&LPanel::OnSiblingKeyNotification,
                                    RCPtr<LNotificationDistributor>(GetParent()), u"NID_SIBLING_KEY");
        if (Failed(registered))
        {
            ThrowFailedResult(registered, " : KR::LPanel::Initialize : Controls\\Panel : Line 37");
        }
    }
    return result;
}

Result LPanel::OnSiblingKeyNotification(const RCPtr<LNotificationDistributor>&,
                                        const RCPtr<LNotification>& notification)
{
    const RCPtr<LSiblingKeyParam> sibling =
        notification ? notification->GetDataAs<LSiblingKeyParam>() : nullptr;
    if (!sibling)
    {
        return 1;
    }
    const RCPtr<LKeyParam> key = LKeyParam::Create(sibling->key, true);
    sibling->result = OnSiblingKey(key);
    return 1;
}

Result LPanel::DispatchKey(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    if (OnSiblingKey(key) != kNothingDone)
    {
        return kOk;
    }
    if (const RCPtr<LControl> parent = GetParent())
    {
        key->controls.AddItem(RCPtr<LControl>(this));
        return parent->DispatchKey(key);
    }
    return OfferToGlobalHotKeys(key->key);
}

const RCPtr<LControl>& LPanel::GetNextTabControl(const RCPtr<LControl>& current, bool backward)
{
    const RCPtr<LControl>& next = LControl::GetNextTabControl(current, backward);
    if (!next || !GetParent())
    {
        return next;
    }
    // Inside a parent the walk does not wrap: past the last child the key leaves the panel.
    const std::int32_t from = GetChildIndex(current, kTabOrder);
    const std::int32_t to = GetChildIndex(next, kTabOrder);
    const bool onward = backward ? to < from : to > from;
    return onward ? next : NullControl();
}

Result LPanel::NavigateChildren(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    const bool backward = (key->key.code & KeyCode::kShiftBit) != 0;
    if ((key->key.code & KeyCode::kCtrlBit) == 0)
    {
        RCPtr<LControl> start = LastVisited(*key);
        if (start && start->GetParent().Get() != this)
        {
            start = nullptr;
        }
        RCPtr<LControl> candidate = start ? GetNextTabControl(start, backward)
                                          : (backward ? GetLastFocusableChild() : GetFirstFocusableChild());
        // Bounded as well: a derived tab order need not come back to where it started.
        for (std::uint32_t steps = GetChildren().GetCount() + 1; candidate && candidate != start && steps > 0;
             --steps)
        {
            if (candidate->CanTakeFocus() || candidate->ContainsFocusableControl())
            {
                candidate->SetFocus(!backward);
                return kOk;
            }
            if (!candidate->IsShown(false) || !candidate->IsEnabled(false))
            {
                start = candidate;
            }
            candidate = GetNextTabControl(candidate, backward);
        }
    }
    key->controls.AddItem(RCPtr<LControl>(this));
    if (const RCPtr<LControl> parent = GetParent())
    {
        return parent->NavigateChildren(key);
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    return window ? window->FocusNextWindow(key) : kNothingDone;
}

} // namespace KR
