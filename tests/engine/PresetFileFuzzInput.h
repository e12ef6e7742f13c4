#pragma once
// One fuzz input run through the preset-file reader, with the invariants a load
// relies on: a refusal hands out nothing, an acceptance hands out a whole preset of
// well-formed blocks that writes back to a file reading the same. Shared by the seeded
// GoogleTest loop and the libFuzzer target; memory faults are the sanitizers' to catch,
// a broken invariant comes back as a text naming it.

#include "device/ParamLayout.h"
#include "engine/PresetFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace KRTest
{

inline const char* ExercisePresetFileBytes(const std::uint8_t* data, std::size_t size)
{
    using namespace KR::PresetFile;
    KR::Array<KR::ParamValue> values;
    const KR::Result result = ReadPresetFile(std::span<const std::uint8_t>(data, size), values);
    if (result != kLoaded)
    {
        if (result != kOlderFormat && result != kNewerFormat && result != kCorrupt && result != kOtherDevice)
        {
            return "a load result outside 0..-4";
        }
        return values.GetCount() == 0 ? nullptr : "a refused file handed out values";
    }
    if (values.GetCount() != static_cast<std::uint32_t>(ParamLayout::kParamCount))
    {
        return "an accepted file without exactly 131 values";
    }
    for (std::uint32_t i = 0; i < values.GetCount(); ++i)
    {
        const KR::ParamValue& value = values.ElementAt(i);
        if (value.descriptor.id != static_cast<std::int32_t>(i) ||
            value.value.GetType() != KR::Variant::kBlob ||
            value.value.GetSize() != ParamLayout::BlockSize(static_cast<std::int32_t>(i)))
        {
            return "an accepted value that is not its parameter's block";
        }
    }
    std::vector<std::uint8_t> rewritten;
    if (BuildPresetFile(values, rewritten) != KR::kOk || rewritten.size() != kPresetFileSize)
    {
        return "an accepted preset that does not write back";
    }
    KR::Array<KR::ParamValue> again;
    if (ReadPresetFile(rewritten, again) != kLoaded || !(again == values))
    {
        return "a rewritten preset that reads differently";
    }
    return nullptr;
}

} // namespace KRTest
