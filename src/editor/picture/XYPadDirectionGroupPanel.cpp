#include "editor/picture/XYPadDirectionGroupPanel.h"

const GroupPanelSite& LXYPadDirectionGroupPanel::GetSite() const
{
    // Without a device view the axes could open nothing: refused as a missing edit panel.
    static const GroupPanelSite site{.operation = "LXYPadDirectionGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\XYPadDirectionGroupPanel",
                                     .editPanelName = u"xyPadEditPanel",
                                     .kind = kEditPanelTouchPadAxes,
                                     .visibilityLine = 36,
                                     .missingEditPanel = "Cannot find child xyPadEditPanel",
                                     .missingEditPanelLine = 35,
                                     .editPanelTestedFirst = true,
                                     .viewPanelsFirst = false,
                                     .emptySlotStops = true,
                                     .bindBeforeShow = false,
                                     .clickLine = 54,
                                     .countTested = 2,
                                     .finalLine = 64,
                                     .clickOperation = nullptr,
                                     .clickVisibilityLine = 0};
    return site;
}

void LXYPadDirectionGroupPanel::FindViewPanels()
{
    FindNamedViewPanels({u"xAxis", u"yAxis"});
}
