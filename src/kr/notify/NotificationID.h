#pragma once
// Notification ids: every message between the parts of the program is named by a wide
// text that by convention begins with "NID_" ("NID_IDLE", "NID_VALUE_CHANGE"). The name
// is interned once in a process-wide table, and its id is the address of the table's own
// copy of the characters. So every part that uses one name gets one id without any
// central list, and two notifications compare by one integer.
//
//     const KR::NotificationID idle = KR::GetNotificationID(u"NID_IDLE");
//     KR::GetNotificationID(u"NID_IDLE") == idle;        // interned once
//     KR::NotificationName(idle).Resolve() == idle;      // an id stands for its name
//     KR::GetNotificationName(idle) == u"NID_IDLE";
//
// Rules:
// - 0 means "no notification"; a null or empty name gives 0.
// - Names equal code unit for code unit (case-sensitive) give one id; different names
//   give different ids. Ids stay valid until the process ends: nothing is ever removed
//   from the table.
// - An id may be handed in wherever a name is expected (NotificationName below); it
//   resolves to itself. A number that is not an interned id resolves to 0, so a stray
//   integer is a failed lookup, never a read through a wild pointer.
//
// Thread safety: every function here may be called from any thread. The table is read
// and written only under the notification lock, which also guards the notification free
// list (Notification.h). Ids, once returned, are plain integers read without a lock.

#include "kr/core/StringArrayT.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/thread/Mutex.h"

#include <concepts>
#include <cstddef>

namespace KR
{

// The id of a name, interning it on first use. A pointer to the characters of an
// interned name (which is what an id is) gives that id at once.
NotificationID GetNotificationID(const char16_t* name);
NotificationID GetNotificationID(const String& name);

// The interned name of an id; the empty string for 0 and for any number that is not an
// id.
String GetNotificationName(NotificationID id);

// The table of every interned name, in the order of first interning; an entry's
// characters are at its id. Read it only while holding the notification lock (below):
// another thread may be appending to it.
//
//     const KR::MutexLocker lock(KR::GetNotificationLock());
//     for (const KR::String& name : KR::GetNotificationNameTable()) ...
const StringArray& GetNotificationNameTable();

// The process-wide notification lock. Code that needs several table lookups to be seen
// as one (the application names every notification it receives under it) may hold it;
// it is re-entrant, so the functions above can be called while holding it.
Mutex& GetNotificationLock();

// One argument that accepts a notification's name or its id, as every registration,
// removal and creation operation does:
//
//     distributor->AddClient(client, u"NID_VALUE_CHANGE");
//     distributor->AddClient(client, valueChangeID);
//
// It only carries what it was given; Resolve interns or checks it.
class NotificationName
{
public:
    constexpr NotificationName(std::nullptr_t) noexcept {}
    constexpr NotificationName(const char16_t* name) noexcept : mText(name) {}
    NotificationName(const String& name) noexcept : mText(name.GetPtr()) {}
    // Any integer type, so that a literal 0 means "no notification" without ambiguity.
    template <std::integral I>
    constexpr NotificationName(I id) noexcept : mID(static_cast<NotificationID>(id)), mIsID(true)
    {
    }

    // The id: the text interned, or the id checked against the table (0 when it is not
    // one).
    NotificationID Resolve() const;

private:
    const char16_t* mText = nullptr;
    NotificationID mID = 0;
    bool mIsID = false;
};

} // namespace KR
