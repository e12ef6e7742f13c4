// How a key travels from the focused control: its local hot keys, its own handler, the
// controls that listen for their siblings' keys, the Tab walk along the tab order, and
// last the window's and the application's hot keys.

#include "kr/ui/Control.h"
#include "kr/ui/ControlHelpers.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/GlobalHotKeyManager.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace KR
{
namespace
{

NotificationID SiblingKeyID()
{
    static const NotificationID id = GetNotificationID(u"NID_SIBLING_KEY");
    return id;
}

bool IsTabGoingDown(const KeyCode& key)
{
    return KeyCode::IsVirtualKeyDown(key.code) && key.GetVirtualKey() == VirtualKey::kTab;
}

using ControlHelpers::LastVisited;

} // namespace

// ---- the focused control ------------------------------------------------------------------------

Result LControl::OnKey(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    if (!IsShown(true) || !IsEnabled(true))
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    // The control's own local hot keys see the key before anything else does.
    const RCPtr<LSiblingKeyParam> sibling = LSiblingKeyParam::Create(key->key, self);
    Receive(nullptr, LNotification::Create(SiblingKeyID(), sibling));
    if (sibling->result == 0 || OnKeyDown(key) != kNothingDone)
    {
        return kOk;
    }
    key->controls.AddItem(self);
    PassKeyOn(key);
    return kOk;
}

void LControl::PassKeyOn(const RCPtr<LKeyParam>& key)
{
    const RCPtr<LControl> parent = mParent;
    if (IsTabGoingDown(key->key))
    {
        if (mWantsTab)
        {
            return;
        }
        if (parent)
        {
            parent->NavigateChildren(key);
        }
        else if (const RCPtr<IRootWindowServices> window = GetRootWindow())
        {
            window->FocusNextWindow(key);
        }
        return;
    }
    if (parent)
    {
        parent->DispatchKey(key);
        return;
    }
    OfferToGlobalHotKeys(key->key);
}

Result LControl::OnSiblingKeyNotification(const RCPtr<LNotificationDistributor>&,
                                          const RCPtr<LNotification>& notification)
{
    const RCPtr<LSiblingKeyParam> sibling =
        notification ? notification->GetDataAs<LSiblingKeyParam>() : nullptr;
    if (!sibling || !IsShown(true) || !IsEnabled(true))
    {
        return 0;
    }
    const String name = mLocalHotKeys.FindNotification(sibling->key);
    // A string naming the sibling key itself as a hot key would hand the key back to this
    // handler without end.
    if (name.IsEmpty() || GetNotificationID(name) == SiblingKeyID())
    {
        return 0;
    }
    sibling->result = 0;
    // The control's handler for that name acts as for the command itself.
    Receive(RCPtr<LNotificationDistributor>(this), LNotification::Create(name, sibling));
    return 1;
}

// ---- a key a child left -----------------------------------------------------------------------------

Result LControl::DispatchKey(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    if (OnSiblingKey(key) != kNothingDone)
    {
        return kOk;
    }
    return OfferToGlobalHotKeys(key->key);
}

Result LControl::OfferToGlobalHotKeys(const KeyCode& key)
{
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        const RCPtr<LGlobalHotKeyManager> hotKeys = window->GetHotKeyManager();
        if (hotKeys && hotKeys->HandleKey(key) != kNothingDone)
        {
            return kOk;
        }
    }
    const RCPtr<LGlobalHotKeyManager> hotKeys = IFrameworkApp::GetInstance().GetGlobalHotKeyManager();
    return hotKeys ? hotKeys->HandleKey(key) : kNothingDone;
}

Result LControl::OnSiblingKey(const RCPtr<LKeyParam>& key)
{
    const RCPtr<LNotificationDistributor::LNotificationClientPool> pool = FindClientPool(SiblingKeyID());
    if (!key || !pool || pool->GetClientCount() == 0)
    {
        return kNothingDone;
    }
    Array<std::int32_t> order;
    OrderSiblingTargets(key, pool, order);
    // The receivers as ordered now: a receiver may register or leave while it is asked.
    std::vector<RCPtr<LNotificationReceiver>> receivers;
    receivers.reserve(order.GetCount());
    for (const std::int32_t index : order)
    {
        if (RCPtr<LNotificationReceiver> receiver = pool->GetClient(static_cast<std::uint32_t>(index)))
        {
            receivers.push_back(std::move(receiver));
        }
    }
    const RCPtr<LControl> holder = LastVisited(*key);
    const RCPtr<LSiblingKeyParam> sibling = LSiblingKeyParam::Create(key->key, holder);
    const RCPtr<LNotification> notification = LNotification::Create(SiblingKeyID(), sibling);
    const RCPtr<LNotificationDistributor> self(this);
    for (auto receiver = receivers.rbegin(); receiver != receivers.rend(); ++receiver)
    {
        // The key's own control had its say before the key left it.
        if (holder && RCPtr<LControl>(*receiver) == holder)
        {
            continue;
        }
        const std::int32_t index = pool->FindClient(receiver->Get());
        if (index < 0)
        {
            continue;
        }
        pool->SendNotificationToClient(self, static_cast<std::uint32_t>(index), notification);
        if (sibling->result == 0)
        {
            return kOk;
        }
    }
    return kNothingDone;
}

Result
LControl::OrderSiblingTargets(const RCPtr<LKeyParam>& key,
                              const RCPtr<LNotificationDistributor::LNotificationClientPool>& receivers,
                              Array<std::int32_t>& order)
{
    order.SetCount(0);
    if (!receivers)
    {
        return kOk;
    }
    struct Record
    {
        std::int32_t index;
        std::int32_t key;
        bool focusable;
    };
    const std::uint32_t count = receivers->GetClientCount();
    std::vector<Record> records;
    records.reserve(count);
    // Receivers outside the children sort before every child, in registration order.
    std::int32_t nextOutside = std::numeric_limits<std::int32_t>::min();
    for (std::uint32_t i = 0; i < count; ++i)
    {
        Record record{static_cast<std::int32_t>(i), 0, false};
        const RCPtr<LControl> control(receivers->GetClient(i));
        if (control && control->GetParent().Get() == this)
        {
            record.key = GetChildIndex(control, kTabOrder);
            record.focusable = !control->IsNotFocusable(false);
        }
        else
        {
            record.key = nextOutside++;
        }
        records.push_back(record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.key < b.key; });

    std::size_t leading = 0;
    while (leading < records.size() && !records[leading].focusable)
    {
        order.AddItem(records[leading++].index);
    }
    const RCPtr<LControl> holder = key ? LastVisited(*key) : nullptr;
    const std::int32_t holderAt = holder ? GetChildIndex(holder, kTabOrder) : -1;
    std::size_t split = leading;
    while (split < records.size() && records[split].key <= holderAt)
    {
        ++split;
    }
    for (std::size_t i = split; i < records.size(); ++i)
    {
        order.AddItem(records[i].index);
    }
    for (std::size_t i = leading; i < split; ++i)
    {
        order.AddItem(records[i].index);
    }
    return kOk;
}

// ---- Tab ----------------------------------------------------------------------------------------------

Result LControl::NavigateChildren(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kInvalidArg;
    }
    const RCPtr<LControl> self(this);
    const bool backward = (key->key.code & KeyCode::kShiftBit) != 0;
    // Ctrl+Tab belongs to whoever stands above this control.
    if ((key->key.code & KeyCode::kCtrlBit) == 0)
    {
        const RCPtr<LControl> start = LastVisited(*key);
        const std::int32_t from = start ? GetChildIndex(start, kTabOrder) : -1;
        RCPtr<LControl> candidate = from >= 0 ? GetNextTabControl(start, backward) : nullptr;
        // A derived order need not come back to the start: the steps are bounded too.
        for (std::uint32_t steps = mChildList.GetCount(); candidate && candidate != start && steps > 0;
             --steps)
        {
            // The walk wraps at the ends; what lies behind the start is not this
            // control's to give the focus to, unless a sibling passed the key on.
            const std::int32_t at = GetChildIndex(candidate, kTabOrder);
            const bool passed = backward ? at >= from : at <= from;
            if (passed && !key->fromSibling)
            {
                break;
            }
            if (candidate->CanTakeFocus() || candidate->ContainsFocusableControl())
            {
                candidate->SetFocus(!backward);
                return kOk;
            }
            candidate = GetNextTabControl(candidate, backward);
        }
    }
    key->controls.AddItem(self);
    if (const RCPtr<LControl> parent = mParent)
    {
        return parent->NavigateChildren(key);
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    return window ? window->FocusNextWindow(key) : kNothingDone;
}

} // namespace KR
