#include "editor/edit/EncoderEditPanel.h"

namespace
{

constexpr char kEncoderSource[] = "UI\\QuillanCommon\\EncoderEditPanel";

} // namespace

const EditPanelErrorSite& LEncoderEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LEncoderEditPanel::Initialize", kEncoderSource, 32, 33};
    return site;
}

void LEncoderEditPanel::SetEncoderLabelText(std::uint32_t index)
{
    // Eight encoders to a bank, four banks.
    static const BankLabelSite site{"LEncoderEditPanel::SetEncoderLabelText",
                                    kEncoderSource,
                                    u"knobName",
                                    "Couldn't find child knobName",
                                    105,
                                    "Couldn't find child bankName",
                                    108,
                                    8,
                                    32};
    EditPanelDetail::SetBankLabels(*this, site, index);
}
