#pragma once
// The fader's edit panel: "FADER n" and "BANK b" over the block editor. Faders are
// numbered in banks of nine (index 9 is fader 1 of bank 2).

#include "device/ControlModules.h"
#include "editor/edit/ContinuousControlEditPanel.h"

class LFaderEditPanel : public LContinuousControlEditPanel<IFader>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.FaderEditPanel";

    LFaderEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LContinuousControlEditPanel(parent, name)
    {
    }

    // Index 36 and above name no fader and change nothing.
    virtual void SetFaderLabelText(std::uint32_t index);

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
    const NameLabelSite* GetNameLabelSite() const override;
    void ShowControlName(std::int32_t index) override
    {
        SetFaderLabelText(static_cast<std::uint32_t>(index));
    }
};
