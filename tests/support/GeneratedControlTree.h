#pragma once
// A control tree the size of the editor's main window for benchmarks: 30 panels in a
// 6 by 5 grid over 1024 by 768, each with 9 children (300 controls below the root), 20
// of them not clipped to their panel and hanging over its edge. Every control has one
// opaque look, so the hit test can answer with any of them; a look maker gives looks
// that draw.
//
//     KR::RCPtr<KR::LControl> root = KR::TestSupport::MakeGeneratedControlTree(window);

#include "kr/ui/Control.h"
#include "support/LookStandIn.h"

#include <functional>

namespace KR::TestSupport
{

using StandInLookMaker = std::function<RCPtr<LStandInLook>()>;

inline void AddOpaqueLook(LControl& control, const StandInLookMaker& makeLook = {})
{
    RCPtr<LStandInLook> look = makeLook ? makeLook() : RCPtr<LStandInLook>(new LStandInLook(nullptr, false));
    look->color = 0xFF808080;
    control.AddLook(look);
    control.SetLookWeight(0, 1.0f, false);
}

inline RCPtr<LControl> MakeGeneratedControlTree(const RCPtr<IRootWindowServices>& window,
                                                const StandInLookMaker& makeLook = {})
{
    RCPtr<LControl> root(new LControl(window, u"root"));
    root->SetFrame(PointD{}, PointD{1024, 768});
    AddOpaqueLook(*root, makeLook);
    std::int32_t unclipped = 0;
    for (std::int32_t p = 0; p < 30; ++p)
    {
        RCPtr<LControl> panel(new LControl(root, String::Format(u"panel%d", p)));
        panel->SetFrame(PointD{(p % 6) * 170.0, (p / 6) * 150.0}, PointD{165, 145});
        AddOpaqueLook(*panel, makeLook);
        for (std::int32_t c = 0; c < 9; ++c)
        {
            RCPtr<LControl> child(new LControl(panel, String::Format(u"c%d", c)));
            child->SetFrame(PointD{(c % 3) * 55.0 + 2, (c / 3) * 48.0 + 2}, PointD{60, 44});
            AddOpaqueLook(*child, makeLook);
            if (c == 8 && unclipped < 20)
            {
                child->SetClipToParent(false);
                ++unclipped;
            }
        }
    }
    return root;
}

} // namespace KR::TestSupport
