#pragma once
// An open MIDI input port of a LMidiComm.

#include "kr/core/RCPtr.h"
#include "kr/midi/MidiPort.h"
#include "platform/midi/MidiApi.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace KR
{
namespace Platform
{
class MidiInput;
}

// Made by LMidiComm::OpenCapturePort. Every message the port receives, whole (a
// system-exclusive message however the MIDI system split it), becomes one
// LMidiCaptureNotificationData handed to the owner's worker thread, which sends it as
// "NID_MIDI_DATA_CAPTURED". Messages that arrive while the port is being opened, before
// OpenCapturePort has it ready, are dropped, as they would be before a device is started.
//
// The device's delivery thread only copies the message into a pooled object and hands it
// over: it takes no lock of the owner's, so closing the port (which waits for a delivery
// in progress) can never wait for it. A port may be released on any thread, a
// "NID_MIDI_DATA_CAPTURED" handler's included.
class LMidiCapturePort : public LMidiPort
{
public:
    ~LMidiCapturePort() override;

private:
    friend class LMidiComm;

    explicit LMidiCapturePort(const RCPtr<LMidiComm>& owner);

    // Opens the lowest-numbered input whose name contains `namePart`; false with the
    // reason in `error`.
    bool OpenDevice(std::string_view namePart, const Platform::MidiPortOptions& options, std::string& error);
    // From now on, received messages are handed over.
    void Start() { mStarted.store(true, std::memory_order_release); }

    // On the device's delivery thread.
    void OnMessage(std::span<const std::uint8_t> bytes, std::uint32_t timeMs);

    RCPtr<LMidiPort> Unlist() override;

    std::unique_ptr<Platform::MidiInput> mDevice;
    std::atomic<bool> mStarted{false};
};

} // namespace KR
