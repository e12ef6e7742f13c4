#pragma once
// What the port classes share about driving RtMidi. Internal to this folder: nothing
// outside src/platform/midi includes RtMidi.

#include "platform/midi/MidiApi.h"

#include <RtMidi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace KR::Platform::Detail
{

// RtMidi prints warnings and throws errors unless a callback takes them; every RtMidi
// object of this layer gets one, so failures come back as results with their text (and
// go to the MIDI log as well). The callback runs on whichever thread RtMidi detected the
// problem on.
using RtMidiErrorHandler = std::function<void(const std::string& text)>;

// The handler must outlive the object; it is installed right after construction, so
// only a failing constructor is reported through `error` instead. On ALSA nothing is
// made while the sequencer cannot be opened (AlsaSequencer.h): RtMidi's constructor
// prints its error to standard error before it throws, which no callback can stop.
std::unique_ptr<RtMidiIn> CreateRtMidiIn(MidiApi api, const std::string& clientName,
                                         RtMidiErrorHandler* handler, std::string* error);
std::unique_ptr<RtMidiOut> CreateRtMidiOut(MidiApi api, const std::string& clientName,
                                           RtMidiErrorHandler* handler, std::string* error);

// Every port's name, in RtMidi's (the system's) numbering.
std::vector<std::string> PortNames(RtMidi& midi);

} // namespace KR::Platform::Detail
