#include "kr/midi/MidiPort.h"

#include "kr/midi/MidiComm.h"
#include "kr/thread/Mutex.h"
#include "platform/midi/PortNameMatch.h"

namespace KR
{

LMidiPort::LMidiPort(const RCPtr<LMidiComm>& owner) : mOwner(owner)
{
}

LMidiPort::~LMidiPort() = default;

bool LMidiPort::AnswersTo(std::string_view name) const
{
    // Letter case folds without changing a name's length, so containment and equal
    // length make the asked names equal.
    return Platform::PortNameContains(mDeviceName, name) ||
           (mAskedName.size() == name.size() && Platform::PortNameContains(mAskedName, name));
}

void LMidiPort::SetDeviceName(const std::string& name, std::string_view askedName)
{
    mDeviceName = name;
    mAskedName = askedName;
    mName = String(name.c_str());
}

std::int32_t LMidiPort::Release()
{
    // The list's reference, handed over when this release is the last outside one;
    // dropped once the lock is left.
    RCPtr<LMidiPort> listed;
    {
        MutexLocker lock(mOwner->GetPortLock());
        // A listed port gains holders from outside only through the open operations,
        // which hold this lock, and every release of it decides here: between the test
        // and the decrement its count can grow (a holder copying its pointer) but
        // never fall.
        if (GetInternalRefCount() > 0)
        {
            if (GetRefCount() != GetInternalRefCount() + 1)
            {
                // Others hold it too; with the list's reference left, this cannot be
                // the one that deletes it.
                return LRefCountedObject::Release();
            }
            listed = Unlist();
            if (listed)
            {
                AdjustInternalRefCount(-1);
            }
        }
    }
    // Not listed (any more): nobody can find it, so a plain release is right. When this
    // release unlisted it, dropping `listed` comes back through this function and only
    // counts down, and the caller's release below deletes the port, closing its device
    // with no lock held.
    listed = nullptr;
    return LRefCountedObject::Release();
}

} // namespace KR
