#include "editor/edit/ContinuousControlEditPanel.h"

#include "device/RootModuleInterface.h"
#include "editor/edit/RootModuleEngineAccess.h"
#include "editor/edit/TableTextFormat.h"
#include "kr/core/Exception.h"

#include <string>

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

void RequestValue(std::int32_t id)
{
    if (const KR::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine())
    {
        engine->RequestParamValues(KR::ParamDescriptors(KR::ParamRange{id, 1}));
    }
}

const std::uint8_t* BytesOf(const KR::Variant& value, std::uint32_t& count)
{
    count = 0;
    return value.GetBytes(count);
}

void HandToMainControl(const KR::LControl& panel, std::int32_t id, const KR::Array<signed char>& block)
{
    const KR::RCPtr<KR::LControl> root = panel.GetRootControl();
    auto* const main = dynamic_cast<IRootModule*>(root.Get());
    if (!main)
    {
        return;
    }
    KR::Variant value;
    value.SetBlob(block.GetCount() > 0 ? &block[0] : nullptr, block.GetCount());
    main->OnModuleParamValueChanged(KR::ParamDescriptor(id, KR::Variant()), value);
}

} // namespace EditPanelDetail
