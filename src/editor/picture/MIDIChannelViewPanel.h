#pragma once
// Prints a channel byte on the picture: "CH:G" (global), "CH:1".."CH:16", "CH:Z1".."CH:Z4"
// (keybed zones), "CH:OM" (omni), from its label's string table. Display only.

#include "kr/controls/Label.h"
#include "kr/ui/Panel.h"

class LMIDIChannelViewPanel : public KR::LPanel
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainControl.MIDIChannelView";

    using KR::LPanel::LPanel;

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // 22..127 have no text and leave the label as it is; a negative byte is printed as the
    // number it is ("CH:-1").
    virtual void ShowChannel(signed char channel);

private:
    KR::RCPtr<KR::LLabel> mLabel;
};
