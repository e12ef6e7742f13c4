// Preset transfers through the MIDI manager, over JACK (dummy driver, 256 frames at
// 48 kHz: one process cycle is 5.3 ms) to the simulated keyboard, against their floors.
// A message goes out in pieces of 256 bytes with a 10 ms pause after each, so the
// 1350-byte dump alone cannot take less than 6 x 10 ms; "vs_floor" is the measured time
// over that floor. The whole send also opens the ports and checks the firmware (prefix
// and identity request, 2 more pauses, and a reply) and sends the dump's prefix (1 more):
// its floor is 9 pauses and one identity round trip, measured here on ports held open.

#include "engine/MidiManager.h"
#include "engine/RootModuleEngine.h"
#include "engine/SysExMessages.h"
#include "kr/midi/MidiComm.h"
#include "platform/midi/MidiInput.h"
#include "platform/midi/MidiOutput.h"
#include "simkeyboard/KeyboardProtocol.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <string>

namespace
{

using KR::LMidiManager;
using Clock = std::chrono::steady_clock;

constexpr double kDumpFloorMs = 6 * LMidiManager::kPiecePauseMs;
// The dump's prefix and the firmware check's prefix and identity request: 3 more pauses.
constexpr double kSendPausesMs = kDumpFloorMs + 3 * LMidiManager::kPiecePauseMs;

// The median time from the identity request to its reply on ports already open; 0 when
// the ports do not open or a reply does not come.
double IdentityRoundTripMs()
{
    using namespace KR::Platform;
    std::mutex mutex;
    std::condition_variable arrived;
    int replies = 0;
    const MidiPortOptions options{MidiApi::kJack, {}};
    auto output = MidiOutput::Open("MIDIOUT4 (Vantor)", options);
    auto input = MidiInput::Open(
        "MIDIIN4 (Vantor)",
        [&](std::span<const std::uint8_t>, std::uint32_t)
        {
            std::lock_guard lock(mutex);
            ++replies;
            arrived.notify_all();
        },
        options);
    std::vector<double> times;
    for (int i = 0; i < 21 && output && input; ++i)
    {
        std::unique_lock lock(mutex);
        const int before = replies;
        const Clock::time_point start = Clock::now();
        if (!output->Send(KeyboardProtocol::kIdentityRequest) ||
            !arrived.wait_for(lock, std::chrono::seconds(1), [&] { return replies > before; }))
        {
            return 0;
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    if (times.empty())
    {
        return 0;
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// The simulator, the engine and a manager whose MIDI objects the rig can reach, made
// once for all benchmarks.
class Rig
{
public:
    static Rig& Get()
    {
        static Rig rig;
        return rig;
    }

    const std::string& Error() const { return mError; }
    double RoundTripMs() const { return mRoundTripMs; }
    LMidiManager& Manager() { return *mManager; }
    const KR::RCPtr<KR::LMidiComm>& LastComm() const { return mLastComm; }

private:
    Rig()
    {
        mKeyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &mError);
        if (!mKeyboard)
        {
            return;
        }
        mRoundTripMs = IdentityRoundTripMs();
        if (mRoundTripMs == 0)
        {
            mError = "the identity request went unanswered";
            return;
        }
        mEngine = LRootModuleEngine::Create();
        mEngine->Initialize(0);
        LMidiManager::Options options;
        options.makeComm = [this]
        {
            KR::Platform::MidiPortOptions ports;
            ports.api = KR::Platform::MidiApi::kJack;
            mLastComm = KR::LMidiComm::Create(ports);
            return KR::RCPtr<KR::LMidiCommInterface>(mLastComm);
        };
        mManager = LMidiManager::Create(options);
        mManager->SetRootModuleEngine(mEngine);
    }
    ~Rig()
    {
        mManager = nullptr;
        mLastComm = nullptr;
        mEngine = nullptr;
    }

    std::string mError;
    double mRoundTripMs = 0;
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> mKeyboard;
    KR::RCPtr<LRootModuleEngine> mEngine;
    KR::RCPtr<KR::LMidiComm> mLastComm;
    KR::RCPtr<LMidiManager> mManager;
};

// Runs `operation` once per iteration; a failure ends the benchmark with `failure`. With
// a floor above 0, reports the time per iteration over it as "vs_floor".
template <typename Operation>
void Run(benchmark::State& state, double floorMs, const char* failure, Operation operation)
{
    Rig& rig = Rig::Get();
    if (!rig.Error().empty())
    {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    const Clock::time_point start = Clock::now();
    for (auto _ : state)
    {
        if (!operation(rig.Manager()))
        {
            state.SkipWithError(failure);
            return;
        }
    }
    if (floorMs > 0)
    {
        const double perIteration = std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
                                    static_cast<double>(state.iterations());
        state.counters["floor_ms"] = floorMs;
        state.counters["vs_floor"] = perIteration / floorMs;
    }
}

// SendPresetToMidiDevice as the send dialog calls it: fresh ports, firmware check, dump.
void BM_SendPresetToMidiDevice(benchmark::State& state)
{
    Run(state, kSendPausesMs + Rig::Get().RoundTripMs(), "the send failed",
        [](LMidiManager& manager) { return manager.SendPresetToMidiDevice(3) == KR::kOk; });
}

// The 1350-byte dump alone, on ports held open, its prefix taken as sent: 6 pieces and
// 6 pauses.
void BM_SendPresetDump(benchmark::State& state)
{
    Rig& rig = Rig::Get();
    KR::RCPtr<KR::LRefCountedObject> render;
    if (rig.Error().empty() &&
        (!rig.Manager().OpenMidiPorts(LMidiManager::GetMidiInPortName(),
                                      LMidiManager::GetMidiOutPortName()) ||
         KR::Failed(rig.LastComm()->OpenRenderPort(LMidiManager::GetMidiOutPortName(), render))))
    {
        state.SkipWithError("cannot open the ports");
        return;
    }
    const KeyboardSysEx::Bytes dump =
        KeyboardSysEx::PresetDump(3, KeyboardSysEx::Bytes(KeyboardSysEx::kPresetDataBytes, 0x11));
    Run(state, kDumpFloorMs, "the send failed",
        [&](LMidiManager& manager)
        {
            KeyboardSysEx::Bytes message = dump;
            return manager.SendSysEx(message, render, true) == KR::kOk;
        });
}

// GetPresetFromMidiDevice: the firmware check, the request and the 1350-byte reply
// written into the model. Floor: 4 pauses (two prefixes, two requests) and two round trips.
void BM_GetPresetFromMidiDevice(benchmark::State& state)
{
    Run(state, 4 * LMidiManager::kPiecePauseMs, "the retrieve failed",
        [](LMidiManager& manager) { return manager.GetPresetFromMidiDevice(5) == KR::kOk; });
}

// What every device operation starts with: a new MIDI object with both ports opened
// (on JACK, a client and a connection per port), and closing them when it ends.
void BM_AreMidiPortsAvailable(benchmark::State& state)
{
    Run(state, 0, "the ports did not open",
        [](LMidiManager& manager) { return manager.AreMidiPortsAvailable(); });
}

BENCHMARK(BM_AreMidiPortsAvailable)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);
BENCHMARK(BM_SendPresetDump)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_SendPresetToMidiDevice)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);
BENCHMARK(BM_GetPresetFromMidiDevice)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

} // namespace
