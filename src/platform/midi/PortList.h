#pragma once
// The MIDI ports the system offers now.

#include "platform/midi/MidiApi.h"

#include <string>
#include <vector>

namespace KR::Platform
{

// Names of the ports a MidiInput can open (the system's MIDI sources), lowest number
// first. Empty when the MIDI system cannot be reached.
std::vector<std::string> ListInputPorts(MidiApi api = MidiApi::kFromEnvironment);

// Names of the ports a MidiOutput can open (the system's MIDI destinations).
std::vector<std::string> ListOutputPorts(MidiApi api = MidiApi::kFromEnvironment);

} // namespace KR::Platform
