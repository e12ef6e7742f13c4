#pragma once
// A wheel on the picture. Its block is five bytes: the message block without the relative
// flag, which a wheel cannot send; the read-out is shown the flag as 0.

#include "device/ControlModules.h"
#include "editor/picture/ContinuousControlViewPanel.h"

class LWheelPanel : public LContinuousControlViewPanel<LWheelPanel, IWheel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.WheelView.Wheel";
    static constexpr std::uint32_t kWheelBlockSize = 5;

    using LContinuousControlViewPanel::LContinuousControlViewPanel;

protected:
    const ViewPanelErrorSite& GetErrorSite() const override;
    std::uint32_t GetBlockSize() const override { return kWheelBlockSize; }
    KR::Array<signed char> ToMoveableBlock(const KR::Array<signed char>& block) const override;
};
