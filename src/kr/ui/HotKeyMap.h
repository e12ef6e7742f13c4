#pragma once
// Which notification each hot key stands for. The bindings are data: string-table
// entries whose id is a prefix, a dot and a notification name, and whose text is a key
// combination ("GHK.NID_EDIT_COPY_REQ" = "Ctrl+VKEY_C"). The application and each root
// window read the global ones ("GHK"), each control its local ones ("LHK"); the menus
// ask the map for the key they show beside a command.

#include "kr/core/Array.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationID.h"
#include "kr/ui/KeyCode.h"

#include <map>

namespace KR
{

class LStringTable;

// A key code is bound to at most one notification (matching as KeyCodesMatch says); a
// notification may have several key codes, kept in the order of binding. A map belongs
// to the UI thread (filled at start-up, read on each key); only its notification names
// are process-wide.
class HotKeyMap
{
public:
    // Binds every entry of table whose id begins with prefix and a dot, in the table's
    // order. The notification is the part of the id after its last dot; an entry whose
    // key code matches an earlier binding is dropped, so the first read wins. Texts
    // that name no known key still bind (to a code no key event produces). 0, or
    // kInvalidArg for a null table.
    Result AddFromStringTable(const RCPtr<LStringTable>& table, const String& prefix);

    // 0 when bound; kInvalidArg when the name is empty or the key code already matches a
    // binding of any notification.
    Result AddHotKey(const KeyCode& key, NotificationName name);

    // The name of the notification bound to a key code matching key, or the empty name.
    String FindNotification(const KeyCode& key) const;

    // Whether the notification has at least one key code; false for the empty name.
    bool HasHotKey(NotificationName name) const;

    // A copy of the notification's key codes; empty for the empty or an unbound name.
    Array<KeyCode> GetHotKeys(NotificationName name) const;

    bool IsEmpty() const { return mBindings.empty(); }

private:
    NotificationID FindBinding(const KeyCode& key) const;

    std::map<NotificationID, Array<KeyCode>> mBindings;
};

// The first key code bound to the notification, or the no-key code when it has none:
// "the" shortcut that a control or a menu shows for a command. No text is parsed.
KeyCode KeyCodeFromText(const HotKeyMap& map, NotificationName name);

} // namespace KR
