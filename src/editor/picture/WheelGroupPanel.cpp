#include "editor/picture/WheelGroupPanel.h"

const GroupPanelSite& LWheelGroupPanel::GetSite() const
{
    static const GroupPanelSite site{.operation = "LWheelGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\WheelGroupPanel",
                                     .editPanelName = u"wheelEditPanel",
                                     .kind = kEditPanelWheels,
                                     .visibilityLine = 39,
                                     .missingEditPanel = "wheelEditPanel not found",
                                     .missingEditPanelLine = 41,
                                     .editPanelTestedFirst = false,
                                     .viewPanelsFirst = true,
                                     .emptySlotStops = false,
                                     .bindBeforeShow = false,
                                     .clickLine = 51,
                                     .countTested = 2,
                                     .finalLine = 61,
                                     .clickOperation = nullptr,
                                     .clickVisibilityLine = 0};
    return site;
}

void LWheelGroupPanel::FindViewPanels()
{
    FindNamedViewPanels({u"pitchWheel", u"modWheel"});
}
