#pragma once
// MIDI bytes as text: the simulated keyboard's log lines and control commands.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace HexText
{

// "F0 7E 7F 06 01 F7": upper-case pairs, one space between them.
inline std::string Format(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t byte : bytes)
    {
        if (!text.empty())
        {
            text.push_back(' ');
        }
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

// Reads pairs of hexadecimal digits, with or without blanks between the pairs; nothing
// when a digit is bad or a pair is cut.
inline std::optional<std::vector<std::uint8_t>> Parse(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : text)
    {
        int value = -1;
        if (c >= '0' && c <= '9')
        {
            value = c - '0';
        }
        else if (c >= 'a' && c <= 'f')
        {
            value = c - 'a' + 10;
        }
        else if (c >= 'A' && c <= 'F')
        {
            value = c - 'A' + 10;
        }
        else if (c == ' ' || c == '\t')
        {
            if (high >= 0)
            {
                return std::nullopt;
            }
            continue;
        }
        else
        {
            return std::nullopt;
        }
        if (high < 0)
        {
            high = value;
        }
        else
        {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    if (high >= 0)
    {
        return std::nullopt;
    }
    return bytes;
}

} // namespace HexText
