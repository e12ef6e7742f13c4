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

bool LMidiPort::NameContains(std::string_view part) const
{
    return Platform::PortNameContains(mDeviceName, part);
}

void LMidiPort::SetDeviceName(const std::string& name)
{
    mDeviceName = name;
    mName = String(name.c_str());
}

std::int32_t LMidiPort::Release()
{
    // The list's reference, handed over when this release is the last outside one;
    // dropped once the lock is left.
    RCPtr<LMidiPort> listed;
    {
        MutexLocker lock(mOwner->GetPortLock());
        // Listed ports are only found, and so only gain holders, under this lock, and
        // every release of one decides here: the count cannot change between the test
        // and the decrement.
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
    // Unlisted now: nobody can find it, and the reference being released here is the
    // only one besides `listed`. Dropping `listed` comes back through this function
    // and only counts down; the caller's release below deletes the port, closing its
    // device with no lock held.
    listed = nullptr;
    return LRefCountedObject::Release();
}

} // namespace KR
