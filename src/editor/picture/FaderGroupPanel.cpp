#include "editor/picture/FaderGroupPanel.h"

const GroupPanelSite& LFaderGroupPanel::GetSite() const
{
    static const GroupPanelSite site{.operation = "LFaderGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\FaderGroupPanel",
                                     .editPanelName = u"faderEditPanel",
                                     .kind = kEditPanelFaders,
                                     .visibilityLine = 0,
                                     .missingEditPanel = "faderEditPanel knob found",
                                     .missingEditPanelLine = 37,
                                     .editPanelTestedFirst = false,
                                     .viewPanelsFirst = false,
                                     .emptySlotStops = false,
                                     .bindBeforeShow = false,
                                     .clickLine = 78,
                                     .countTested = 36,
                                     .finalLine = 87,
                                     .clickOperation = "LFaderGroupPanel::OnFaderClicked",
                                     .clickVisibilityLine = 112};
    return site;
}

void LFaderGroupPanel::FindViewPanels()
{
    // A missing bank is refused as the encoders' is, on lines of its own.
    FindBankedViewPanels(u"faderBank%u", 4, u"fader%u", 9, 40);
}
