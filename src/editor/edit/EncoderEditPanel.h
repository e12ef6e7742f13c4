#pragma once
// The encoder's edit panel: "ENCODER n" and "BANK b" over the block editor. Encoders are
// numbered in banks of eight (index 10 is encoder 3 of bank 2).

#include "device/ControlModules.h"
#include "editor/edit/ContinuousControlEditPanel.h"

class LEncoderEditPanel : public LContinuousControlEditPanel<IEncoder>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.KnobEditPanel";

    LEncoderEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LContinuousControlEditPanel(parent, name)
    {
    }

    // Index 32 and above name no encoder and change nothing.
    virtual void SetEncoderLabelText(std::uint32_t index);

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
    void ShowControlName(std::int32_t index) override
    {
        SetEncoderLabelText(static_cast<std::uint32_t>(index));
    }
};
