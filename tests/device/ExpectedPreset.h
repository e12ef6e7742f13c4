#pragma once
// The factory preset as the keyboard documents it, written out independently of
// the model's own tables so that the tests compare two separate renderings.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace expected
{

// Parses "00 7F 3c ..." into bytes.
inline std::vector<std::uint8_t> Hex(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size();)
    {
        if (text[i] == ' ')
        {
            ++i;
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return bytes;
}

inline std::string Byte(int value)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

// One row per parameter, in id order.
inline std::vector<std::vector<std::uint8_t>> DefaultBlocks()
{
    std::vector<std::vector<std::uint8_t>> blocks;
    blocks.push_back(Hex("50 52 45 53 45 54")); // "PRESET"
    for (int i = 0; i < 4; ++i)
    {
        blocks.push_back(Hex("00 " + Byte(i) + " 00 00 00 00 30 05 0C"));
    }
    blocks.push_back(Hex("00 01 10 00 7F"));
    blocks.push_back(Hex("00 00 00 00 7F"));
    blocks.push_back(Hex("00 00 07 00 00 7F")); // volume pedal
    blocks.push_back(Hex("00 00 40 00 00 7F")); // sustain pedal
    for (int i = 0; i < 16; ++i)
    {
        blocks.push_back(Hex("00 04 03 07 05 01 13 " + Byte(36 + i) + " 00 00 00 00 00 00"));
    }
    for (int i = 0; i < 36; ++i)
    {
        blocks.push_back(Hex("00 04 03 07 05 01 13 " + Byte(i) + " 00 00 00 00 00 7F 00 00 00"));
    }
    for (int i = 0; i < 36; ++i)
    {
        blocks.push_back(Hex("00 00 " + Byte(i) + " 00 00 7F"));
    }
    for (int i = 0; i < 32; ++i)
    {
        blocks.push_back(Hex("00 00 " + Byte(40 + i) + " 00 00 7F"));
    }
    blocks.push_back(Hex("00 00 70 00 00 7F 08 3C 48 3E 40 41 43 45 47"));
    blocks.push_back(Hex("00 00 71 00 00 7F 08 45 51 47 48 4A 4C 4D 4F"));
    return blocks;
}

inline std::vector<std::uint8_t> DefaultPresetData()
{
    std::vector<std::uint8_t> data;
    for (const auto& block : DefaultBlocks())
    {
        data.insert(data.end(), block.begin(), block.end());
    }
    return data;
}

} // namespace expected
