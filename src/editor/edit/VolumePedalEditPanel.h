#pragma once
// The volume pedal's edit panel: the block editor under the skin's fixed "VOLUME" title.

#include "device/ControlModules.h"
#include "editor/edit/ContinuousControlEditPanel.h"

class LVolumePedalEditPanel : public LContinuousControlEditPanel<IVolumePedal>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.VolumeEditPanel";

    LVolumePedalEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LContinuousControlEditPanel(parent, name)
    {
    }

protected:
    const EditPanelErrorSite& GetErrorSite() const override;
};
