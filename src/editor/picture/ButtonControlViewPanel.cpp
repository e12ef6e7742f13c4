#include "editor/picture/ButtonControlViewPanel.h"

#include "editor/edit/ButtonModeRecord.h"
#include "editor/edit/TableTextFormat.h"
#include "editor/picture/MIDIChannelViewPanel.h"
#include "kr/controls/Label.h"
#include "kr/core/RCPtrArray.h"

using namespace ButtonModeRecord;

void LButtonControlViewPanel::ShowModeRecord(KR::Array<signed char>& record)
{
    NormalizeModeRecord(record);
    if (record.GetCount() != kSize)
    {
        return;
    }
    if (const KR::RCPtr<LMIDIChannelViewPanel> channel = FindChildControl(KR::String(u"midiChannel")))
    {
        channel->ShowChannel(record[kChannel]);
    }
    const KR::RCPtr<KR::LLabel> info(FindChildControl(KR::String(u"infoLabel")));
    if (!info)
    {
        return;
    }
    const auto text = [&info](const char16_t* key) { return info->GetLocalizedString(KR::String(key)); };
    // "%u" gets the signed bytes as they are, sign-extended.
    const std::int32_t code = record[kNumberOrType];
    const std::int64_t param = record[kParam];
    const std::int64_t parameterNumber =
        static_cast<std::int32_t>(record[kLastValue]) * 128 + record[kFirstValue];
    KR::String shown;
    if (record[kMessageKind] == 0)
    {
        shown = FormatTableText(text(u"CC_LABEL"), {std::int64_t{code}});
    }
    else if (code == kProgramChange)
    {
        shown = FormatTableText(text(u"PROGRAM_LABEL"), {param});
    }
    else if (code == kNote || code == kNoteLatching || code == kCcCycle || code == kCcDecrement ||
             code == kCcIncrement)
    {
        shown = FormatTableText(text(code == kNote || code == kNoteLatching ? u"NOTE_LABEL" : u"CC_LABEL"),
                                {param});
    }
    else if (code == kProgramDecrement || code == kProgramIncrement)
    {
        shown = text(u"PROGRAM_INC_DEC_LABEL");
    }
    else if (code == kProgramCycle)
    {
        shown = text(u"PROGRAM_CYCLE_LABEL");
    }
    else if (code == kMmc)
    {
        if (!MmcText(*info, record[kFirstValue], shown))
        {
            return;
        }
    }
    else if (code < 3)
    {
        shown = text(u"OTHER_LABEL");
    }
    else if (code == 3)
    {
        shown = text(u"AFTERTOUCH_LABEL");
    }
    else if (code == kPitchBend)
    {
        shown = text(u"PITCHBEND_LABEL");
    }
    else if (code >= 8)
    {
        shown = text(u"SYSEX_LABEL");
    }
    else
    {
        shown = FormatTableText(text(code <= 5 ? u"RPN_LABEL" : u"NRPN_LABEL"), {parameterNumber});
    }
    info->SetTextFromString(shown);
}

KR::Result LButtonControlViewPanel::ReleaseInternalReferences()
{
    mMmcList = nullptr;
    return KR::LPanel::ReleaseInternalReferences();
}

KR::RCPtr<KR::LComboBox> LButtonControlViewPanel::FindMmcList()
{
    const KR::RCPtr<KR::LControl> root = GetRootControl();
    if (mMmcList && root && mMmcList->GetRootControl() == root)
    {
        return mMmcList;
    }
    mMmcList = nullptr;
    const KR::RCPtr<KR::LControl> device = root ? root->FindChildControl(KR::String(u"viewDevice")) : nullptr;
    if (!device)
    {
        return nullptr;
    }
    // Every mode editor's MMC list holds the same items: any one names the commands.
    KR::RCPtrArray<KR::LControl> lists;
    if (device->FindDescendantControls(KR::String(u"mmc"), lists) == 0 || !lists[0])
    {
        return nullptr;
    }
    mMmcList = KR::RCPtr<KR::LComboBox>(lists[0]->FindChildControl(KR::String(u"comboBox")));
    return mMmcList;
}

bool LButtonControlViewPanel::MmcText(KR::LLabel& info, signed char command, KR::String& text)
{
    const KR::RCPtr<KR::LComboBox> list = FindMmcList();
    if (!list)
    {
        return false;
    }
    std::int32_t item = -1;
    if (command == kMmcReset)
    {
        item = 11;
    }
    else if (command >= 1 && command <= 11)
    {
        item = command - 1;
    }
    const KR::String name = item < 0 ? KR::String() : list->GetItemText(item);
    if (name.IsEmpty())
    {
        text = info.GetLocalizedString(KR::String(u"MMC_OTHER_LABEL"));
        return true;
    }
    KR::String key(u"MMC_");
    for (std::uint32_t i = 0; i < name.GetLength(); ++i)
    {
        if (name.GetPtr()[i] != u' ')
        {
            key += KR::String(name.GetPtr()[i]);
        }
    }
    key += u"_LABEL";
    text = info.GetLocalizedString(key.ToUpper());
    return true;
}
