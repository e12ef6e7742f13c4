#pragma once
// An encoder on the picture: "E1".."E8" (its place in its bank of eight) over the read-out
// of its message block.

#include "device/ControlModules.h"
#include "editor/picture/ContinuousControlViewPanel.h"

class LEncoderPanel : public LContinuousControlViewPanel<LEncoderPanel, IEncoder>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.EncoderView.Encoder";

    using LContinuousControlViewPanel::LContinuousControlViewPanel;

    // Also numbers the label, once; throws when the skin gave the panel no label.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::int32_t index) override;

protected:
    const ViewPanelErrorSite& GetErrorSite() const override;
};
