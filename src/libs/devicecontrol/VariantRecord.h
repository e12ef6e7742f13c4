#pragma once
// The serialised variant records that cross the device-control interface: making
// the few kinds this side sends, checking the records it is given, and handing a
// record out through a caller's buffer. Header-only, so that a library standing in
// for this one in tests builds its records the same way.

#include "libs/devicecontrol/DeviceControlClientApi.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace DeviceControl::Record
{

using Bytes = std::vector<std::uint8_t>;

inline void PutUint32(Bytes& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline std::uint32_t GetUint32(const std::uint8_t* data)
{
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

inline Bytes Make(std::uint32_t type, const void* payload, std::uint32_t size)
{
    Bytes record;
    record.reserve(DCCI_RECORD_HEADER_SIZE + size);
    PutUint32(record, DCCI_RECORD_HEADER_SIZE + size);
    PutUint32(record, 0);
    PutUint32(record, type);
    const auto* bytes = static_cast<const std::uint8_t*>(payload);
    record.insert(record.end(), bytes, bytes + size);
    return record;
}

inline Bytes Empty()
{
    return Make(DCCI_TYPE_EMPTY, nullptr, 0);
}

inline Bytes Bool(bool value)
{
    const std::uint8_t byte = value ? 1 : 0;
    return Make(DCCI_TYPE_BOOL, &byte, 1);
}

inline Bytes Int32(std::int32_t value)
{
    Bytes payload;
    PutUint32(payload, static_cast<std::uint32_t>(value));
    return Make(DCCI_TYPE_INT32, payload.data(), 4);
}

// The text and its terminating zero.
inline Bytes String(std::string_view text)
{
    Bytes payload(text.begin(), text.end());
    payload.push_back(0);
    return Make(DCCI_TYPE_STRING, payload.data(), static_cast<std::uint32_t>(payload.size()));
}

inline Bytes Array(const std::vector<Bytes>& elements)
{
    Bytes payload;
    for (const Bytes& element : elements)
    {
        payload.insert(payload.end(), element.begin(), element.end());
    }
    return Make(DCCI_TYPE_ARRAY, payload.data(), static_cast<std::uint32_t>(payload.size()));
}

// True when the bytes are exactly one record with a known type code.
inline bool IsWholeRecord(const std::uint8_t* data, std::uint32_t size)
{
    return data != nullptr && size >= DCCI_RECORD_HEADER_SIZE && GetUint32(data) == size &&
           GetUint32(data + 4) == 0 && GetUint32(data + 8) <= DCCI_TYPE_ARRAY;
}

inline bool IsWholeRecord(const DCCI_Value* value)
{
    return value != nullptr && IsWholeRecord(value->data, value->size);
}

inline bool Equals(const DCCI_Value& value, const Bytes& record)
{
    return value.size == record.size() && std::memcmp(value.data, record.data(), record.size()) == 0;
}

// Copies the record into the caller's buffer, or tells the size it needs.
inline std::int32_t CopyOut(const Bytes& record, DCCI_ValueBuffer* buffer,
                            std::int32_t successResult = DCCI_OK)
{
    if (buffer == nullptr)
    {
        return DCCI_E_INVALIDARG;
    }
    buffer->size = static_cast<std::uint32_t>(record.size());
    if (buffer->data == nullptr || buffer->capacity < record.size())
    {
        return DCCI_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer->data, record.data(), record.size());
    return successResult;
}

} // namespace DeviceControl::Record
