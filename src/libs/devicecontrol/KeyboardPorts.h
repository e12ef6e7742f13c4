#pragma once
// Finds the keyboard by its two MIDI port names. One input and one output probe
// stay open for the library's life, so the frequent device-list polls cost a port
// listing each rather than a new MIDI client.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class RtMidiIn;
class RtMidiOut;

namespace DeviceControl
{

struct KeyboardPortNames
{
    std::string input;
    std::string output;
};

class KeyboardPorts
{
public:
    KeyboardPorts();
    ~KeyboardPorts();
    KeyboardPorts(const KeyboardPorts&) = delete;
    KeyboardPorts& operator=(const KeyboardPorts&) = delete;

    // The full names of the keyboard's ports while both exist. A MIDI system that
    // cannot be reached counts as no keyboard; the probes are made again next time.
    std::optional<KeyboardPortNames> Find();

    // Closes the probes (they reopen on the next Find).
    void Release();

private:
    std::mutex lock_;
    // RtMidi reports problems through this; the listing then simply finds nothing.
    std::function<void(const std::string&)> ignoreErrors_;
    std::unique_ptr<RtMidiIn> input_;
    std::unique_ptr<RtMidiOut> output_;
};

} // namespace DeviceControl
