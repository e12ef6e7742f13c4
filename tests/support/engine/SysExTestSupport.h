#pragma once
// Bytes as hex text in the MIDI manager's tests, in the simulated keyboard's log format
// ("F0 7E 7F 06 01 F7"), so expectations read like the protocol's tables.

#include "simkeyboard/HexText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace support
{

inline std::string Hex(std::span<const std::uint8_t> bytes)
{
    return HexText::Format(bytes);
}

inline std::vector<std::uint8_t> ParseHex(const std::string& text)
{
    auto bytes = HexText::Parse(text);
    if (!bytes)
    {
        ADD_FAILURE() << "bad hex in a test: " << text;
        return {};
    }
    return *bytes;
}

} // namespace support
