#pragma once
// The two pedals of the picture as the model's pedal group. Unlike the other groups its two
// members have edit panels of their own; the panel that is on screen decides, at every
// call, which member the group hands out in its pedal's place, and which pedal is marked.

#include "device/ControlGroups.h"
#include "editor/edit/SustainEditPanel.h"
#include "editor/edit/VolumePedalEditPanel.h"
#include "editor/picture/PicturePanel.h"
#include "editor/picture/SustainPedalPanel.h"
#include "editor/picture/VolumePedalPanel.h"

class LPedalGroupPanel : public LPicturePanel<LPedalGroupPanel, IPedals>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.Pedals";

    using LPicturePanel::LPicturePanel;

    // Throws when a pedal, either edit panel or the device view is missing: the group
    // would have nothing to open or to show.
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    KR::RCPtr<IVolumePedal> GetVolumePedal() override;
    KR::RCPtr<ISustainPedal> GetSustainPedal() override;

    // A value an edit panel shows goes to its pedal's view panel: 0, or 0x80004005 for an id
    // neither edit panel carries. Nothing goes further up.
    std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override;

    const KR::RCPtr<LVolumePedalPanel>& GetVolumePedalPanel() const { return mVolumePedal; }
    const KR::RCPtr<LSustainPedalPanel>& GetSustainPedalPanel() const { return mSustainPedal; }

private:
    KR::Result OnPedalClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                              const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnEditPanelVisibilityChange(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                           const KR::RCPtr<KR::LNotification>& notification);
    void Mark(const KR::RCPtr<KR::LControl>& pedal, bool edited) const;

    KR::RCPtr<LVolumePedalPanel> mVolumePedal;
    KR::RCPtr<LSustainPedalPanel> mSustainPedal;
    KR::RCPtr<LVolumePedalEditPanel> mVolumeEditPanel;
    KR::RCPtr<LSustainPedalEditPanel> mSustainEditPanel;
};
