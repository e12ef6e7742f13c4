#pragma once
// The MIDI ports the system offers now, and the one a name asks for.

#include "platform/midi/MidiApi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KR::Platform
{

// Names of the ports a MidiInput can open (the system's MIDI sources), in the system's
// order. Empty when the MIDI system cannot be reached. Listings go through the clients
// the process keeps for its ports (made on first use), so a poll costs a listing, not
// a new client; this process's own connection ports are not listed.
std::vector<std::string> ListInputPorts(MidiApi api = MidiApi::kFromEnvironment);

// Names of the ports a MidiOutput can open (the system's MIDI destinations).
std::vector<std::string> ListOutputPorts(MidiApi api = MidiApi::kFromEnvironment);

// A fingerprint of the ports of other programs that the system offers now, both
// directions, names and order: it changes when such a port appears, goes or is renamed,
// and only then (this process's own connection ports are not listed). Opening a port
// costs tens of milliseconds; a listing through the kept clients costs far less, so a
// caller that checked ports before can tell by this whether checking again could come
// out otherwise. An unreachable MIDI system lists no ports.
std::uint64_t GetPortsFingerprint(MidiApi api = MidiApi::kFromEnvironment);

// The full name of the port MidiInput::Open or MidiOutput::Open would open for `name`
// (FindPortByName), or nothing. `options.clientName` names the client that lists.
std::optional<std::string> FindInputPort(std::string_view name, const MidiPortOptions& options = {});
std::optional<std::string> FindOutputPort(std::string_view name, const MidiPortOptions& options = {});

} // namespace KR::Platform
