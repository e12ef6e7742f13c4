#include "editor/edit/PadEditPanel.h"

#include "editor/edit/TableTextFormat.h"

namespace
{

using namespace ButtonRecordEditPanelDetail;

constexpr char kPadSource[] = "UI\\QuillanCommon\\PadEditPanel";
constexpr ColorSite kPadColorSites[kColorCount] = {
    {u"color1", "Couldn't find child color1", 45, 46},
    {u"color2", "Couldn't find child color2", 49, 50},
    {u"color3", "Couldn't find child color3", 53, 54},
    {u"color4", "Couldn't find child color4", 57, 58},
};

} // namespace

const EditPanelErrorSite& LPadEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LPadEditPanel::Initialize", kPadSource, 0, 0};
    return site;
}

KR::Result LPadEditPanel::Initialize()
{
    const KR::Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    const EditPanelErrorSite& site = GetErrorSite();
    mPadName = KR::RCPtr<KR::LLabel>(FindChildControl(KR::String(u"padName")));
    if (!mPadName)
    {
        EditPanelDetail::ThrowMissingChild(site.operation, site.source, "Couldn't find child padName", 32);
    }
    const KR::RCPtr<KR::LTabControl> tabs(FindChildControl(KR::String(u"viewTabControl")));
    if (!tabs)
    {
        EditPanelDetail::ThrowMissingChild(site.operation, site.source, "Cannot find child viewTabControl",
                                           35);
    }
    TakeButtonTypePanel(tabs->GetPageByName(KR::String(u"midiPage")),
                        "Couldn't find viewTabControl page: midiPage", 37, 38);
    GetButtonTypePanel()->SetOnOffFollowsLatching(true);
    const KR::RCPtr<KR::LControl> colorPage =
        TakePage(tabs, u"colorPage", "Cannot find child viewTabControl page: colorPage", 42);
    TakeColorLists(colorPage, kPadColorSites, mColors);
    NameColorLabels(*this);
    return result;
}

KR::Result LPadEditPanel::ReleaseInternalReferences()
{
    mPadName = nullptr;
    for (ShownByteList& color : mColors)
    {
        color = ShownByteList();
    }
    return LButtonRecordEditPanel::ReleaseInternalReferences();
}

KR::Result LPadEditPanel::SetPadLabelText(std::int32_t index)
{
    if (static_cast<std::uint32_t>(index) >= kPadCount)
    {
        return KR::kFail;
    }
    if (mPadName)
    {
        mPadName->SetTextFromString(
            FormatTableText(mPadName->GetLocalizedString(KR::String(u"LABEL")), {std::int64_t{index + 1}}));
    }
    EditPanelDetail::RequestValue(GetFirstParamID());
    return KR::kOk;
}

std::int32_t LPadEditPanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                               const KR::Variant& value, bool /*fromDevice*/)
{
    KR::Array<signed char> block;
    if (!ReadOwnBlock(descriptor, value, kBlockSize, block))
    {
        return KR::kFail;
    }
    ShowOwnBlock(block,
                 [&]
                 {
                     ShowColors(block, mColors);
                     ShowRecord(RecordOf(block, kColoredRecordFrom));
                 });
    SetParamValue(descriptor, value);
    return KR::kOk;
}

KR::Array<signed char> LPadEditPanel::BuildBlock(const KR::Array<signed char>& record) const
{
    return ColoredBlock(record, mColors);
}
