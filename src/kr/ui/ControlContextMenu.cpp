// Context menus: built from a control's string table, opened by a right click, and
// their commands turned into hot keys or application notifications.
//
// Entries: "CONTEXT_MENU.<order>.<notification>" make the control's one menu;
// "CONTEXT_MENU<key>.<order>.<notification>" one menu per key, as the menu bar has them.

#include "kr/core/CollectPairsWithPrefix.h"
#include "kr/ui/Control.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/GlobalHotKeyManager.h"

#include <algorithm>
#include <vector>

namespace KR
{
namespace
{

constexpr char16_t kMenuPrefix[] = u"CONTEXT_MENU";

// Calls f with the command of every row of the tree that sends one.
template <typename F>
void ForEachCommand(const LMenuDescriptor& menu, F&& f, std::uint32_t depth = 0)
{
    for (std::uint32_t i = 0; i < menu.GetItemCount(); ++i)
    {
        const RCPtr<LMenuItemDescriptor>& item = menu.GetItem(i);
        if (!item)
        {
            continue;
        }
        if (!item->IsSeparator() && !item->GetCommand().IsEmpty() && item->GetCommand() != u"-")
        {
            f(item->GetCommand());
        }
        if (depth < kMaxMenuDepth)
        {
            ForEachCommand(*item, f, depth + 1);
        }
    }
}

// One menu from (id, text) pairs, the first `cut` units of each id taken off as the
// builder wants them.
template <typename Iterator>
RCPtr<LMenuDescriptor> BuildMenu(Iterator first, Iterator end, std::uint32_t cut)
{
    MenuStringPairs pairs;
    for (; first != end; ++first)
    {
        const Pair<String, String>& pair = *first;
        pairs.AddItem(
            Pair<String, String>{pair.first.SubString(static_cast<std::int32_t>(cut)), pair.second});
    }
    RCPtr<LMenuDescriptor> menu;
    BuildMenuFromStringTable(menu, pairs);
    return menu;
}

} // namespace

Result LControl::SetContextMenu(const RCPtr<LMenuDescriptor>& menu)
{
    if (mContextMenu)
    {
        ForEachCommand(*mContextMenu,
                       [this](const String& command)
                       {
                           // Only the entries this menu made: a handler of the class's own
                           // for the same name stays.
                           LNotificationHandler<LControl>::Handler bound = nullptr;
                           std::uint32_t flags = 0;
                           mHandler->GetRegistration(nullptr, command, bound, flags);
                           if (bound == &LControl::OnContextMenuCommand)
                           {
                               mHandler->Unregister(nullptr, command);
                           }
                       });
    }
    mContextMenu = menu;
    if (mContextMenu)
    {
        ForEachCommand(*mContextMenu, [this](const String& command)
                       { mHandler->AddHandler(&LControl::OnContextMenuCommand, command); });
    }
    return kOk;
}

Result LControl::BuildContextMenu(IArray<RCPtr<LMenuDescriptor>>& menus)
{
    const RCPtr<LStringTable> table = GetStringTable();
    if (!table)
    {
        return kNothingDone;
    }
    const String prefix(kMenuPrefix);
    const std::uint32_t length = prefix.GetLength();
    MenuStringPairs pairs;
    CollectPairsWithPrefix(table->GetTexts(), prefix + u".", pairs);
    if (pairs.GetCount() > 0)
    {
        menus.AddItem(BuildMenu(pairs.begin(), pairs.end(), length + 1));
        return kNothingDone;
    }
    CollectPairsWithPrefix(table->GetTexts(), prefix, pairs);
    // The menu key is what lies between the prefix and the first dot; an id without
    // that dot names no item.
    const auto keyOf = [length](const String& id)
    {
        const String::View rest = id.GetView().substr(length);
        return rest.substr(0, rest.find(u'.'));
    };
    std::vector<Pair<String, String>> items;
    for (const Pair<String, String>& pair : pairs)
    {
        if (pair.first.GetView().find(u'.', length) != String::View::npos)
        {
            items.push_back(pair);
        }
    }
    // Keys compare as texts, one beginning a longer one first ("1", "10", "2"); the ids
    // alone would put a key with a unit below "." before its own beginning.
    std::stable_sort(items.begin(), items.end(),
                     [&](const Pair<String, String>& a, const Pair<String, String>& b)
                     { return keyOf(a.first) < keyOf(b.first); });
    for (auto first = items.begin(); first != items.end();)
    {
        const String::View key = keyOf(first->first);
        const auto end = std::find_if(
            first, items.end(), [&](const Pair<String, String>& pair) { return keyOf(pair.first) != key; });
        menus.AddItem(BuildMenu(first, end, length + static_cast<std::uint32_t>(key.size()) + 1));
        first = end;
    }
    return kNothingDone;
}

Result LControl::OnContextMenuCommand(const RCPtr<LNotificationDistributor>&,
                                      const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return kNothingDone;
    }
    const NotificationID id = notification->GetID();
    if (const RCPtr<IRootWindowServices> window = GetRootWindow())
    {
        const RCPtr<LGlobalHotKeyManager> hotKeys = window->GetHotKeyManager();
        if (hotKeys && hotKeys->GetHotKeyMap().HasHotKey(id))
        {
            // The command goes out exactly as its key would send it.
            hotKeys->HandleKey(KeyCodeFromText(hotKeys->GetHotKeyMap(), id));
            return kNothingDone;
        }
    }
    const RCPtr<LGlobalHotKeyManager> hotKeys = IFrameworkApp::GetInstance().GetGlobalHotKeyManager();
    if (hotKeys && hotKeys->GetTarget())
    {
        hotKeys->GetTarget()->Receive(nullptr, LNotification::Create(id));
    }
    return kNothingDone;
}

void LControl::OpenContextMenuAtPointer()
{
    if (!GetContextMenu())
    {
        return;
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    ShowContextMenu(window ? window->GetMousePosition() : PointI{});
}

} // namespace KR
