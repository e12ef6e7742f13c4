#pragma once
// Which MIDI system a port lives on, and how this program shows up there.

#include <chrono>
#include <string>

namespace KR::Platform
{

enum class MidiApi
{
    kFromEnvironment, // ALSA, or JACK when the environment says KR_MIDI_API=jack
    kAlsa,
    kJack,
};

// Turns kFromEnvironment into the system to use now; the others pass through.
MidiApi ResolveMidiApi(MidiApi requested);

// How long one request to the MIDI server (opening a client, connecting a port) may keep
// its caller on JACK before it fails: three seconds, so that a server that has stopped
// answering holds no one for long. A tool that has to wait for a loaded server as long as
// it takes (the simulated keyboard) sets more. Any thread.
void SetMidiServerTimeout(std::chrono::milliseconds timeout);

struct MidiPortOptions
{
    MidiApi api = MidiApi::kFromEnvironment;
    // The name under which the MIDI system lists this program's side of the connection
    // (an ALSA sequencer client, a JACK client). Empty gives the process's client for the
    // direction, named after the program, the direction and the process id. On JACK a
    // client is made once per name and kept for the process's life.
    std::string clientName;
};

} // namespace KR::Platform
