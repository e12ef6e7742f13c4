#pragma once
// What the MIDI tests share: a client that records "NID_MIDI_DATA_CAPTURED", and
// probes of the JACK server and of the process's threads.

#include "kr/midi/MidiCaptureNotificationData.h"
#include "kr/midi/MidiComm.h"
#include "kr/notify/NotificationClient.h"
#include "support/MidiTestMessages.h"
#include "support/Wait.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace KR::MidiTest
{

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
using TestSupport::ThreadCount;
using TestSupport::WaitUntil;

constexpr auto kReplyTimeout = 5s;

struct Captured
{
    Bytes bytes;
    std::string portName;
    std::uint32_t timeStamp = 0;
    std::thread::id thread;
    const LNotificationDistributor* sender = nullptr;
};

// Records every captured message it receives, for bounded waits on them.
class CaptureClient : public LNotificationClient
{
public:
    // Runs inside Receive, after the message is recorded and without the client's lock.
    using Hook = std::function<void(CaptureClient&)>;

    static RCPtr<CaptureClient> Create(Hook hook = nullptr);

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;

    // The messages so far, once there are `count` of them or the time is up.
    std::vector<Captured> WaitFor(std::size_t count, std::chrono::milliseconds timeout = kReplyTimeout);
    std::size_t Count();

private:
    explicit CaptureClient(Hook hook) : mHook(std::move(hook)) {}

    Hook mHook;
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<Captured> mMessages;
};

std::vector<std::size_t> Sizes(const std::vector<Captured>& messages);

// The framework's byte array holding `bytes`.
LMidiCaptureNotificationData::Bytes ToArray(const Bytes& bytes);

// The thread on which the MIDI object's pool runs its jobs.
std::thread::id PoolThread(LMidiComm& comm);

// Whether a port of the JACK client `client` is connected: the ports stay between
// opens, an open device is a connection.
bool JackClientIsConnected(const std::string& client);

} // namespace KR::MidiTest
