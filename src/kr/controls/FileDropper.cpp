#include "kr/controls/FileDropper.h"

#include "kr/ui/NotificationParams.h"

namespace KR
{

Result LFileDropper::PlaceParts()
{
    SetNotFocusable(true);
    SetVisible(true);
    return kOk;
}

Result LFileDropper::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (conditions && (conditions->current & ~conditions->previous & Condition::kLeftPressed) != 0)
    {
        SetDragMode(1, 3);
        // The marker follows the pointer from its first move.
        SetDragThreshold(0);
    }
    return kOk;
}

void LFileDropper::OnDragEnd()
{
    const RCPtr<LControl> self(this);
    LControl::OnDragEnd();
    if (const RCPtr<LControl> parent = GetParent())
    {
        parent->DeferChildRemoval(self);
    }
}

} // namespace KR
