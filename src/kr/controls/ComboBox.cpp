#include "kr/controls/ComboBox.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/controls/TextBox.h"
#include "kr/controls/TextValidationParams.h"
#include "kr/core/StringFunctions.h"
#include "kr/core/Wrapper.h"
#include "kr/ui/LayoutDescriptor.h"

#include <algorithm>
#include <cmath>

namespace KR
{

namespace
{
constexpr std::uint32_t kDownKey = 0x20280000;
constexpr std::uint32_t kEnterKey = 0x200D0000;
constexpr std::uint32_t kEscapeKey = 0x201B0000;

// The control's size limits on the axis, as its skin gives them or as they are now.
void GetLimits(const LControl& control, std::int32_t axis, bool fromSkin, LimitSpec& minimum,
               LimitSpec& maximum)
{
    const LLayoutDescriptor* layout = control.ReadLayoutDescriptor();
    if (fromSkin)
    {
        const ConstRCPtr<LControlDescriptor>& skin = control.GetControlDescriptor();
        layout = skin ? skin->GetLayout().Get() : nullptr;
    }
    minimum = LimitSpec{};
    maximum = LimitSpec{};
    if (layout)
    {
        layout->GetSizeLimits(axis, minimum, maximum);
    }
}

const LListBox::Item& EmptyItem()
{
    static const LListBox::Item empty;
    return empty;
}
} // namespace

LComboBox::LComboBox(const RCPtr<LControl>& parent, const String& name) : LDropDownControl(parent, name)
{
}

LComboBox::~LComboBox() = default;

Result LComboBox::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mList = nullptr;
    mTextBox = nullptr;
    return LDropDownControl::ReleaseInternalReferences();
}

Result LComboBox::Receive(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LDropDownControl::Receive(sender, notification);
}

Result LComboBox::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                            NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LDropDownControl::UnregisterForNotification(sender, name);
}

// ---- creation ----------------------------------------------------------------------------------

Result LComboBox::Initialize()
{
    if (Failed(LDropDownControl::Initialize()))
    {
        return kFail;
    }
    mList = RCPtr<LListBox>(FindChildControl(String(u"listBox")));
    if (!mList)
    {
        return kFail;
    }
    mTextBox = RCPtr<LTextBox>(FindChildControl(String(u"textBox")));
    mHandler = LNotificationHandler<LComboBox>::Create(this);
    const RCPtr<LNotificationDistributor> list(mList);
    mHandler->Register(&LComboBox::OnListVisibility, list, u"NID_VISIBLITY_CONDITION_CHANGE");
    mHandler->Register(&LComboBox::OnItemActivated, list, u"NID_ITEM_ACTIVATED");
    if (mTextBox)
    {
        const RCPtr<LNotificationDistributor> box(mTextBox);
        mHandler->Register(&LComboBox::PassTextNotificationOn, box, u"NID_TEXTBOX_VALIDATING");
        mHandler->Register(&LComboBox::OnTextValidated, box, u"NID_TEXTBOX_VALIDATED");
        mHandler->Register(&LComboBox::PassTextNotificationOn, box, u"NID_TEXTBOX_TEXT_CHANGE");
        mHandler->Register(&LComboBox::OnTextFocus, box, u"NID_HAS_FOCUS_CONDITION_CHANGE");
    }
    mList->SetDropDownMode(true);
    mList->SetVisible(false);
    if (const RCPtr<LStringTable> strings = GetStringTable())
    {
        mList->LoadItemTexts(ConstRCPtr<LStringTable>(strings));
    }
    const ConstRCPtr<LControlDescriptor>& descriptor = GetControlDescriptor();
    String initial;
    if (descriptor && descriptor->GetCreateParams() &&
        descriptor->GetCreateParams()->GetString(u"INITIAL_SELECTED_INDEX", initial))
    {
        mInitialSelectedIndex = StringToInt(initial);
    }
    const std::int32_t first = mInitialSelectedIndex;
    if (first >= 0 && first < mList->GetItemDataCount() && mList->SelectRange(first, -1, true) >= 0)
    {
        // Silently: nobody listens yet who would need to know.
        const String text = mList->GetItemText(first);
        LControl::SetText(text);
        if (mTextBox)
        {
            mTextBox->SetText(text, true);
        }
        mSelectedIndex = first;
    }
    UpdateLook();
    return kOk;
}

void LComboBox::FitListWidth()
{
    LimitSpec skinMinimum;
    LimitSpec skinMaximum;
    GetLimits(*mList, 0, true, skinMinimum, skinMaximum);
    if (skinMinimum.absolute != 0.0 || GetSize().x <= 0.0)
    {
        return;
    }
    LimitSpec minimum;
    LimitSpec maximum;
    GetLimits(*mList, 0, false, minimum, maximum);
    const double width = std::round(GetSize().x);
    if (minimum.absolute != width || minimum.reference != kLimitToSelf)
    {
        minimum = LimitSpec{};
        minimum.absolute = width;
        mList->SetSizeLimits(0, minimum, maximum);
    }
}

Result LComboBox::PlaceParts()
{
    if (!mList)
    {
        return kFail;
    }
    mList->SetVisible(false);
    FitListWidth();
    LimitSpec skinMinimum;
    LimitSpec skinMaximum;
    GetLimits(*mList, 1, true, skinMinimum, skinMaximum);
    LimitSpec minimum;
    LimitSpec maximum;
    GetLimits(*mList, 1, false, minimum, maximum);
    if (skinMinimum.absolute == 0.0)
    {
        minimum = LimitSpec{};
        minimum.absolute = mList->GetRowHeight();
        mList->SetSizeLimits(1, minimum, maximum);
    }
    if (maximum.absolute > 0.0)
    {
        mList->SnapToRows();
    }
    return kOk;
}

// ---- the drop-down -------------------------------------------------------------------------------

bool LComboBox::IsDropDownShown()
{
    return mList && mList->IsShown(false) && mList->GetSize().x > 0.0 && mList->GetSize().y > 0.0;
}

void LComboBox::PlaceList(IRootWindowServices& window)
{
    const double top = GetAbsolutePosition().y;
    const double height = GetSize().y;
    const double client = window.GetClientSize().y;
    const double wanted = static_cast<double>(mList->GetRowHeight()) * mList->GetItemDataCount();
    LimitSpec minimum;
    LimitSpec maximum;
    GetLimits(*mList, 1, false, minimum, maximum);
    LimitSpec skinMinimum;
    LimitSpec skinMaximum;
    GetLimits(*mList, 1, true, skinMinimum, skinMaximum);
    DockedPositionSpec position;
    SizeSpec size;
    if (mList->GetLayoutDescriptor())
    {
        mList->GetLayoutDescriptor()->GetPlacement(1, position, size);
    }
    const double currentMax = maximum.absolute;
    const double skinMax = skinMaximum.absolute;
    const double below = client - (top + height) - kWindowMargin;
    const double above = top - kWindowMargin;
    bool down = true;
    if (currentMax == 0.0 || skinMax <= 0.0 || (below < skinMax && above < skinMax))
    {
        down = wanted <= below || above <= below;
    }
    else
    {
        down = skinMax <= below;
    }
    const double room = down ? below : above;
    if (skinMax <= 0.0)
    {
        maximum.absolute = wanted <= room ? 0.0 : room;
    }
    else
    {
        maximum.absolute = std::min(room, skinMax);
    }
    size.absolute = std::min(wanted, room);
    position.reference = kPositionToParent;
    position.referenceName = String();
    position.anchor = down ? 0.0f : 1.0f;
    position.relative = down ? 1.0f : 0.0f;
    position.absolute = 0.0;
    mList->SetSizeLimits(1, minimum, maximum);
    mList->SetPlacement(1, position, size);
    mList->SnapToRows();
    // The rows must cover the new height before the pointer's first move over them, not
    // only at the next idle pass.
    mList->OnLayoutChanged();
}

void LComboBox::SelectItemShowingText()
{
    if (mShowsNoItem)
    {
        mList->DeselectAll();
        if (mList->GetItemDataCount() > 0)
        {
            mList->EnsureItemVisible(0);
        }
        return;
    }
    const String& text = GetText();
    const auto shows = [&](std::int32_t index)
    {
        const String itemText = mList->GetItemText(index);
        return itemText.SharesBufferWith(text) || itemText == text;
    };
    // A list may hold one text twice: the face then reads the same for either item, and
    // only the selected index says which one it stands for. Marking another would make
    // Return pick an item the user never chose.
    std::int32_t match = -1;
    if (mSelectedIndex >= 0 && mSelectedIndex < mList->GetItemDataCount() && shows(mSelectedIndex))
    {
        match = mSelectedIndex;
    }
    for (std::int32_t i = mList->GetItemDataCount(); match < 0 && i-- > 0;)
    {
        if (shows(i))
        {
            match = i;
        }
    }
    if (match < 0 && mList->GetItemDataCount() > 0)
    {
        match = 0;
    }
    if (match >= 0)
    {
        mList->SelectRange(match, match, true);
        mList->EnsureItemVisible(match);
    }
}

Result LComboBox::ShowDropDown(bool show)
{
    if (!mList)
    {
        return kFail;
    }
    const RCPtr<LControl> self(this);
    if (show && GetParent())
    {
        SendNotificationByName(u"NID_DROPDOWN_OPENING");
        FitListWidth();
        // Without a window there is no client height to fit against: the list opens
        // where its skin puts it.
        if (const RCPtr<IRootWindowServices> window = GetRootWindow())
        {
            PlaceList(*window);
        }
    }
    SelectItemShowingText();
    mList->SetVisible(show);
    if (show)
    {
        if (mList->IsDropDownMode() && (GetConditions() & Condition::kLeftPressed) != 0)
        {
            // From where the list now is: its placement may just have moved it.
            const PointD list = mList->GetPosition();
            mList->BeginDrag(MouseButton::kLeft, RoundToInt32(mPressPoint.x - list.x),
                             RoundToInt32(mPressPoint.y - list.y));
        }
        mList->SetFocus(true);
    }
    return kOk;
}

// ---- items and selection ----------------------------------------------------------------------------

std::int32_t LComboBox::SetItemCount(std::int32_t count)
{
    if (!mList)
    {
        return kFail;
    }
    const std::int32_t result = mList->SetItemCount(count);
    if (mList->GetItemDataCount() <= mSelectedIndex)
    {
        SetSelectedIndex(-1);
    }
    if (IsDropDownShown())
    {
        ShowDropDown(true);
    }
    return result;
}

std::int32_t LComboBox::SetSelectedIndex(std::int32_t index)
{
    if (!mList)
    {
        mSelectedIndex = -1;
        return mSelectedIndex;
    }
    if (index < 0)
    {
        mSelectedIndex = -1;
        mList->DeselectAll();
        return mSelectedIndex;
    }
    if (mList->SelectRange(index, index, true) < 0)
    {
        mSelectedIndex = -1;
        return mSelectedIndex;
    }
    const RCPtr<LControl> self(this);
    mShowsNoItem = false;
    const String text = mList->GetItemText(index);
    LControl::SetText(text);
    if (mTextBox)
    {
        mTextBox->SetText(text, true);
    }
    if (index != mSelectedIndex)
    {
        mSelectedIndex = index;
        SendNotificationByName(u"NID_SELECTION_CHANGE");
    }
    return mSelectedIndex;
}

void LComboBox::ClearShownItem()
{
    const RCPtr<LControl> self(this);
    mSelectedIndex = -1;
    mShowsNoItem = true;
    if (mList)
    {
        mList->DeselectAll();
    }
    LControl::SetText(String());
    if (mTextBox)
    {
        mTextBox->SetText(String(), true);
    }
}

const LListBox::Item& LComboBox::GetItem(std::int32_t index)
{
    if (!mList || index < 0 || index >= mList->GetItemDataCount())
    {
        return EmptyItem();
    }
    return mList->GetItemData(index);
}

String LComboBox::GetItemText(std::int32_t index) const
{
    return mList ? mList->GetItemText(index) : String();
}

std::int32_t LComboBox::AddItem(const String& text)
{
    return InsertItem(GetItemCount(), MakeStringTag(text));
}

std::int32_t LComboBox::InsertItem(std::int32_t index, const ConstRCPtr<LTaggableObject>& tag)
{
    if (!tag)
    {
        return kInvalidArg;
    }
    if (!mList)
    {
        return kFail;
    }
    const std::int32_t at = mList->InsertItem(index, tag);
    if (at < 0)
    {
        return at;
    }
    if (at <= mSelectedIndex)
    {
        ++mSelectedIndex;
    }
    else if (mSelectedIndex < 0 && mList->GetItemText(at) == GetText())
    {
        SetSelectedIndex(at);
    }
    return at;
}

bool LComboBox::SetText(const String& text)
{
    mShowsNoItem = false;
    const bool changed = LControl::SetText(text);
    SetSelectedIndex(mList ? mList->FindItemByText(text) : -1);
    return changed;
}

bool LComboBox::SetTextFromString(const String& text)
{
    return !SetText(text);
}

// ---- notifications -------------------------------------------------------------------------------------

Result LComboBox::OnListVisibility(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    UpdateLook();
    return 1;
}

Result LComboBox::OnItemActivated(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    // The list hides itself.
    SetSelectedIndex(mList ? mList->GetCaret() : -1);
    return 1;
}

Result LComboBox::OnTextValidated(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification)
{
    const RCPtr<LTextValidationParams> params =
        notification ? notification->GetDataAs<LTextValidationParams>() : nullptr;
    if (params && mList)
    {
        SetSelectedIndex(mList->FindItemByText(params->text, -1));
    }
    return PassTextNotificationOn(sender, notification);
}

Result LComboBox::PassTextNotificationOn(const RCPtr<LNotificationDistributor>&,
                                         const RCPtr<LNotification>& notification)
{
    if (notification)
    {
        SendNotification(LNotification::Create(notification->GetID(), notification->GetData()));
    }
    return 1;
}

Result LComboBox::OnTextFocus(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    if (mTextBox && mTextBox->HasFocus() && mList)
    {
        mList->SetVisible(false);
    }
    return 1;
}

// ---- looks, keys and the pointer -------------------------------------------------------------------

std::int32_t LComboBox::ChooseLook()
{
    const std::uint32_t conditions = GetConditions();
    const bool hot = (conditions & Condition::kHover) != 0;
    const bool focused = (conditions & (Condition::kHasFocus | Condition::kContainsFocus)) != 0;
    if (!IsEnabled(true))
    {
        return kLookDisabled;
    }
    if (IsDropDownShown())
    {
        return kLookOpen + (hot ? 1 : 0);
    }
    return (hot ? kLookHot : 0) + (focused ? kLookFocused : 0);
}

Result LComboBox::UpdateLook()
{
    SetLookWeight(ChooseLook(), 1.0f, true);
    return kOk;
}

void LComboBox::SetEnabled(bool enabled)
{
    LDropDownControl::SetEnabled(enabled);
    UpdateLook();
}

String LComboBox::GetToolTipText()
{
    return IsTextClipped() ? GetText() : LDropDownControl::GetToolTipText();
}

Result LComboBox::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return kNothingDone;
    }
    const std::uint32_t code = key->key.code;
    if (!IsDropDownShown() && (code == kDownKey || code == kEnterKey))
    {
        ShowDropDown(true);
        return kOk;
    }
    if (IsDropDownShown() && code == kEscapeKey)
    {
        ShowDropDown(false);
        return kOk;
    }
    return kNothingDone;
}

Result LComboBox::DispatchKey(const RCPtr<LKeyParam>& key)
{
    // Only an open list takes Escape: with the list closed it goes on, to a dialog's cancel.
    if (key && key->key.code == kEscapeKey && IsDropDownShown())
    {
        mList->SetVisible(false);
        return kOk;
    }
    return LDropDownControl::DispatchKey(key);
}

Result LComboBox::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (conditions && mList && (conditions->current & ~conditions->previous & Condition::kLeftPressed) != 0)
    {
        // Stored before the drop-down's own handling, which may open the list and begin
        // its drag: that drag starts from this press. The condition's point is in the
        // parent's coordinates.
        mPressPoint = PointD{conditions->point.x - GetPosition().x, conditions->point.y - GetPosition().y};
    }
    const Result result = LDropDownControl::OnConditionsChanged(conditions);
    UpdateLook();
    return result;
}

} // namespace KR
