#pragma once
// KR::LLabel: the skins' static text, drawn by its looks; it takes no input and never the
// focus. A label whose text does not fit shows the whole text as its tooltip; one that
// fits shows its "TOOLTIP" string, if any. Sends nothing of its own.

#include "kr/ui/Control.h"

namespace KR
{

class LLabel : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.Label";
    using LControl::LControl;

    Result PlaceParts() override;     // 90
    String GetToolTipText() override; // 91
};

} // namespace KR
