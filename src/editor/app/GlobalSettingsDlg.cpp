#include "editor/app/GlobalSettingsDlg.h"

#include "editor/app/AppString.h"
#include "editor/app/PresetTransferOutcome.h"
#include "engine/MidiParameterNotification.h"
#include "kr/controls/Label.h"
#include "kr/core/Exception.h"
#include "kr/ui/BusyIndicator.h"

#include <cmath>
#include <string>
#include <vector>

using KR::RCPtr;
using KR::Result;

namespace
{

constexpr char kInitialize[] = "LGlobalSettingsDlg::Initialize";
constexpr char kGlobalSettingsSource[] = "UI\\QuillanCommon\\GlobalSettingsDlg";

[[noreturn]] void ThrowMissing(const char* detail, int line)
{
    KR::Throw<std::runtime_error>(KR::ErrorText<std::runtime_error>({"Null Pointer", detail}, kInitialize,
                                                                    kGlobalSettingsSource, line));
}

void ThrowIfRefused(Result result, int line)
{
    KR::ThrowIfFailed(result, std::string(" : ") + kInitialize + " : " + kGlobalSettingsSource + " : Line " +
                                  std::to_string(line));
}

// The holder's inner child as T; a missing holder or inner child throws with the
// detail and line given for it (some details name another child than the missing one).
template <typename T>
RCPtr<T> Bind(const KR::LControl& dialog, const char16_t* holderName, const char16_t* innerName,
              const char* holderDetail, int holderLine, const char* innerDetail, int innerLine)
{
    const RCPtr<KR::LControl>& holder = dialog.FindChildControl(KR::String(holderName));
    if (!holder)
    {
        ThrowMissing(holderDetail, holderLine);
    }
    RCPtr<T> inner(holder->FindChildControl(KR::String(innerName)));
    if (!inner)
    {
        ThrowMissing(innerDetail, innerLine);
    }
    return inner;
}

} // namespace

// One setting: its global name, its control (a list or an up/down) and the offset from the
// control's value to the device value.
struct LGlobalSettingsDlg::Setting
{
    const char16_t* name;
    RCPtr<KR::LComboBox> LGlobalSettingsDlg::*list;
    RCPtr<KR::LNumericUpDown> LGlobalSettingsDlg::*box;
    std::int32_t offset;
};

const LGlobalSettingsDlg::Setting LGlobalSettingsDlg::kSettings[] = {
    {u"Global_Channel", &LGlobalSettingsDlg::mMidiChannel, nullptr, 1},
    {u"MACKIE_HUI_ENABLED", &LGlobalSettingsDlg::mMackieHUIToggle, nullptr, 0},
    {u"KEY_OCTAVE", nullptr, &LGlobalSettingsDlg::mKeyOctave, 5},
    {u"KEY_TRANSPOSE", nullptr, &LGlobalSettingsDlg::mKeyTranspose, 12},
    {u"KEY_SENSITIVITY", &LGlobalSettingsDlg::mKeySensitivity, nullptr, 0},
    {u"PAD_OCTAVE", nullptr, &LGlobalSettingsDlg::mPadOctave, 5},
    {u"PAD_TRANSPOSE", nullptr, &LGlobalSettingsDlg::mPadTranspose, 12},
    {u"PAD_SENSITIVITY", &LGlobalSettingsDlg::mPadSensitivity, nullptr, 0},
    {u"CURVE_ACCELLERATION", &LGlobalSettingsDlg::mControlCurve, nullptr, 0},
    {u"XY_SENSITIVITY", &LGlobalSettingsDlg::mXyPadSensitivity, nullptr, 0},
    {u"GLOBAL_PROGRAM", nullptr, &LGlobalSettingsDlg::mProgram, 0},
    {u"GLOBAL_BANK_MSB", nullptr, &LGlobalSettingsDlg::mMsb, 0},
    {u"GLOBAL_BANK_LSB", nullptr, &LGlobalSettingsDlg::mLsb, 0},
};

Result LGlobalSettingsDlg::Initialize()
{
    const Result result = KR::LDialog::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    mHandler = KR::LNotificationHandler<LGlobalSettingsDlg>::Create(this);
    if (!mHandler)
    {
        ThrowMissing("Could not get notification handler", 27);
    }
    const KR::LControl& self = *this;

    mControlCurve =
        Bind<KR::LComboBox>(self, u"controlCurve", u"comboBox", "Could not find child ControlCurve", 30,
                            "Could not find child numericUpDown", 32);
    mControlCurve->SetValueScaling(0.0, 3.0, 0);

    mKeyOctave =
        Bind<KR::LNumericUpDown>(self, u"keyOctave", u"numericUpDown", "Could not find child Key Octave", 36,
                                 "Could not find child numericUpDown", 38);
    mKeyOctave->SetValueScaling(-4.0, 5.0, 0);
    mKeyOctave->SetScaledValue(0.0);
    ThrowIfRefused(mHandler->Register(&LGlobalSettingsDlg::OnKeyOctaveChanged,
                                      RCPtr<KR::LNotificationDistributor>(mKeyOctave), u"NID_VALUE_CHANGE"),
                   43);

    mKeySensitivity =
        Bind<KR::LComboBox>(self, u"keySensitivity", u"comboBox", "Could not find child keySensitivity", 48,
                            "Could not find child comboBox", 50);
    mKeySensitivity->SetValueScaling(0.0, 6.0, 0);

    mKeyTranspose =
        Bind<KR::LNumericUpDown>(self, u"keyTranspose", u"numericUpDown", "Could not find child keyTranspose",
                                 54, "Could not find child numericUpDown", 56);
    mKeyTranspose->SetValueScaling(-12.0, 12.0, 0);

    mLsb = Bind<KR::LNumericUpDown>(self, u"lsb", u"numericUpDown", "Could not find child lsb", 60,
                                    "Could not find child numericUpDown", 62);
    mLsb->SetValueScaling(0.0, 127.0, 0);

    mMsb = Bind<KR::LNumericUpDown>(self, u"msb", u"numericUpDown", "Could not find child msb", 66,
                                    "Could not find child numericUpDown", 68);
    mMsb->SetValueScaling(0.0, 127.0, 0);

    mMackieHUIToggle =
        Bind<KR::LComboBox>(self, u"mackieHUIToggle", u"comboBox", "Could not find child mackieHUIToggle", 72,
                            "Could not find child numericUpDown", 74);

    mMidiChannel = Bind<KR::LComboBox>(self, u"midiChannel", u"comboBox", "Could not find child midiChannel",
                                       77, "Could not find child comboBox", 79);
    const RCPtr<KR::LLabel> channelLabel(
        FindChildControl(KR::String(u"midiChannel"))->FindChildControl(KR::String(u"label")));
    if (channelLabel)
    {
        channelLabel->SetText(channelLabel->GetLocalizedString(KR::String(u"GLOBAL_LABEL")));
    }

    mPadOctave =
        Bind<KR::LNumericUpDown>(self, u"padOctave", u"numericUpDown", "Could not find child padOctave", 88,
                                 "Could not find child numericUpDown", 90);
    mPadOctave->SetValueScaling(-5.0, 5.0, 0);

    mPadSensitivity =
        Bind<KR::LComboBox>(self, u"padSensitivity", u"comboBox", "Could not find child padSensitivity", 94,
                            "Could not find child numericUpDown", 96);
    mPadSensitivity->SetValueScaling(0.0, 9.0, 0);

    mPadTranspose =
        Bind<KR::LNumericUpDown>(self, u"padTranspose", u"numericUpDown", "Could not find child padTranspose",
                                 100, "Could not find child numericUpDown", 102);
    mPadTranspose->SetValueScaling(-12.0, 12.0, 0);

    mProgram = Bind<KR::LNumericUpDown>(self, u"program", u"numericUpDown", "Could not find child program",
                                        106, "Could not find child numericUpDown", 108);
    mProgram->SetValueScaling(0.0, 127.0, 0);

    mXyPadSensitivity =
        Bind<KR::LComboBox>(self, u"xyPadSensitivity", u"comboBox", "Could not find child xyPadSensitivity",
                            112, "Could not find child combo box", 114);

    mGetSettingsButton = RCPtr<KR::LButton>(FindChildControl(KR::String(u"getGlobalSettingsButton")));
    if (!mGetSettingsButton)
    {
        ThrowMissing("getSettingsButton child not found", 117);
    }
    ThrowIfRefused(mHandler->Register(&LGlobalSettingsDlg::OnGetSettingsClicked,
                                      RCPtr<KR::LNotificationDistributor>(mGetSettingsButton),
                                      u"NID_LEFT_CLICK"),
                   118);
    mSendSettingsButton = RCPtr<KR::LButton>(FindChildControl(KR::String(u"sendGlobalSettingsButton")));
    if (!mSendSettingsButton)
    {
        ThrowMissing("sendSettingsButton child not found", 121);
    }
    ThrowIfRefused(mHandler->Register(&LGlobalSettingsDlg::OnSendSettingsClicked,
                                      RCPtr<KR::LNotificationDistributor>(mSendSettingsButton),
                                      u"NID_LEFT_CLICK"),
                   122);

    mMidiManager = GetApplicationMidiManager();
    if (!mMidiManager)
    {
        ThrowMissing("Could not find MidiManager", 126);
    }
    ThrowIfRefused(mHandler->Register(&LGlobalSettingsDlg::OnParameterReceived,
                                      RCPtr<KR::LNotificationDistributor>(mMidiManager),
                                      KR::kNidMidiManagerParameterRecieved),
                   127);

    mPadOctave->SetScaledValue(0.0);
    mPadTranspose->SetScaledValue(0.0);
    mKeyOctave->SetScaledValue(0.0);
    mKeyTranspose->SetScaledValue(0.0);
    return result;
}

Result LGlobalSettingsDlg::ReleaseInternalReferences()
{
    mHandler = nullptr;
    for (const Setting& setting : kSettings)
    {
        if (setting.list)
        {
            this->*setting.list = nullptr;
        }
        else
        {
            this->*setting.box = nullptr;
        }
    }
    mGetSettingsButton = nullptr;
    mSendSettingsButton = nullptr;
    mMidiManager = nullptr;
    return KR::LDialog::ReleaseInternalReferences();
}

Result LGlobalSettingsDlg::Receive(const RCPtr<KR::LNotificationDistributor>& sender,
                                   const RCPtr<KR::LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        if (const Result handled = mHandler->HandleNotification(sender, notification); handled != 0)
        {
            return handled;
        }
    }
    return KR::LDialog::Receive(sender, notification);
}

Result LGlobalSettingsDlg::UnregisterForNotification(const RCPtr<KR::LNotificationDistributor>& sender,
                                                     KR::NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return KR::LDialog::UnregisterForNotification(sender, name);
}

void LGlobalSettingsDlg::OnClosed()
{
    if (mMidiManager)
    {
        UnregisterForNotification(RCPtr<KR::LNotificationDistributor>(mMidiManager),
                                  KR::kNidMidiManagerParameterRecieved);
    }
    KR::LDialog::OnClosed();
}

const LGlobalSettingsDlg::Setting* LGlobalSettingsDlg::FindSetting(const KR::String& name)
{
    for (const Setting& setting : kSettings)
    {
        if (name == setting.name)
        {
            return &setting;
        }
    }
    return nullptr;
}

bool LGlobalSettingsDlg::IsTouchPadSetting(const KR::String& name)
{
    return name == u"XYPAD_VELOCITY" || name == u"XYPAD_FRACTION" || name == u"XYPAD_REBOUND";
}

bool LGlobalSettingsDlg::ShowDeviceValue(const KR::String& name, std::int32_t value)
{
    const Setting* setting = FindSetting(name);
    if (!setting)
    {
        return false;
    }
    const std::int32_t shown = value - setting->offset;
    if (setting->list)
    {
        if (const RCPtr<KR::LComboBox>& list = this->*setting->list)
        {
            list->SetSelectedIndex(shown);
        }
    }
    else if (const RCPtr<KR::LNumericUpDown>& box = this->*setting->box)
    {
        box->SetScaledValue(static_cast<double>(shown));
    }
    return true;
}

std::optional<std::int32_t> LGlobalSettingsDlg::GetDeviceValue(const KR::String& name) const
{
    const Setting* setting = FindSetting(name);
    if (!setting)
    {
        return std::nullopt;
    }
    if (setting->list)
    {
        const RCPtr<KR::LComboBox>& list = this->*setting->list;
        // A list left without a selection sends -1 plus its offset, which the manager
        // refuses where that is out of the setting's range.
        return (list ? list->GetSelectedIndex() : -1) + setting->offset;
    }
    const RCPtr<KR::LNumericUpDown>& box = this->*setting->box;
    const double value = box ? box->InterpolateValue(box->GetValue()) : 0.0;
    return static_cast<std::int32_t>(std::trunc(value + setting->offset));
}

void LGlobalSettingsDlg::ShowOutcome(TransferOutcome outcome)
{
    if (outcome == TransferOutcome::kFirmwareNotUsable)
    {
        ShowDialogMessageBox(GetAppString(u"LABEL_SEND_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT"),
                             GetAppString(u"LABEL_SEND_PRESET_FAILED_MSGBOX_CAPTION"));
    }
    else if (outcome == TransferOutcome::kFailed)
    {
        ShowDialogMessageBox(GetAppString(u"LABEL_GLOBALSETTINGS_FAILED_MIDI_ERROR_MESSAGEBOX_TEXT"),
                             GetAppString(u"LABEL_GLOBALSETTINGS_FAILED_MIDI_ERROR_MESSAGEBOX_CAPTION"));
    }
}

void LGlobalSettingsDlg::Transfer(const std::function<bool(std::uint32_t index)>& one)
{
    // The settings go one by one, each of which may wait on the MIDI system: the windows
    // keep drawing meanwhile, and the box comes once they are all through (none when the
    // program is told to end meanwhile).
    const RCPtr<KR::LMidiManager> midi = mMidiManager;
    const KR::StringArray names = KR::LMidiManager::GetNonPresetParameterNames();
    TransferOutcome outcome = TransferOutcome::kDone;
    const bool ended = KR::RunWhileWindowsWait(
        [&]
        {
            // A keyboard that could not be reached is told as the failed transfer it is, not
            // as old firmware that would send the user to update it.
            if (const Result checked = midi->CheckDeviceFirmware(); KR::Failed(checked))
            {
                outcome = checked == KR::LMidiManager::kFirmwareNotUsable
                              ? TransferOutcome::kFirmwareNotUsable
                              : TransferOutcome::kFailed;
                return;
            }
            for (std::uint32_t i = 0; i < names.GetCount(); ++i)
            {
                if (!IsTouchPadSetting(names[i]) && !one(i))
                {
                    outcome = TransferOutcome::kFailed;
                    return;
                }
            }
        });
    if (ended)
    {
        ShowOutcome(outcome);
    }
}

Result LGlobalSettingsDlg::OnParameterReceived(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                               const RCPtr<KR::LNotification>& notification)
{
    if (const auto parameter =
            notification ? notification->GetDataAs<KR::LMidiParameterNotification>() : nullptr)
    {
        ShowDeviceValue(parameter->GetName(), parameter->GetValue());
    }
    return 1;
}

Result LGlobalSettingsDlg::OnGetSettingsClicked(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                                const RCPtr<KR::LNotification>& /*notification*/)
{
    const RCPtr<KR::LMidiManager> midi = mMidiManager;
    const KR::StringArray names = KR::LMidiManager::GetNonPresetParameterNames();
    Transfer([&](std::uint32_t i)
             { return KR::Succeeded(midi->RequestNonPresetParameterFromDevice(names[i], true)); });
    return 1;
}

Result LGlobalSettingsDlg::OnSendSettingsClicked(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                                 const RCPtr<KR::LNotification>& /*notification*/)
{
    // The controls are read here, on the thread they belong to, before anything is sent.
    const RCPtr<KR::LMidiManager> midi = mMidiManager;
    const KR::StringArray names = KR::LMidiManager::GetNonPresetParameterNames();
    std::vector<std::int32_t> values(names.GetCount());
    for (std::uint32_t i = 0; i < names.GetCount(); ++i)
    {
        values[i] = GetDeviceValue(names[i]).value_or(0);
    }
    Transfer([&](std::uint32_t i)
             { return KR::Succeeded(midi->SendNonPresetParameterToDevice(names[i], values[i], true)); });
    return 1;
}

Result LGlobalSettingsDlg::OnKeyOctaveChanged(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                              const RCPtr<KR::LNotification>& /*notification*/)
{
    if (!mKeyOctave)
    {
        return 1;
    }
    const double octave = mKeyOctave->InterpolateValue(mKeyOctave->GetValue());
    if (octave > kHighestKeyOctave)
    {
        mKeyOctave->SetValue(mKeyOctave->NormalizeValue(kHighestKeyOctave));
    }
    else if (octave < kLowestKeyOctave)
    {
        mKeyOctave->SetValue(mKeyOctave->NormalizeValue(kLowestKeyOctave));
    }
    return 1;
}
