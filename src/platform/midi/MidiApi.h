#pragma once
// Which MIDI system a port lives on, and how this program shows up there.

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

struct MidiPortOptions
{
    MidiApi api = MidiApi::kFromEnvironment;
    // The name under which the MIDI system lists this program's side of the connection
    // (an ALSA sequencer client, a JACK client); empty gives a default per direction.
    std::string clientName;
};

} // namespace KR::Platform
