#include "kr/midi/MidiComm.h"

#include "kr/notify/Notification.h"
#include "kr/notify/NotificationID.h"
#include "platform/midi/PortList.h"

#include <span>

namespace KR
{
namespace
{

// The pool's one thread runs at the highest priority, so captured replies are not
// held up behind the user interface; jobs run at normal priority.
constexpr std::int32_t kWorkerThreads = 1;
constexpr std::int32_t kQueueThreaderPriority = 2;
constexpr std::int32_t kJobPriority = 0;

} // namespace

RCPtr<LMidiComm> LMidiComm::Create(const Platform::MidiPortOptions& options)
{
    return RCPtr<LMidiComm>(new LMidiComm(options));
}

std::uint64_t LMidiComm::GetPortsFingerprint(const Platform::MidiPortOptions& options)
{
    return Platform::GetPortsFingerprint(options.api);
}

LMidiComm::LMidiComm(const Platform::MidiPortOptions& options)
    : mOptions(options), mThreadPool(LThreadPool::Create(kWorkerThreads, kQueueThreaderPriority))
{
}

// Every port holds its owner, so both lists are empty by now.
LMidiComm::~LMidiComm() = default;

Result LMidiComm::OpenCapturePort(const String& name, RCPtr<LRefCountedObject>& port)
{
    return OpenPort(mCapturePorts, name, port);
}

Result LMidiComm::OpenRenderPort(const String& name, RCPtr<LRefCountedObject>& port)
{
    return OpenPort(mRenderPorts, name, port);
}

template <typename Port>
RCPtr<Port> LMidiComm::FindPort(const RCPtrArray<Port>& ports, std::string_view name) const
{
    for (std::uint32_t i = ports.GetCount(); i > 0; --i)
    {
        const RCPtr<Port>& open = ports.GetAt(i - 1);
        if (open->AnswersTo(name))
        {
            return open;
        }
    }
    return nullptr;
}

template <typename Port>
Result LMidiComm::OpenPort(RCPtrArray<Port>& ports, const String& name, RCPtr<LRefCountedObject>& port)
{
    const Utf8String part = name.ToUtf8();
    // Both are released after the lock is left: the port handed in may be the last
    // reference to a port, and a port that failed to open, or lost a race to open, is
    // destroyed.
    RCPtr<Port> found;
    RCPtr<Port> created;
    {
        MutexLocker lock(mLock);
        found = FindPort(ports, part.GetView());
    }
    if (!found)
    {
        // Opened without the lock: an open waits for its connection to carry data, and
        // an input and an output opened at once from two threads wait side by side.
        created = RCPtr<Port>(new Port(RCPtr<LMidiComm>(this)));
        std::string error;
        const bool opened = created->OpenDevice(part.GetView(), mOptions, error);
        MutexLocker lock(mLock);
        // Two threads asking for one name get one port: the first listed wins.
        found = FindPort(ports, part.GetView());
        if (!found && opened)
        {
            ports.AddItem(created);
            created->AdjustInternalRefCount(1);
            created->Start();
            found = created;
        }
        else if (!found)
        {
            mLastOpenError = error;
        }
    }
    port = found;
    return found ? kOk : kFail;
}

template <typename Port>
RCPtr<LMidiPort> LMidiComm::TakePort(RCPtrArray<Port>& ports, const Port* port)
{
    for (std::uint32_t i = 0; i < ports.GetCount(); ++i)
    {
        if (ports.GetAt(i).Get() == port)
        {
            RCPtr<Port> taken;
            ports.RemoveItem(i, taken);
            return taken;
        }
    }
    return nullptr;
}

RCPtr<LMidiPort> LMidiComm::TakeCapturePort(const LMidiCapturePort* port)
{
    return TakePort(mCapturePorts, port);
}

RCPtr<LMidiPort> LMidiComm::TakeRenderPort(const LMidiRenderPort* port)
{
    return TakePort(mRenderPorts, port);
}

Result LMidiComm::SendMidi(const RCPtr<LRefCountedObject>& port, const IArray<signed char>& bytes)
{
    const RCPtr<LMidiRenderPort> renderPort(port);
    if (!renderPort || bytes.GetCount() == 0)
    {
        return kInvalidArg;
    }
    return renderPort->Send(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.GetData()), bytes.GetCount()));
}

Result LMidiComm::WaitUntilSent(const RCPtr<LRefCountedObject>& port)
{
    const RCPtr<LMidiRenderPort> renderPort(port);
    return renderPort ? renderPort->WaitUntilSent() : kInvalidArg;
}

void LMidiComm::HandOver(RCPtr<LMidiCaptureNotificationData> data)
{
    mThreadPool->Execute(RCPtr<LThreadWorker>(this), std::move(data), kJobPriority);
}

Result LMidiComm::DoWork(RCPtr<LRefCountedObject>& param)
{
    static const NotificationID captured = GetNotificationID(kNidMidiDataCaptured);
    return SendNotification(LNotification::Create(captured, param));
}

String LMidiComm::GetLastOpenError() const
{
    MutexLocker lock(mLock);
    return String(mLastOpenError.c_str());
}

std::uint32_t LMidiComm::GetCapturePortCount() const
{
    MutexLocker lock(mLock);
    return mCapturePorts.GetCount();
}

std::uint32_t LMidiComm::GetRenderPortCount() const
{
    MutexLocker lock(mLock);
    return mRenderPorts.GetCount();
}

} // namespace KR
