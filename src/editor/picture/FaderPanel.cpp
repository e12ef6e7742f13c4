#include "editor/picture/FaderPanel.h"

namespace
{

constexpr char kFaderSource[] = "UI\\QuillanCommon\\FaderPanel";

} // namespace

void LFaderPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index)
{
    IFader::SetFirstParamID(parent, firstParamID, index);
    const KR::RCPtr<KR::LControl>& label = FindChildControl(KR::String(u"faderNumberLabel"));
    if (!label)
    {
        PicturePanelDetail::ThrowMissingChild("Cannot find child: faderNumberLabel",
                                              "LFaderPanel::SetFirstParamID", kFaderSource, 69);
    }
    PicturePanelDetail::FormatNumberLabel(*label, static_cast<std::uint32_t>(index) % 9u + 1u);
}

const ViewPanelErrorSite& LFaderPanel::GetErrorSite() const
{
    static const ViewPanelErrorSite site{"LFaderPanel::Initialize", kFaderSource, 33};
    return site;
}
