#include "editor/app/DeviceView.h"

#include "editor/app/MainControl.h"
#include "editor/edit/RootModuleEngineAccess.h"
#include "kr/controls/MainMenu.h"
#include "kr/controls/OwnHandlers.h"
#include "kr/core/Exception.h"

#include <string>

namespace
{

using KR::RCPtr;
using KR::String;

constexpr const char* kOperation = "LDeviceView::Initialize";
constexpr const char* kSource = "UI\\DeviceView";
constexpr int kOutOfMemoryLine = 78;
constexpr KR::Result kOutOfMemory = static_cast<KR::Result>(0x8007000Eu);
constexpr int kFirstBankRegistrationLine = 142;

std::string Site(int line)
{
    return std::string(" : ") + kOperation + " : " + kSource + " : Line " + std::to_string(line);
}

} // namespace

LDeviceView::LDeviceView(const RCPtr<KR::LControl>& parent, const String& name) : KR::LControl(parent, name)
{
}

LDeviceView::~LDeviceView() = default;

RCPtr<KR::LPanel> LDeviceView::FindPanelOrThrow(const char16_t* name, int line) const
{
    RCPtr<KR::LPanel> panel(dynamic_cast<KR::LPanel*>(FindChildControl(String(name)).Get()));
    if (!panel)
    {
        const std::string detail = std::string("Cannot find child: ") + String(name).ToUtf8().GetPtr();
        KR::Throw<std::runtime_error>(
            KR::ErrorText<std::runtime_error>({"Null Pointer", detail}, kOperation, kSource, line));
    }
    return panel;
}

KR::Result LDeviceView::Initialize()
{
    const KR::Result result = KR::LControl::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    mNotificationHandler = KR::LNotificationHandler<LDeviceView>::Create(this);
    if (!mNotificationHandler)
    {
        KR::ThrowFailedResult(kOutOfMemory, Site(kOutOfMemoryLine));
    }
    mFileDialog = RCPtr<KR::LFileDialog>(new KR::LFileDialog(String(u".")));

    mPadEditPanel = FindPanelOrThrow(u"padEditPanel", 84);
    mEncoderEditPanel = FindPanelOrThrow(u"knobEditPanel", 87);
    mFaderEditPanel = FindPanelOrThrow(u"faderEditPanel", 90);
    mVolumePedalEditPanel = FindPanelOrThrow(u"volumePedalEditPanel", 93);
    mWheelEditPanel = FindPanelOrThrow(u"wheelEditPanel", 96);
    mTouchPadEditPanel = FindPanelOrThrow(u"xyPadEditPanel", 99);
    mSustainPedalEditPanel = FindPanelOrThrow(u"sustainEditPage", 102);
    mKeybedZoneEditPanel = FindPanelOrThrow(u"zoneEditPanel", 105);
    mPushButtonEditPanel = FindPanelOrThrow(u"buttonEditPanel", 108);
    mPadGroup = FindPanelOrThrow(u"pads", 111);
    mEncoderGroup = FindPanelOrThrow(u"encoders", 114);
    mFaderGroup = FindPanelOrThrow(u"faders", 117);
    mWheelGroup = FindPanelOrThrow(u"wheels", 120);
    mPedalGroup = FindPanelOrThrow(u"pedals", 123);
    mKeybedZoneGroup = FindPanelOrThrow(u"keybedZones", 126);
    mPushButtonGroup = FindPanelOrThrow(u"buttons", 129);
    mTouchPadGroup = FindPanelOrThrow(u"xyPad", 132);
    mPresetNamePanel = FindPanelOrThrow(u"presetNameEditPanel", 135);

    // Without the holder the buttons are as missing as when it lacks them: their
    // registrations below are refused (line 142 for the first).
    const RCPtr<KR::LControl>& holder = FindChildControl(String(u"groupBankPanel"));
    static constexpr const char16_t* kBankNames[kBankCount] = {u"bank1", u"bank2", u"bank3", u"bank4"};
    for (std::int32_t bank = 0; bank < kBankCount; ++bank)
    {
        mBankButtons[bank] = holder ? RCPtr<KR::LButton>(dynamic_cast<KR::LButton*>(
                                          holder->FindChildControl(String(kBankNames[bank])).Get()))
                                    : RCPtr<KR::LButton>();
    }
    for (std::int32_t bank = 0; bank < kBankCount; ++bank)
    {
        const KR::Result registered = mNotificationHandler->Register(
            &LDeviceView::OnBankButtonClicked, RCPtr<KR::LNotificationDistributor>(mBankButtons[bank]),
            u"NID_LEFT_CLICK", 0);
        KR::ThrowIfFailed(registered, Site(kFirstBankRegistrationLine + bank));
    }
    mBankButtons[0]->SetValue(1.0);

    for (const RCPtr<KR::LPanel>* panel :
         {&mPadEditPanel, &mEncoderEditPanel, &mFaderEditPanel, &mVolumePedalEditPanel, &mWheelEditPanel,
          &mTouchPadEditPanel, &mSustainPedalEditPanel, &mKeybedZoneEditPanel})
    {
        mEditPanels.AddItem(RCPtr<KR::LControl>(*panel));
    }
    for (std::uint32_t i = 0; i < mEditPanels.GetCount(); ++i)
    {
        mEditPanels[i]->SetVisible(false);
    }

    // The menu asks this view which of its items are enabled.
    const RCPtr<KR::LControl>& parent = KR::LControl::GetParent();
    if (dynamic_cast<KR::LMainControl*>(parent.Get()) != nullptr)
    {
        if (auto* menu = dynamic_cast<KR::LMainMenu*>(parent->FindChildControl(String(u"mainMenu")).Get()))
        {
            menu->SetMenuItemUpdater(GetMenuItemUpdater());
        }
    }
    mStatusView = RCPtr<LStatusView>(new LStatusView);
    mPresetManager = KR::LPresetManager::Create(GetRootModuleEngine());
    return result;
}

KR::Result LDeviceView::Receive(const RCPtr<KR::LNotificationDistributor>& sender,
                                const RCPtr<KR::LNotification>& notification)
{
    if (const KR::Result handled = KR::OfferToOwnHandlers(mNotificationHandler, *this, sender, notification);
        handled != 0)
    {
        return handled;
    }
    return KR::LControl::Receive(sender, notification);
}

KR::Result LDeviceView::UnregisterForNotification(const RCPtr<KR::LNotificationDistributor>& sender,
                                                  KR::NotificationName name)
{
    if (mNotificationHandler)
    {
        mNotificationHandler->Unregister(sender, name);
    }
    return KR::LControl::UnregisterForNotification(sender, name);
}

RCPtr<LStatusView> LDeviceView::GetStatusView()
{
    return mStatusView;
}

RCPtr<KR::LButton> LDeviceView::GetBankButton(std::int32_t bank) const
{
    return bank >= 1 && bank <= kBankCount ? mBankButtons[bank - 1] : RCPtr<KR::LButton>();
}

void LDeviceView::ShowBank(const char16_t* group, const char16_t* prefix, std::int32_t bank) const
{
    const RCPtr<KR::LControl>& holder = FindChildControl(String(group));
    if (!holder)
    {
        return;
    }
    for (std::int32_t n = 1; n <= kBankCount; ++n)
    {
        String name(prefix);
        name += String(std::to_string(n).c_str());
        // A group that lacks a bank still switches the ones it has.
        if (const RCPtr<KR::LControl>& child = holder->FindChildControl(name))
        {
            child->SetVisible(n == bank);
        }
    }
}

KR::Result LDeviceView::OnBankButtonClicked(const RCPtr<KR::LNotificationDistributor>& sender,
                                            const RCPtr<KR::LNotification>& /*notification*/)
{
    std::int32_t bank = 0;
    for (std::int32_t n = 1; n <= kBankCount && bank == 0; ++n)
    {
        const RCPtr<KR::LButton>& button = mBankButtons[n - 1];
        if (button && static_cast<KR::LNotificationDistributor*>(button.Get()) == sender.Get())
        {
            bank = n;
        }
    }
    if (bank == 0)
    {
        return 1;
    }
    ShowBank(u"faders", u"faderBank", bank);
    ShowBank(u"buttons", u"buttonBank", bank);
    ShowBank(u"encoders", u"encoderBank", bank);
    for (std::int32_t n = 1; n <= kBankCount; ++n)
    {
        mBankButtons[n - 1]->SetValue(n == bank ? 1.0 : 0.0);
    }
    return 1;
}

KR::Result LDeviceView::ShowEditPanel(std::int32_t kind, std::int32_t which)
{
    const auto show = [](const RCPtr<KR::LPanel>& panel, bool visible)
    {
        if (panel)
        {
            panel->SetVisible(visible);
        }
    };
    show(mTouchPadEditPanel, kind == kEditPanelTouchPadAxes);
    show(mPadEditPanel, kind == kEditPanelPads);
    show(mPushButtonEditPanel, kind == kEditPanelPushButtons);
    show(mEncoderEditPanel, kind == kEditPanelEncoders);
    show(mFaderEditPanel, kind == kEditPanelFaders);
    show(mWheelEditPanel, kind == kEditPanelWheels);
    show(mKeybedZoneEditPanel, kind == kEditPanelKeybedZones);
    if (kind != kEditPanelPedals)
    {
        show(mVolumePedalEditPanel, false);
        show(mSustainPedalEditPanel, false);
    }
    else if (which == 0 || which == 1)
    {
        show(mVolumePedalEditPanel, which == 0);
        show(mSustainPedalEditPanel, which == 1);
    }
    return KR::kOk;
}

RCPtr<IPresetName> LDeviceView::GetPresetName()
{
    return AsGroup<IPresetName>(mPresetNamePanel);
}

RCPtr<IKeybedZones> LDeviceView::GetKeybedZones()
{
    return AsGroup<IKeybedZones>(mKeybedZoneGroup);
}

RCPtr<IWheels> LDeviceView::GetWheels()
{
    return AsGroup<IWheels>(mWheelGroup);
}

RCPtr<IPedals> LDeviceView::GetPedals()
{
    return AsGroup<IPedals>(mPedalGroup);
}

RCPtr<IPads> LDeviceView::GetPads()
{
    return AsGroup<IPads>(mPadGroup);
}

RCPtr<IPushButtons> LDeviceView::GetPushButtons()
{
    return AsGroup<IPushButtons>(mPushButtonGroup);
}

RCPtr<IFaders> LDeviceView::GetFaders()
{
    return AsGroup<IFaders>(mFaderGroup);
}

RCPtr<IEncoders> LDeviceView::GetEncoders()
{
    return AsGroup<IEncoders>(mEncoderGroup);
}

RCPtr<ITouchPadAxises> LDeviceView::GetTouchPadAxises()
{
    return AsGroup<ITouchPadAxises>(mTouchPadGroup);
}
