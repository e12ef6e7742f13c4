// Request-to-reply time through JACK (dummy driver, 256 frames at 48 kHz, so one
// process cycle is 5.3 ms) against the simulated keyboard, and the cost of joining a
// preset reply from the pieces a backend delivers.

#include "platform/midi/MidiInput.h"
#include "platform/midi/MidiMessageAssembler.h"
#include "platform/midi/MidiOutput.h"

#include "simkeyboard/KeyboardProtocol.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>

namespace
{

using namespace KR::Platform;
namespace kp = KeyboardProtocol;

// The simulator and a pair of ports to it, made once for all benchmarks.
class Rig
{
public:
    static Rig& Get()
    {
        static Rig rig;
        return rig;
    }

    const std::string& Error() const { return error_; }

    // Sends the request and waits for the next reply; false when none comes in a second.
    bool RoundTrip(std::span<const std::uint8_t> request)
    {
        std::unique_lock lock(mutex_);
        const std::size_t before = replies_;
        if (!output_->Send(request))
        {
            return false;
        }
        return arrived_.wait_for(lock, std::chrono::seconds(1), [&] { return replies_ > before; });
    }

private:
    Rig()
    {
        sim_ = KR::TestSupport::SimKeyboardProcess::Start({}, &error_);
        if (!sim_)
        {
            return;
        }
        MidiPortOptions options;
        options.api = MidiApi::kJack;
        output_ = MidiOutput::Open("MIDIOUT4 (Vantor)", options, &error_);
        input_ = MidiInput::Open(
            "MIDIIN4 (Vantor)",
            [this](std::span<const std::uint8_t>, std::uint32_t)
            {
                {
                    std::lock_guard lock(mutex_);
                    ++replies_;
                }
                arrived_.notify_all();
            },
            options, &error_);
        if (!output_ || !input_)
        {
            error_ = "cannot open the ports: " + error_;
        }
    }

    std::string error_;
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> sim_;
    std::unique_ptr<MidiOutput> output_;
    std::unique_ptr<MidiInput> input_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::size_t replies_ = 0;
};

void RoundTrip(benchmark::State& state, const kp::Bytes& request)
{
    Rig& rig = Rig::Get();
    if (!rig.Error().empty())
    {
        state.SkipWithError(rig.Error().c_str());
        return;
    }
    for (auto _ : state)
    {
        if (!rig.RoundTrip(request))
        {
            state.SkipWithError("no reply within a second");
            return;
        }
    }
}

// 13-byte global request, 15-byte reply.
void BM_GlobalRequestRoundTrip(benchmark::State& state)
{
    RoundTrip(state, kp::GlobalRequest(6));
}
// 6-byte identity request, 15-byte reply.
void BM_IdentityRequestRoundTrip(benchmark::State& state)
{
    RoundTrip(state, kp::Bytes(kp::kIdentityRequest.begin(), kp::kIdentityRequest.end()));
}
// 10-byte preset request, 1350-byte reply.
void BM_PresetRequestRoundTrip(benchmark::State& state)
{
    RoundTrip(state, kp::PresetRequest(1));
}

BENCHMARK(BM_GlobalRequestRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_IdentityRequestRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_PresetRequestRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

// Opening a port and closing it again, as every device operation does: a connection of
// a port the process keeps, made live before the open returns, and taken down.
template <typename Open>
void OpenAndClose(benchmark::State& state, Open open)
{
    if (!Rig::Get().Error().empty())
    {
        state.SkipWithError(Rig::Get().Error().c_str());
        return;
    }
    for (auto _ : state)
    {
        if (!open())
        {
            state.SkipWithError("the port did not open");
            return;
        }
    }
}

void BM_OpenAndCloseOutput(benchmark::State& state)
{
    OpenAndClose(state,
                 [] {
                     return MidiOutput::Open("MIDIOUT4 (Vantor)", {MidiApi::kJack, {}}) != nullptr;
                 });
}

void BM_OpenAndCloseInput(benchmark::State& state)
{
    OpenAndClose(
        state,
        [] {
            return MidiInput::Open("MIDIIN4 (Vantor)", [](auto, auto) {}, {MidiApi::kJack, {}}) != nullptr;
        });
}

BENCHMARK(BM_OpenAndCloseOutput)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(BM_OpenAndCloseInput)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

// A 1350-byte preset reply delivered as 256-byte pieces.
void BM_AssemblePresetReplyFromPieces(benchmark::State& state)
{
    const kp::Bytes reply = kp::PresetMessage(kp::kPresetReply, 1, kp::Bytes(kp::kPresetDataBytes, 0x11));
    const std::span<const std::uint8_t> all(reply);
    MidiMessageAssembler assembler;
    std::size_t delivered = 0;
    const MidiMessageAssembler::Sink sink = [&](std::span<const std::uint8_t> m) { delivered += m.size(); };
    for (auto _ : state)
    {
        for (std::size_t at = 0; at < all.size(); at += 256)
        {
            assembler.Feed(all.subspan(at, std::min<std::size_t>(256, all.size() - at)), sink);
        }
    }
    benchmark::DoNotOptimize(delivered);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply.size()));
}
BENCHMARK(BM_AssemblePresetReplyFromPieces);

} // namespace
