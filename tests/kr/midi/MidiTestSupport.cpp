#include "MidiTestSupport.h"

#include "kr/thread/Event.h"
#include "kr/thread/ThreadWorker.h"

#include <jack/jack.h>

#include <gtest/gtest.h>

#include <cstring>

namespace KR::MidiTest
{
namespace
{

// Records the thread it runs on.
class ThreadProbe : public LThreadWorker
{
public:
    Result DoWork(RCPtr<LRefCountedObject>&) override
    {
        thread = std::this_thread::get_id();
        done->Set();
        return kOk;
    }

    std::thread::id thread;
    const RCPtr<LEvent> done = LEvent::Create();
};

} // namespace

RCPtr<CaptureClient> CaptureClient::Create(Hook hook)
{
    return RCPtr<CaptureClient>(new CaptureClient(std::move(hook)));
}

Result CaptureClient::Receive(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification)
{
    const RCPtr<LMidiCaptureNotificationData> data = notification->GetDataAs<LMidiCaptureNotificationData>();
    if (!data)
    {
        ADD_FAILURE() << "a notification without captured data";
        return kOk;
    }
    Captured captured;
    captured.bytes.assign(data->GetData().begin(), data->GetData().end());
    captured.portName = data->GetPortName().ToUtf8().GetPtr();
    captured.timeStamp = data->GetTimeStamp();
    captured.thread = std::this_thread::get_id();
    captured.sender = sender.Get();
    {
        std::lock_guard lock(mMutex);
        mMessages.push_back(std::move(captured));
    }
    mChanged.notify_all();
    if (mHook)
    {
        mHook(*this);
    }
    return kOk;
}

std::vector<Captured> CaptureClient::WaitFor(std::size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mMutex);
    mChanged.wait_for(lock, timeout, [&] { return mMessages.size() >= count; });
    return mMessages;
}

std::size_t CaptureClient::Count()
{
    std::lock_guard lock(mMutex);
    return mMessages.size();
}

std::vector<std::size_t> Sizes(const std::vector<Captured>& messages)
{
    std::vector<std::size_t> sizes;
    for (const Captured& message : messages)
    {
        sizes.push_back(message.bytes.size());
    }
    return sizes;
}

LMidiCaptureNotificationData::Bytes ToArray(const Bytes& bytes)
{
    LMidiCaptureNotificationData::Bytes array;
    array.Resize(static_cast<std::uint32_t>(bytes.size()));
    if (!bytes.empty())
    {
        std::memcpy(array.GetData(), bytes.data(), bytes.size());
    }
    return array;
}

std::thread::id PoolThread(LMidiComm& comm)
{
    const RCPtr<ThreadProbe> probe(new ThreadProbe);
    comm.GetThreadPool()->Execute(probe, nullptr, 0);
    EXPECT_EQ(probe->done->Wait(5000), kWaitObject0);
    return probe->thread;
}

bool JackClientIsConnected(const std::string& client)
{
    jack_client_t* probe = jack_client_open("kr-test-probe", JackNoStartServer, nullptr);
    if (probe == nullptr)
    {
        ADD_FAILURE() << "no JACK server";
        return false;
    }
    bool connected = false;
    const char** ports = jack_get_ports(probe, ("^" + client + ":").c_str(), nullptr, 0);
    for (const char** port = ports; port != nullptr && *port != nullptr; ++port)
    {
        const char** peers = jack_port_get_all_connections(probe, jack_port_by_name(probe, *port));
        connected = connected || peers != nullptr;
        jack_free(peers);
    }
    jack_free(ports);
    jack_client_close(probe);
    return connected;
}

} // namespace KR::MidiTest
