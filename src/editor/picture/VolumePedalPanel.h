#pragma once
// The volume pedal on the picture: the read-out of its message block, without a number.

#include "device/ControlModules.h"
#include "editor/picture/ContinuousControlViewPanel.h"

class LVolumePedalPanel : public LContinuousControlViewPanel<LVolumePedalPanel, IVolumePedal>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.Pedals.VolumePedal";

    using LContinuousControlViewPanel::LContinuousControlViewPanel;

protected:
    const ViewPanelErrorSite& GetErrorSite() const override;
};
