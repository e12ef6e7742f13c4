#include "editor/edit/SustainEditPanel.h"

namespace
{

// Block byte 5 holds the record's last value.
constexpr std::uint32_t kLastValueByte = 5;

} // namespace

const EditPanelErrorSite& LSustainPedalEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LSustainPedalEditPanel::Initialize",
                                         "UI\\QuillanCommon\\SustainEditPanel", 0, 0};
    return site;
}

KR::Result LSustainPedalEditPanel::Initialize()
{
    const KR::Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    // The text names the page of the other panels, though the editor is a direct child here.
    TakeButtonTypePanel(FindChildControl(KR::String(u"buttonTypePanel")),
                        "Couldn't find viewTabControl page: midiPage", 33, 34);
    return result;
}

std::int32_t LSustainPedalEditPanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                        const KR::Variant& value, bool /*fromDevice*/)
{
    KR::Array<signed char> block;
    if (!ReadOwnBlock(descriptor, value, kBlockSize, block))
    {
        return KR::kFail;
    }
    KR::Array<signed char> record;
    for (std::uint32_t i = 0; i < kLastValueByte; ++i)
    {
        record.AddItem(block[i]);
    }
    for (const signed char absent : {1, 0, 1, 0})
    {
        record.AddItem(absent);
    }
    record.AddItem(block[kLastValueByte]);
    ShowOwnBlock(block, [&] { ShowRecord(record); });
    SetParamValue(descriptor, value);
    return KR::kOk;
}

bool LSustainPedalEditPanel::HoldsRecord(const KR::Array<signed char>& record) const
{
    using namespace ButtonModeRecord;
    const bool cycle = record[kMessageKind] != 0 &&
                       (record[kNumberOrType] == kCcCycle || record[kNumberOrType] == kProgramCycle);
    return !cycle || (record[kNoSecondValue] == 1 && record[kNoThirdValue] == 1);
}

KR::Array<signed char> LSustainPedalEditPanel::BuildBlock(const KR::Array<signed char>& record) const
{
    KR::Array<signed char> block;
    for (std::uint32_t i = 0; i < kLastValueByte; ++i)
    {
        block.AddItem(record[i]);
    }
    block.AddItem(record[ButtonModeRecord::kLastValue]);
    return block;
}
