#pragma once
// Finds the keyboard by its two MIDI port names.

#include <optional>
#include <string>

namespace DeviceControl
{

struct KeyboardPortNames
{
    std::string input;
    std::string output;
};

// The full names of the keyboard's ports while both exist (the MIDI layer's name rule).
// The listing goes through a client the MIDI layer keeps for the process, so the
// frequent device-list polls cost a listing each rather than a new client. A MIDI
// system that cannot be reached counts as no keyboard.
std::optional<KeyboardPortNames> FindKeyboardPorts();

} // namespace DeviceControl
