#include "editor/picture/XYPadDirectionPanel.h"

const ViewPanelErrorSite& LXYPadDirectionPanel::GetErrorSite() const
{
    static const ViewPanelErrorSite site{"LXYPadDirectionPanel::Initialize",
                                         "UI\\QuillanCommon\\XYPadDirectionPanel", 32};
    return site;
}

KR::Array<signed char> LXYPadDirectionPanel::ToMoveableBlock(const KR::Array<signed char>& block) const
{
    return {block[0], block[1], block[2], block[3], block[4], block[5]};
}
