#pragma once
// The wheels' edit panel ("P. WHEEL" for index 0, "M. WHEEL" for 1). A wheel's block is
// five bytes: the editor's six without the relative flag (byte 3), which a wheel cannot
// send; its skin hides the relative page.

#include "device/ControlModules.h"
#include "editor/edit/ContinuousControlEditPanel.h"

class LWheelEditPanel : public LContinuousControlEditPanel<IWheel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.TabControl.PageHolder.WheelsPage.Wheel";
    static constexpr std::uint32_t kWheelBlockSize = 5;

    LWheelEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LContinuousControlEditPanel(parent, name)
    {
    }

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
    std::uint32_t GetBlockSize() const override { return kWheelBlockSize; }
    KR::Array<signed char> ToEditorBlock(const KR::Array<signed char>& block) const override;
    KR::Array<signed char> FromEditorBlock(const KR::Array<signed char>& block) const override;
    const NameLabelSite* GetNameLabelSite() const override;
    void ShowControlName(std::int32_t index) override;
};
