#include "editor/picture/ButtonPanel.h"

const ColorPreviewSite& LButtonPanel::GetSite() const
{
    static const ColorPreviewSite site{.initializeOperation = "LButtonPanel::Initialize",
                                       .numberOperation = "LButtonPanel::SetFirstParamID",
                                       .source = "UI\\QuillanCommon\\ButtonPanel",
                                       .blockSize = kBlockSize,
                                       .registersBeforeReadOut = false,
                                       .missingColorLine = 33,
                                       .missingReadOutLine = 36,
                                       .refusedClickLine = 39,
                                       .numberLabel = u"buttonNumberLabel",
                                       .missingNumberLabel = "Cannot find child: buttonNumberLabel",
                                       .missingNumberLabelLine = 73,
                                       .numbersPerBank = 9};
    return site;
}
