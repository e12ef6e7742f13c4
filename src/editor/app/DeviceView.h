#pragma once
// The keyboard picture's view ("viewDevice"): it keeps the picture's groups, the edit
// panels and the bank buttons it finds by name, switches the fader, button and encoder
// banks, shows the edit panel of the kind of control the user clicked, and is the user
// interface's device: its group getters hand the group panels to the module tree, so the
// main control's first id numbers every panel with the model's ids.
//
// The menu commands and the preset files (the handlers, the menu item states and the
// file dialogs) live in DeviceViewCommands.cpp beside this file.
//
//     auto view = KR::RCPtr<LDeviceView>(main->FindChildControl(u"viewDevice"));
//     view->ShowEditPanel(kEditPanelPedals, 1); // the sustain pedal's panel only

#include "device/Device.h"
#include "editor/app/StatusView.h"
#include "editor/picture/EditPanelSwitch.h"
#include "engine/PresetManager.h"
#include "kr/controls/Button.h"
#include "kr/controls/FileDialog.h"
#include "kr/core/RCPtrArray.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"
#include "kr/ui/Panel.h"

#include <array>
#include <cstdint>

class LDeviceView : public KR::LControl, public IDevice, public IEditPanelSwitch
{
public:
    static constexpr std::int32_t kBankCount = 4;

    LDeviceView(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);
    ~LDeviceView() override;

    // ---- control ------------------------------------------------------------------------
    KR::Result Initialize() override;
    // Registers the menu commands with the window and the hot keys with the application,
    // then the base's handlers (DeviceViewCommands.cpp).
    void RegisterIdleHandlers() override;
    // Whether the send, retrieve and global-settings items are enabled (DeviceViewCommands.cpp).
    KR::Result UpdateMenuItem(std::int32_t index, const KR::String& notificationName,
                              KR::MenuItemInfo& state) override;
    // The view's own handlers first, then the control's, once its creator has finished.
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;
    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override;

    // ---- the view's own operations, in their order ---------------------------------------
    virtual KR::RCPtr<LStatusView> GetStatusView();
    virtual bool IsAvailable() { return true; }
    // The preset files (DeviceViewCommands.cpp).
    virtual KR::String GetPresetFileExtension();
    virtual KR::String GetPresetFileFilter(bool forLoading);
    virtual KR::String GetDefaultPresetFileName();
    virtual KR::Result LoadPreset();
    virtual KR::Result SavePreset();
    virtual KR::Result ShowSavePresetDialog(KR::String& path);
    virtual KR::Result ShowLoadPresetDialog(KR::String& path);

    // "NID_LEFT_CLICK" of a bank button: that bank in all three groups, its button alone
    // at 1.0. A click from anything else changes nothing. 1.
    KR::Result OnBankButtonClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                   const KR::RCPtr<KR::LNotification>& notification);

    // Kinds as kEditPanel...; the preset name panel is never touched. 0.
    KR::Result ShowEditPanel(std::int32_t kind, std::int32_t which) override;

    // ---- device -------------------------------------------------------------------------
    // Each group panel as its group interface; null while that child is not (yet) one.
    KR::RCPtr<IPresetName> GetPresetName() override;
    KR::RCPtr<IKeybedZones> GetKeybedZones() override;
    KR::RCPtr<IWheels> GetWheels() override;
    KR::RCPtr<IPedals> GetPedals() override;
    KR::RCPtr<IPads> GetPads() override;
    KR::RCPtr<IPushButtons> GetPushButtons() override;
    KR::RCPtr<IFaders> GetFaders() override;
    KR::RCPtr<IEncoders> GetEncoders() override;
    KR::RCPtr<ITouchPadAxises> GetTouchPadAxises() override;

    // ---- menu commands (DeviceViewCommands.cpp); each ignores its arguments, 1 ----------
    KR::Result OnMenuLoadPresetFromDevice(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                          const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuSendPresetToDevice(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                        const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuLoadPresetFromFile(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                        const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuSavePresetToFile(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                      const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuExit(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                          const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuAbout(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                           const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuOpenUserGuide(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                   const KR::RCPtr<KR::LNotification>& notification);
    KR::Result OnMenuGlobalSettings(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                    const KR::RCPtr<KR::LNotification>& notification);

    // ---- what Initialize found --------------------------------------------------------------
    const KR::RCPtr<KR::LNotificationHandler<LDeviceView>>& GetNotificationHandler() const
    {
        return mNotificationHandler;
    }
    const KR::RCPtr<KR::LPresetManager>& GetPresetManager() const { return mPresetManager; }
    const KR::RCPtr<KR::LFileDialog>& GetFileDialog() const { return mFileDialog; }
    // Bank button 1..4; null outside.
    KR::RCPtr<KR::LButton> GetBankButton(std::int32_t bank) const;

private:
    // The group panel `group` as the interface I, or null.
    template <typename I>
    static KR::RCPtr<I> AsGroup(const KR::RCPtr<KR::LPanel>& group)
    {
        return KR::RCPtr<I>(dynamic_cast<I*>(group.Get()));
    }
    // The direct child `name` as a panel; throws the missing child's error with `line`.
    KR::RCPtr<KR::LPanel> FindPanelOrThrow(const char16_t* name, int line) const;
    // In `group`, shows "<prefix>N" and hides the other banks; banks it lacks are skipped.
    void ShowBank(const char16_t* group, const char16_t* prefix, std::int32_t bank) const;

    KR::RCPtr<KR::LNotificationHandler<LDeviceView>> mNotificationHandler;
    KR::RCPtr<LStatusView> mStatusView;
    KR::RCPtr<KR::LPanel> mPadEditPanel;
    KR::RCPtr<KR::LPanel> mEncoderEditPanel;
    KR::RCPtr<KR::LPanel> mFaderEditPanel;
    KR::RCPtr<KR::LPanel> mVolumePedalEditPanel;
    KR::RCPtr<KR::LPanel> mWheelEditPanel;
    KR::RCPtr<KR::LPanel> mTouchPadEditPanel;
    KR::RCPtr<KR::LPanel> mSustainPedalEditPanel;
    KR::RCPtr<KR::LPanel> mKeybedZoneEditPanel;
    KR::RCPtr<KR::LPanel> mPushButtonEditPanel;
    KR::RCPtrArray<KR::LControl> mEditPanels;
    KR::RCPtr<KR::LPanel> mPadGroup;
    KR::RCPtr<KR::LPanel> mFaderGroup;
    KR::RCPtr<KR::LPanel> mEncoderGroup;
    KR::RCPtr<KR::LPanel> mWheelGroup;
    KR::RCPtr<KR::LPanel> mPedalGroup;
    KR::RCPtr<KR::LPanel> mKeybedZoneGroup;
    KR::RCPtr<KR::LPanel> mPushButtonGroup;
    KR::RCPtr<KR::LPanel> mTouchPadGroup;
    std::array<KR::RCPtr<KR::LButton>, kBankCount> mBankButtons;
    KR::RCPtr<KR::LPanel> mPresetNamePanel;
    KR::RCPtr<KR::LPresetManager> mPresetManager;
    KR::RCPtr<KR::LFileDialog> mFileDialog;
};
