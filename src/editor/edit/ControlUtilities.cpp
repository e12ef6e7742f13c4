#include "editor/edit/ControlUtilities.h"

#include <algorithm>
#include <cmath>

namespace ControlUtilitiesDetail
{

void ThrowRegistrationRefused(KR::Result result)
{
    KR::ThrowFailedResult(result, " : SetNotificationForAllArrayItems : ControlUtilities : Line 433");
}

} // namespace ControlUtilitiesDetail

signed char NumberByte(const KR::RCPtr<KR::LNumericUpDown>& box)
{
    if (!box)
    {
        return 0;
    }
    return static_cast<signed char>(
        static_cast<std::int32_t>(std::trunc(box->InterpolateValue(box->GetValue()))));
}

void ShowNumber(const KR::RCPtr<KR::LNumericUpDown>& box, signed char byte)
{
    if (box)
    {
        box->SetValue(std::clamp(box->NormalizeValue(byte), 0.0, 1.0));
    }
}

void ShowNumberInAll(const KR::RCPtrArray<KR::LNumericUpDown>& boxes, signed char byte)
{
    for (std::uint32_t i = 0; i < boxes.GetCount(); ++i)
    {
        ShowNumber(boxes[i], byte);
    }
}

KR::RCPtr<KR::LNumericUpDown> NumberBoxAt(const KR::RCPtrArray<KR::LNumericUpDown>& boxes,
                                          std::uint32_t index)
{
    return index < boxes.GetCount() ? boxes[index] : KR::RCPtr<KR::LNumericUpDown>();
}

bool SelectOrClear(const KR::RCPtr<KR::LComboBox>& list, std::int32_t index)
{
    if (!list)
    {
        return false;
    }
    if (index >= 0 && list->SetSelectedIndex(index) == index)
    {
        return true;
    }
    list->ClearShownItem();
    return false;
}

std::int32_t SelectedIndexOf(const KR::RCPtr<KR::LComboBox>& list)
{
    return list ? list->GetSelectedIndex() : -1;
}
