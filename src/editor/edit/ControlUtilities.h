#pragma once
// What the edit panels share when they take their children and register with them.
//
//     SetNotificationForAllArrayItems(mMinSelectors, mHandler, &LPanelX::OnChange, u"NID_VALUE_CHANGE");
//     const KR::RCPtr<KR::LComboBox> list = FindControlByPath<KR::LComboBox>(page, {u"midiChannel",
//     u"comboBox"});

#include "kr/core/Exception.h"
#include "kr/core/RCPtrArray.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

#include <initializer_list>

namespace ControlUtilitiesDetail
{
[[noreturn]] void ThrowRegistrationRefused(KR::Result result);
} // namespace ControlUtilitiesDetail

// Registers `handler` through `handlers` for `name` on every control of the array, in
// index order (an empty entry is passed on as it is, and refused). The first refused
// registration throws the failed-result error of "ControlUtilities", line 433.
template <typename Owner, typename C>
void SetNotificationForAllArrayItems(const KR::RCPtrArray<C>& controls,
                                     const KR::RCPtr<KR::LNotificationHandler<Owner>>& handlers,
                                     typename KR::LNotificationHandler<Owner>::Handler handler,
                                     KR::NotificationName name)
{
    for (std::uint32_t i = 0; i < controls.GetCount(); ++i)
    {
        const KR::RCPtr<KR::LNotificationDistributor> sender(controls[i]);
        if (const KR::Result result = handlers->Register(handler, sender, name); KR::Failed(result))
        {
            ControlUtilitiesDetail::ThrowRegistrationRefused(result);
        }
    }
}

// The control at the path of child names below `from`, as T; null when a step is
// missing or the last control is not a T.
template <typename T>
KR::RCPtr<T> FindControlByPath(const KR::RCPtr<KR::LControl>& from,
                               std::initializer_list<const char16_t*> path)
{
    KR::RCPtr<KR::LControl> at = from;
    for (const char16_t* name : path)
    {
        if (!at)
        {
            return nullptr;
        }
        at = at->FindChildControl(KR::String(name));
    }
    return KR::RCPtr<T>(at);
}
