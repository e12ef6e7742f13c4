#include "editor/picture/WheelPanel.h"

const ViewPanelErrorSite& LWheelPanel::GetErrorSite() const
{
    static const ViewPanelErrorSite site{"LWheelPanel::Initialize", "UI\\QuillanCommon\\WheelPanel", 32};
    return site;
}

KR::Array<signed char> LWheelPanel::ToMoveableBlock(const KR::Array<signed char>& block) const
{
    return {block[0], block[1], block[2], 0, block[3], block[4]};
}
