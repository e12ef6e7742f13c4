// The popup menu's menu, rows, item states and key-combination texts. Keys, the pointer,
// sub-menus and activation are in PopupMenuInput.cpp.

#include "kr/controls/PopupMenu.h"

#include "kr/controls/CheckedListBoxItem.h"
#include "kr/core/CollectPairsWithPrefix.h"
#include "kr/notify/NotificationQueue.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/ShortcutText.h"
#include "kr/ui/StringTable.h"

#include <cmath>

namespace KR
{

namespace
{
constexpr char16_t kHotKeyLabel[] = u"hotKeyLabel";
constexpr char16_t kCheckBox[] = u"checkBox";

// Check-box looks: none, checked, checked under the pointer.
constexpr std::int32_t kCheckLookNone = 0;
constexpr std::int32_t kCheckLookChecked = 7;
constexpr std::int32_t kCheckLookCheckedHot = 8;

float MeasureWidth(const String& text, const RCPtr<LFont>& font)
{
    const RCPtr<LMeasurementRenderer> renderer = IFrameworkApp::GetInstance().GetMeasurementRenderer();
    RectT<float> box{};
    if (renderer && !text.IsEmpty())
    {
        renderer->MeasureText(box, text, font);
    }
    return box.width;
}

// The window's queue, when the window is one.
RCPtr<LNotificationQueue> WindowQueue(const RCPtr<IRootWindowServices>& window)
{
    return RCPtr<LNotificationQueue>(dynamic_cast<LNotificationQueue*>(window.Get()));
}
} // namespace

LPopupMenu::LPopupMenu(const RCPtr<LControl>& parent, const String& name) : LCheckedListBox(parent, name)
{
}

LPopupMenu::~LPopupMenu() = default;

Result LPopupMenu::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mOpenSubMenu = nullptr;
    mOpenSubMenuItem = nullptr;
    mCommandReceiver = nullptr;
    mItemUpdater = nullptr;
    return LCheckedListBox::ReleaseInternalReferences();
}

Result LPopupMenu::Receive(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification)
{
    if (mHandler && IsCreationFinished())
    {
        const Result handled = mHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LCheckedListBox::Receive(sender, notification);
}

Result LPopupMenu::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                             NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LCheckedListBox::UnregisterForNotification(sender, name);
}

// ---- creation ------------------------------------------------------------------------------

Result LPopupMenu::Initialize()
{
    if (Failed(LCheckedListBox::Initialize()))
    {
        return kFail;
    }
    mHandler = LNotificationHandler<LPopupMenu>::Create(this);
    ApplySizeLimits();
    mRowMargin = -1;
    SetCheckBoxLookFollowsRow(true);
    SetDropDownMode(true);
    const RCPtr<LStringTable> strings = GetStringTable();
    if (!strings)
    {
        return kNothingDone;
    }
    MenuStringPairs pairs;
    CollectPairsWithPrefix(strings->GetTexts(), String(), pairs);
    RCPtr<LMenuDescriptor> menu;
    BuildMenuFromStringTable(menu, pairs);
    if (!menu || menu == LMenuDescriptor::Null() || menu->GetItemCount() == 0)
    {
        return kNothingDone;
    }
    const Result result = SetMenu(menu);
    return Failed(result) ? result : kOk;
}

Result LPopupMenu::PlaceParts()
{
    SetClipToParent(false);
    SetVisible(false);
    ApplySizeLimits();
    return kOk;
}

void LPopupMenu::ApplySizeLimits()
{
    const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor();
    const ConstRCPtr<LControlDescriptor>& descriptor = GetControlDescriptor();
    const LLayoutDescriptor* skin =
        descriptor && descriptor->GetLayout() ? descriptor->GetLayout().Get() : nullptr;
    if (!layout || !skin)
    {
        return;
    }
    for (std::int32_t axis = 0; axis < 2; ++axis)
    {
        LimitSpec skinMinimum;
        LimitSpec skinMaximum;
        const_cast<LLayoutDescriptor*>(skin)->GetSizeLimits(axis, skinMinimum, skinMaximum);
        if (skinMinimum.absolute != 0.0 && skinMaximum.absolute != 0.0)
        {
            continue;
        }
        LimitSpec minimum;
        LimitSpec maximum;
        layout->GetSizeLimits(axis, minimum, maximum);
        if (skinMinimum.absolute == 0.0)
        {
            // Never below the first width, nor below one row.
            minimum.absolute = axis == 0 ? std::trunc(GetSize().x) : static_cast<double>(GetRowHeight());
            minimum.relative = axis == 0 ? minimum.relative : 0.0f;
        }
        SetSizeLimits(axis, minimum, maximum);
    }
}

Result LPopupMenu::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    const Result result = LCheckedListBox::ApplyLayoutDescriptor(descriptor);
    if (Succeeded(result) && mMenu)
    {
        UpdateLayout();
        RebuildRows();
    }
    return result;
}

// ---- the menu ------------------------------------------------------------------------------

const RCPtr<LMenuItemDescriptor>& LPopupMenu::ItemAt(std::int32_t index) const
{
    static const RCPtr<LMenuItemDescriptor> none;
    return mMenu && index >= 0 ? mMenu->GetItem(static_cast<std::uint32_t>(index)) : none;
}

bool LPopupMenu::HasSubItems(const RCPtr<LMenuItemDescriptor>& item)
{
    return item && item->GetItemCount() > 0;
}

RCPtr<LPopupMenu> LPopupMenu::GetParentMenu() const
{
    return RCPtr<LPopupMenu>(dynamic_cast<LPopupMenu*>(GetParent().Get()));
}

RCPtr<LControl> LPopupMenu::GetOwnerControl() const
{
    RCPtr<LControl> control = GetParent();
    while (control && dynamic_cast<LPopupMenu*>(control.Get()) != nullptr)
    {
        control = control->GetParent();
    }
    return control;
}

Result LPopupMenu::SetMenu(const RCPtr<LMenuDescriptor>& menu)
{
    if (!menu)
    {
        return kInvalidArg;
    }
    CloseSubMenus();
    mMenu = menu->CopyFrom();
    AssignHotKeyTexts();
    return RebuildRows();
}

Result LPopupMenu::SetSubMenuFromParent(std::int32_t index)
{
    const RCPtr<LPopupMenu> parent = GetParentMenu();
    const RCPtr<LMenuItemDescriptor> item = parent ? parent->ItemAt(index) : nullptr;
    if (!HasSubItems(item))
    {
        return kInvalidArg;
    }
    CloseSubMenus();
    mMenu = RCPtr<LMenuDescriptor>(item);
    AssignHotKeyTexts();
    return RebuildRows();
}

Result LPopupMenu::SetCommandQueue(const RCPtr<LNotificationQueue>& queue)
{
    if (!queue)
    {
        return kInvalidArg;
    }
    if (mCommandReceiver)
    {
        return kFail;
    }
    mCommandReceiver = RCPtr<LNotificationReceiver>(queue->GetPostingReceiver());
    if (mMenu)
    {
        AssignHotKeyTexts();
        RebuildRows();
    }
    return kOk;
}

// ---- key-combination texts -----------------------------------------------------------------

Result LPopupMenu::AssignHotKeyTexts()
{
    const RCPtr<LControl> owner = GetOwnerControl();
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if ((!mCommandReceiver && !owner) || (mCommandReceiver && !window))
    {
        return kFail;
    }
    if (!mMenu)
    {
        return kNothingDone;
    }
    // The window's own keys count only when commands go through the window's queue.
    const HotKeyMap* windowKeys = nullptr;
    RCPtr<LGlobalHotKeyManager> windowManager;
    if (mCommandReceiver)
    {
        const RCPtr<LNotificationQueue> queue = WindowQueue(window);
        windowManager = window->GetHotKeyManager();
        if (queue && windowManager &&
            RCPtr<LNotificationReceiver>(queue->GetPostingReceiver()) == mCommandReceiver)
        {
            windowKeys = &windowManager->GetHotKeyMap();
        }
    }
    const RCPtr<LGlobalHotKeyManager> appManager = IFrameworkApp::GetInstance().GetGlobalHotKeyManager();
    AssignHotKeyTexts(*mMenu, 0, mCommandReceiver ? nullptr : owner, windowKeys,
                      appManager ? &appManager->GetHotKeyMap() : nullptr);
    return kOk;
}

void LPopupMenu::AssignHotKeyTexts(LMenuDescriptor& menu, std::uint32_t depth, const RCPtr<LControl>& owner,
                                   const HotKeyMap* windowKeys, const HotKeyMap* appKeys)
{
    for (std::uint32_t i = 0; i < menu.GetItemCount(); ++i)
    {
        const RCPtr<LMenuItemDescriptor>& item = menu.GetItem(i);
        if (!item || item->IsSeparator())
        {
            continue;
        }
        if (item->GetItemCount() > 0)
        {
            if (depth < kMaxMenuDepth)
            {
                AssignHotKeyTexts(*item, depth + 1, owner, windowKeys, appKeys);
            }
            continue;
        }
        const String& command = item->GetCommand();
        if (!item->GetShortcut().IsEmpty() || command.IsEmpty())
        {
            continue;
        }
        KeyCode key;
        if (owner && owner->HasHotKey(command))
        {
            key = owner->ParseKeyCode(command);
        }
        else if (windowKeys && windowKeys->HasHotKey(command))
        {
            key = KeyCodeFromText(*windowKeys, command);
        }
        else if (appKeys && appKeys->HasHotKey(command))
        {
            key = KeyCodeFromText(*appKeys, command);
        }
        else
        {
            continue;
        }
        item->SetShortcut(FormatShortcutText(key.code));
    }
}

// ---- rows ----------------------------------------------------------------------------------

RCPtr<LCheckedListBoxItem> LPopupMenu::RowOfItem(std::int32_t index) const
{
    return RCPtr<LCheckedListBoxItem>(
        dynamic_cast<LCheckedListBoxItem*>(GetRow(RowIndexOfItem(index)).Get()));
}

Result LPopupMenu::RebuildRows()
{
    if (!mMenu)
    {
        return kNothingDone;
    }
    const std::int32_t count = static_cast<std::int32_t>(mMenu->GetItemCount());
    SetItemCount(count);
    // A row for every item: a menu shows them all, and its rows are measured below.
    while (GetRowCount() < count && Succeeded(AddItemControl()))
    {
    }
    const RCPtr<LListBoxItem> row = GetRow(GetRowCount() - 1);
    if (!row)
    {
        return kNothingDone;
    }
    if (mRowMargin == -1)
    {
        const RCPtr<LControl>& check = row->FindChildControl(String(kCheckBox));
        const RCPtr<LControl>& keys = row->FindChildControl(String(kHotKeyLabel));
        const auto whole = [](double v) { return static_cast<std::int32_t>(v); };
        mRowMargin =
            (check ? whole(check->GetPosition().x) + whole(check->GetSize().x) : 0) + 20 +
            (keys ? whole(row->GetSize().x) - whole(keys->GetPosition().x) - whole(keys->GetSize().x) : 0);
    }
    // A separator's height is what the row makes of no text in separator mode.
    const String text = row->GetText();
    row->SetBlank(true);
    row->SetText(String());
    row->UpdateLayout();
    mSeparatorRowHeight = static_cast<std::int32_t>(std::lround(row->GetSize().y));
    row->SetBlank(false);
    row->SetText(text);
    mSeparatorCount = 0;
    std::int32_t widest = 0;
    for (std::int32_t i = 0; i < count; ++i)
    {
        const RCPtr<LMenuItemDescriptor>& item = ItemAt(i);
        const bool separator = item && item->IsSeparator() != 0;
        SetItem(i, ConstRCPtr<LTaggableObject>(item.Get()), 0.0, HasSubItems(item), separator);
        SetItemChecked(i, item && item->IsChecked() != 0);
        mSeparatorCount += separator ? 1 : 0;
        if (const RCPtr<LListBoxItem> shown = GetRow(RowIndexOfItem(i)))
        {
            shown->UpdateLayout();
        }
        widest = std::max(widest, GetRowWidth(i));
    }
    // The list's rows take the widest width measured now that the margin is known.
    UpdateWidestItem();
    SetListWidth(GetScrollBarExtent().x + widest);
    SetListHeight(static_cast<double>(GetContentHeight()));
    UpdateClientExtent();
    for (std::int32_t i = GetFirstShown(); i < GetFirstShown() + GetRowCount(); ++i)
    {
        if (Failed(UpdateItemControl(i)))
        {
            return kFail;
        }
    }
    return kOk;
}

std::int32_t LPopupMenu::GetRowWidth(std::int32_t index)
{
    const RCPtr<LMenuItemDescriptor>& item = ItemAt(index);
    const RCPtr<LListBoxItem> row = GetRow(std::max(0, RowIndexOfItem(index)));
    if (!item || !row)
    {
        return 0;
    }
    const RCPtr<LControl>& keys = row->FindChildControl(String(kHotKeyLabel));
    const float width = MeasureWidth(item->GetLabel(), row->GetFont()) +
                        MeasureWidth(item->GetShortcut(), keys ? keys->GetFont() : row->GetFont());
    return static_cast<std::int32_t>(std::round(width)) + std::max(0, mRowMargin);
}

std::int32_t LPopupMenu::GetItemWidth(std::int32_t index)
{
    const std::int32_t width = GetRowWidth(index);
    const RCPtr<LLayoutDescriptor>& layout = GetLayoutDescriptor();
    if (!ItemAt(index) || !layout)
    {
        return width;
    }
    // The list makes every row as wide as the widest: a menu's rows span the menu.
    LimitSpec minimum;
    LimitSpec maximum;
    layout->GetSizeLimits(0, minimum, maximum);
    return std::max(width, static_cast<std::int32_t>(minimum.absolute));
}

std::int32_t LPopupMenu::MeasureWidest()
{
    std::int32_t widest = 0;
    for (std::int32_t i = 0; i < GetItemDataCount(); ++i)
    {
        widest = std::max(widest, GetItemWidth(i));
    }
    return widest;
}

Result LPopupMenu::UpdateItemControl(std::int32_t itemIndex)
{
    const RCPtr<LCheckedListBoxItem> row = RowOfItem(itemIndex);
    if (!row)
    {
        return kNothingDone;
    }
    const RCPtr<LMenuItemDescriptor>& item = ItemAt(itemIndex);
    const RCPtr<LControl>& keys = row->FindChildControl(String(kHotKeyLabel));
    if (keys)
    {
        keys->SetText(item ? item->GetShortcut() : String());
    }
    if (!item)
    {
        row->SetEnabled(false);
        row->SetRowLook(0, false);
    }
    LCheckedListBox::UpdateItemControl(itemIndex);
    if (item)
    {
        // A separator is never a row the pointer or the keys stop on.
        row->SetEnabled(item->IsEnabled() != 0 && item->IsSeparator() == 0);
    }
    const bool hot = (row->GetConditions() & Condition::kHoverOrForced) != 0;
    const std::int32_t check =
        item && item->IsChecked() != 0 ? (hot ? kCheckLookCheckedHot : kCheckLookChecked) : kCheckLookNone;
    row->SetCheckBoxLook(check, false);
    if (keys)
    {
        FollowRowTextColour(*row, *keys);
    }
    return kOk;
}

void LPopupMenu::FollowRowTextColour(const LControl& row, LControl& keys)
{
    // The key text is part of the row's text: greyed with it, lit with it under the pointer.
    const RCPtr<LLook>& rowLook = row.GetActiveLook(-1);
    const RCPtr<LLook>& keysLook = keys.GetActiveLook(-1);
    if (!rowLook || !keysLook || !rowLook->GetTextPart() || keysLook->GetTextPart() == rowLook->GetTextPart())
    {
        return;
    }
    keysLook->SetTextPart(rowLook->GetTextPart());
    keys.Invalidate(RectD{0.0, 0.0, keys.GetSize().x, keys.GetSize().y}, keys.ClipsToParent());
}

std::int32_t LPopupMenu::GetContentHeight() const
{
    const std::int32_t count = GetItemDataCount();
    return (count - mSeparatorCount) * GetRowHeight() + mSeparatorRowHeight * mSeparatorCount;
}

bool LPopupMenu::IsItemSelectable(std::int32_t index) const
{
    const RCPtr<LMenuItemDescriptor>& item = ItemAt(index);
    return item && item->IsEnabled() != 0 && item->IsSeparator() == 0;
}

Result LPopupMenu::AddItemControl()
{
    const Result result = LCheckedListBox::AddItemControl();
    const RCPtr<LListBoxItem> row = GetRow(GetRowCount() - 1);
    if (Succeeded(result) && row)
    {
        // The key text only shows the row's state, as the check box does: the pointer is
        // the row's.
        if (const RCPtr<LControl>& keys = row->FindChildControl(String(kHotKeyLabel)))
        {
            keys->SetExcludedFromHitTest(true);
        }
    }
    if (Succeeded(result) && row && mHandler)
    {
        mHandler->Register(&LPopupMenu::OnRowHoverStatus, RCPtr<LNotificationDistributor>(row),
                           u"NID_HOVER_CONDITION_CHANGE");
    }
    return result;
}

Result LPopupMenu::OnRowHoverStatus(const RCPtr<LNotificationDistributor>& sender,
                                    const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> row(sender);
    const RCPtr<LConditionsParam> conditions(notification ? notification->GetData() : nullptr);
    if (!row || !conditions)
    {
        return 0;
    }
    const std::int32_t index = ItemIndexOfRow(row.Get());
    const std::uint32_t changed = conditions->current ^ conditions->previous;
    if ((changed & Condition::kHoverOrForced) != 0)
    {
        IFrameworkApp& app = IFrameworkApp::GetInstance();
        const RCPtr<LMenuItemDescriptor>& item = ItemAt(index);
        if ((conditions->current & Condition::kHoverOrForced) == 0)
        {
            app.ResetStatusText(false);
        }
        else if (item && !item->GetHelp().IsEmpty())
        {
            app.SetStatusText(item->GetHelp(), false);
        }
        UpdateItemControl(index);
    }
    // The list's own hover handling runs too.
    return 0;
}

// ---- item states ---------------------------------------------------------------------------

void LPopupMenu::RefreshItemStates()
{
    if (!mItemUpdater)
    {
        if (const RCPtr<LControl> owner = GetOwnerControl())
        {
            mItemUpdater = owner->GetMenuItemUpdater();
        }
    }
    if (!mMenu || !mItemUpdater || !mItemUpdater->control)
    {
        return;
    }
    const RCPtr<LControl> target = mItemUpdater->control;
    for (std::int32_t i = static_cast<std::int32_t>(mMenu->GetItemCount()); i-- > 0;)
    {
        const RCPtr<LMenuItemDescriptor> item = ItemAt(i);
        if (!item || HasSubItems(item) || item->IsSeparator())
        {
            continue;
        }
        MenuItemInfo info;
        mMenu->GetItemInfo(static_cast<std::uint32_t>(i), info);
        target->UpdateMenuItem(i, item->GetCommand(), info);
        SetItemState(i, info);
    }
}

Result LPopupMenu::SetItemState(std::int32_t index, const MenuItemInfo& state)
{
    const RCPtr<LMenuItemDescriptor> item = ItemAt(index);
    if (!item)
    {
        return kInvalidArg;
    }
    MenuItemInfo current;
    mMenu->GetItemInfo(static_cast<std::uint32_t>(index), current);
    if (current.enabled == state.enabled && current.checked == state.checked && current.label == state.label)
    {
        return kNothingDone;
    }
    if (item->IsSeparator() == 0)
    {
        item->SetEnabled(state.enabled);
        if (!HasSubItems(item))
        {
            item->SetChecked(state.checked);
            SetItemChecked(index, state.checked != 0);
        }
    }
    if (current.label != state.label)
    {
        item->SetLabel(state.label);
        RebuildRows();
    }
    UpdateItemControl(index);
    return kOk;
}

} // namespace KR
