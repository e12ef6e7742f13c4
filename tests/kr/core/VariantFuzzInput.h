#pragma once
// One fuzz input run through every reader of untrusted variant bytes: Deserialize, the
// array walks and the three list reads, plus the invariants that tie them together.
// Shared by the seeded GoogleTest loop and the libFuzzer target. Memory faults are the
// sanitizers' to catch; the invariants come back as a text naming the one that broke.

#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"

#include "kr/core/VariantTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace KRTest
{

inline int SignOf(int c)
{
    return (c > 0) - (c < 0);
}

inline bool IsNaNScalar(const KR::Variant& v)
{
    const std::uint32_t t = v.GetType();
    return (t == KR::Variant::kFloat || t == KR::Variant::kDouble) && std::isnan(v.ToDouble());
}

inline const char* CheckOrder(const KR::Variant& a, const KR::Variant& b)
{
    if (SignOf(KR::Variant::Compare(a, b)) != -SignOf(KR::Variant::Compare(b, a)))
    {
        return "Compare is not antisymmetric";
    }
    if (!IsNaNScalar(a) && !IsNaNScalar(b) && (KR::Variant::Compare(a, b) == 0) != (a == b))
    {
        return "Compare gives 0 for unequal variants or not 0 for equal ones";
    }
    return nullptr;
}

inline const char* CheckArray(const KR::Variant& array)
{
    const std::uint32_t count = array.GetArraySize();
    if (count > array.GetSize() / 12)
    {
        return "GetArraySize counts more records than fit";
    }
    std::vector<KR::Variant> elements(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        if (array.GetArrayElement(i, elements[i]) != 0)
        {
            return "a counted element cannot be read";
        }
    }
    KR::Variant past = Int32(1);
    if (array.GetArrayElement(count, past) != -1 || !past.IsEmpty())
    {
        return "GetArrayElement reads past the end";
    }
    KR::Variant rebuilt;
    rebuilt.SetArray(elements.data(), count);
    if (rebuilt.GetArraySize() != count)
    {
        return "the elements read back build an array of another size";
    }
    return nullptr;
}

inline bool IsListResult(std::int32_t r)
{
    return r == 0 || r == KR::kParamListInvalid || r == KR::kParamListBadEntry;
}

inline const char* CheckLists(const KR::Variant& array)
{
    const std::uint32_t count = array.GetArraySize();
    const KR::ParamValues values(array);
    const KR::ParamDescriptors descriptors(array);
    const KR::ParamRanges ranges(array);
    std::uint64_t ids = 0;
    for (std::uint32_t i = 0; i <= count; ++i)
    {
        KR::ParamValue value;
        KR::ParamDescriptor descriptor;
        KR::ParamRange range;
        const std::int32_t r1 = values.GetAt(i, value);
        const std::int32_t r2 = descriptors.GetAt(i, descriptor);
        const std::int32_t r3 = ranges.GetAt(i, range);
        if (!IsListResult(r1) || !IsListResult(r2) || !IsListResult(r3))
        {
            return "a list read gives an unknown result";
        }
        if (i == count &&
            (r1 != KR::kParamListInvalid || r2 != KR::kParamListInvalid || r3 != KR::kParamListInvalid))
        {
            return "a list read past the end does not give -4";
        }
        if (r1 != 0 && (!value.value.IsEmpty() || value.descriptor.id != -1))
        {
            return "a failed ParamValues read leaves stale outputs";
        }
        if (r3 == 0 && range.count > 0)
        {
            ids += static_cast<std::uint32_t>(range.count);
        }
    }
    // Rebuilding descriptors from the ranges is bounded by what the ranges ask for;
    // only modest requests are worth the memory here.
    if (ids <= 4096)
    {
        KR::ParamDescriptors fromRanges;
        if (fromRanges.SetFromRanges(ranges) != 0 || fromRanges.GetArraySize() != ids)
        {
            return "SetFromRanges makes another number of descriptors than the ranges hold";
        }
    }
    return nullptr;
}

inline const char* ExerciseVariantBytes(const std::uint8_t* data, std::size_t size)
{
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(size, 0xFFFFFFFFu));

    // As one record.
    KR::Variant v;
    const KR::Result r = KR::Variant::Deserialize(v, data, n);
    if (r != KR::kOk && r != KR::kFail)
    {
        return "Deserialize gives an unknown result";
    }
    if (r == KR::kFail && !v.IsEmpty())
    {
        return "a refused record changed the target";
    }
    if (r == KR::kOk)
    {
        // Kept in a volatile so the conversions run; a double sum cannot overflow.
        volatile double sink = static_cast<double>(v.ToBool()) + v.ToInt32() +
                               static_cast<double>(v.ToInt64()) + v.ToFloat() + v.ToDouble();
        static_cast<void>(sink);
        if (v.GetType() == KR::Variant::kString && (v.GetSize() == 0 || v.GetString()[v.GetSize() - 1] != 0))
        {
            return "text read from a record is not terminated within its payload";
        }
        const bool emptyBlob = v.GetType() == KR::Variant::kBlob && v.GetSize() == 0;
        const Bytes record = Serialized(v);
        if (!emptyBlob)
        {
            KR::Variant again;
            if (record.empty() ||
                KR::Variant::Deserialize(again, record.data(), static_cast<std::uint32_t>(record.size())) !=
                    KR::kOk ||
                again.GetType() != v.GetType() || PayloadOf(again) != PayloadOf(v))
            {
                return "a record read does not write and read back the same";
            }
        }
        if (const char* fault = CheckOrder(v, v))
        {
            return fault;
        }
        if (const char* fault = CheckArray(v))
        {
            return fault;
        }
    }

    // As an array payload, and as the lists made of it.
    KR::Variant array;
    array.SetValue(KR::Variant::kArray, data, n);
    if (const char* fault = CheckArray(array))
    {
        return fault;
    }
    if (const char* fault = CheckLists(array))
    {
        return fault;
    }

    // Two halves ordered against each other and against the record.
    KR::Variant front;
    KR::Variant back;
    front.SetValue(KR::Variant::kArray, data, n / 2);
    back.SetValue(KR::Variant::kArray, data + n / 2, n - n / 2);
    for (const KR::Variant* other : {&front, &back, &array})
    {
        if (const char* fault = CheckOrder(v, *other))
        {
            return fault;
        }
    }
    return CheckOrder(front, back);
}

} // namespace KRTest
