#include "editor/app/SendPresetToMidiDeviceDlg.h"

#include "editor/app/PresetTransferOutcome.h"

namespace
{

constexpr LPresetTransferDlg::Site kSendSite = {u"send",
                                                "LSendPresetToMidiDeviceDlg::Initialize",
                                                "UI\\PresetEditorCommon\\SendPresetToMidiDeviceDlg",
                                                "Cannot find child send",
                                                41,
                                                45,
                                                46};

} // namespace

LSendPresetToMidiDeviceDlg::LSendPresetToMidiDeviceDlg(const KR::RCPtr<KR::LControl>& parent,
                                                       const KR::String& name)
    : LPresetTransferDlg(parent, name, kSendSite, &SendPresetToSlot)
{
}

KR::Result SendPresetToSlot(std::int32_t slot)
{
    return TransferPresetSlot(slot, kSendPresetKeys,
                              [](KR::LMidiManager& midi, std::uint8_t at)
                              { return midi.SendPresetToMidiDevice(at); });
}
