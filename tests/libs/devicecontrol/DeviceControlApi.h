#pragma once
// The device-control entry points of a library loaded at run time, and small
// readers of the records they hand back.

#include "libs/devicecontrol/DeviceControlClientApi.h"

#include "libs/RunTimeLibrary.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace KRTest
{

struct DeviceControlApi
{
#define KR_DECLARE_ENTRY(name) PFN_##name name = nullptr;
    DCCI_FOR_EACH_ENTRY_POINT(KR_DECLARE_ENTRY)
#undef KR_DECLARE_ENTRY

    explicit DeviceControlApi(const RunTimeLibrary& library)
    {
#define KR_RESOLVE_ENTRY(name) name = library.Resolve<PFN_##name>(#name);
        DCCI_FOR_EACH_ENTRY_POINT(KR_RESOLVE_ENTRY)
#undef KR_RESOLVE_ENTRY
    }

    std::vector<std::string> MissingEntryPoints() const
    {
        std::vector<std::string> missing;
#define KR_CHECK_ENTRY(name)                                                                                 \
    if (name == nullptr)                                                                                     \
    {                                                                                                        \
        missing.emplace_back(#name);                                                                         \
    }
        DCCI_FOR_EACH_ENTRY_POINT(KR_CHECK_ENTRY)
#undef KR_CHECK_ENTRY
        return missing;
    }
};

// One record as read back: its type code and payload.
struct ReadRecord
{
    std::uint32_t type = 0;
    std::vector<std::uint8_t> payload;
};

inline std::uint32_t ReadUint32(const std::uint8_t* data)
{
    std::uint32_t value = 0;
    std::memcpy(&value, data, 4);
    return value;
}

// The records laid end to end in bytes; stops at the first that does not fit.
inline std::vector<ReadRecord> SplitRecords(const std::vector<std::uint8_t>& bytes)
{
    std::vector<ReadRecord> records;
    std::size_t offset = 0;
    while (offset + DCCI_RECORD_HEADER_SIZE <= bytes.size())
    {
        const std::uint32_t total = ReadUint32(bytes.data() + offset);
        if (total < DCCI_RECORD_HEADER_SIZE || total > bytes.size() - offset)
        {
            break;
        }
        records.push_back(
            {ReadUint32(bytes.data() + offset + 8),
             std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset) + 12,
                                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + total))});
        offset += total;
    }
    return records;
}

inline ReadRecord ReadWhole(const std::uint8_t* data, std::uint32_t size)
{
    const std::vector<ReadRecord> records = SplitRecords(std::vector<std::uint8_t>(data, data + size));
    return records.size() == 1 ? records.front() : ReadRecord{0xFFFFFFFFu, {}};
}

inline std::int32_t ReadInt32(const ReadRecord& record)
{
    return record.type == DCCI_TYPE_INT32 && record.payload.size() == 4
               ? static_cast<std::int32_t>(ReadUint32(record.payload.data()))
               : INT32_MIN;
}

inline std::string ReadString(const ReadRecord& record)
{
    return record.type == DCCI_TYPE_STRING && !record.payload.empty()
               ? std::string(reinterpret_cast<const char*>(record.payload.data()))
               : std::string("<not a string>");
}

} // namespace KRTest
