#pragma once
// An open MIDI output port of a LMidiComm.

#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/midi/MidiPort.h"
#include "platform/midi/MidiApi.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace KR
{
namespace Platform
{
class MidiOutput;
}

// Made by LMidiComm::OpenRenderPort. Sends may come from any thread; the port
// serialises them, and each returns once the MIDI system has taken the bytes.
class LMidiRenderPort : public LMidiPort
{
public:
    ~LMidiRenderPort() override;

    // Sends `bytes` with the rules and results of LMidiCommInterface::SendMidi
    // (kInvalidArg for no bytes, kFail when the MIDI system refuses).
    Result Send(std::span<const std::uint8_t> bytes);

    // LMidiCommInterface::WaitUntilSent for this port.
    Result WaitUntilSent();

private:
    friend class LMidiComm;

    explicit LMidiRenderPort(const RCPtr<LMidiComm>& owner);

    // Opens the lowest-numbered output whose name contains `namePart`; false with the
    // reason in `error`.
    bool OpenDevice(std::string_view namePart, const Platform::MidiPortOptions& options, std::string& error);
    void Start() {}

    RCPtr<LMidiPort> Unlist() override;

    std::unique_ptr<Platform::MidiOutput> mDevice;
};

} // namespace KR
