#include "editor/edit/ContinuousControlEditPanel.h"

#include "editor/edit/TableTextFormat.h"

namespace EditPanelDetail
{

void SetBankLabels(KR::LControl& panel, const BankLabelSite& site, std::uint32_t index)
{
    if (index >= site.count)
    {
        return;
    }
    const KR::RCPtr<KR::LControl>& name = panel.FindChildControl(KR::String(site.nameChild));
    if (!name)
    {
        ThrowMissingChild(site.operation, site.source, site.missingName, site.nameLine);
    }
    name->SetText(FormatTableText(name->GetLocalizedString(KR::String(u"LABEL")),
                                  {std::int64_t{index % site.perBank + 1}}));
    const KR::RCPtr<KR::LControl>& bank = panel.FindChildControl(KR::String(u"bankName"));
    if (!bank)
    {
        ThrowMissingChild(site.operation, site.source, site.missingBank, site.bankLine);
    }
    bank->SetText(FormatTableText(bank->GetLocalizedString(KR::String(u"LABEL")),
                                  {std::int64_t{index / site.perBank + 1}}));
}

} // namespace EditPanelDetail
