#pragma once
// A fader on the picture: "F1".."F9" (its place in its bank of nine) over the read-out
// of its message block.

#include "device/ControlModules.h"
#include "editor/picture/ContinuousControlViewPanel.h"

class LFaderPanel : public LContinuousControlViewPanel<LFaderPanel, IFader>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.FaderView.Fader";

    using LContinuousControlViewPanel::LContinuousControlViewPanel;

    // Also numbers the label, once; throws when the skin gave the panel no label.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::int32_t index) override;

protected:
    const ViewPanelErrorSite& GetErrorSite() const override;
};
