#pragma once
// One captured MIDI message: the payload of "NID_MIDI_DATA_CAPTURED".

#include "kr/core/ArrayBuffer.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/thread/ReuseAllocator.h"

#include <cstdint>
#include <span>

namespace KR
{

// A short message (1 to 3 bytes, status first) or one whole system-exclusive message
// (F0 .. F7), with the name of the port it came in on.
//
// Objects come from one process-wide recycling pool in blocks of four. They are made on
// a port's delivery thread and released wherever their last holder lets go (the MIDI
// object's worker thread, or a handler that kept one), so the pool has a lock of its own.
//
// Read-only once made; any thread may read it.
class LMidiCaptureNotificationData : public virtual LRefCountedObject,
                                     public PooledObject<LMidiCaptureNotificationData, 4, true>
{
public:
    using Bytes = ArrayBuffer<signed char, 16, 1600>;

    // Throws std::bad_alloc when the heap is exhausted.
    static RCPtr<LMidiCaptureNotificationData> Create(std::span<const std::uint8_t> bytes,
                                                      const String& portName, std::uint32_t timeStamp);

    // The message's bytes as the framework's byte array (bytes of 80 and above are
    // negative here) and as unsigned bytes.
    const IArray<signed char>& GetBytes() const { return mBytes; }
    std::span<const std::uint8_t> GetData() const;
    std::uint32_t GetCount() const { return mBytes.GetCount(); }

    // The full name of the capturing port, as LMidiCapturePort::GetName gives it.
    const String& GetPortName() const { return mPortName; }

    // For a short message, milliseconds from the opening of the port to its arrival;
    // 0 for a system-exclusive message.
    std::uint32_t GetTimeStamp() const { return mTimeStamp; }

private:
    LMidiCaptureNotificationData(const String& portName, std::uint32_t timeStamp)
        : mPortName(portName), mTimeStamp(timeStamp)
    {
    }
    ~LMidiCaptureNotificationData() override = default;

    Bytes mBytes;
    String mPortName;
    std::uint32_t mTimeStamp;
};

} // namespace KR
