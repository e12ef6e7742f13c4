#include "editor/edit/MoveableControlEditPanel.h"

#include "editor/edit/ControlUtilities.h"
#include "kr/controls/TextBox.h"

using KR::RCPtr;
using KR::Result;

namespace
{

// The position of each page's tab button, which is the page index a block is built from.
enum Page : std::int32_t
{
    kCcAbsolute = 0,
    kCcRelative = 1,
    kNrpnRpn = 2,
    kOther = 3,
};

constexpr std::int32_t kFirstNrpnRpnCode = 4;
constexpr std::int32_t kLastNrpnRpnCode = 7;
// Other codes skip the RPN/NRPN codes: list index i is code i below 4, else i + 4.
constexpr std::int32_t kOtherCodeGap = 4;

constexpr char kMoveableSource[] = "UI\\QuillanCommon\\MoveableControlEditPanel";
constexpr char kRegisterAll[] = "LMoveableControlEditPanel::RegisterForAllParameterNotifications";

[[noreturn]] void ThrowMissing(const char* detail, int line)
{
    EditPanelDetail::ThrowMissingChild("LMoveableControlEditPanel::Initialize", kMoveableSource, detail,
                                       line);
}

template <typename T>
void AppendIfFound(KR::RCPtrArray<T>& to, const RCPtr<T>& control)
{
    to.AddItem(control);
}

RCPtr<KR::LComboBox> ChannelList(const RCPtr<KR::LControl>& page)
{
    return FindControlByPath<KR::LComboBox>(page, {u"midiChannel", u"comboBox"});
}

RCPtr<KR::LNumericUpDown> ControllerBox(const RCPtr<KR::LControl>& page)
{
    return FindControlByPath<KR::LNumericUpDown>(page, {u"cc", u"ccSelector", u"numericUpDown"});
}

RCPtr<KR::LNumericUpDown> RangeBox(const RCPtr<KR::LControl>& page, const char16_t* end)
{
    return FindControlByPath<KR::LNumericUpDown>(page, {u"minMaxSelectors", end, u"numericUpDown"});
}

void SetRange(const RCPtr<KR::LNumericUpDown>& box, bool limitText)
{
    if (!box)
    {
        return;
    }
    box->SetValueScaling(0.0, 127.0, 0);
    if (limitText && box->GetTextBox())
    {
        box->GetTextBox()->SetMaxLength(3);
    }
}

} // namespace

Result LMoveableControlEditPanel::Initialize()
{
    const Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    mTypeTabControl = RCPtr<KR::LTabControl>(FindChildControl(KR::String(u"tabControl")));
    if (!mTypeTabControl)
    {
        ThrowMissing("Couldn't find child typeTabControl", 30);
    }

    const RCPtr<KR::LControl> absolute = mTypeTabControl->GetPageByName(KR::String(u"ccAbsolutePage"));
    AppendIfFound(mMinSelectors, RangeBox(absolute, u"min"));
    AppendIfFound(mMaxSelectors, RangeBox(absolute, u"max"));
    AppendIfFound(mMidiChannelSelectors, ChannelList(absolute));
    AppendIfFound(mCcSelectors, ControllerBox(absolute));

    const RCPtr<KR::LControl> relative = mTypeTabControl->GetPageByName(KR::String(u"ccRelativePage"));
    AppendIfFound(mCcSelectors, ControllerBox(relative));
    AppendIfFound(mMidiChannelSelectors, ChannelList(relative));
    mRelativeTypeSelector = FindControlByPath<KR::LComboBox>(relative, {u"relativeType", u"comboBox"});

    const RCPtr<KR::LControl> nrpnRpn = mTypeTabControl->GetPageByName(KR::String(u"nrpnRpnPage"));
    AppendIfFound(mMidiChannelSelectors, ChannelList(nrpnRpn));
    mNrpnRpnSelector = FindControlByPath<KR::LComboBox>(nrpnRpn, {u"NrpnRpnSelector", u"comboBox"});
    mLsbSelector =
        FindControlByPath<KR::LNumericUpDown>(nrpnRpn, {u"msbLSBSelectors", u"lsb", u"numericUpDown"});
    mMsbSelector =
        FindControlByPath<KR::LNumericUpDown>(nrpnRpn, {u"msbLSBSelectors", u"msb", u"numericUpDown"});

    const RCPtr<KR::LControl> other = mTypeTabControl->GetPageByName(KR::String(u"otherPage"));
    mOtherTypeSelector = FindControlByPath<KR::LComboBox>(other, {u"otherType", u"comboBox"});
    if (!mOtherTypeSelector)
    {
        ThrowMissing("Can not find ComboBox Control: otherType", 56);
    }
    mOtherTypeSelector->SetItemCount(kOtherItemCount);
    AppendIfFound(mMinSelectors, RangeBox(other, u"min"));
    AppendIfFound(mMaxSelectors, RangeBox(other, u"max"));
    AppendIfFound(mMidiChannelSelectors, ChannelList(other));

    for (const KR::RCPtrArray<KR::LNumericUpDown>* boxes : {&mCcSelectors, &mMinSelectors, &mMaxSelectors})
    {
        for (std::uint32_t i = 0; i < boxes->GetCount(); ++i)
        {
            SetRange((*boxes)[i], true);
        }
    }
    SetRange(mLsbSelector, false);
    SetRange(mMsbSelector, false);
    return result;
}

Result LMoveableControlEditPanel::ReleaseInternalReferences()
{
    mTypeTabControl = nullptr;
    mMidiChannelSelectors.RemoveAll();
    mMinSelectors.RemoveAll();
    mMaxSelectors.RemoveAll();
    mCcSelectors.RemoveAll();
    mLsbSelector = nullptr;
    mMsbSelector = nullptr;
    mNrpnRpnSelector = nullptr;
    mRelativeTypeSelector = nullptr;
    mOtherTypeSelector = nullptr;
    return LOwnHandlerPanel::ReleaseInternalReferences();
}

void LMoveableControlEditPanel::ForgetKeptBytes()
{
    // A byte kept for the control shown before is that control's own: another control's
    // block, or a page this block does not use, must never build it. A list it left
    // without a choice builds item 0 again, as a fresh editor's does.
    mKeptRelativeType = 0;
    mKeptNrpnRpn = 0;
    mKeptOtherCode = 0;
    for (const RCPtr<KR::LComboBox>* list : {&mRelativeTypeSelector, &mNrpnRpnSelector, &mOtherTypeSelector})
    {
        if (SelectedIndexOf(*list) < 0)
        {
            SelectOrClear(*list, 0);
        }
    }
}

signed char LMoveableControlEditPanel::SelectedByte(const RCPtr<KR::LComboBox>& list, signed char kept)
{
    const std::int32_t index = list ? list->GetSelectedIndex() : -1;
    return static_cast<signed char>(index >= 0 ? index : kept);
}

void LMoveableControlEditPanel::ShowMoveableBlock(const KR::Array<signed char>& block)
{
    if (block.GetCount() != kBlockSize || !mTypeTabControl)
    {
        return;
    }
    UnregisterForAllButPanelNotifications();
    ForgetKeptBytes();

    const signed char channel = block[0];
    for (std::uint32_t i = 0; i < mMidiChannelSelectors.GetCount() && i < 4; ++i)
    {
        mKeptChannel[i] = SelectOrClear(mMidiChannelSelectors[i], channel) ? 0 : channel;
    }

    if (block[1] == 0)
    {
        for (std::uint32_t i = 0; i < mCcSelectors.GetCount(); ++i)
        {
            ShowNumber(mCcSelectors[i], block[2]);
        }
        if (block[3] != 0)
        {
            mTypeTabControl->SelectPage(KR::String(u"ccRelativePage"));
            mKeptRelativeType = SelectOrClear(mRelativeTypeSelector, block[4]) ? 0 : block[4];
        }
        else
        {
            mTypeTabControl->SelectPage(KR::String(u"ccAbsolutePage"));
            ShowNumber(mMinSelectors.GetCount() > 0 ? mMinSelectors[0] : nullptr, block[4]);
            ShowNumber(mMaxSelectors.GetCount() > 0 ? mMaxSelectors[0] : nullptr, block[5]);
        }
    }
    else if (block[2] >= kFirstNrpnRpnCode && block[2] <= kLastNrpnRpnCode)
    {
        mTypeTabControl->SelectPage(KR::String(u"nrpnRpnPage"));
        const std::int32_t index = block[2] - kFirstNrpnRpnCode;
        mKeptNrpnRpn = SelectOrClear(mNrpnRpnSelector, index) ? 0 : static_cast<signed char>(index);
        ShowNumber(mLsbSelector, block[4]);
        ShowNumber(mMsbSelector, block[5]);
    }
    else
    {
        mTypeTabControl->SelectPage(KR::String(u"otherPage"));
        const std::int32_t index = block[2] < kOtherCodeGap ? block[2] : block[2] - kOtherCodeGap;
        mKeptOtherCode = SelectOrClear(mOtherTypeSelector, index) ? 0 : block[2];
        ShowNumber(mMinSelectors.GetCount() > 1 ? mMinSelectors[1] : nullptr, block[4]);
        ShowNumber(mMaxSelectors.GetCount() > 1 ? mMaxSelectors[1] : nullptr, block[5]);
    }

    RegisterForAllParameterNotifications();
}

KR::Array<signed char> LMoveableControlEditPanel::BuildMoveableBlock()
{
    KR::Array<signed char> block;
    block.SetCount(kBlockSize);
    for (std::uint32_t i = 0; i < kBlockSize; ++i)
    {
        block[i] = 0;
    }
    const std::int32_t page = mTypeTabControl ? mTypeTabControl->GetSelectedIndex() : -1;
    const auto channel = [this](std::uint32_t i)
    {
        return i < mMidiChannelSelectors.GetCount() ? SelectedByte(mMidiChannelSelectors[i], mKeptChannel[i])
                                                    : static_cast<signed char>(0);
    };
    const auto at = [](const KR::RCPtrArray<KR::LNumericUpDown>& boxes, std::uint32_t i)
    { return i < boxes.GetCount() ? boxes[i] : RCPtr<KR::LNumericUpDown>(); };
    switch (page)
    {
    case kCcAbsolute:
        block[0] = channel(0);
        block[2] = NumberByte(at(mCcSelectors, 0));
        block[4] = NumberByte(at(mMinSelectors, 0));
        block[5] = NumberByte(at(mMaxSelectors, 0));
        break;
    case kCcRelative:
        block[0] = channel(1);
        block[2] = NumberByte(at(mCcSelectors, 1));
        block[3] = 1;
        block[4] = SelectedByte(mRelativeTypeSelector, mKeptRelativeType);
        break;
    case kNrpnRpn:
        block[0] = channel(2);
        block[1] = 1;
        block[2] = static_cast<signed char>(SelectedByte(mNrpnRpnSelector, mKeptNrpnRpn) + kFirstNrpnRpnCode);
        block[4] = NumberByte(mLsbSelector);
        block[5] = NumberByte(mMsbSelector);
        break;
    case kOther:
    {
        block[0] = channel(3);
        block[1] = 1;
        const std::int32_t index = mOtherTypeSelector ? mOtherTypeSelector->GetSelectedIndex() : -1;
        if (index < 0)
        {
            block[2] = mKeptOtherCode;
        }
        else
        {
            block[2] = static_cast<signed char>(index < kOtherCodeGap ? index : index + kOtherCodeGap);
        }
        block[4] = NumberByte(at(mMinSelectors, 1));
        block[5] = NumberByte(at(mMaxSelectors, 1));
        break;
    }
    default:
        break;
    }
    return block;
}

void LMoveableControlEditPanel::RegisterForAllParameterNotifications()
{
    const auto handler = &LMoveableControlEditPanel::OnParameterChanged;
    const auto listen = [this, handler](const auto& control, KR::NotificationName name, int line)
    { RegisterOrThrow(handler, control, name, kRegisterAll, kMoveableSource, line); };
    listen(mTypeTabControl, u"NID_TAB_SELECTED", 90);
    listen(mRelativeTypeSelector, u"NID_SELECTION_CHANGE", 91);
    listen(mNrpnRpnSelector, u"NID_SELECTION_CHANGE", 92);
    listen(mLsbSelector, u"NID_VALUE_CHANGE", 93);
    listen(mMsbSelector, u"NID_VALUE_CHANGE", 94);
    listen(mOtherTypeSelector, u"NID_SELECTION_CHANGE", 95);
    SetNotificationForAllArrayItems(mCcSelectors, mNotificationHandler, handler, u"NID_VALUE_CHANGE");
    SetNotificationForAllArrayItems(mMinSelectors, mNotificationHandler, handler, u"NID_VALUE_CHANGE");
    SetNotificationForAllArrayItems(mMaxSelectors, mNotificationHandler, handler, u"NID_VALUE_CHANGE");
    SetNotificationForAllArrayItems(mMidiChannelSelectors, mNotificationHandler, handler,
                                    u"NID_SELECTION_CHANGE");
}

Result LMoveableControlEditPanel::OnParameterChanged(const RCPtr<KR::LNotificationDistributor>&,
                                                     const RCPtr<KR::LNotification>&)
{
    SendNotificationByName(u"NID_PARAMETERS_CHANGED");
    return 1;
}
