#pragma once
// What the two kinds of MIDI port share: a name, an owner, and a life that ends with
// its last holder.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace KR
{

class LMidiComm;

// A port is made only by its owner's open operations, which keep it in the owner's
// list of open ports of its direction (counted as one internal reference) for as long
// as anybody else holds it. Releasing the last outside reference takes it out of the
// list and closes its device. That decision is taken under the owner's lock, the lock
// the open operations hold while they search the list, so a port that is being
// dropped is never handed out again, and two holders releasing at once never leave a
// port open with nobody holding it. The device is closed after the lock is left.
class LMidiPort : public virtual LRefCountedObject
{
public:
    // The port's full name as the MIDI system lists it (on JACK "client:port", such
    // as "simkeyboard:MIDIIN4 (Vantor)").
    const String& GetName() const { return mName; }

    // Whether opening `name` would give this port: its full name contains `name`
    // (letter case ignored), or it was opened by that name (a keyboard's numbered name
    // such as "MIDIIN4 (Vantor)" that its Linux name does not contain). How open ports
    // are found.
    bool AnswersTo(std::string_view name) const;

    std::int32_t Release() override;

protected:
    explicit LMidiPort(const RCPtr<LMidiComm>& owner);
    ~LMidiPort() override;

    // Called once the device is open, before the port is listed: its full name and the
    // name it was asked for.
    void SetDeviceName(const std::string& name, std::string_view askedName);

    // Takes this port out of its owner's list and hands over the list's reference;
    // null when it is not listed. Under the owner's lock.
    virtual RCPtr<LMidiPort> Unlist() = 0;

    // Held until the port is destroyed, after its device is closed.
    const RCPtr<LMidiComm> mOwner;

private:
    String mName;
    std::string mDeviceName;
    std::string mAskedName;
};

} // namespace KR
