#pragma once
// A tooltip for tests of the control core: shown and hidden at once, counting both.

#include "kr/ui/Control.h"
#include "kr/ui/PopupControls.h"

namespace KR::TestSupport
{

class LStandInToolTip : public LControl, public IToolTip
{
public:
    using LControl::LControl;

    Result Show() override
    {
        ++shows;
        SetVisible(true);
        return kOk;
    }
    Result Hide() override
    {
        ++hides;
        SetVisible(false);
        return kOk;
    }

    int shows = 0;
    int hides = 0;
};

} // namespace KR::TestSupport
