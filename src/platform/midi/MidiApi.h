#pragma once
// Which MIDI system a port lives on, and how this program shows up there.

#include <chrono>
#include <string>
#include <string_view>

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

// Where this layer says what it cannot hand back to a caller: that the machine has no
// ALSA sequencer (said once, and again only when that changes), and what RtMidi and
// alsa-lib report about the ALSA ports. Callers still get every failure as a result.
// Until a program installs its log here nothing is said: a library's copy of this
// layer (the device-control library has one) then keeps quiet, so the program's own
// copy says it once. A null sink silences it again. Any thread; messages come on the
// thread that met the problem.
using MidiLogSink = void (*)(std::string_view message);
void SetMidiLogSink(MidiLogSink sink);

// Whether the MIDI system `api` names can be reached now. On ALSA it asks whether the
// sequencer opens, so the log says at once (and once) when it does not: a program calls
// this after installing its log, since the keyboard's polls may all go through a
// library's quiet copy of this layer. On JACK it asks nothing and says nothing: true.
bool CheckMidiSystem(MidiApi api = MidiApi::kFromEnvironment);

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
