#pragma once
// The MIDI ports the system offers now.

#include "platform/midi/MidiApi.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RtMidiIn;
class RtMidiOut;

namespace KR::Platform
{

// Names of the ports a MidiInput can open (the system's MIDI sources), lowest number
// first. Empty when the MIDI system cannot be reached. Each call is a MIDI client of
// its own for a moment; for frequent polls, keep a MidiPortLister.
std::vector<std::string> ListInputPorts(MidiApi api = MidiApi::kFromEnvironment);

// Names of the ports a MidiOutput can open (the system's MIDI destinations).
std::vector<std::string> ListOutputPorts(MidiApi api = MidiApi::kFromEnvironment);

// Lists ports again and again through one MIDI client per direction, made on first
// use, so a poll costs a listing rather than a new client. When the MIDI system cannot
// be reached the lists are empty and the clients are made anew on the next call.
// Thread-safe.
class MidiPortLister
{
public:
    // `clientName`: how the MIDI system shows the listing clients.
    explicit MidiPortLister(std::string clientName, MidiApi api = MidiApi::kFromEnvironment);
    ~MidiPortLister();
    MidiPortLister(const MidiPortLister&) = delete;
    MidiPortLister& operator=(const MidiPortLister&) = delete;

    std::vector<std::string> InputPorts();
    std::vector<std::string> OutputPorts();

    // Closes the clients (they are made again when next needed).
    void Release();

private:
    std::mutex mutex_;
    std::string clientName_;
    MidiApi api_;
    // A listing has nothing to report a problem to: it finds no ports instead.
    std::function<void(const std::string&)> ignoreErrors_;
    std::unique_ptr<RtMidiIn> input_;
    std::unique_ptr<RtMidiOut> output_;
};

} // namespace KR::Platform
