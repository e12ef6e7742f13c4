#include "engine/PresetFile.h"

#include "device/ParamLayout.h"
#include "kr/core/VariantRecord.h"

#include <algorithm>
#include <bitset>

namespace KR::PresetFile
{
namespace
{

using VariantRecord::LoadU32;
using VariantRecord::StoreU32;

constexpr std::uint32_t kVersionOffset = 0;
constexpr std::uint32_t kDeviceWord1Offset = 4;
constexpr std::uint32_t kDeviceWord2Offset = 8;

constexpr std::uint32_t kChunkLengthOffset = 0;
constexpr std::uint32_t kChunkReservedOffset = 4;
constexpr std::uint32_t kChunkIndexOffset = 8;

// The value block of the parameter at `index` when `value` is a well-formed one: a
// byte blob of exactly that parameter's length, every byte of it below 80. A byte of
// 80 or more could never be sent to the keyboard, so a preset holding one is no preset.
// Empty otherwise.
std::span<const std::uint8_t> ValueBlock(std::int32_t index, const Variant& value)
{
    const std::uint32_t blockSize = ParamLayout::BlockSize(index);
    if (blockSize == 0 || value.GetType() != Variant::kBlob || value.GetSize() != blockSize)
    {
        return {};
    }
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    if (bytes == nullptr || count != blockSize ||
        std::any_of(bytes, bytes + count, [](std::uint8_t byte) { return byte >= 0x80; }))
    {
        return {};
    }
    return {bytes, count};
}

} // namespace

Result BuildPresetFileChunk(std::int32_t index, const Variant& value, std::vector<std::uint8_t>& out)
{
    const std::span<const std::uint8_t> block = ValueBlock(index, value);
    if (block.empty())
    {
        return kFail;
    }
    const std::uint32_t chunkLength = static_cast<std::uint32_t>(block.size()) + kChunkOverhead;
    const std::size_t start = out.size();
    out.resize(start + chunkLength);
    std::uint8_t* chunk = out.data() + start;
    StoreU32(chunk + kChunkLengthOffset, chunkLength);
    StoreU32(chunk + kChunkReservedOffset, 0);
    StoreU32(chunk + kChunkIndexOffset, static_cast<std::uint32_t>(index));
    const std::uint32_t written =
        Variant::Serialize(value, chunk + kChunkHeadSize, chunkLength - kChunkHeadSize);
    if (written != chunkLength - kChunkHeadSize)
    {
        out.resize(start);
        return kFail;
    }
    return kOk;
}

Result BuildPresetFile(const Array<ParamValue>& values, std::vector<std::uint8_t>& out)
{
    out.clear();
    if (values.GetCount() != static_cast<std::uint32_t>(ParamLayout::kParamCount))
    {
        return kFail;
    }
    out.reserve(kHeaderSize + ParamLayout::kPresetDataSize + ParamLayout::kParamCount * kChunkOverhead);
    out.resize(kHeaderSize);
    StoreU32(out.data() + kVersionOffset, kFormatVersion);
    StoreU32(out.data() + kDeviceWord1Offset, 0);
    StoreU32(out.data() + kDeviceWord2Offset, 0);
    for (std::int32_t i = 0; i < ParamLayout::kParamCount; ++i)
    {
        if (Failed(BuildPresetFileChunk(i, values.ElementAt(static_cast<std::uint32_t>(i)).value, out)))
        {
            out.clear();
            return kFail;
        }
    }
    return kOk;
}

Result ParsePresetFileChunk(std::span<const std::uint8_t> bytes, std::int32_t& index, Variant& value)
{
    value.Clear();
    index = -1;
    if (bytes.size() < kChunkOverhead)
    {
        return kCorrupt;
    }
    const std::uint8_t* chunk = bytes.data();
    const std::uint32_t chunkLength = LoadU32(chunk + kChunkLengthOffset);
    if (chunkLength != bytes.size() || LoadU32(chunk + kChunkReservedOffset) != 0)
    {
        return kCorrupt;
    }
    const auto chunkIndex = static_cast<std::int32_t>(LoadU32(chunk + kChunkIndexOffset));
    if (!ParamLayout::IsParamIndex(chunkIndex))
    {
        return kCorrupt;
    }
    // The value record must fill the rest of the chunk exactly (a record shorter than
    // its chunk leaves bytes nobody accounts for), and say itself that it is a blob: a
    // byte-range record would read as one too, but no writer of this file makes it.
    const std::uint8_t* record = chunk + kChunkHeadSize;
    const std::uint32_t recordLength = chunkLength - kChunkHeadSize;
    if (LoadU32(record + VariantRecord::kLengthOffset) != recordLength ||
        LoadU32(record + VariantRecord::kTypeOffset) != Variant::kBlob)
    {
        return kCorrupt;
    }
    Variant parsed;
    if (Failed(Variant::Deserialize(parsed, record, recordLength)) || ValueBlock(chunkIndex, parsed).empty())
    {
        return kCorrupt;
    }
    index = chunkIndex;
    value = std::move(parsed);
    return kOk;
}

Result ReadPresetFile(std::span<const std::uint8_t> image, Array<ParamValue>& values)
{
    values.RemoveAll();
    if (image.size() < kHeaderSize || image.size() > kMaxFileSize)
    {
        return kCorrupt;
    }
    const std::uint8_t* header = image.data();
    if (LoadU32(header + kDeviceWord1Offset) != 0 || LoadU32(header + kDeviceWord2Offset) != 0)
    {
        return kOtherDevice;
    }
    const std::uint32_t version = LoadU32(header + kVersionOffset);
    if (version > kFormatVersion)
    {
        return kNewerFormat;
    }
    if (version < kFormatVersion)
    {
        return kOlderFormat;
    }

    Array<ParamValue> parsed;
    parsed.SetCount(ParamLayout::kParamCount);
    std::bitset<ParamLayout::kParamCount> seen;
    std::size_t offset = kHeaderSize;
    while (offset < image.size())
    {
        const std::size_t remaining = image.size() - offset;
        if (remaining < sizeof(std::uint32_t))
        {
            return kCorrupt;
        }
        const std::uint32_t chunkLength = LoadU32(image.data() + offset + kChunkLengthOffset);
        if (chunkLength > remaining)
        {
            return kCorrupt;
        }
        std::int32_t index = -1;
        Variant value;
        if (Failed(ParsePresetFileChunk(image.subspan(offset, chunkLength), index, value)) ||
            seen.test(index))
        {
            return kCorrupt;
        }
        seen.set(index);
        ParamValue& entry = parsed.ElementAt(static_cast<std::uint32_t>(index));
        entry.descriptor = ParamDescriptor(index);
        entry.value = std::move(value);
        offset += chunkLength;
    }
    // A file that ends early at a chunk boundary is as truncated as one that ends inside
    // a chunk: only a complete preset is taken.
    if (!seen.all())
    {
        return kCorrupt;
    }
    values = std::move(parsed);
    return kLoaded;
}

} // namespace KR::PresetFile
