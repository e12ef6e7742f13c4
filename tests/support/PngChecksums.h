#pragma once
// Mutated PNGs mostly die at the first chunk checksum; rewriting the checksums after a
// mutation lets the fuzzers reach the decoder behind them. Plain C++, so the clang-built
// libFuzzer target can use it too.

#include <cstddef>
#include <cstdint>

namespace KRTest
{

inline std::uint32_t PngCrc(const std::uint8_t* bytes, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// Walks the chunks after the signature and rewrites each checksum that lies inside the data.
inline void FixPngChecksums(std::uint8_t* png, std::size_t size)
{
    for (std::size_t at = 8; at + 12 <= size;)
    {
        const std::size_t length = std::size_t{png[at]} << 24 | std::size_t{png[at + 1]} << 16 |
                                   std::size_t{png[at + 2]} << 8 | png[at + 3];
        if (length > size - at - 12)
        {
            return;
        }
        const std::uint32_t crc = PngCrc(png + at + 4, length + 4);
        for (int i = 0; i < 4; ++i)
        {
            png[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += length + 12;
    }
}

} // namespace KRTest
