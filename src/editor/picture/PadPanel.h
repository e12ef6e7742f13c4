#pragma once
// A pad on the picture: "P1".."P16", the read-out of its mode record and the preview of one
// of its colours. Its block is 14 bytes.

#include "device/ControlModules.h"
#include "editor/picture/ColorPreviewPanel.h"

class LPadPanel : public LColorPreviewPanel<LPadPanel, IPad>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.PadView.Pad";
    static constexpr std::uint32_t kBlockSize = 14;

    using LColorPreviewPanel::LColorPreviewPanel;

protected:
    const ColorPreviewSite& GetSite() const override;
};
