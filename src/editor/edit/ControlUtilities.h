#pragma once
// What the edit panels share when they take their children and register with them.
//
//     SetNotificationForAllArrayItems(mMinSelectors, mHandler, &LPanelX::OnChange, u"NID_VALUE_CHANGE");
//     const KR::RCPtr<KR::LComboBox> list = FindControlByPath<KR::LComboBox>(page, {u"midiChannel",
//     u"comboBox"});

#include "kr/controls/ComboBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/Exception.h"
#include "kr/core/RCPtrArray.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"

#include <initializer_list>

namespace ControlUtilitiesDetail
{
[[noreturn]] void ThrowRegistrationRefused(KR::Result result);
} // namespace ControlUtilitiesDetail

// Whether a notification's sender is that control.
inline bool IsSender(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                     const KR::RCPtr<KR::LControl>& control)
{
    return control && sender.Get() == KR::RCPtr<KR::LNotificationDistributor>(control).Get();
}

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

// Gives every control of the array the linear range minimum..maximum, in index order.
// 0, or kFail when any control refused it (an empty entry counts as refused).
template <typename C>
KR::Result SetValueScalingForAllArrayItems(const KR::RCPtrArray<C>& controls, double minimum, double maximum)
{
    KR::Result result = KR::kOk;
    for (std::uint32_t i = 0; i < controls.GetCount(); ++i)
    {
        if (!controls[i] || KR::Failed(controls[i]->SetValueScaling(minimum, maximum, 0)))
        {
            result = KR::kFail;
        }
    }
    return result;
}

// A number box's value as a block byte: its scaled value truncated toward zero (63.9
// gives 63); 0 for an empty box.
signed char NumberByte(const KR::RCPtr<KR::LNumericUpDown>& box);
// Shows a block byte in a number box through its range (clamped to it).
void ShowNumber(const KR::RCPtr<KR::LNumericUpDown>& box, signed char byte);
// Shows the byte in every box of the array.
void ShowNumberInAll(const KR::RCPtrArray<KR::LNumericUpDown>& boxes, signed char byte);
// The box at `index`, or an empty one past the array's end.
KR::RCPtr<KR::LNumericUpDown> NumberBoxAt(const KR::RCPtrArray<KR::LNumericUpDown>& boxes,
                                          std::uint32_t index);

// Selects `index`; whether the list now has that item selected. An index the list does
// not have leaves it without a selection and with an empty face, silently (never showing
// the item it had before).
bool SelectOrClear(const KR::RCPtr<KR::LComboBox>& list, std::int32_t index);
// The list's selected index; -1 for none or an empty list.
std::int32_t SelectedIndexOf(const KR::RCPtr<KR::LComboBox>& list);
