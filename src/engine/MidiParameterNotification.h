#pragma once
// The payload of "NID_MIDIMANAGER_PARAMETER_RECIEVED": one global setting as the
// keyboard reported it.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"

#include <cstdint>

namespace KR
{

// "NID_MIDIMANAGER_PARAMETER_RECIEVED" (spelled so): a global setting's value arrived
// from the keyboard. Sent by the MIDI manager to its clients on the user-interface
// thread, when the application center's queue is drained (MidiManager.h); payload one
// LMidiParameterNotification.
inline constexpr const char16_t* kNidMidiManagerParameterRecieved = u"NID_MIDIMANAGER_PARAMETER_RECIEVED";

// Read-only once made.
class LMidiParameterNotification : public virtual LRefCountedObject
{
public:
    static RCPtr<LMidiParameterNotification> Create(const String& name, std::int32_t value)
    {
        return RCPtr<LMidiParameterNotification>(new LMidiParameterNotification(name, value));
    }

    // The setting's name (GlobalSettings.h).
    const String& GetName() const { return mName; }
    // 0..16383, as the two 7-bit bytes of the reply carry it.
    std::int32_t GetValue() const { return mValue; }

private:
    LMidiParameterNotification(const String& name, std::int32_t value) : mName(name), mValue(value) {}
    ~LMidiParameterNotification() override = default;

    String mName;
    std::int32_t mValue;
};

} // namespace KR
