#pragma once
// A parent of the test's own for a panel bound outside the tree's numbering (the group
// panels that bind panels in the program are not in every test), recording what comes up.

#include "device/ParameterizedModule.h"

#include <cstdint>
#include <vector>

namespace KR::TestSupport
{

struct ReceivedValue
{
    std::int32_t id = 0;
    std::vector<int> bytes;
    bool operator==(const ReceivedValue&) const = default;
};

inline std::vector<int> BytesOf(const Variant& value)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    return bytes ? std::vector<int>(bytes, bytes + count) : std::vector<int>();
}

// A parent module that records what its children pass up.
class LRecordingParentModule : public LParameterizedModule
{
public:
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override
    {
        received.push_back({descriptor.id, BytesOf(value)});
        return 0;
    }
    std::vector<ReceivedValue> received;
};

} // namespace KR::TestSupport
