#include "platform/midi/MidiApi.h"

#include <cstdlib>
#include <string_view>

namespace KR::Platform
{

MidiApi ResolveMidiApi(MidiApi requested)
{
    if (requested != MidiApi::kFromEnvironment)
    {
        return requested;
    }
    // Users get the ALSA sequencer; the tests run a private JACK server with the dummy
    // driver, which needs no sound hardware, and select it with this variable.
    const char* value = std::getenv("KR_MIDI_API");
    if (value != nullptr && std::string_view(value) == "jack")
    {
        return MidiApi::kJack;
    }
    return MidiApi::kAlsa;
}

} // namespace KR::Platform
