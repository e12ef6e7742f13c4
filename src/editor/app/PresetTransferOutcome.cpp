#include "editor/app/PresetTransferOutcome.h"

#include "editor/app/AppString.h"
#include "editor/app/Application.h"
#include "editor/app/MessageBox.h"
#include "kr/controls/ComboBox.h"
#include "kr/ui/BusyIndicator.h"
#include "kr/ui/FrameworkApp.h"

std::int32_t GetSelectedPresetSlot(const KR::LControl& dialog)
{
    const KR::RCPtr<KR::LControl>& holder = dialog.FindChildControl(KR::String(u"presetSlot"));
    if (!holder)
    {
        return -1;
    }
    const KR::RCPtr<KR::LComboBox> slots(holder->FindChildControl(KR::String(u"comboBox")));
    return slots ? slots->GetSelectedIndex() : -1;
}

KR::RCPtr<KR::LMidiManager> GetApplicationMidiManager()
{
    if (const auto* app = dynamic_cast<const LApplication*>(&KR::IFrameworkApp::GetInstance()))
    {
        return app->GetMidiManager();
    }
    return nullptr;
}

std::int32_t ShowDialogMessageBox(const KR::String& text, const KR::String& caption)
{
    return ShowMessageBox(text, caption, 0);
}

PresetTransferTexts PresetTransferOutcome(const PresetTransferKeys& keys, KR::Result result)
{
    if (result >= 0)
    {
        return {GetAppString(keys.successCaption), GetAppString(keys.successText)};
    }
    const bool firmware = result == KR::LMidiManager::kFirmwareNotUsable;
    return {GetAppString(keys.failedCaption),
            GetAppString(firmware ? keys.firmwareText : keys.connectionText)};
}

void ShowPresetTransferOutcome(const PresetTransferTexts& texts)
{
    if (!texts.text.IsEmpty())
    {
        ShowDialogMessageBox(texts.text, texts.caption);
    }
}

KR::Result TransferPresetSlot(std::int32_t slot, const PresetTransferKeys& keys,
                              KR::Result (*transfer)(KR::LMidiManager& midi, std::uint8_t slot))
{
    KR::Result result = KR::kInvalidArg;
    const KR::RCPtr<KR::LMidiManager> midi = GetApplicationMidiManager();
    if (!midi)
    {
        result = KR::kFail;
    }
    else if (slot >= 0 && slot <= kLastPresetSlot)
    {
        // The transfer may wait seconds on the MIDI system; the windows keep drawing
        // meanwhile. When the program is told to end meanwhile, it ends without the box.
        if (!KR::RunWhileWindowsWait([&] { result = transfer(*midi, static_cast<std::uint8_t>(slot)); }))
        {
            return result;
        }
    }
    ShowPresetTransferOutcome(PresetTransferOutcome(keys, result));
    return result;
}
