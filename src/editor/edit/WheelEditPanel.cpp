#include "editor/edit/WheelEditPanel.h"

namespace
{

constexpr char kWheelSource[] = "UI\\QuillanCommon\\WheelEditPanel";
constexpr std::int32_t kPitchWheel = 0;
constexpr std::int32_t kModulationWheel = 1;
// Wheel byte i is editor byte kEditorByte[i]; editor byte 3 (relative) has no wheel byte.
constexpr std::uint32_t kEditorByte[LWheelEditPanel::kWheelBlockSize] = {0, 1, 2, 4, 5};

} // namespace

const EditPanelErrorSite& LWheelEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LWheelEditPanel::Initialize", kWheelSource, 30, 31};
    return site;
}

const NameLabelSite* LWheelEditPanel::GetNameLabelSite() const
{
    static const NameLabelSite site{u"wheelName", "couldn't find child wheelName", 34};
    return &site;
}

void LWheelEditPanel::ShowControlName(std::int32_t index)
{
    const KR::RCPtr<KR::LLabel>& name = GetNameLabel();
    if (!name)
    {
        return;
    }
    if (index == kPitchWheel)
    {
        name->SetText(name->GetLocalizedString(KR::String(u"PITCH_LABEL")));
    }
    else if (index == kModulationWheel)
    {
        name->SetText(name->GetLocalizedString(KR::String(u"MOD_LABEL")));
    }
}

KR::Array<signed char> LWheelEditPanel::ToEditorBlock(const KR::Array<signed char>& block) const
{
    KR::Array<signed char> editor;
    editor.SetCount(LMoveableControlEditPanel::kBlockSize);
    for (std::uint32_t i = 0; i < editor.GetCount(); ++i)
    {
        editor[i] = 0;
    }
    for (std::uint32_t i = 0; i < kWheelBlockSize && i < block.GetCount(); ++i)
    {
        editor[kEditorByte[i]] = block[i];
    }
    return editor;
}

KR::Array<signed char> LWheelEditPanel::FromEditorBlock(const KR::Array<signed char>& block) const
{
    KR::Array<signed char> wheel;
    for (std::uint32_t i = 0; i < kWheelBlockSize; ++i)
    {
        wheel.AddItem(kEditorByte[i] < block.GetCount() ? block[kEditorByte[i]]
                                                        : static_cast<signed char>(0));
    }
    return wheel;
}
