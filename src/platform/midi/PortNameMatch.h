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

} // namespace KR::Platform
