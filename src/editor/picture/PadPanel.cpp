#include "editor/picture/PadPanel.h"

const ColorPreviewSite& LPadPanel::GetSite() const
{
    static const ColorPreviewSite site{.initializeOperation = "LPadPanel::Initialize",
                                       .numberOperation = "LPadPanel::SetFirstParamID",
                                       .source = "UI\\QuillanCommon\\PadPanel",
                                       .blockSize = kBlockSize,
                                       .registersBeforeReadOut = true,
                                       .missingColorLine = 34,
                                       .missingReadOutLine = 41,
                                       .refusedClickLine = 37,
                                       .numberLabel = u"padNumberLabel",
                                       .missingNumberLabel = "Cannot find child: padNumberLabel",
                                       .missingNumberLabelLine = 146,
                                       .numbersPerBank = 0};
    return site;
}
