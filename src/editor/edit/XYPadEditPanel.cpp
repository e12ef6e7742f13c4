#include "editor/edit/XYPadEditPanel.h"

#include "kr/controls/Label.h"
#include "kr/ui/TabControl.h"

using KR::RCPtr;
using KR::Result;
using namespace EditPanelDetail;

namespace
{

constexpr char kXYPadInitialize[] = "LXYPadEditPanel::Initialize";
constexpr char kXYPadSource[] = "UI\\QuillanCommon\\XYPadEditPanel";
constexpr std::int32_t kXAxis = 0;
constexpr std::int32_t kYAxis = 1;

} // namespace

LXYPadEditPanel::LXYPadEditPanel(const RCPtr<KR::LControl>& parent, const KR::String& name)
    : LBlockEditPanel(parent, name)
{
}

Result LXYPadEditPanel::Initialize()
{
    const Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    const RCPtr<KR::LTabControl> tabs(FindChildControl(KR::String(u"viewTabControl")));
    if (!tabs)
    {
        ThrowMissingChild(kXYPadInitialize, kXYPadSource, "Cannot find child: viewTabControl", 31);
    }
    mMidiPage = RCPtr<LMoveableControlEditPanel>(tabs->GetPageByName(KR::String(u"midiPage")));
    if (!mMidiPage)
    {
        ThrowMissingChild(kXYPadInitialize, kXYPadSource, "Cannot find child: viewTabControl: midiPage", 33);
    }
    RegisterOrThrow(&LXYPadEditPanel::OnParametersChanged, mMidiPage, u"NID_PARAMETERS_CHANGED",
                    kXYPadInitialize, kXYPadSource, 34);
    mNoteModePage = RCPtr<LNoteModeEditPanel>(tabs->GetPageByName(KR::String(u"noteModePage")));
    if (!mNoteModePage)
    {
        ThrowMissingChild(kXYPadInitialize, kXYPadSource, "couldn't find child noteModePage", 37);
    }
    RegisterOrThrow(&LXYPadEditPanel::OnParametersChanged, mNoteModePage, u"NID_PARAMETERS_CHANGED",
                    kXYPadInitialize, kXYPadSource, 38);
    return result;
}

Result LXYPadEditPanel::ReleaseInternalReferences()
{
    mNoteModePage = nullptr;
    mMidiPage = nullptr;
    return LBlockEditPanel::ReleaseInternalReferences();
}

void LXYPadEditPanel::OnBound(std::int32_t index)
{
    const RCPtr<KR::LControl>& title = FindChildControl(KR::String(u"axisName"));
    if (!title)
    {
        return;
    }
    if (index == kXAxis)
    {
        title->SetTextFromString(title->GetLocalizedString(KR::String(u"LABEL_X_AXIS")));
    }
    else if (index == kYAxis)
    {
        title->SetTextFromString(title->GetLocalizedString(KR::String(u"LABEL_Y_AXIS")));
    }
}

std::int32_t LXYPadEditPanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                 const KR::Variant& value, bool /*fromDevice*/)
{
    KR::Array<signed char> block;
    if (!ReadOwnBlock(descriptor, value, kBlockSize, block) || !mMidiPage || !mNoteModePage)
    {
        return KR::kFail;
    }
    // Copied first: the note page reports while it shows, and each report may replace
    // the value the bytes belong to.
    const KR::Variant shown = value;
    KR::Array<signed char> moveable;
    KR::Array<signed char> notes;
    for (std::uint32_t i = 0; i < kBlockSize; ++i)
    {
        (i < LMoveableControlEditPanel::kBlockSize ? moveable : notes).AddItem(block[i]);
    }
    ShowOwnBlock(block,
                 [&]
                 {
                     mMidiPage->ShowMoveableBlock(moveable);
                     mNoteModePage->ShowNoteModeBlock(notes);
                 });
    ITouchPadAxis::SetParamValue(descriptor, shown);
    return KR::kOk;
}

KR::Array<signed char> LXYPadEditPanel::BuildAxisBlock()
{
    KR::Array<signed char> block;
    block.SetCount(kBlockSize);
    for (std::uint32_t i = 0; i < kBlockSize; ++i)
    {
        block[i] = 0;
    }
    const auto place = [&block](const KR::Array<signed char>& part, std::uint32_t at)
    {
        for (std::uint32_t i = 0; i < part.GetCount() && at + i < kBlockSize; ++i)
        {
            block[at + i] = part[i];
        }
    };
    if (mMidiPage)
    {
        place(mMidiPage->BuildMoveableBlock(), 0);
    }
    if (mNoteModePage)
    {
        place(mNoteModePage->BuildNoteModeBlock(), LMoveableControlEditPanel::kBlockSize);
    }
    return block;
}

Result LXYPadEditPanel::OnParametersChanged(const RCPtr<KR::LNotificationDistributor>&,
                                            const RCPtr<KR::LNotification>&)
{
    HandBlockOn(BuildAxisBlock());
    return 1;
}
