#include "editor/picture/ButtonGroupPanel.h"

const GroupPanelSite& LButtonGroupPanel::GetSite() const
{
    static const GroupPanelSite site{.operation = "LButtonGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\ButtonGroupPanel",
                                     .editPanelName = u"buttonEditPanel",
                                     .kind = kEditPanelPushButtons,
                                     .visibilityLine = 36,
                                     .missingEditPanel = "buttonEditPanel knob found",
                                     .missingEditPanelLine = 39,
                                     .editPanelTestedFirst = false,
                                     .viewPanelsFirst = false,
                                     .emptySlotStops = false,
                                     .bindBeforeShow = false,
                                     .clickLine = 81,
                                     .countTested = 0,
                                     .finalLine = 85,
                                     .clickOperation = nullptr,
                                     .clickVisibilityLine = 0};
    return site;
}

void LButtonGroupPanel::FindViewPanels()
{
    // A missing bank is refused as the encoders' is, on lines of its own.
    FindBankedViewPanels(u"buttonBank%u", 4, u"button%u", 9, 44);
}
