#pragma once
// Small helpers shared by the device model's tests.

#include "device/RootModule.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace support
{

inline KR::Variant Blob(const std::vector<std::uint8_t>& bytes)
{
    KR::Variant value;
    value.SetBlob(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

inline std::vector<std::uint8_t> BytesOf(const KR::Variant& value)
{
    std::uint32_t size = 0;
    const auto* bytes = static_cast<const std::uint8_t*>(value.GetBytes(size));
    return bytes ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>();
}

// The text of the logic error that call throws; fails the test when it throws none.
template <class Call>
std::string LogicErrorOf(Call&& call)
{
    try
    {
        call();
    }
    catch (const std::logic_error& error)
    {
        return error.what();
    }
    return "(nothing thrown)";
}

// Records every change the root module announces, from any thread.
class ChangeLog
{
public:
    struct Change
    {
        std::int32_t id;
        KR::Variant value;
    };

    static void Callback(void* context, KR::Array<KR::ParamValue>& changes)
    {
        auto* log = static_cast<ChangeLog*>(context);
        std::lock_guard lock(log->mMutex);
        for (std::uint32_t i = 0; i < changes.GetCount(); ++i)
        {
            const KR::ParamValue& change = changes.ElementAt(i);
            log->mChanges.push_back(Change{change.descriptor.id, change.value});
        }
    }

    std::vector<Change> Changes()
    {
        std::lock_guard lock(mMutex);
        return mChanges;
    }
    void Clear()
    {
        std::lock_guard lock(mMutex);
        mChanges.clear();
    }

private:
    std::mutex mMutex;
    std::vector<Change> mChanges;
};

} // namespace support
