#include "kr/core/Buffer.h"

#include <cstring>

namespace KR
{

// Both checks are written so that no sum can wrap: a huge offset or count is refused
// rather than turned into a small one.
Result IBuffer::FillBytes(char* data, std::size_t size, std::uint8_t value, std::size_t offset,
                          std::ptrdiff_t count)
{
    if (offset > size)
    {
        return kInvalidArg;
    }
    const std::size_t room = size - offset;
    const std::size_t n = count < 0 ? room : static_cast<std::size_t>(count);
    if (n > room)
    {
        return kInvalidArg;
    }
    if (n != 0)
    {
        std::memset(data + offset, value, n);
    }
    return kOk;
}

Result IBuffer::FillUnits16(char* data, std::size_t size, std::uint16_t value, std::size_t offset,
                            std::ptrdiff_t count)
{
    if (offset > size)
    {
        return kInvalidArg;
    }
    const std::size_t room = (size - offset) / 2;
    const std::size_t n = count < 0 ? room : static_cast<std::size_t>(count);
    if (n > room)
    {
        return kInvalidArg;
    }
    char* out = data + offset;
    for (std::size_t i = 0; i < n; ++i)
    {
        std::memcpy(out + 2 * i, &value, 2);
    }
    return kOk;
}

} // namespace KR
