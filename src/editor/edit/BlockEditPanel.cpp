#include "editor/edit/BlockEditPanel.h"

#include "device/RootModuleInterface.h"
#include "editor/edit/RootModuleEngineAccess.h"

namespace EditPanelDetail
{

void RequestValue(std::int32_t id)
{
    if (const KR::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine())
    {
        engine->RequestParamValues(KR::ParamDescriptors(KR::ParamRange{id, 1}));
    }
}

bool ReadBlock(const KR::Variant& value, std::uint32_t size, KR::Array<signed char>& block)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    if (bytes == nullptr || count != size)
    {
        return false;
    }
    block.SetCount(0);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        block.AddItem(static_cast<signed char>(bytes[i]));
    }
    return true;
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
