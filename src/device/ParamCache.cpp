#include "device/ParamCache.h"

#include "kr/core/Types.h"

#include <vector>

namespace
{

constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001u);

bool IsPlainKey(const KR::ParamDescriptor& key)
{
    return key.selector.GetType() == KR::Variant::kEmpty;
}

// Reads every record of a selector-keyed entry; a negative result when one
// cannot be read. An entry that is not a list has no records.
std::int32_t ReadRecords(const KR::Variant& entry, std::vector<KR::ParamValue>& records)
{
    KR::ParamValues list;
    static_cast<KR::Variant&>(list) = entry;
    const std::uint32_t count = list.GetArraySize();
    records.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        KR::ParamValue& record = records[i];
        const std::int32_t result =
            list.GetAt(i, record.value, record.descriptor.id, record.descriptor.selector);
        if (result < 0)
        {
            return result;
        }
    }
    return KR::kOk;
}

// Merges (key, value) into the records: 0 changed, 1 an equal value was there,
// negative when the entry cannot be read.
std::int32_t Merge(const KR::Variant& entry, const KR::ParamDescriptor& key, const KR::Variant& value,
                   KR::ParamValues& merged)
{
    std::vector<KR::ParamValue> records;
    const std::int32_t read = ReadRecords(entry, records);
    if (read < 0)
    {
        return read;
    }
    bool matched = false;
    for (KR::ParamValue& record : records)
    {
        if (record.descriptor == key)
        {
            if (record.value == value)
            {
                return 1;
            }
            record.value = value;
            matched = true;
            break;
        }
    }
    if (!matched)
    {
        auto place = records.begin();
        while (place != records.end() && place->descriptor < key)
        {
            ++place;
        }
        KR::ParamValue inserted;
        inserted.descriptor = key;
        inserted.value = value;
        records.insert(place, inserted);
    }
    merged.SetValues(records.data(), static_cast<std::uint32_t>(records.size()));
    return KR::kOk;
}

} // namespace

KR::RCPtr<LParamCache> LParamCache::Create(std::uint32_t count)
{
    return KR::RCPtr<LParamCache>(new LParamCache(count));
}

LParamCache::LParamCache(std::uint32_t count)
    : mCount(count), mEntries(std::make_unique<KR::Variant[]>(count))
{
}

LParamCache::~LParamCache() = default;

std::int32_t LParamCache::SetValue(const KR::ParamDescriptor& key, const KR::Variant& value, bool notify)
{
    const std::uint32_t index = static_cast<std::uint32_t>(key.id);
    if (index >= mCount)
    {
        return -1;
    }
    KR::Variant& entry = mEntries[index];
    if (IsPlainKey(key))
    {
        if (entry == value)
        {
            return 1;
        }
        entry = value;
    }
    else
    {
        KR::ParamValues merged;
        const std::int32_t result = Merge(entry, key, value, merged);
        if (result != KR::kOk)
        {
            return result == 1 ? 1 : -1;
        }
        entry = merged;
    }
    if (notify)
    {
        OnValueChanged(index, entry);
    }
    return KR::kOk;
}

std::int32_t LParamCache::GetValue(const KR::ParamDescriptor& key, KR::Variant& value) const
{
    value.Clear();
    const std::uint32_t index = static_cast<std::uint32_t>(key.id);
    if (index >= mCount)
    {
        return -1;
    }
    const KR::Variant& entry = mEntries[index];
    if (IsPlainKey(key))
    {
        value = entry;
        return KR::kOk;
    }
    // Stops at the match: a damaged record behind it does not hide a good value.
    KR::ParamValues list;
    static_cast<KR::Variant&>(list) = entry;
    const std::uint32_t count = list.GetArraySize();
    for (std::uint32_t i = 0; i < count; ++i)
    {
        KR::ParamValue record;
        const std::int32_t result =
            list.GetAt(i, record.value, record.descriptor.id, record.descriptor.selector);
        if (result < 0)
        {
            return result;
        }
        if (record.descriptor == key)
        {
            value = record.value;
            return KR::kOk;
        }
    }
    return 1;
}

void LParamCache::Enable(bool /*enable*/)
{
}

std::int32_t LParamCache::OnValueChanged(std::uint32_t /*index*/, const KR::Variant& /*value*/)
{
    return kNotImplemented;
}
