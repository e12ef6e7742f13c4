#pragma once
// The device-control entry points of a library loaded at run time.

#include "libs/devicecontrol/DeviceControlClientApi.h"
#include "libs/devicecontrol/VariantRecord.h"

#include "libs/RunTimeLibrary.h"

#include <algorithm>
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
#define KR_RESOLVE_ENTRY(name)                                                                               \
    if ((name = library.Resolve<PFN_##name>(#name)) == nullptr)                                              \
    {                                                                                                        \
        missing += #name " ";                                                                                \
    }
        DCCI_FOR_EACH_ENTRY_POINT(KR_RESOLVE_ENTRY)
#undef KR_RESOLVE_ENTRY
    }

    std::string missing;
};

inline DCCI_Value AsValue(const DeviceControl::Record::Bytes& record)
{
    return {record.data(), static_cast<std::uint32_t>(record.size())};
}

// What a buffer the library filled holds, for comparing with records made here.
inline DeviceControl::Record::Bytes Filled(const DCCI_ValueBuffer& buffer)
{
    return DeviceControl::Record::Bytes(buffer.data, buffer.data + std::min(buffer.size, buffer.capacity));
}

} // namespace KRTest
