#pragma once
// The last known value of each device parameter, by relative index (the id less
// the root module's first id), so that the root module can tell a real change
// from a repeat before it announces one. An entry holds one plain value or, for a
// parameter addressed with a selector, a list of values ordered by selector.
//
// The cache lives beside the model rather than in the engine: the root module
// calls it, and the engine, which creates it, depends on the model.
//
// No lock of its own: every user reaches it through the root module's mutex.

#include "kr/core/ParamValues.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/Variant.h"

#include <cstdint>
#include <memory>

class LParamCache : public virtual KR::LRefCountedObject
{
public:
    // count empty entries.
    static KR::RCPtr<LParamCache> Create(std::uint32_t count);

    // key.id is the index; an empty key.selector addresses the whole entry, any
    // other merges the value under that selector. 0 stored, 1 unchanged (an equal
    // value was there), -1 index out of range or an unreadable entry. With notify,
    // a stored value is also passed to OnValueChanged.
    virtual std::int32_t SetValue(const KR::ParamDescriptor& key, const KR::Variant& value, bool notify);
    // Empties value first. 0 found, 1 selector not present, -1 index out of range,
    // or the negative result of an unreadable entry.
    virtual std::int32_t GetValue(const KR::ParamDescriptor& key, KR::Variant& value) const;
    // Nothing to switch in this cache; kept for caches that hold back work until set up.
    virtual void Enable(bool enable);
    // The cache's own change hook; this cache has no listener and answers E_NOTIMPL.
    virtual std::int32_t OnValueChanged(std::uint32_t index, const KR::Variant& value);

    std::uint32_t GetCount() const { return mCount; }

protected:
    explicit LParamCache(std::uint32_t count);
    ~LParamCache() override;

private:
    std::uint32_t mCount;
    std::unique_ptr<KR::Variant[]> mEntries;
};
