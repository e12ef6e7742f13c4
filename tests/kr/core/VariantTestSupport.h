#pragma once
// Helpers shared by the variant and parameter-list tests.

#include "kr/core/Variant.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace KRTest
{

using Bytes = std::vector<std::uint8_t>;

// The record Serialize writes, or an empty vector when it refuses.
inline Bytes Serialized(const KR::Variant& v)
{
    Bytes out(static_cast<std::size_t>(KR::Variant::GetRecordLength(v)));
    const std::uint32_t n = KR::Variant::Serialize(v, out.data(), static_cast<std::uint32_t>(out.size()));
    if (n == KR::Variant::kSerializeFailed)
    {
        return {};
    }
    out.resize(n);
    return out;
}

inline Bytes PayloadOf(const KR::Variant& v)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = v.GetBytes(count);
    return bytes ? Bytes(bytes, bytes + count) : Bytes{};
}

inline KR::Variant Int32(std::int32_t value)
{
    KR::Variant v;
    v.SetInt32(value);
    return v;
}

inline KR::Variant Double(double value)
{
    KR::Variant v;
    v.SetDouble(value);
    return v;
}

inline KR::Variant Float(float value)
{
    KR::Variant v;
    v.SetFloat(value);
    return v;
}

inline KR::Variant Blob(const Bytes& bytes)
{
    KR::Variant v;
    v.SetBlob(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return v;
}

inline KR::Variant Text(const char* text)
{
    KR::Variant v;
    v.SetString(text);
    return v;
}

inline KR::Variant ArrayOf(std::initializer_list<KR::Variant> elements)
{
    KR::Variant v;
    v.SetArray(elements.begin(), static_cast<std::uint32_t>(elements.size()));
    return v;
}

// A record head followed by a payload, for building records by hand.
inline Bytes Record(std::uint32_t total, std::uint32_t reserved, std::uint32_t type,
                    const Bytes& payload = {})
{
    Bytes out;
    for (std::uint32_t word : {total, reserved, type})
    {
        for (int i = 0; i < 4; ++i)
        {
            out.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
        }
    }
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
    {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline std::string Hex(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes)
    {
        if (!out.empty())
        {
            out += ' ';
        }
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

} // namespace KRTest
