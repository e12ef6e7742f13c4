#pragma once
// One axis of the touch pad on the picture: the read-out of the message its 15-byte block
// begins with (bytes 0..5); the note set after it is not shown on the picture. The axis'
// letter is the panel's own skin text, drawn by its button so that it follows the mark.

#include "device/ControlModules.h"
#include "editor/picture/ContinuousControlViewPanel.h"

class LXYPadDirectionPanel : public LContinuousControlViewPanel<LXYPadDirectionPanel, ITouchPadAxis>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.XYPadView.Axis";
    static constexpr std::uint32_t kAxisBlockSize = 15;

    using LContinuousControlViewPanel::LContinuousControlViewPanel;

    KR::Result Initialize() override;

protected:
    const ViewPanelErrorSite& GetErrorSite() const override;
    std::uint32_t GetBlockSize() const override { return kAxisBlockSize; }
    KR::Array<signed char> ToMoveableBlock(const KR::Array<signed char>& block) const override;
};
