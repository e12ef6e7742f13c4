#include "kr/notify/NotificationID.h"

#include "kr/core/StringArrayT.h"

#include <string_view>
#include <unordered_map>

namespace KR
{
namespace
{

// The names in order of first interning, with two indexes so that neither an id nor a
// name is found by walking the list. Every member is used under the notification lock.
class NameTable
{
public:
    NotificationID Intern(const char16_t* name)
    {
        const NotificationID asID = reinterpret_cast<NotificationID>(name);
        if (mIndexByID.contains(asID))
        {
            return asID;
        }
        std::u16string_view text(name);
        if (text.size() > String::kMaxLength)
        {
            text = text.substr(0, String::kMaxLength);
        }
        if (const auto found = mByText.find(text); found != mByText.end())
        {
            return found->second;
        }
        // The table's own copy: its characters never change and never move, so their
        // address can serve as the id for the rest of the process.
        String copy(text.data(), static_cast<std::uint32_t>(text.size()));
        const NotificationID id = reinterpret_cast<NotificationID>(copy.GetPtr());
        const std::u16string_view key = copy.GetView();
        mIndexByID.emplace(id, mNames.GetCount());
        mNames.AddItem(copy);
        mByText.emplace(key, id);
        return id;
    }

    bool Contains(NotificationID id) const { return mIndexByID.contains(id); }

    String NameOf(NotificationID id) const
    {
        const auto found = mIndexByID.find(id);
        return found == mIndexByID.end() ? String::Empty() : mNames[found->second];
    }

    const StringArray& Names() const { return mNames; }

private:
    StringArray mNames;
    std::unordered_map<std::u16string_view, NotificationID> mByText;
    std::unordered_map<NotificationID, std::uint32_t> mIndexByID;
};

struct NotificationNames
{
    Mutex lock;
    NameTable table;
};

NotificationNames& Names()
{
    // Never destroyed: ids stay valid, and the lock usable, for code that still runs
    // while the program's static objects are being destroyed (a notification released
    // by one of them, a center torn down at exit).
    static NotificationNames* const names = new NotificationNames;
    return *names;
}

// Most names arrive as the same literal from the same place again and again (every
// control registers for its handful of notifications), and looking each up in the
// table took the lock and hashed the text every time. Each thread remembers, by the
// address of the text, the id it was given last. That is only a hint: it is taken when
// the text at that address still reads as the interned name, so a buffer that now holds
// another name is looked up afresh. The interned characters never change or move, and
// this thread got the id under the lock, after they were written.
struct RecentName
{
    const char16_t* text = nullptr;
    NotificationID id = 0;
};

constexpr std::size_t kRecentNames = 64;
thread_local RecentName recentNames[kRecentNames];

RecentName& RecentSlot(const char16_t* name)
{
    const auto address = reinterpret_cast<std::uintptr_t>(name);
    return recentNames[((address >> 1) ^ (address >> 7)) % kRecentNames];
}

bool ReadsAs(const char16_t* text, NotificationID id)
{
    const auto* interned = reinterpret_cast<const char16_t*>(id);
    std::size_t i = 0;
    while (text[i] == interned[i] && text[i] != 0)
    {
        ++i;
    }
    return text[i] == interned[i];
}

} // namespace

Mutex& GetNotificationLock()
{
    return Names().lock;
}

NotificationID GetNotificationID(const char16_t* name)
{
    if (name == nullptr || name[0] == 0)
    {
        return 0;
    }
    RecentName& recent = RecentSlot(name);
    if (recent.text == name && ReadsAs(name, recent.id))
    {
        return recent.id;
    }
    NotificationNames& names = Names();
    NotificationID id = 0;
    {
        const MutexLocker lock(names.lock);
        id = names.table.Intern(name);
    }
    recent = RecentName{name, id};
    return id;
}

NotificationID GetNotificationID(const String& name)
{
    return GetNotificationID(name.GetPtr());
}

String GetNotificationName(NotificationID id)
{
    if (id == 0)
    {
        return String::Empty();
    }
    NotificationNames& names = Names();
    const MutexLocker lock(names.lock);
    return names.table.NameOf(id);
}

const StringArray& GetNotificationNameTable()
{
    return Names().table.Names();
}

NotificationID NotificationName::Resolve() const
{
    if (!mIsID)
    {
        return GetNotificationID(mText);
    }
    if (mID == 0)
    {
        return 0;
    }
    // An id this thread was given stays an id: nothing leaves the table.
    const auto* asText = reinterpret_cast<const char16_t*>(mID);
    RecentName& recent = RecentSlot(asText);
    if (recent.text == asText && recent.id == mID)
    {
        return mID;
    }
    NotificationNames& names = Names();
    {
        const MutexLocker lock(names.lock);
        if (!names.table.Contains(mID))
        {
            return 0;
        }
    }
    recent = RecentName{asText, mID};
    return mID;
}

} // namespace KR
