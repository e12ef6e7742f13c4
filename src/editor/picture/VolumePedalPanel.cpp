#include "editor/picture/VolumePedalPanel.h"

const ViewPanelErrorSite& LVolumePedalPanel::GetErrorSite() const
{
    static const ViewPanelErrorSite site{"LVolumePedalPanel::Initialize",
                                         "UI\\QuillanCommon\\VolumePedalPanel", 32};
    return site;
}
