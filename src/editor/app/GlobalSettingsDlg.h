#pragma once
// The dialog in which the user reads and writes the keyboard's 13 global settings (global
// channel, Mackie Control / HUI, key and pad octave, transpose and curve, encoder curve, XY
// pad curve, global program and bank). The editor keeps no copy of them: "Get Settings"
// asks the keyboard for each one, the answers arrive later as
// "NID_MIDIMANAGER_PARAMETER_RECIEVED" and are shown in their controls; "Send Settings"
// writes each control's value back. Each transfer blocks the UI thread; the first failure
// shows one message box and ends the transfer.
//
// A setting's device value and its control's value differ by a fixed offset: the channel
// list's index is the channel - 1, the octave up/downs show value - 5, the transposes
// value - 12; the other lists and numbers show the device value as it is.
//
//     factory->CreateControlByName(u"globalEditorControl", nullptr) ... DoModal();

#include "engine/MidiManager.h"
#include "kr/controls/Button.h"
#include "kr/controls/ComboBox.h"
#include "kr/controls/NumericUpDown.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <optional>

class LGlobalSettingsDlg : public KR::LDialog
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.GlobalEditorControl";
    // The key octave's up/down reaches one step further each way than the keyboard takes.
    static constexpr double kLowestKeyOctave = -3.0;
    static constexpr double kHighestKeyOctave = 4.0;

    using KR::LDialog::LDialog;

    // Binds the 13 controls, both buttons and the application's MIDI manager; a missing
    // one throws.
    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;
    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override;
    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override;
    // Once closed, the dialog no longer listens to the MIDI manager, which would otherwise
    // keep it alive for the rest of the program.
    void OnClosed() override;

    // A setting's value from the keyboard into its control; false for a name without one.
    bool ShowDeviceValue(const KR::String& name, std::int32_t value);
    // A control's value as the keyboard takes it; none for a name without a control.
    std::optional<std::int32_t> GetDeviceValue(const KR::String& name) const;

    virtual KR::Result OnParameterReceived(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                           const KR::RCPtr<KR::LNotification>& notification);
    virtual KR::Result OnSendSettingsClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                             const KR::RCPtr<KR::LNotification>& notification);
    virtual KR::Result OnGetSettingsClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                            const KR::RCPtr<KR::LNotification>& notification);
    virtual KR::Result OnKeyOctaveChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                          const KR::RCPtr<KR::LNotification>& notification);

private:
    struct Setting;
    static const Setting kSettings[];
    static const Setting* FindSetting(const KR::String& name);
    // The three touch-pad names of the manager's list have no control here.
    static bool IsTouchPadSetting(const KR::String& name);
    // When the keyboard's firmware cannot be used, says so and answers false.
    enum class TransferOutcome
    {
        kDone,
        kFirmwareNotUsable,
        kFailed,
    };
    // The firmware check, then `one` for each setting but the touch pad's until one fails,
    // off the user interface's thread; then the box that says why it stopped, if it did.
    void Transfer(const std::function<bool(std::uint32_t index)>& one);
    void ShowOutcome(TransferOutcome outcome);

    KR::RCPtr<KR::LNotificationHandler<LGlobalSettingsDlg>> mHandler;
    KR::RCPtr<KR::LComboBox> mControlCurve;
    KR::RCPtr<KR::LNumericUpDown> mKeyOctave;
    KR::RCPtr<KR::LComboBox> mKeySensitivity;
    KR::RCPtr<KR::LNumericUpDown> mKeyTranspose;
    KR::RCPtr<KR::LNumericUpDown> mLsb;
    KR::RCPtr<KR::LNumericUpDown> mMsb;
    KR::RCPtr<KR::LComboBox> mMackieHUIToggle;
    KR::RCPtr<KR::LComboBox> mMidiChannel;
    KR::RCPtr<KR::LNumericUpDown> mPadOctave;
    KR::RCPtr<KR::LComboBox> mPadSensitivity;
    KR::RCPtr<KR::LNumericUpDown> mPadTranspose;
    KR::RCPtr<KR::LNumericUpDown> mProgram;
    KR::RCPtr<KR::LComboBox> mXyPadSensitivity;
    KR::RCPtr<KR::LButton> mGetSettingsButton;
    KR::RCPtr<KR::LButton> mSendSettingsButton;
    KR::RCPtr<KR::LMidiManager> mMidiManager;
};
