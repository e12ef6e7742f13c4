#include "kr/core/ParamValues.h"

#include "kr/core/VariantRecord.h"

#include <limits>
#include <stdexcept>
#include <vector>

namespace KR
{

using namespace VariantRecord;

namespace
{

constexpr std::uint32_t kMaxWidth = 3;

// Finds entry `index` of a list and checks its shape the way reading it into a variant
// would: an array record whose payload is above 4 bytes and holds exactly `width`
// records. The records stay where they are; nothing is copied.
std::int32_t FindEntry(const Variant& list, std::uint32_t index, std::uint32_t width,
                       Span (&parts)[kMaxWidth])
{
    std::uint32_t size = 0;
    const std::uint8_t* payload = list.GetBytes(size);
    Span entry;
    if (list.GetType() != Variant::kArray || size <= 4 || !Walker(payload, size).Seek(index, entry))
    {
        return kParamListInvalid;
    }
    if (entry.Reserved() != 0 || entry.Type() != Variant::kArray || entry.PayloadLength() <= 4)
    {
        return kParamListBadEntry;
    }
    Walker inner(entry.Payload(), entry.PayloadLength());
    for (std::uint32_t k = 0; k < width; ++k)
    {
        if (!inner.Next(parts[k]))
        {
            return kParamListBadEntry;
        }
    }
    Span extra;
    return inner.Next(extra) ? kParamListBadEntry : 0;
}

// A part that does not read as a record comes back empty, as an array element would.
void ReadPart(const Span& record, Variant& out)
{
    if (Failed(Variant::Deserialize(out, record.data, record.length)))
    {
        out.Clear();
    }
}

std::int32_t ReadInt32(const Span& record)
{
    Variant number;
    ReadPart(record, number);
    return number.ToInt32();
}

} // namespace

std::int32_t ParamValues::SetValues(const ParamValue* values, std::uint32_t count)
{
    if (values == nullptr || count == 0)
    {
        return kParamListInvalid;
    }
    std::vector<Variant> ids(count);
    std::vector<const Variant*> parts;
    parts.reserve(std::size_t{count} * 3);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        ids[i].SetInt32(values[i].descriptor.id);
        parts.push_back(&values[i].value);
        parts.push_back(&ids[i]);
        parts.push_back(&values[i].descriptor.selector);
    }
    SetNestedArray(parts.data(), 3, count);
    return 0;
}

std::int32_t ParamValues::GetAt(std::uint32_t index, Variant& value, std::int32_t& id,
                                Variant& selector) const
{
    // When `value` is this list, emptying it first leaves nothing to read: -4, no dangling read.
    value.Clear();
    id = -1;
    Span parts[kMaxWidth];
    const std::int32_t result = FindEntry(*this, index, 3, parts);
    if (result != 0)
    {
        return result;
    }
    ReadPart(parts[0], value);
    id = ReadInt32(parts[1]);
    ReadPart(parts[2], selector);
    return 0;
}

ParamDescriptors::ParamDescriptors(const ParamRange& range)
{
    ParamRanges ranges;
    ranges.SetRanges(&range, 1);
    SetFromRanges(ranges);
}

std::int32_t ParamDescriptors::SetDescriptors(const ParamDescriptor* descriptors, std::uint32_t count)
{
    if (descriptors == nullptr || count == 0)
    {
        return kParamListInvalid;
    }
    std::vector<Variant> ids(count);
    std::vector<const Variant*> parts;
    parts.reserve(std::size_t{count} * 2);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        ids[i].SetInt32(descriptors[i].id);
        parts.push_back(&ids[i]);
        parts.push_back(&descriptors[i].selector);
    }
    SetNestedArray(parts.data(), 2, count);
    return 0;
}

std::int32_t ParamDescriptors::SetFromRanges(const ParamRanges& ranges)
{
    std::vector<ParamRange> runs;
    std::uint64_t total = 0;
    const std::uint32_t rangeCount = ranges.GetArraySize();
    for (std::uint32_t i = 0; i < rangeCount; ++i)
    {
        ParamRange range;
        if (ranges.GetAt(i, range) == 0 && range.count > 0)
        {
            runs.push_back(range);
            total += static_cast<std::uint32_t>(range.count);
        }
    }
    // Each entry takes 40 bytes; refuse before building what could never be stored.
    constexpr std::uint64_t kEntryLength = 3 * kHeaderSize + 4;
    if (total > std::numeric_limits<std::uint32_t>::max() / kEntryLength)
    {
        throw std::length_error("KR::ParamDescriptors::SetFromRanges: too many ids");
    }
    const auto count = static_cast<std::uint32_t>(total);
    if (count == 0)
    {
        SetArray(nullptr, 0);
        return 0;
    }
    std::vector<Variant> ids(count);
    const Variant noSelector;
    std::vector<const Variant*> parts;
    parts.reserve(std::size_t{count} * 2);
    std::uint32_t next = 0;
    for (const ParamRange& range : runs)
    {
        for (std::uint32_t k = 0; k < static_cast<std::uint32_t>(range.count); ++k)
        {
            // Ids past the top of the 32-bit range wrap, as the arithmetic of the ids does.
            ids[next].SetInt32(static_cast<std::int32_t>(static_cast<std::uint32_t>(range.firstID) + k));
            parts.push_back(&ids[next]);
            parts.push_back(&noSelector);
            ++next;
        }
    }
    SetNestedArray(parts.data(), 2, count);
    return 0;
}

std::int32_t ParamDescriptors::GetAt(std::uint32_t index, std::int32_t& id, Variant& selector) const
{
    selector.Clear();
    id = -1;
    Span parts[kMaxWidth];
    const std::int32_t result = FindEntry(*this, index, 2, parts);
    if (result != 0)
    {
        return result;
    }
    id = ReadInt32(parts[0]);
    ReadPart(parts[1], selector);
    return 0;
}

std::int32_t ParamRanges::SetRanges(const ParamRange* ranges, std::uint32_t count)
{
    if (ranges == nullptr || count == 0)
    {
        return kParamListInvalid;
    }
    std::vector<Variant> numbers(std::size_t{count} * 2);
    std::vector<const Variant*> parts;
    parts.reserve(std::size_t{count} * 2);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        numbers[2 * i].SetInt32(ranges[i].firstID);
        numbers[2 * i + 1].SetInt32(ranges[i].count);
        parts.push_back(&numbers[2 * i]);
        parts.push_back(&numbers[2 * i + 1]);
    }
    SetNestedArray(parts.data(), 2, count);
    return 0;
}

std::int32_t ParamRanges::GetAt(std::uint32_t index, ParamRange& out) const
{
    Span parts[kMaxWidth];
    const std::int32_t result = FindEntry(*this, index, 2, parts);
    if (result == kParamListInvalid)
    {
        out = ParamRange{-1, 0};
    }
    if (result != 0)
    {
        return result;
    }
    out.firstID = ReadInt32(parts[0]);
    out.count = ReadInt32(parts[1]);
    return 0;
}

} // namespace KR
