#include "editor/app/NumberBoxTextSelector.h"

#include "editor/app/TableTextAtRank.h"
#include "kr/core/Exception.h"

#include <string>

using KR::RCPtr;
using KR::Result;

namespace
{

constexpr char kTextSelectorOperation[] = "LNumberBoxTextSelector::Initialize";
constexpr char kTextSelectorSource[] = "UI\\PresetEditorCommon\\NumberBoxTextSelector";

} // namespace

Result LNumberBoxTextSelector::Initialize()
{
    const Result result = KR::LPanel::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    mHandler = KR::LNotificationHandler<LNumberBoxTextSelector>::Create(this);
    if (!mHandler)
    {
        return result;
    }
    mLabel = RCPtr<KR::LLabel>(FindChildControl(KR::String(u"label")));
    mNumericUpDown = RCPtr<KR::LNumericUpDown>(FindChildControl(KR::String(u"numericUpDown")));
    // A missing up/down is refused by the registration itself (a null sender).
    if (const Result registered =
            mHandler->Register(&LNumberBoxTextSelector::OnUpDownValueChanged,
                               RCPtr<KR::LNotificationDistributor>(mNumericUpDown), u"NID_VALUE_CHANGE");
        KR::Failed(registered))
    {
        KR::ThrowFailedResult(registered, std::string(" : ") + kTextSelectorOperation + " : " +
                                              kTextSelectorSource + " : Line 31");
    }
    // Every change would write into the label: a skin from a file may lack it.
    if (!mLabel)
    {
        KR::Throw<std::runtime_error>(KR::ErrorText<std::runtime_error>(
            {"Null Pointer", "Cannot find child label"}, kTextSelectorOperation, kTextSelectorSource, 33));
    }
    UpdateText();
    return result;
}

Result LNumberBoxTextSelector::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mLabel = nullptr;
    mNumericUpDown = nullptr;
    return KR::LPanel::ReleaseInternalReferences();
}

Result LNumberBoxTextSelector::Receive(const RCPtr<KR::LNotificationDistributor>& sender,
                                       const RCPtr<KR::LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        if (const Result handled = mHandler->HandleNotification(sender, notification); handled != 0)
        {
            return handled;
        }
    }
    return KR::LPanel::Receive(sender, notification);
}

Result LNumberBoxTextSelector::UnregisterForNotification(const RCPtr<KR::LNotificationDistributor>& sender,
                                                         KR::NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return KR::LPanel::UnregisterForNotification(sender, name);
}

void LNumberBoxTextSelector::UpdateText()
{
    if (!mNumericUpDown || !mLabel)
    {
        return;
    }
    const RCPtr<KR::LStringTable> table = mLabel->GetStringTable();
    if (!table)
    {
        return;
    }
    const auto number = static_cast<std::uint32_t>(
        static_cast<std::int32_t>(mNumericUpDown->InterpolateValue(mNumericUpDown->GetValue())));
    if (const KR::String* text = TableTextAtRank(*table, number))
    {
        mLabel->SetText(*text);
    }
}

Result LNumberBoxTextSelector::OnUpDownValueChanged(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                                    const RCPtr<KR::LNotification>& /*notification*/)
{
    UpdateText();
    return 1;
}
