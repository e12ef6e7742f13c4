// What code changes in what a control shows besides its geometry and state: its text, its
// looks' regions and parts, its cursor, a child's name, and the pop-ups it opens.

#include "kr/ui/Control.h"

#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/PopupControls.h"

namespace KR
{
namespace
{

constexpr char16_t kContextMenuName[] = u"contextMenu";
constexpr char16_t kToolTipName[] = u"toolTip";

// A name of a child's placement that follows the child when it is renamed.
void FollowRename(String& reference, const String& oldName, const String& newName)
{
    if (ControlNamesMatch(reference, oldName))
    {
        reference = newName;
    }
}

bool SizeFollowsText(const LLayoutDescriptor& layout)
{
    return (layout.xMinSize.reference == kLimitToSelf && layout.textOverflowX != kTextOverflowClip) ||
           (layout.yMinSize.reference == kLimitToSelf && layout.textOverflowY != kTextOverflowClip);
}

} // namespace

// ---- text -------------------------------------------------------------------------------------

bool LControl::SetText(const String& text, bool relayout)
{
    if (ControlNamesMatch(mText, text))
    {
        return false;
    }
    if (!mParent && mRootWindow)
    {
        mRootWindow->SetTitle(text);
    }
    mText = text;
    mLookText = text;
    for (std::uint32_t i = mLooks.GetCount(); i-- > 0;)
    {
        if (const RCPtr<LLook>& look = mLooks.ElementAt(i))
        {
            look->SetText(text);
        }
    }
    if (relayout && mLayout && !mTakingFirstDescriptor && SizeFollowsText(*mLayout))
    {
        UpdateLayout();
    }
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    return true;
}

bool LControl::SetTextFromString(const String& text)
{
    return !SetText(text, true);
}

// ---- looks ------------------------------------------------------------------------------------

Result LControl::SetLookRegion(std::int32_t index, const LRegion& region)
{
    if (index < 0 || !HasLookAt(static_cast<std::uint32_t>(index)))
    {
        return kInvalidArg;
    }
    const RCPtr<LLook>& look = LookAt(static_cast<std::uint32_t>(index));
    look->GetRegion().Clear();
    look->GetRegion().AppendRegion(region);
    Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    return kOk;
}

Result LControl::SetLookImage(std::int32_t index, const ConstRCPtr<LBitmap>& bitmap, std::int32_t resizeType)
{
    if (index < 0 || !HasLookAt(static_cast<std::uint32_t>(index)))
    {
        return kFail;
    }
    LookAt(static_cast<std::uint32_t>(index))
        ->SetClientPart(LVisualPart::Create(String(), bitmap, resizeType, nullptr, 1.0f, nullptr));
    if (index == GetActiveLookIndex())
    {
        Invalidate(RectD{0.0, 0.0, mSize.x, mSize.y}, ClipsToParent());
    }
    return kOk;
}

Result LControl::SetLookVisualPart(const RCPtr<LVisualPart>& part, std::int32_t index)
{
    if (index < 0 || !HasLookAt(static_cast<std::uint32_t>(index)))
    {
        return kFail;
    }
    if (!part)
    {
        return kInvalidArg;
    }
    LookAt(static_cast<std::uint32_t>(index))->SetClientPart(part);
    return kOk;
}

// ---- cursor -----------------------------------------------------------------------------------

void LControl::SetCursor(std::uint32_t cursor)
{
    if (cursor == mCursor)
    {
        return;
    }
    const std::uint32_t previous = mCursor;
    mCursor = cursor;
    if (!mHover)
    {
        return;
    }
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        const std::uint32_t shown = window->SetCursor(cursor);
        // The window's own cursor comes back when the pointer leaves.
        if (previous == 0)
        {
            mSavedCursor = shown;
        }
    }
}

// ---- child names ------------------------------------------------------------------------------

Result LControl::ChildControlList::RenameChild(const RCPtr<LControl>& child, const String& name)
{
    if (child && ControlNamesMatch(child->mName, name))
    {
        return kNothingDone;
    }
    std::int64_t index = -1;
    for (std::uint32_t i = mChildren.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl>& sibling = mChildren.ElementAt(i);
        if (ControlNamesMatch(sibling->mName, name))
        {
            return kFail;
        }
        if (sibling == child)
        {
            index = i;
        }
    }
    if (index < 0)
    {
        return kInvalidArg;
    }
    const String oldName = child->mName;
    child->mName = name;
    // A sibling only ever refers to siblings before it.
    for (std::uint32_t i = static_cast<std::uint32_t>(index) + 1; i < mChildren.GetCount(); ++i)
    {
        const RCPtr<LLayoutDescriptor>& layout = mChildren.ElementAt(i)->mLayout;
        if (!layout)
        {
            continue;
        }
        FollowRename(layout->xPosition.referenceName, oldName, name);
        FollowRename(layout->yPosition.referenceName, oldName, name);
        FollowRename(layout->xSize.referenceName, oldName, name);
        FollowRename(layout->ySize.referenceName, oldName, name);
        FollowRename(layout->xMinSize.referenceName, oldName, name);
        FollowRename(layout->yMinSize.referenceName, oldName, name);
        FollowRename(layout->xMaxSize.referenceName, oldName, name);
        FollowRename(layout->yMaxSize.referenceName, oldName, name);
    }
    return kOk;
}

// ---- pop-ups ----------------------------------------------------------------------------------

Result LControl::ShowContextMenu(const PointI& /*position*/)
{
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    if (!factory)
    {
        return kOk;
    }
    const RCPtr<LControl> self(this);
    // One menu open at a time: what is left of the last one goes first.
    if (const RCPtr<LControl> stale = FindChildControl(String(kContextMenuName)))
    {
        stale->Detach();
    }
    // The menu is this control's child, so this control is the one its commands reach.
    // A skin without a "contextMenu" element opens nothing.
    const RCPtr<LControl> control = factory->CreateChildControlByName(String(kContextMenuName), self);
    if (!control)
    {
        return kOk;
    }
    control->SetVisible(false);
    IPopupMenu* const menu = dynamic_cast<IPopupMenu*>(control.Get());
    // Through the slot: a class may make its menu only when it is first wanted.
    const RCPtr<LMenuDescriptor>& items = GetContextMenu();
    if (menu && items)
    {
        menu->SetMenu(items);
    }
    OnContextMenuOpening(control);
    if (menu)
    {
        // The menu opens at the pointer, wherever the caller saw it.
        menu->PlaceOnScreen();
    }
    return kOk;
}

Result LControl::CreateToolTip(bool show)
{
    const String name(kToolTipName);
    if (!show)
    {
        if (const RCPtr<LControl> tip = FindChildControl(name))
        {
            if (IToolTip* toolTip = dynamic_cast<IToolTip*>(tip.Get()))
            {
                return toolTip->Hide();
            }
            tip->SetVisible(false);
        }
        return kOk;
    }
    const String text = GetToolTipText();
    if (text.IsEmpty())
    {
        return kOk;
    }
    RCPtr<LControl> tip = FindChildControl(name);
    if (!tip)
    {
        const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
        // A skin without a "toolTip" element shows no tooltip.
        tip = factory ? factory->CreateChildControlByName(name, RCPtr<LControl>(this)) : nullptr;
        if (!tip)
        {
            return kOk;
        }
    }
    tip->SetText(text);
    tip->SetUseParentToolTip(mUseParentToolTip);
    if (IToolTip* toolTip = dynamic_cast<IToolTip*>(tip.Get()))
    {
        return toolTip->Show();
    }
    tip->SetVisible(true);
    return kOk;
}

Result DistributeNotification(const RCPtr<LNotificationDistributor>& distributor, NotificationName name,
                              const RCPtr<LRefCountedObject>& parameter)
{
    if (!parameter || !distributor)
    {
        return kOk;
    }
    return distributor->SendNotification(LNotification::Create(name, parameter));
}

} // namespace KR
