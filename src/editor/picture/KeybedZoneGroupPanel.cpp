#include "editor/picture/KeybedZoneGroupPanel.h"

const GroupPanelSite& LKeybedZoneGroupPanel::GetSite() const
{
    static const GroupPanelSite site{.operation = "LKeybedZoneGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\KeybedZoneGroupPanel",
                                     .editPanelName = u"zoneEditPanel",
                                     .kind = kEditPanelKeybedZones,
                                     .visibilityLine = 34,
                                     .missingEditPanel = "zoneEditPanel not found",
                                     .missingEditPanelLine = 37,
                                     .editPanelTestedFirst = false,
                                     .viewPanelsFirst = false,
                                     .emptySlotStops = true,
                                     .bindBeforeShow = true,
                                     .clickLine = 55,
                                     .countTested = 0,
                                     .finalLine = 59,
                                     .clickOperation = nullptr,
                                     .clickVisibilityLine = 0};
    return site;
}

void LKeybedZoneGroupPanel::FindViewPanels()
{
    FindNamedViewPanels({u"zone1", u"zone2", u"zone3", u"zone4"});
}
