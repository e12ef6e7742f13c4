#pragma once
// The dialog that fetches a preset from the keyboard into the editor: from its working
// memory ("RAM", slot 0) or one of its 12 preset slots, chosen in "presetSlot"/"comboBox".
// A press on "getButton" asks the MIDI manager for it (the UI thread waits up to 10
// tries of 500 ms); the manager writes what arrives into the device model, from where the
// views update themselves. The outcome is shown in a message box; the dialog stays open.
//
//     factory->CreateControlByName(u"dialogRetrievePresetFromHardware", nullptr) ... DoModal();

#include "editor/app/PresetTransferDlg.h"

#include <cstdint>

class LGetPresetFromMidiDeviceDlg : public LPresetTransferDlg
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.Dialog.RetrievePresetFromHardware";

    LGetPresetFromMidiDeviceDlg(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    // The press on "getButton".
    KR::Result OnGetClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                            const KR::RCPtr<KR::LNotification>& notification)
    {
        return OnTransferClicked(sender, notification);
    }
};

// Retrieves `slot` through the application's MIDI manager into the model and shows the
// outcome. A slot outside 0..12 (nothing chosen) is refused without a request and shown
// as the connection failure. The manager's result, or 0x80070057 for a refused slot,
// 0x80004005 without a manager.
KR::Result GetPresetFromSlot(std::int32_t slot);
