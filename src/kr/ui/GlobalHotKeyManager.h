#pragma once
// The last stop of a key that no control took: when the key code is bound to a
// notification, a notification of that name (no payload) goes to the target. The
// application's manager targets the posting receiver of the application center's
// queue, and each root window's manager its own queue's, so a hot key is delivered
// at the next idle drain on the UI thread, never in the middle of key handling.
//
//     auto manager = LGlobalHotKeyManager::Create(center->GetPostingReceiver());
//     manager->GetHotKeyMap().AddFromStringTable(appStrings, u"GHK");
//     ...
//     if (control did not take key) manager->HandleKey(key);   // 0: a notification went out

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationReceiver.h"
#include "kr/ui/HotKeyMap.h"
#include "kr/ui/KeyCode.h"

namespace KR
{

class LGlobalHotKeyManager : public virtual LRefCountedObject
{
public:
    // A manager with an empty map; target may be null (hot keys then go nowhere).
    static RCPtr<LGlobalHotKeyManager> Create(const RCPtr<LNotificationReceiver>& target);

    // 0 when key is bound and its notification was made (and handed to the target, if
    // there is one); 1 when nothing is bound to it. UI thread.
    Result HandleKey(const KeyCode& key);

    HotKeyMap& GetHotKeyMap() { return mHotKeys; }
    const HotKeyMap& GetHotKeyMap() const { return mHotKeys; }
    const RCPtr<LNotificationReceiver>& GetTarget() const { return mTarget; }

private:
    explicit LGlobalHotKeyManager(const RCPtr<LNotificationReceiver>& target) : mTarget(target) {}

    HotKeyMap mHotKeys;
    RCPtr<LNotificationReceiver> mTarget;
};

} // namespace KR
