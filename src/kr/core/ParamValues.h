#pragma once
// The records that carry one device parameter, and the three lists in which sets of
// parameters travel between the device model, the parameter cache, the device-control
// bridge and the preset file. Each list is an array variant whose records are small array
// variants, so a whole list copies, compares, serialises and stores as a variant.

#include "kr/core/StringT.h"
#include "kr/core/Variant.h"

#include <cstdint>

namespace KR
{

class ParamRanges;

// Results of the list operations.
inline constexpr std::int32_t kParamListInvalid = -4;  // not a list, index past the end, null or empty input
inline constexpr std::int32_t kParamListBadEntry = -7; // an entry of the wrong shape

// A parameter id and the selector that says which part of the parameter is meant; an
// empty selector means the whole value.
struct ParamDescriptor
{
    std::int32_t id = 0;
    Variant selector;

    ParamDescriptor() = default;
    explicit ParamDescriptor(std::int32_t paramID) : id(paramID) {}
    ParamDescriptor(std::int32_t paramID, const Variant& paramSelector) : id(paramID), selector(paramSelector)
    {
    }

    bool operator==(const ParamDescriptor& other) const
    {
        return id == other.id && selector == other.selector;
    }
    // Id first, then the selectors by the variant order: the order of sub-keyed records.
    friend bool operator<(const ParamDescriptor& a, const ParamDescriptor& b)
    {
        return a.id != b.id ? a.id < b.id : Variant::Compare(a.selector, b.selector) < 0;
    }
};

struct ParamValue
{
    ParamDescriptor descriptor;
    // For a device parameter a blob holding the control's value block.
    Variant value;

    ParamValue() = default;
    ParamValue(const ParamDescriptor& paramDescriptor, const Variant& paramValue)
        : descriptor(paramDescriptor), value(paramValue)
    {
    }

    bool operator==(const ParamValue& other) const
    {
        return descriptor == other.descriptor && value == other.value;
    }
};

// `count` consecutive ids from `firstID`.
struct ParamRange
{
    std::int32_t firstID = 0;
    std::int32_t count = 0;

    bool operator==(const ParamRange& other) const = default;
};

// The text of a descriptor, as the parameter-change pair shows it: the id as an unsigned
// decimal number ("%u"), so id -1 reads 4294967295.
String ParamDescriptorToString(const ParamDescriptor& descriptor);

// Entries {value, id as int32, selector}. The number of entries is GetArraySize.
class ParamValues : public Variant
{
public:
    ParamValues() = default;
    explicit ParamValues(const Variant& list) : Variant(list) {}
    ~ParamValues() override = default;

    // Replaces the whole list; kParamListInvalid (list unchanged) for null or no records.
    std::int32_t SetValues(const ParamValue* values, std::uint32_t count);
    // 0 with all three filled; kParamListInvalid or kParamListBadEntry. `value` is emptied
    // and `id` set to -1 first; `selector` is written only on success.
    std::int32_t GetAt(std::uint32_t index, Variant& value, std::int32_t& id, Variant& selector) const;
    std::int32_t GetAt(std::uint32_t index, ParamValue& out) const
    {
        return GetAt(index, out.value, out.descriptor.id, out.descriptor.selector);
    }
};

// Entries {id as int32, selector}.
class ParamDescriptors : public Variant
{
public:
    ParamDescriptors() = default;
    explicit ParamDescriptors(const Variant& list) : Variant(list) {}
    // One entry per id of the range, ascending, each with an empty selector.
    explicit ParamDescriptors(const ParamRange& range);
    ~ParamDescriptors() override = default;

    std::int32_t SetDescriptors(const ParamDescriptor* descriptors, std::uint32_t count);
    // One entry per id of every range, in range order and ascending within a range, each
    // with an empty selector; ranges with a count of 0 or below add nothing. Returns 0.
    std::int32_t SetFromRanges(const ParamRanges& ranges);
    // `selector` is emptied and `id` set to -1 first.
    std::int32_t GetAt(std::uint32_t index, std::int32_t& id, Variant& selector) const;
    std::int32_t GetAt(std::uint32_t index, ParamDescriptor& out) const
    {
        return GetAt(index, out.id, out.selector);
    }
};

// Entries {first id as int32, count as int32}.
class ParamRanges : public Variant
{
public:
    ParamRanges() = default;
    explicit ParamRanges(const Variant& list) : Variant(list) {}
    ~ParamRanges() override = default;

    std::int32_t SetRanges(const ParamRange* ranges, std::uint32_t count);
    // On kParamListInvalid `out` becomes {-1, 0}; on kParamListBadEntry it is left as it was.
    std::int32_t GetAt(std::uint32_t index, ParamRange& out) const;
};

} // namespace KR

// The pair of one parameter change names this function unqualified
// (KR::LPair<KR::ParamDescriptor,KR::Variant,&ParamDescriptorToString>) in code outside KR.
using KR::ParamDescriptorToString;
