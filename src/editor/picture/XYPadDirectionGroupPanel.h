#pragma once
// The touch pad's two axes on the picture as the model's axis group; a click opens the
// touch-pad edit panel on that axis.

#include "device/ControlGroups.h"
#include "editor/edit/XYPadEditPanel.h"
#include "editor/picture/GroupPanel.h"
#include "editor/picture/XYPadDirectionPanel.h"

class LXYPadDirectionGroupPanel : public LGroupPanel<LXYPadDirectionGroupPanel, ITouchPadAxises,
                                                     ITouchPadAxis, LXYPadDirectionPanel, LXYPadEditPanel>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.XYPadView";

    using LGroupPanel::LGroupPanel;

    KR::RCPtr<ITouchPadAxis> GetTouchPadAxis(std::int32_t index) override { return GetMember(index); }

protected:
    const GroupPanelSite& GetSite() const override;
    void FindViewPanels() override;
};
