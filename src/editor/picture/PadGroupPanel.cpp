#include "editor/picture/PadGroupPanel.h"

const GroupPanelSite& LPadGroupPanel::GetSite() const
{
    static const GroupPanelSite site{.operation = "LPadGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\PadGroupPanel",
                                     .editPanelName = u"padEditPanel",
                                     .kind = kEditPanelPads,
                                     .visibilityLine = 53,
                                     .missingEditPanel = "padEditPanel not found",
                                     .missingEditPanelLine = 55,
                                     .editPanelTestedFirst = false,
                                     .viewPanelsFirst = true,
                                     .emptySlotStops = false,
                                     .bindBeforeShow = true,
                                     .clickLine = 67,
                                     .countTested = 16,
                                     .finalLine = 76,
                                     .clickOperation = nullptr,
                                     .clickVisibilityLine = 0};
    return site;
}

void LPadGroupPanel::FindViewPanels()
{
    FindNamedViewPanels({u"pad1", u"pad2", u"pad3", u"pad4", u"pad5", u"pad6", u"pad7", u"pad8", u"pad9",
                         u"pad10", u"pad11", u"pad12", u"pad13", u"pad14", u"pad15", u"pad16"});
}
