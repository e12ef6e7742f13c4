#pragma once
// Small helpers shared by the MIDI test programs of the platform layer and of the
// framework's ports.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <vector>

namespace KR::TestSupport
{

// A system-exclusive message of exactly `size` bytes (F0, counting data bytes, F7).
inline std::vector<std::uint8_t> SysExOfSize(std::size_t size)
{
    std::vector<std::uint8_t> message(size);
    for (std::size_t i = 0; i < size; ++i)
    {
        message[i] = static_cast<std::uint8_t>(i % 128);
    }
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

// Threads of this process, for tests that check nothing is left running.
inline std::size_t ThreadCount()
{
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
}

} // namespace KR::TestSupport
