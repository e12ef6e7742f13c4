#include "editor/picture/MoveableControlViewPanel.h"

#include "editor/edit/TableTextFormat.h"
#include "editor/picture/MIDIChannelViewPanel.h"
#include "kr/controls/Label.h"

void LMoveableControlViewPanel::ShowMoveableBlock(const KR::Array<signed char>& block)
{
    if (block.GetCount() != 6)
    {
        return;
    }
    if (const KR::RCPtr<LMIDIChannelViewPanel> channel = FindChildControl(KR::String(u"midiChannel")))
    {
        channel->ShowChannel(block[0]);
    }
    const KR::RCPtr<KR::LLabel> info(FindChildControl(KR::String(u"infoLabel")));
    if (!info)
    {
        return;
    }
    const auto text = [&info](const char16_t* key) { return info->GetLocalizedString(KR::String(key)); };
    // The numbers go to "%u" as the signed bytes they are, sign-extended.
    const std::int64_t kind = block[2];
    const std::int64_t parameter = static_cast<std::int32_t>(block[5]) * 128 + block[4];
    KR::String shown;
    if (block[1] == 0)
    {
        shown = FormatTableText(text(u"CC_LABEL"), {kind});
    }
    else if (kind == 4 || kind == 5)
    {
        shown = FormatTableText(text(u"RPN_LABEL"), {parameter});
    }
    else if (kind == 6 || kind == 7)
    {
        shown = FormatTableText(text(u"NRPN_LABEL"), {parameter});
    }
    else if (kind < 3)
    {
        shown = text(u"OTHER_LABEL");
    }
    else if (kind == 3)
    {
        shown = text(u"AFTERTOUCH_LABEL");
    }
    else if (kind == 16)
    {
        shown = text(u"PITCHBEND_LABEL");
    }
    else
    {
        shown = text(u"SYSEX_LABEL");
    }
    info->SetTextFromString(shown);
}
