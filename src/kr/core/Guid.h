#pragma once
// A globally unique identifier in the four-field layout that device classes are named
// by (the filters of the device searches).

#include <cstdint>

namespace KR
{

struct Guid
{
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};

    bool operator==(const Guid& other) const = default;
};

} // namespace KR
