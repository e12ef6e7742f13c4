#include "editor/picture/EncoderGroupPanel.h"

const GroupPanelSite& LEncoderGroupPanel::GetSite() const
{
    static const GroupPanelSite site{.operation = "LEncoderGroupPanel::Initialize",
                                     .source = "UI\\QuillanCommon\\EncoderGroupPanel",
                                     .editPanelName = u"knobEditPanel",
                                     .kind = kEditPanelEncoders,
                                     .visibilityLine = 37,
                                     .missingEditPanel = "knobEditPanel knob found",
                                     .missingEditPanelLine = 41,
                                     .editPanelTestedFirst = false,
                                     .viewPanelsFirst = false,
                                     .emptySlotStops = false,
                                     .bindBeforeShow = false,
                                     .clickLine = 84,
                                     .countTested = 32,
                                     .finalLine = 93,
                                     .clickOperation = nullptr,
                                     .clickVisibilityLine = 0};
    return site;
}

void LEncoderGroupPanel::FindViewPanels()
{
    FindBankedViewPanels(u"encoderBank%u", 4, u"encoder%u", 8, 46);
}
