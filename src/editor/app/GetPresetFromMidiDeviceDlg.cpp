#include "editor/app/GetPresetFromMidiDeviceDlg.h"

#include "editor/app/PresetTransferOutcome.h"

namespace
{

constexpr LPresetTransferDlg::Site kGetSite = {u"getButton",
                                               "LGetPresetFromMidiDeviceDlg::Initialize",
                                               "UI\\PresetEditorCommon\\GetPresetFromMidiDeviceDlg",
                                               "Cannot find child getButton",
                                               42,
                                               46,
                                               47};

} // namespace

LGetPresetFromMidiDeviceDlg::LGetPresetFromMidiDeviceDlg(const KR::RCPtr<KR::LControl>& parent,
                                                         const KR::String& name)
    : LPresetTransferDlg(parent, name, kGetSite, &GetPresetFromSlot)
{
}

KR::Result GetPresetFromSlot(std::int32_t slot)
{
    return TransferPresetSlot(slot, kGetPresetKeys,
                              [](KR::LMidiManager& midi, std::uint8_t at)
                              { return midi.GetPresetFromMidiDevice(at); });
}
