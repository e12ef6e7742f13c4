#include "editor/picture/PedalGroupPanel.h"

#include "editor/picture/EditPanelSwitch.h"
#include "kr/controls/Button.h"

namespace
{

constexpr char kOperation[] = "LPedalGroupPanel::Initialize";
constexpr char kPedalGroupSource[] = "UI\\QuillanCommon\\PedalGroupPanel";

KR::RCPtr<KR::LButton> ButtonOf(const KR::RCPtr<KR::LControl>& pedal)
{
    return pedal ? KR::RCPtr<KR::LButton>(pedal->FindChildControl(KR::String(u"button")))
                 : KR::RCPtr<KR::LButton>();
}

} // namespace

KR::Result LPedalGroupPanel::Initialize()
{
    const KR::Result result = InitializePanel();
    if (KR::Failed(result))
    {
        return result;
    }
    // Without the device view there would be no edit panel to open: refused as a missing
    // edit panel.
    const KR::RCPtr<KR::LControl> root = GetRootControl();
    const KR::RCPtr<KR::LControl> view =
        root ? root->FindChildControl(KR::String(u"viewDevice")) : KR::RCPtr<KR::LControl>();
    if (view)
    {
        mVolumeEditPanel =
            KR::RCPtr<LVolumePedalEditPanel>(view->FindChildControl(KR::String(u"volumePedalEditPanel")));
    }
    if (!mVolumeEditPanel)
    {
        PicturePanelDetail::ThrowMissingChild("volumeEditPanel not found", kOperation, kPedalGroupSource, 34);
    }
    mSustainEditPanel =
        KR::RCPtr<LSustainPedalEditPanel>(view->FindChildControl(KR::String(u"sustainEditPage")));
    if (!mSustainEditPanel)
    {
        PicturePanelDetail::ThrowMissingChild("sustainEditPanel not found", kOperation, kPedalGroupSource,
                                              36);
    }
    PicturePanelDetail::ThrowIfFailed(Listen(&LPedalGroupPanel::OnEditPanelVisibilityChange,
                                             KR::RCPtr<KR::LControl>(mVolumeEditPanel),
                                             u"NID_VISIBLITY_CONDITION_CHANGE"),
                                      kOperation, kPedalGroupSource, 38);
    PicturePanelDetail::ThrowIfFailed(Listen(&LPedalGroupPanel::OnEditPanelVisibilityChange,
                                             KR::RCPtr<KR::LControl>(mSustainEditPanel),
                                             u"NID_VISIBLITY_CONDITION_CHANGE"),
                                      kOperation, kPedalGroupSource, 39);
    mSustainPedal = KR::RCPtr<LSustainPedalPanel>(FindChildControl(KR::String(u"sustainPedal")));
    mVolumePedal = KR::RCPtr<LVolumePedalPanel>(FindChildControl(KR::String(u"volumePedal")));
    // The model would number and fill pedals that are not there.
    if (!mSustainPedal)
    {
        PicturePanelDetail::ThrowMissingChild("sustainPedal not found", kOperation, kPedalGroupSource, 41);
    }
    if (!mVolumePedal)
    {
        PicturePanelDetail::ThrowMissingChild("volumePedal not found", kOperation, kPedalGroupSource, 42);
    }
    PicturePanelDetail::ThrowIfFailed(
        Listen(&LPedalGroupPanel::OnPedalClicked, ButtonOf(mVolumePedal), u"NID_LEFT_CLICK"), kOperation,
        kPedalGroupSource, 44);
    PicturePanelDetail::ThrowIfFailed(
        Listen(&LPedalGroupPanel::OnPedalClicked, ButtonOf(mSustainPedal), u"NID_LEFT_CLICK"), kOperation,
        kPedalGroupSource, 45);
    return result;
}

KR::Result LPedalGroupPanel::ReleaseInternalReferences()
{
    mVolumePedal = nullptr;
    mSustainPedal = nullptr;
    mVolumeEditPanel = nullptr;
    mSustainEditPanel = nullptr;
    return LPicturePanel::ReleaseInternalReferences();
}

KR::RCPtr<IVolumePedal> LPedalGroupPanel::GetVolumePedal()
{
    if (mVolumeEditPanel && mVolumeEditPanel->IsShown(false))
    {
        return mVolumeEditPanel;
    }
    return mVolumePedal;
}

KR::RCPtr<ISustainPedal> LPedalGroupPanel::GetSustainPedal()
{
    if (mSustainEditPanel && mSustainEditPanel->IsShown(false))
    {
        return mSustainEditPanel;
    }
    return mSustainPedal;
}

std::int32_t LPedalGroupPanel::SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value)
{
    if (mSustainEditPanel && mSustainPedal && descriptor.id == mSustainEditPanel->GetFirstParamID())
    {
        mSustainPedal->SetParamValueLocal(descriptor, value, false);
        return KR::kOk;
    }
    if (mVolumeEditPanel && mVolumePedal && descriptor.id == mVolumeEditPanel->GetFirstParamID())
    {
        mVolumePedal->SetParamValueLocal(descriptor, value, false);
        return KR::kOk;
    }
    return KR::kFail;
}

KR::Result LPedalGroupPanel::OnPedalClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                            const KR::RCPtr<KR::LNotification>&)
{
    const KR::RCPtr<KR::LButton> sustain = ButtonOf(mSustainPedal);
    const KR::RCPtr<KR::LButton> volume = ButtonOf(mVolumePedal);
    const auto is = [&sender](const KR::RCPtr<KR::LButton>& button)
    { return button && static_cast<KR::LNotificationDistributor*>(button.Get()) == sender.Get(); };
    if (is(sustain))
    {
        Mark(mSustainPedal, true);
        Mark(mVolumePedal, false);
        if (IEditPanelSwitch* const view = FindEditPanelSwitch(*this))
        {
            view->ShowEditPanel(kEditPanelPedals, 1);
            mSustainEditPanel->SetFirstParamID(this, mSustainPedal->GetFirstParamID(),
                                               mSustainPedal->GetIndex());
        }
    }
    else if (is(volume))
    {
        Mark(mVolumePedal, true);
        Mark(mSustainPedal, false);
        if (IEditPanelSwitch* const view = FindEditPanelSwitch(*this))
        {
            view->ShowEditPanel(kEditPanelPedals, 0);
            mVolumeEditPanel->SetFirstParamID(this, mVolumePedal->GetFirstParamID(),
                                              mVolumePedal->GetIndex());
        }
    }
    return 1;
}

KR::Result LPedalGroupPanel::OnEditPanelVisibilityChange(const KR::RCPtr<KR::LNotificationDistributor>&,
                                                         const KR::RCPtr<KR::LNotification>&)
{
    Mark(mVolumePedal, mVolumeEditPanel && mVolumeEditPanel->IsShown(false));
    Mark(mSustainPedal, mSustainEditPanel && mSustainEditPanel->IsShown(false));
    return 1;
}

void LPedalGroupPanel::Mark(const KR::RCPtr<KR::LControl>& pedal, bool edited) const
{
    if (const KR::RCPtr<KR::LButton> button = ButtonOf(pedal))
    {
        button->SetValue(edited ? 1.0 : 0.0);
    }
}
