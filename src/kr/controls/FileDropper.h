#pragma once
// KR::LFileDropper: a marker the user picks up with the left button and carries along both
// axes (drag mode 1, so drop targets see it pass); when the drag ends it asks its parent to
// remove it, which happens at the parent's next idle pass. It takes no files from the
// system. Sends nothing of its own; the press and drag are all the input it takes.

#include "kr/ui/Control.h"

namespace KR
{

class LFileDropper : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.FileDropper";

    using LControl::LControl;

    void OnDragEnd() override;                                                      // 22
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    Result PlaceParts() override;                                                   // 90
};

} // namespace KR
