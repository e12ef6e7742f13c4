#pragma once
// Wrappers that make a plain value reference-counted, so it can travel as a notification's
// payload, be handed from one thread to another, or be carried as an item's tag.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/TaggableObject.h"

#include <utility>

namespace KR
{

// A T (a class) that is also a reference-counted Base (LRefCountedObject or derived from it).
template <typename T, typename Base = LRefCountedObject>
class LWrapper : public T, public virtual Base
{
public:
    LWrapper() = default;
    explicit LWrapper(const T& value) : T(value) {}
    explicit LWrapper(T&& value) : T(std::move(value)) {}

    static RCPtr<LWrapper> Create(const T& value) { return new LWrapper(value); }

    T& GetValue() { return *this; }
    const T& GetValue() const { return *this; }
};

// The text form of a string is a copy of it.
inline String StringToString(const String& text)
{
    return text;
}

// Holds one value whose text form `ToStringOf` makes; shown wherever a tag is shown.
template <typename T, String (*ToStringOf)(const T&) = &StringToString, typename Base = LTaggableObject>
class LWrapperStringable : public virtual Base
{
public:
    explicit LWrapperStringable(const T& value) : mValue(value) {}
    explicit LWrapperStringable(T&& value) : mValue(std::move(value)) {}

    static RCPtr<LWrapperStringable> Create(const T& value) { return new LWrapperStringable(value); }

    String ToString() const override { return ToStringOf(mValue); }

    const T& GetValue() const { return mValue; }

private:
    T mValue;
};

// A tag whose text form is `text`.
RCPtr<LTaggableObject> MakeStringTag(const String& text);

} // namespace KR
