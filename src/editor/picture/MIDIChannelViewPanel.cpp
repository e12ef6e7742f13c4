#include "editor/picture/MIDIChannelViewPanel.h"

#include "editor/edit/TableTextFormat.h"
#include "kr/core/Exception.h"

KR::Result LMIDIChannelViewPanel::Initialize()
{
    const KR::Result result = KR::LPanel::Initialize();
    if (KR::Failed(result))
    {
        return KR::kFail;
    }
    mLabel = KR::RCPtr<KR::LLabel>(FindChildControl(KR::String(u"label")));
    if (!mLabel)
    {
        KR::Throw<std::runtime_error>(KR::ErrorText<std::runtime_error>(
            {"Null Pointer", "couldn't find child label"}, "LMIDIChannelViewPanel::Initialize",
            "UI\\QuillanCommon\\MIDIChannelViewPanel", 26));
    }
    return result;
}

KR::Result LMIDIChannelViewPanel::ReleaseInternalReferences()
{
    mLabel = nullptr;
    return KR::LPanel::ReleaseInternalReferences();
}

void LMIDIChannelViewPanel::ShowChannel(signed char channel)
{
    constexpr signed char kGlobal = 0;
    constexpr signed char kFirstZone = 17;
    constexpr signed char kLastZone = 20;
    constexpr signed char kOmni = 21;
    if (!mLabel)
    {
        return;
    }
    KR::String text;
    if (channel == kGlobal)
    {
        text = mLabel->GetLocalizedString(KR::String(u"GLOBAL_LABEL"));
    }
    else if (channel == kOmni)
    {
        text = mLabel->GetLocalizedString(KR::String(u"OMNI_LABEL"));
    }
    else if (channel < kFirstZone)
    {
        text = FormatTableText(mLabel->GetLocalizedString(KR::String(u"CHANNEL_LABEL")),
                               {std::int64_t{channel}});
    }
    else if (channel > kLastZone)
    {
        return;
    }
    else
    {
        text = FormatTableText(mLabel->GetLocalizedString(KR::String(u"ZONE_LABEL")),
                               {std::int64_t{channel - kFirstZone + 1}});
    }
    mLabel->SetTextFromString(text);
}
