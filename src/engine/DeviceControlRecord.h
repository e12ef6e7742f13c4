#pragma once
// How values cross the device-control library's C interface: a variant goes in as its
// serialised record, and an answer comes back through a caller's buffer that the
// library may find too small (it then names the size it needs, and is asked again).

#include "kr/core/Types.h"
#include "kr/core/Variant.h"
#include "libs/devicecontrol/DeviceControlClientApi.h"

#include <cstdint>
#include <vector>

namespace KR
{

// The room given to the library's first try: enough for a device list of a few devices.
inline constexpr std::uint32_t kDeviceControlFirstCapacity = 256;
// A device may arrive between two tries and need more room again; past this many tries
// the library's last answer stands.
inline constexpr int kDeviceControlOutputTries = 4;
// No record of the library comes near this; a larger record is refused, whichever way
// it crosses.
inline constexpr std::uint32_t kDeviceControlLargestRecord = 16u << 20;

// One variant as the record a call takes.
class DeviceControlInRecord
{
public:
    explicit DeviceControlInRecord(const Variant& variant)
    {
        const std::uint64_t length = Variant::GetRecordLength(variant);
        if (length <= kDeviceControlLargestRecord)
        {
            const auto size = static_cast<std::uint32_t>(length);
            mBytes.resize(size);
            mValid = Variant::Serialize(variant, mBytes.data(), size) == size;
        }
        mValue = DCCI_Value{mBytes.data(), static_cast<std::uint32_t>(mBytes.size())};
    }

    // The value points into the bytes: not to be copied.
    DeviceControlInRecord(const DeviceControlInRecord&) = delete;
    DeviceControlInRecord& operator=(const DeviceControlInRecord&) = delete;

    // False for a variant without a record (a byte range without bytes, an oversized one).
    bool IsValid() const { return mValid; }
    const DCCI_Value* Get() const { return &mValue; }

private:
    std::vector<std::uint8_t> mBytes;
    DCCI_Value mValue{};
    bool mValid = false;
};

// The bytes are one record whose stated length is all of them.
inline bool IsOneWholeRecord(const std::uint8_t* bytes, std::uint32_t size)
{
    if (size < DCCI_RECORD_HEADER_SIZE)
    {
        return false;
    }
    const std::uint32_t total =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return total == size;
}

// Runs call(DCCI_ValueBuffer*) until the record fits, then reads it into out (emptied
// first). The library's result on success and its failure as it is; kFail when it
// names no usable size or hands back something that is not one whole record.
template <typename Call>
std::int32_t ReadDeviceControlOutput(Call call, Variant& out)
{
    out.Clear();
    std::vector<std::uint8_t> bytes(kDeviceControlFirstCapacity);
    std::int32_t result = DCCI_BUFFER_TOO_SMALL;
    for (int attempt = 0; attempt < kDeviceControlOutputTries; ++attempt)
    {
        DCCI_ValueBuffer buffer{bytes.data(), static_cast<std::uint32_t>(bytes.size()), 0};
        result = call(&buffer);
        if (result == DCCI_BUFFER_TOO_SMALL)
        {
            if (buffer.size <= buffer.capacity || buffer.size > kDeviceControlLargestRecord)
            {
                return kFail;
            }
            bytes.resize(buffer.size);
            continue;
        }
        if (result < 0)
        {
            return result;
        }
        if (buffer.size > buffer.capacity || !IsOneWholeRecord(bytes.data(), buffer.size) ||
            Variant::Deserialize(out, bytes.data(), buffer.size) != kOk)
        {
            out.Clear();
            return kFail;
        }
        return result;
    }
    return result;
}

} // namespace KR
