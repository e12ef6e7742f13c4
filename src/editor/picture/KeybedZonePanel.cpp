#include "editor/picture/KeybedZonePanel.h"

#include "editor/edit/TableTextFormat.h"
#include "editor/picture/MIDIChannelViewPanel.h"
#include "kr/core/MapToSortedPairArray.h"
#include "kr/ui/StringTable.h"

namespace
{

constexpr char kZoneSource[] = "UI\\QuillanCommon\\KeybedZonePanel";
constexpr std::int32_t kNotesPerOctave = 12;

using NameList = KR::Array<KR::Pair<KR::String, KR::String>>;

KR::String NameAt(const NameList& names, std::int32_t entry)
{
    if (entry < 0 || static_cast<std::uint32_t>(entry) >= names.GetCount())
    {
        return KR::String(u"?");
    }
    return names[static_cast<std::uint32_t>(entry)].second;
}

} // namespace

LKeybedZonePanel::LKeybedZonePanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
    : LPicturePanel(parent, name)
{
    mOwnParamCount = 1;
}

KR::Result LKeybedZonePanel::Initialize()
{
    const KR::Result result = InitializePanel();
    if (KR::Failed(result))
    {
        return result;
    }
    mInfoLabel = KR::RCPtr<KR::LLabel>(FindChildControl(KR::String(u"infoLabel")));
    if (!mInfoLabel)
    {
        PicturePanelDetail::ThrowMissingChild("Cannot find child: infoLabel ", "LKeybedZonePanel::Initialize",
                                              kZoneSource, 33);
    }
    return result;
}

KR::Result LKeybedZonePanel::ReleaseInternalReferences()
{
    mInfoLabel = nullptr;
    return LPicturePanel::ReleaseInternalReferences();
}

void LKeybedZonePanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                       std::int32_t index)
{
    IKeybedZone::SetFirstParamID(parent, firstParamID, index);
    const KR::RCPtr<KR::LControl>& label = FindChildControl(KR::String(u"zoneName"));
    if (!label)
    {
        PicturePanelDetail::ThrowMissingChild("Cannot find child: zoneName",
                                              "LKeybedZonePanel::SetFirstParamID", kZoneSource, 120);
    }
    PicturePanelDetail::FormatNumberLabel(*label, static_cast<std::uint32_t>(index) + 1u);
}

std::int32_t LKeybedZonePanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                  const KR::Variant& value, bool /*fromDevice*/)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    if (descriptor.id != GetFirstParamID() || count != kBlockSize || !bytes || !mInfoLabel)
    {
        return KR::kFail;
    }
    const NameList notes = BorrowNames(u"noteNameLabel");
    const NameList octaves = BorrowNames(u"octaveNameLabel");
    // A key byte of 0x80 or more is a negative number: no list has an entry for it.
    const auto note = [&notes](std::int32_t key)
    { return NameAt(notes, key < 0 ? -1 : key % kNotesPerOctave); };
    const auto octave = [&octaves](std::int32_t key)
    { return NameAt(octaves, key < 0 ? -1 : key / kNotesPerOctave); };
    const std::int32_t first = static_cast<signed char>(bytes[5]);
    const std::int32_t last = static_cast<signed char>(bytes[6]);
    const KR::String firstNote = note(first);
    const KR::String firstOctave = octave(first);
    const KR::String lastNote = note(last);
    const KR::String lastOctave = octave(last);
    mInfoLabel->SetTextFromString(FormatTableText(mInfoLabel->GetLocalizedString(KR::String(u"INFO_TEXT")),
                                                  {firstNote, firstOctave, lastNote, lastOctave}));
    if (const KR::RCPtr<LMIDIChannelViewPanel> channel = FindChildControl(KR::String(u"midiChannel")))
    {
        channel->ShowChannel(static_cast<signed char>(bytes[1]));
    }
    return KR::kOk;
}

NameList LKeybedZonePanel::BorrowNames(const char16_t* label) const
{
    NameList names;
    const KR::RCPtr<KR::LControl>& group = KR::LControl::GetParent();
    KR::RCPtr<KR::LControl> at = group ? group->GetParent() : KR::RCPtr<KR::LControl>();
    for (const char16_t* child :
         {u"zoneEditPanel", u"startEndNoteSelector", u"startNote", u"noteSelector", label})
    {
        if (!at)
        {
            return names;
        }
        at = at->FindChildControl(KR::String(child));
    }
    if (at)
    {
        if (const KR::RCPtr<KR::LStringTable> table = at->GetStringTable())
        {
            KR::MapToSortedPairArray(table->GetTexts(), names);
        }
    }
    return names;
}
