#include "editor/picture/SustainPedalPanel.h"

LSustainPedalPanel::LSustainPedalPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
    : LPicturePanel(parent, name)
{
    mOwnParamCount = 1;
}

KR::Result LSustainPedalPanel::Initialize()
{
    const KR::Result result = InitializePanel();
    if (KR::Failed(result))
    {
        return result;
    }
    mReadOut = KR::RCPtr<LButtonControlViewPanel>(FindChildControl(KR::String(u"viewPanel")));
    if (!mReadOut)
    {
        PicturePanelDetail::ThrowMissingChild("child: viewPanel not found", "LSustainPedalPanel::Initialize",
                                              "UI\\QuillanCommon\\SustainPedalPanel", 32);
    }
    return result;
}

KR::Result LSustainPedalPanel::ReleaseInternalReferences()
{
    mReadOut = nullptr;
    return LPicturePanel::ReleaseInternalReferences();
}

std::int32_t LSustainPedalPanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                    const KR::Variant& value, bool /*fromDevice*/)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    if (descriptor.id != GetFirstParamID() || count != kBlockSize || !bytes || !mReadOut)
    {
        return KR::kFail;
    }
    const auto byte = [bytes](std::uint32_t i) { return static_cast<signed char>(bytes[i]); };
    // No second value (1, 0), no third value (1, 0).
    KR::Array<signed char> record{byte(0), byte(1), byte(2), byte(3), byte(4), 1, 0, 1, 0, byte(5)};
    mReadOut->ShowModeRecord(record);
    return KR::kOk;
}
