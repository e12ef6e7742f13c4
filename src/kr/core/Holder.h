#pragma once
// A reference-counted holder of one value, for payloads that are a single number,
// flag or state ("NID_VALUE_CHANGE_CAPTURE" carries an LHolder<bool>) and for a value
// that copies of an object share (a file's descriptor).

#include "kr/core/RefCountedObject.h"

#include <utility>

namespace KR
{

// Starts as T{} (0, false, the first enumerator) unless given a value.
template <typename T>
class LHolder : public virtual LRefCountedObject
{
public:
    LHolder() = default;
    explicit LHolder(T value) : mValue(std::move(value)) {}

    const T& Get() const { return mValue; }
    T& Get() { return mValue; }
    void Set(T value) { mValue = std::move(value); }

private:
    T mValue{};
};

} // namespace KR
