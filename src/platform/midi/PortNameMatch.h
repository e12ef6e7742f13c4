#pragma once
// Finding a MIDI port by a part of its name, the way the keyboard's ports are looked up.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KR::Platform
{

// True when `part` occurs in `name`, letter case ignored. Names are UTF-8; ASCII and
// Latin-1 letters fold (as everywhere in the program), independent of the locale.
// An empty part occurs in every name.
bool PortNameContains(std::string_view name, std::string_view part);

// Index of the first name (the lowest-numbered port) that contains `part`, or nothing.
std::optional<std::size_t> FindPortByNamePart(const std::vector<std::string>& names, std::string_view part);

enum class PortDirection
{
    kInput,  // ports the program reads from
    kOutput, // ports the program sends to
};

// The port that `asked` names among `names`, the full names of one direction's ports in
// the backend's order. A name that occurs in a port's name picks the first such port.
// Failing that, "MIDIIN<n> (<device>)" (inputs) or "MIDIOUT<n> (<device>)" (outputs),
// letter case ignored, picks the n-th port (from 1) among those whose name contains
// <device>: other systems give a USB keyboard's n-th port that name, while ALSA and
// JACK list it under the device's own names in the device's port order.
std::optional<std::size_t> FindPortByName(const std::vector<std::string>& names, std::string_view asked,
                                          PortDirection direction);

} // namespace KR::Platform
