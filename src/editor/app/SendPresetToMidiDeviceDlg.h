#pragma once
// The dialog that sends the edited preset into the keyboard: its working memory ("RAM",
// slot 0) or one of its 12 preset slots, chosen in "presetSlot"/"comboBox". A press on
// "send" transfers the preset (the UI thread waits for it) and reports the outcome in a
// message box; the dialog stays open so the preset can go to several slots in a row.
//
//     factory->CreateControlByName(u"dialogSendPreset", nullptr) ... DoModal();

#include "editor/app/PresetTransferDlg.h"

#include <cstdint>

class LSendPresetToMidiDeviceDlg : public LPresetTransferDlg
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.Dialog.SendPresetToHardware";

    LSendPresetToMidiDeviceDlg(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    // The press on "send".
    KR::Result OnSendClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                             const KR::RCPtr<KR::LNotification>& notification)
    {
        return OnTransferClicked(sender, notification);
    }
};

// Sends the model's preset to `slot` through the application's MIDI manager and shows the
// outcome. A slot outside 0..12 (nothing chosen) is refused without a transfer and shown
// as the connection failure. The manager's result, or 0x80070057 for a refused slot,
// 0x80004005 without a manager.
KR::Result SendPresetToSlot(std::int32_t slot);
