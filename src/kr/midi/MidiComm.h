#pragma once
// The one implementation of LMidiCommInterface, over the platform MIDI layer.

#include "kr/core/IArray.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/midi/MidiCaptureNotificationData.h"
#include "kr/midi/MidiCapturePort.h"
#include "kr/midi/MidiCommInterface.h"
#include "kr/midi/MidiRenderPort.h"
#include "kr/thread/Mutex.h"

#include "kr/thread/ThreadPool.h"
#include "kr/thread/ThreadWorker.h"
#include "platform/midi/MidiApi.h"
#include <cstdint>
#include <string_view>

#include <string>

namespace KR
{

// Owns the lists of open ports and the worker thread on which captured messages are
// sent: a LThreadPool of one thread (priority 2, the highest), to which each port hands
// every message it receives as one job at priority 0. The pool runs them one at a
// time, in the order handed over, and each job is DoWork below.
//
// Lifetime: every port holds its owner, so a LMidiComm lives while any of its ports
// is held, while a job of its pool waits or runs, and (as every distributor) while a
// client is registered with it: a client that is done with it unregisters before it
// lets go. Its last reference may go on any thread, its own worker thread included
// (a handler may drop the ports and the object while a message is being delivered).
//
// Locks, in the order they may be taken on the capture path: a port's delivery thread
// takes the capture-data pool's lock, then the thread pool's lock. The object's own
// lock (over the port lists) is held only while ports are found, listed and unlisted;
// no port's device is opened or closed while it is held, and the delivery threads never
// take it.
class LMidiComm : public LMidiCommInterface, public LThreadWorker
{
public:
    // `options`: the MIDI system (ALSA, or JACK when the environment says
    // KR_MIDI_API=jack) and the client name under which the ports appear there (empty:
    // the platform layer's default per direction).
    static RCPtr<LMidiComm> Create(const Platform::MidiPortOptions& options = {});

    // Changes when a port of another program appears, goes or is renamed in that MIDI
    // system, and only then (Platform::GetPortsFingerprint): whether opening ports by name
    // could come out otherwise than last time, without opening them.
    static std::uint64_t GetPortsFingerprint(const Platform::MidiPortOptions& options = {});

    Result OpenCapturePort(const String& name, RCPtr<LRefCountedObject>& port) override;
    Result OpenRenderPort(const String& name, RCPtr<LRefCountedObject>& port) override;
    Result SendMidi(const RCPtr<LRefCountedObject>& port, const IArray<signed char>& bytes) override;
    Result WaitUntilSent(const RCPtr<LRefCountedObject>& port) override;

    // The worker thread's job: sends "NID_MIDI_DATA_CAPTURED" with `param` (one
    // LMidiCaptureNotificationData) through this distributor, synchronously, and
    // returns the send's result.
    Result DoWork(RCPtr<LRefCountedObject>& param) override;

    // Why the last failed open failed (no port matched, the MIDI system refused).
    String GetLastOpenError() const;

    // Open ports, for inspection.
    std::uint32_t GetCapturePortCount() const;
    std::uint32_t GetRenderPortCount() const;

    // The pool whose one thread sends the notifications.
    const RCPtr<LThreadPool>& GetThreadPool() const { return mThreadPool; }

private:
    friend class LMidiCapturePort;
    friend class LMidiRenderPort;
    friend class LMidiPort;

    explicit LMidiComm(const Platform::MidiPortOptions& options);
    ~LMidiComm() override;

    // Under mLock: the newest listed port that answers to `name`, or null.
    template <typename Port>
    RCPtr<Port> FindPort(const RCPtrArray<Port>& ports, std::string_view name) const;
    template <typename Port>
    Result OpenPort(RCPtrArray<Port>& ports, const String& name, RCPtr<LRefCountedObject>& port);
    template <typename Port>
    RCPtr<LMidiPort> TakePort(RCPtrArray<Port>& ports, const Port* port);

    // From a capture port's delivery thread.
    void HandOver(RCPtr<LMidiCaptureNotificationData> data);

    Mutex& GetPortLock() const { return mLock; }
    RCPtr<LMidiPort> TakeCapturePort(const LMidiCapturePort* port);
    RCPtr<LMidiPort> TakeRenderPort(const LMidiRenderPort* port);

    const Platform::MidiPortOptions mOptions;
    mutable Mutex mLock; // the two lists and the last open error
    RCPtrArray<LMidiCapturePort> mCapturePorts;
    RCPtrArray<LMidiRenderPort> mRenderPorts;
    std::string mLastOpenError;
    const RCPtr<LThreadPool> mThreadPool;
};

} // namespace KR
