#include "editor/picture/EncoderPanel.h"

namespace
{

constexpr char kSource[] = "UI\\QuillanCommon\\EncoderPanel";

} // namespace

void LEncoderPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                    std::int32_t index)
{
    IEncoder::SetFirstParamID(parent, firstParamID, index);
    const KR::RCPtr<KR::LControl>& label = FindChildControl(KR::String(u"encoderNameLabel"));
    if (!label)
    {
        PicturePanelDetail::ThrowMissingChild("Cannot find child: encoderNameLabel",
                                              "LEncoderPanel::SetFirstParamID", kSource, 69);
    }
    PicturePanelDetail::FormatNumberLabel(*label, (static_cast<std::uint32_t>(index) & 7u) + 1u);
}

const ViewPanelErrorSite& LEncoderPanel::GetErrorSite() const
{
    static const ViewPanelErrorSite site{"LEncoderPanel::Initialize", kSource, 32};
    return site;
}
