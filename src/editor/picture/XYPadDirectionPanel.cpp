#include "editor/picture/XYPadDirectionPanel.h"

KR::Result LXYPadDirectionPanel::Initialize()
{
    const KR::Result result = LContinuousControlViewPanel::Initialize();
    // Both axes' buttons share one name, and so one string table: only the panel's own
    // table tells "X" from "Y".
    if (KR::Succeeded(result))
    {
        if (const KR::RCPtr<KR::LControl> button = FindChildControl(KR::String(u"button")))
        {
            button->SetText(GetText());
        }
    }
    return result;
}

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
