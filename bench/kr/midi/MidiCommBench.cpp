// Request-to-reply time through LMidiComm's ports and JACK (dummy driver, 256 frames at
// 48 kHz: one process cycle is 5.3 ms) against the simulated keyboard, with the reply
// delivered as "NID_MIDI_DATA_CAPTURED" on the MIDI object's worker thread; and what
// one captured message costs from the delivery thread to its handler, without MIDI.

#include "kr/midi/MidiCaptureNotificationData.h"
#include "kr/midi/MidiComm.h"
#include "kr/notify/NotificationClient.h"

#include "simkeyboard/KeyboardProtocol.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace
{

using namespace KR;
namespace kp = KeyboardProtocol;

// Counts what it receives and wakes whoever waits for the count.
class Counter : public LNotificationClient
{
public:
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&) override
    {
        {
            std::lock_guard lock(mMutex);
            ++mCount;
        }
        mArrived.notify_all();
        return kOk;
    }

    std::size_t Count()
    {
        std::lock_guard lock(mMutex);
        return mCount;
    }

    bool WaitBeyond(std::size_t count, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mMutex);
        return mArrived.wait_for(lock, timeout, [&] { return mCount > count; });
    }

private:
    std::mutex mMutex;
    std::condition_variable mArrived;
    std::size_t mCount = 0;
};

LMidiCaptureNotificationData::Bytes ToArray(const kp::Bytes& bytes)
{
    LMidiCaptureNotificationData::Bytes array;
    array.Resize(static_cast<std::uint32_t>(bytes.size()));
    std::memcpy(array.GetData(), bytes.data(), bytes.size());
    return array;
}

// The simulator, a MIDI object and its two ports to the simulator, made once.
class Rig
{
public:
    static Rig& Get()
    {
        static Rig rig;
        return rig;
    }

    const std::string& Error() const { return mError; }

    // Sends the request and waits for the next captured message; false when none
    // comes within a second.
    bool RoundTrip(const IArray<signed char>& request)
    {
        const std::size_t before = mCounter->Count();
        return Succeeded(mComm->SendMidi(mOut, request)) &&
               mCounter->WaitBeyond(before, std::chrono::seconds(1));
    }

private:
    Rig()
    {
        mSim = TestSupport::SimKeyboardProcess::Start({}, &mError);
        if (!mSim)
        {
            return;
        }
        mComm = LMidiComm::Create();
        mCounter = RCPtr<Counter>(new Counter);
        mCounter->RegisterForNotification(mComm, kNidMidiDataCaptured);
        if (Failed(mComm->OpenRenderPort(u"MIDIOUT4 (Vantor)", mOut)) ||
            Failed(mComm->OpenCapturePort(u"MIDIIN4 (Vantor)", mIn)))
        {
            mError = "cannot open the ports: " + std::string(mComm->GetLastOpenError().ToUtf8().GetPtr());
        }
    }

    std::string mError;
    std::unique_ptr<TestSupport::SimKeyboardProcess> mSim;
    RCPtr<LMidiComm> mComm;
    RCPtr<Counter> mCounter;
    RCPtr<LRefCountedObject> mOut;
    RCPtr<LRefCountedObject> mIn;
};

void RoundTrip(benchmark::State& state, const kp::Bytes& request)
{
    Rig& rig = Rig::Get();
    if (!rig.Error().empty())
    {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    const auto bytes = ToArray(request);
    for (auto _ : state)
    {
        if (!rig.RoundTrip(bytes))
        {
            state.SkipWithError("no reply within a second");
            return;
        }
    }
}

// 13-byte global request, 15-byte global reply.
void BM_GlobalRequestRoundTrip(benchmark::State& state)
{
    RoundTrip(state, kp::GlobalRequest(6));
}
// 6-byte identity request, 15-byte identity reply.
void BM_IdentityRequestRoundTrip(benchmark::State& state)
{
    RoundTrip(state, kp::Bytes(kp::kIdentityRequest.begin(), kp::kIdentityRequest.end()));
}
// 10-byte preset request, 1350-byte preset reply.
void BM_PresetRequestRoundTrip(benchmark::State& state)
{
    RoundTrip(state, kp::PresetRequest(1));
}

// What a delivery thread does per message: one pooled object made and released.
void BM_CaptureDataMadeAndReleased(benchmark::State& state)
{
    const kp::Bytes reply = kp::GlobalMessage(kp::kGlobalReply, 6, 64);
    const String port(u"simkeyboard:MIDIIN4 (Vantor)");
    for (auto _ : state)
    {
        auto data = LMidiCaptureNotificationData::Create(reply, port, 0);
        benchmark::DoNotOptimize(data.Get());
    }
}

BENCHMARK(BM_GlobalRequestRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_IdentityRequestRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_PresetRequestRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_CaptureDataMadeAndReleased);

} // namespace
