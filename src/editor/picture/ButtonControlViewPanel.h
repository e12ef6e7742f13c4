#pragma once
// Prints what a push button, a pad or the sustain pedal sends, from its 10-byte mode
// record: the channel (its "midiChannel" read-out) and the mode with the number that
// matters most ("CC:" over "7", "PG" over "CYCLE", "PLAY" for an MMC play command).
// Display only; its own children are looked up at every show, the window's MMC list once.

#include "kr/controls/ComboBox.h"
#include "kr/controls/Label.h"
#include "kr/core/Array.h"
#include "kr/ui/Panel.h"

class LButtonControlViewPanel : public KR::LPanel
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.PushButtonType.ViewPanel";

    using KR::LPanel::LPanel;

    // Repairs the record in place (NormalizeModeRecord), so pass a copy of the block's
    // bytes. A record that is not 10 bytes changes nothing.
    virtual void ShowModeRecord(KR::Array<signed char>& record);

    // Lets go of the MMC list with the rest of the tree.
    KR::Result ReleaseInternalReferences() override;

private:
    // The MMC command's text, named after the mode editor's MMC list item; false when
    // no such list is in the window (the text then stays as it was).
    bool MmcText(KR::LLabel& info, signed char command, KR::String& text);
    // The first mode editor's MMC list of the window, found once: a preset shows on 53
    // read-outs, and walking the device view for it on each was most of their cost. It is
    // looked for again once it no longer hangs in this read-out's window.
    KR::RCPtr<KR::LComboBox> FindMmcList();

    KR::RCPtr<KR::LComboBox> mMmcList;
};
