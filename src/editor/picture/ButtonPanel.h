#pragma once
// A push button on the picture: "B1".."B9" (its place in its bank of nine), the read-out of
// its mode record and the preview of one of its colours. Its block is 17 bytes.

#include "device/ControlModules.h"
#include "editor/picture/ColorPreviewPanel.h"

class LButtonPanel : public LColorPreviewPanel<LButtonPanel, IPushButton>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.ButtonView.Button";
    static constexpr std::uint32_t kBlockSize = 17;

    using LColorPreviewPanel::LColorPreviewPanel;

protected:
    const ColorPreviewSite& GetSite() const override;
};
