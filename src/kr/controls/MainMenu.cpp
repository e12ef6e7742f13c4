#include "kr/controls/MainMenu.h"

#include "kr/controls/ComboMenu.h"
#include "kr/controls/NumberedTextId.h"
#include "kr/controls/PopupMenu.h"
#include "kr/core/CollectPairsWithPrefix.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/StringTable.h"

#include <vector>

namespace KR
{

namespace
{
constexpr char16_t kTemplateName[] = u"templateMenu";
constexpr char16_t kMenuPopupName[] = u"popupMenu";
constexpr char16_t kLabelPrefix[] = u"MENU_LABEL.";

struct SavedTitle
{
    RCPtr<LMenuDescriptor> menu;
    String text;
    String name;
};
} // namespace

LMainMenu::LMainMenu(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LMainMenu::~LMainMenu() = default;

Result LMainMenu::ReleaseInternalReferences()
{
    mRememberedFocus = nullptr;
    mTemplate = nullptr;
    mUpdaterLink = nullptr;
    return LControl::ReleaseInternalReferences();
}

RCPtr<LPopupMenu> LMainMenu::PopupOf(const RCPtr<LControl>& title)
{
    return title ? RCPtr<LPopupMenu>(
                       dynamic_cast<LPopupMenu*>(title->FindChildControl(String(kMenuPopupName)).Get()))
                 : nullptr;
}

void LMainMenu::GiveWindowQueue(const RCPtr<LPopupMenu>& popup)
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    auto* queue = dynamic_cast<LNotificationQueue*>(window.Get());
    if (popup && queue)
    {
        // A popup keeps the first queue it is given.
        popup->SetCommandQueue(RCPtr<LNotificationQueue>(queue));
    }
}

void LMainMenu::PrepareTitle(const RCPtr<LControl>& title)
{
    title->SetFocusBarrier(true);
    if (const RCPtr<LPopupMenu> popup = PopupOf(title))
    {
        popup->SetItemUpdater(GetMenuItemUpdater());
        GiveWindowQueue(popup);
    }
}

// ---- creation --------------------------------------------------------------------------------

Result LMainMenu::Initialize()
{
    const Result result = LControl::Initialize();
    SetNotFocusable(true);
    ChildControlList& children = GetChildren();
    for (std::uint32_t i = children.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl> child = children.GetAt(i, kInsertionOrder);
        if (child->GetName() == kTemplateName)
        {
            mTemplate = RCPtr<LControlDescriptor>(
                const_cast<LControlDescriptor*>(child->GetControlDescriptor().Get()));
            child->Detach();
            mHasTemplate = true;
            continue;
        }
        PrepareTitle(child);
        ++mSkinTitleCount;
        if (!mTemplate)
        {
            mTemplate = RCPtr<LControlDescriptor>(
                const_cast<LControlDescriptor*>(child->GetControlDescriptor().Get()));
        }
    }
    BuildTitles();
    return result;
}

void LMainMenu::BuildTitles()
{
    const RCPtr<LStringTable> table = GetStringTable();
    if (!table)
    {
        return;
    }
    MenuStringPairs pairs;
    CollectPairsWithPrefix(table->GetTexts(), String(kLabelPrefix), pairs);
    // Only plain numbers below the cap name a label: any other id is passed over.
    std::vector<String> labels;
    for (const Pair<String, String>& pair : pairs)
    {
        const std::int32_t number = ReadNumberedTextId(pair.first, kLabelPrefix);
        if (number < 0)
        {
            continue;
        }
        if (static_cast<std::size_t>(number) >= labels.size())
        {
            labels.resize(static_cast<std::size_t>(number) + 1);
        }
        labels[static_cast<std::size_t>(number)] = pair.second;
    }
    RCPtrArray<LMenuDescriptor> menus;
    if (Failed(BuildContextMenu(menus)) || menus.GetCount() != labels.size() || labels.empty())
    {
        return;
    }
    for (std::uint32_t i = 0; i < menus.GetCount(); ++i)
    {
        if (!menus.GetAt(i) || menus.GetAt(i) == LMenuDescriptor::Null())
        {
            return;
        }
    }
    for (std::uint32_t i = 0; i < menus.GetCount(); ++i)
    {
        AddMenu(static_cast<std::int32_t>(i), labels[i], labels[i], menus.GetAt(i));
    }
}

Result LMainMenu::AddChildControl(const RCPtr<LControl>& child, ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!child)
    {
        if (descriptor && descriptor->GetName() == kTemplateName)
        {
            mTemplate = RCPtr<LControlDescriptor>(const_cast<LControlDescriptor*>(descriptor.Get()));
        }
        return kOk;
    }
    if (!descriptor)
    {
        return kOk;
    }
    const Result result = LControl::AddChildControl(child, descriptor);
    if (!mTemplate)
    {
        mTemplate = RCPtr<LControlDescriptor>(const_cast<LControlDescriptor*>(descriptor.Get()));
    }
    return result;
}

Result LMainMenu::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    if (!IsCreationFinished() || !descriptor)
    {
        return LControl::ApplyLayoutDescriptor(descriptor);
    }
    const RCPtr<LControl> self(this);
    mTemplate = nullptr;
    std::vector<SavedTitle> saved;
    for (std::int32_t i = 0; i < GetMenuTitleCount(); ++i)
    {
        const RCPtr<LControl> title =
            GetChildren().GetAt(static_cast<std::uint32_t>(mSkinTitleCount + i), kInsertionOrder);
        const RCPtr<LPopupMenu> popup = PopupOf(title);
        saved.push_back(SavedTitle{popup ? popup->GetMenu() : nullptr, title->GetText(), title->GetName()});
    }
    // The base keeps only the children the new skin names; the run-time titles go.
    const Result result = LControl::ApplyLayoutDescriptor(descriptor);
    mSkinTitleCount = static_cast<std::int32_t>(GetChildren().GetCount());
    mHasTemplate = false;
    const LControlDescriptor::Children& children = descriptor->GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        const RCPtr<LControlDescriptor>& child = children.GetAt(i);
        if (child && child->GetName() == kTemplateName)
        {
            mTemplate = child;
            mHasTemplate = true;
        }
    }
    for (const SavedTitle& title : saved)
    {
        if (Failed(CreateMenuTitle(title.name)))
        {
            continue;
        }
        const RCPtr<LControl> made = FindChildControl(title.name);
        made->SetText(title.text);
        if (const RCPtr<LPopupMenu> popup = PopupOf(made); popup && title.menu)
        {
            popup->SetMenu(title.menu);
        }
    }
    return result;
}

// ---- titles ----------------------------------------------------------------------------------

std::int32_t LMainMenu::GetMenuTitleCount() const
{
    return static_cast<std::int32_t>(GetChildren().GetCount()) - mSkinTitleCount;
}

String LMainMenu::GetMenuTitleName(std::int32_t index) const
{
    if (index < 0 || index >= GetMenuTitleCount())
    {
        return String();
    }
    return GetChildren()
        .GetAt(static_cast<std::uint32_t>(mSkinTitleCount + index), kInsertionOrder)
        ->GetName();
}

RCPtr<LComboMenu> LMainMenu::GetMenuTitle(std::int32_t index) const
{
    if (index < 0 || index >= GetMenuTitleCount())
    {
        return nullptr;
    }
    const RCPtr<LControl>& title =
        GetChildren().GetAt(static_cast<std::uint32_t>(mSkinTitleCount + index), kInsertionOrder);
    return RCPtr<LComboMenu>(dynamic_cast<LComboMenu*>(title.Get()));
}

std::int32_t LMainMenu::FindMenuTitle(const String& name) const
{
    for (std::int32_t i = 0; i < GetMenuTitleCount(); ++i)
    {
        if (GetMenuTitleName(i) == name)
        {
            return i;
        }
    }
    return -1;
}

Result LMainMenu::CreateMenuTitle(const String& name)
{
    if (FindChildControl(name))
    {
        return kInvalidArg;
    }
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    // Without a template there is nothing to make a title from.
    if (!mTemplate || !factory)
    {
        return kFail;
    }
    const RCPtr<LLayoutDescriptor> layout =
        mTemplate->GetLayout() ? mTemplate->GetLayout()->Clone() : LLayoutDescriptor::Create();
    const std::uint32_t count = GetChildren().GetCount();
    if ((GetMenuTitleCount() > 0 || !mHasTemplate) && count > 0)
    {
        // At the right edge of the title before it.
        DockedPositionSpec position;
        SizeSpec size;
        layout->GetPlacement(0, position, size);
        position.anchor = 0.0f;
        position.reference = kPositionToNamed;
        position.referenceName = GetChildren().GetAt(count - 1, kInsertionOrder)->GetName();
        position.relative = 1.0f;
        position.absolute = 0.0;
        layout->SetPlacement(0, position, size);
    }
    const RCPtr<LControlDescriptor> descriptor = factory->CloneControlDescriptor(mTemplate, layout, name);
    const RCPtr<LControl> title =
        descriptor ? factory->CreateControl(descriptor, RCPtr<LControl>(this)) : nullptr;
    if (!title)
    {
        return kFail;
    }
    PrepareTitle(title);
    return kOk;
}

Result LMainMenu::RenameTitle(const RCPtr<LControl>& title, const String& name)
{
    return GetChildren().RenameChild(title, name);
}

Result LMainMenu::InsertMenu(const String& before, const String& name, const String& label,
                             const RCPtr<LMenuDescriptor>& menu)
{
    std::int32_t position = static_cast<std::int32_t>(GetChildren().GetCount());
    if (!before.IsEmpty())
    {
        const std::int32_t found = FindMenuTitle(before);
        if (found < 0)
        {
            return kInvalidArg;
        }
        position = mSkinTitleCount + found;
    }
    const Result made = CreateMenuTitle(name);
    if (Failed(made))
    {
        return made;
    }
    ChildControlList& children = GetChildren();
    // The controls stay; their menus, texts and names move one place towards the end.
    for (std::int32_t j = static_cast<std::int32_t>(children.GetCount()) - 1; j > position; --j)
    {
        const RCPtr<LControl> a = children.GetAt(static_cast<std::uint32_t>(j - 1), kInsertionOrder);
        const RCPtr<LControl> b = children.GetAt(static_cast<std::uint32_t>(j), kInsertionOrder);
        const RCPtr<LPopupMenu> from = PopupOf(a);
        const RCPtr<LPopupMenu> to = PopupOf(b);
        if (from && to && from->GetMenu())
        {
            to->SetMenu(from->GetMenu());
        }
        b->SetText(a->GetText());
        const String aName = a->GetName();
        RenameTitle(a, aName + u"_");
        RenameTitle(b, aName);
    }
    const RCPtr<LControl> title = children.GetAt(static_cast<std::uint32_t>(position), kInsertionOrder);
    title->SetText(label);
    if (const RCPtr<LPopupMenu> popup = PopupOf(title); popup && menu)
    {
        popup->SetMenu(menu);
    }
    RenameTitle(title, name);
    return position - mSkinTitleCount;
}

Result LMainMenu::AddMenu(std::int32_t index, const String& name, const String& label,
                          const RCPtr<LMenuDescriptor>& menu)
{
    const std::int32_t count = GetMenuTitleCount();
    if (index < 0 || index > count)
    {
        return kInvalidArg;
    }
    return InsertMenu(index == count ? String() : GetMenuTitleName(index), name, label, menu);
}

// ---- what the popups and the window ask ------------------------------------------------------

bool LMainMenu::SetMenuItemUpdater(const RCPtr<LMenuItemUpdater>& updater)
{
    const bool same = updater == mUpdaterLink;
    mUpdaterLink = updater;
    return same;
}

Result LMainMenu::UpdateMenuItem(std::int32_t index, const String& notificationName, MenuItemInfo& state)
{
    if (!mUpdaterLink)
    {
        return kNothingDone;
    }
    const RCPtr<LControl> target = mUpdaterLink->control;
    if (!target)
    {
        return kFail;
    }
    // The bar's own updater given back to it would ask itself for ever.
    if (target.Get() == this)
    {
        return kNothingDone;
    }
    return target->UpdateMenuItem(index, notificationName, state);
}

RCPtr<LControl> LMainMenu::GetEditTarget()
{
    if (mRememberedFocus && mRememberedFocus->IsEditTarget())
    {
        return mRememberedFocus;
    }
    return GetParent() ? GetParent()->GetEditTarget() : nullptr;
}

Result LMainMenu::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (!conditions)
    {
        return kOk;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if ((turnedOn & Condition::kContainsFocus) != 0 && window)
    {
        RCPtr<LControl> last = window->GetLastFocusControl();
        // A control of the bar itself is no place to go back to.
        for (RCPtr<LControl> up = last; up; up = up->GetParent())
        {
            if (up.Get() == this)
            {
                last = nullptr;
                break;
            }
        }
        mRememberedFocus = last;
    }
    return kOk;
}

void LMainMenu::RegisterIdleHandlers()
{
    for (std::uint32_t i = 0; i < GetChildren().GetCount(); ++i)
    {
        GiveWindowQueue(PopupOf(GetChildren().GetAt(i, kInsertionOrder)));
    }
    LControl::RegisterIdleHandlers();
}

} // namespace KR
