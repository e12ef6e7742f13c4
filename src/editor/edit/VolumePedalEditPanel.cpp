#include "editor/edit/VolumePedalEditPanel.h"

const EditPanelErrorSite& LVolumePedalEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LVolumePedalEditPanel::Initialize",
                                         "UI\\QuillanCommon\\VolumePedalEditPanel", 28, 29};
    return site;
}
