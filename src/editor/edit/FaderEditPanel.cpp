#include "editor/edit/FaderEditPanel.h"

namespace
{

constexpr char kFaderSource[] = "UI\\QuillanCommon\\FaderEditPanel";

} // namespace

const EditPanelErrorSite& LFaderEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LFaderEditPanel::Initialize", kFaderSource, 32, 33};
    return site;
}

const NameLabelSite* LFaderEditPanel::GetNameLabelSite() const
{
    static const NameLabelSite site{u"faderName", "Cannot find child: faderName", 36};
    return &site;
}

void LFaderEditPanel::SetFaderLabelText(std::uint32_t index)
{
    // Nine faders to a bank, four banks.
    static const BankLabelSite site{"LFaderEditPanel::SetFaderLabelText",
                                    kFaderSource,
                                    u"faderName",
                                    "Couldn't find child faderName",
                                    112,
                                    "Couldn't find child bankName",
                                    115,
                                    9,
                                    36};
    EditPanelDetail::SetBankLabels(*this, site, index);
}
