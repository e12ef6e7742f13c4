#pragma once
// Prints what a continuous control sends, from its 6-byte message block: the channel
// (its "midiChannel" read-out) and the message with its number ("CC:" over "7", "NRPN:"
// over "133", "PITCH" over "BEND"...). Display only; children are looked up at every show.

#include "kr/core/Array.h"
#include "kr/ui/Panel.h"

class LMoveableControlViewPanel : public KR::LPanel
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.MoveableType.ViewPanel";

    using KR::LPanel::LPanel;

    // A block that is not 6 bytes changes nothing; byte 3 is not read.
    virtual void ShowMoveableBlock(const KR::Array<signed char>& block);
};
