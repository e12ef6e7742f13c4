#pragma once
// The byte form of one serialised variant record and the walk over records laid end to
// end. Shared by the variant and the parameter lists, which read array payloads in place
// rather than copying each element out.

#include <cstdint>
#include <cstring>

namespace KR::VariantRecord
{

// Record head: total length (head included), a reserved word that must be 0, type code.
inline constexpr std::uint32_t kHeaderSize = 12;
inline constexpr std::uint32_t kLengthOffset = 0;
inline constexpr std::uint32_t kReservedOffset = 4;
inline constexpr std::uint32_t kTypeOffset = 8;

// Every multi-byte field is little-endian whatever the host is, so records written here
// read the same anywhere.
inline std::uint32_t LoadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void StoreU32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

// Reads up to 8 little-endian bytes; bytes beyond `count` read as 0. Short integer blobs
// convert through this, so a 2-byte blob never reads past its payload.
inline std::uint64_t LoadLittleEndian(const std::uint8_t* p, std::uint32_t count)
{
    std::uint64_t v = 0;
    for (std::uint32_t i = 0; i < count && i < 8; ++i)
    {
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    }
    return v;
}

inline void StoreLittleEndian(std::uint8_t* p, std::uint64_t v, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count && i < 8; ++i)
    {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

inline void WriteHeader(std::uint8_t* p, std::uint32_t total, std::uint32_t type)
{
    StoreU32(p + kLengthOffset, total);
    StoreU32(p + kReservedOffset, 0);
    StoreU32(p + kTypeOffset, type);
}

// One record inside an array payload, as the walk frames it: its length field is at least
// a header and no more than what remains of the payload. Reserved word and type are not
// checked here; Deserialize does that.
struct Span
{
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;

    std::uint32_t Type() const { return LoadU32(data + kTypeOffset); }
    std::uint32_t Reserved() const { return LoadU32(data + kReservedOffset); }
    const std::uint8_t* Payload() const { return data + kHeaderSize; }
    std::uint32_t PayloadLength() const { return length - kHeaderSize; }
};

// Steps through records laid end to end. The walk stops at the first length field that
// is below a header or runs past the payload, so it always ends, never reads outside
// the payload, and every record it yields lies wholly inside.
class Walker
{
public:
    Walker(const std::uint8_t* payload, std::uint32_t size) : mPayload(payload), mSize(payload ? size : 0) {}

    bool Next(Span& out)
    {
        const std::uint32_t remaining = mSize - mOffset;
        if (remaining < kHeaderSize)
        {
            return false;
        }
        const std::uint32_t length = LoadU32(mPayload + mOffset);
        if (length < kHeaderSize || length > remaining)
        {
            return false;
        }
        out.data = mPayload + mOffset;
        out.length = length;
        mOffset += length;
        return true;
    }

    // Skips `index` records and yields the next one; false when there are not enough.
    bool Seek(std::uint32_t index, Span& out)
    {
        for (std::uint32_t i = 0; i < index; ++i)
        {
            if (!Next(out))
            {
                return false;
            }
        }
        return Next(out);
    }

    // Counts the records from the current position onwards, up to `limit`.
    std::uint32_t Count(std::uint32_t limit = 0xFFFFFFFFu)
    {
        std::uint32_t count = 0;
        Span span;
        while (count < limit && Next(span))
        {
            ++count;
        }
        return count;
    }

private:
    const std::uint8_t* mPayload;
    std::uint32_t mSize;
    std::uint32_t mOffset = 0;
};

} // namespace KR::VariantRecord
