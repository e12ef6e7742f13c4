#pragma once
// Prints what a push button, a pad or the sustain pedal sends, from its 10-byte mode
// record: the channel (its "midiChannel" read-out) and the mode with the number that
// matters most ("CC:" over "7", "PG" over "CYCLE", "PLAY" for an MMC play command).
// Display only; children are looked up at every show.

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

private:
    // The MMC command's text, named after the mode editor's MMC list item; false when
    // no such list is in the window (the text then stays as it was).
    bool MmcText(KR::LLabel& info, signed char command, KR::String& text) const;
};
