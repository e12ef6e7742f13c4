#include "kr/ui/HotKeyMap.h"

#include "kr/ui/ShortcutText.h"
#include "kr/ui/StringTable.h"

namespace KR
{

Result HotKeyMap::AddFromStringTable(const RCPtr<LStringTable>& table, const String& prefix)
{
    if (!table)
    {
        return kInvalidArg;
    }
    // The ids "prefix." and more, in their order: they lie together from the prefix on.
    const String::View wanted = prefix.GetView();
    const TextMap& texts = table->GetTexts();
    for (auto entry = texts.lower_bound(wanted); entry != texts.end(); ++entry)
    {
        const auto& [id, text] = *entry;
        const String::View idView = id.GetView();
        if (!idView.starts_with(wanted))
        {
            break;
        }
        if (idView.size() == wanted.size() || idView[wanted.size()] != u'.')
        {
            continue;
        }
        const KeyCode key = ParseShortcutText(text);
        if (key.IsNoKey())
        {
            continue;
        }
        // A dot follows the prefix, so there always is a last one.
        const std::size_t lastDot = idView.rfind(u'.');
        // Refusals are part of the rule (first binding wins, empty names bind nothing).
        AddHotKey(key, String(idView.substr(lastDot + 1)));
    }
    return kOk;
}

Result HotKeyMap::AddHotKey(const KeyCode& key, NotificationName name)
{
    if (FindBinding(key) != 0)
    {
        return kInvalidArg;
    }
    const NotificationID id = name.Resolve();
    if (id == 0)
    {
        return kInvalidArg;
    }
    mBindings[id].AddItem(key);
    return kOk;
}

NotificationID HotKeyMap::FindBinding(const KeyCode& key) const
{
    for (const auto& [id, keys] : mBindings)
    {
        for (std::uint32_t i = keys.GetCount(); i-- > 0;)
        {
            if (KeyCodesMatch(keys[i], key))
            {
                return id;
            }
        }
    }
    return 0;
}

String HotKeyMap::FindNotification(const KeyCode& key) const
{
    const NotificationID id = FindBinding(key);
    return id == 0 ? String() : GetNotificationName(id);
}

bool HotKeyMap::HasHotKey(NotificationName name) const
{
    const auto found = mBindings.find(name.Resolve());
    return found != mBindings.end() && found->second.GetCount() > 0;
}

Array<KeyCode> HotKeyMap::GetHotKeys(NotificationName name) const
{
    const auto found = mBindings.find(name.Resolve());
    return found == mBindings.end() ? Array<KeyCode>() : found->second;
}

KeyCode KeyCodeFromText(const HotKeyMap& map, NotificationName name)
{
    const Array<KeyCode> keys = map.GetHotKeys(name);
    return keys.GetCount() > 0 ? keys[0] : KeyCode{};
}

} // namespace KR
