#pragma once
// Smart pointers over LRefCountedObject. ConstRCPtr<T> gives read-only access, RCPtr<T>
// writable access; both are one pointer wide and own one reference when not null.
//
// Every construction and assignment ends in Acquire: take a reference, and when the object
// is marked unshareable, Unshare it - a pointer that would become the second holder of an
// unshareable object gets a private copy made by the object's CreateCopy instead. The new
// object is always secured before the old one is released.
//
// Conversions: from a pointer to a derived class by the ordinary upcast; from a pointer to
// a base (or otherwise related) class by a dynamic cast, which gives null - and leaves every
// count alone - when the object is not a T.

#include "kr/core/RefCountedObject.h"
#include "kr/core/TypeName.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>

namespace KR
{

template <typename T>
class RCPtr;

namespace Detail
{
// Raised when Unshare cannot make a private copy of the right type.
[[noreturn]] void ThrowUnshareFailed(const std::string& typeName, const std::string& pointerClass);

template <typename T, typename U>
T* ConvertPointer(U* from)
{
    if constexpr (std::is_convertible_v<U*, T*>)
    {
        return from;
    }
    else
    {
        return dynamic_cast<T*>(from);
    }
}
} // namespace Detail

template <typename T>
class ConstRCPtr
{
public:
    using element_type = T;

    constexpr ConstRCPtr() noexcept = default;
    constexpr ConstRCPtr(std::nullptr_t) noexcept {}

    ConstRCPtr(const T* object) : mObject(const_cast<T*>(object)) { Acquire(); }

    ConstRCPtr(const ConstRCPtr& other) : mObject(other.mObject) { Acquire(); }

    // Hands the reference over; the object's count does not change.
    ConstRCPtr(ConstRCPtr&& other) noexcept : mObject(std::exchange(other.mObject, nullptr)) {}

    template <typename U>
    requires(!std::is_same_v<U, T>) ConstRCPtr(const ConstRCPtr<U>& other)
        : mObject(Detail::ConvertPointer<T>(other.mObject))
    {
        Acquire();
    }

    ~ConstRCPtr()
    {
        if (mObject)
        {
            AsBase(mObject)->Release();
        }
    }

    ConstRCPtr& operator=(const ConstRCPtr& other)
    {
        Assign(other.mObject);
        return *this;
    }

    ConstRCPtr& operator=(ConstRCPtr&& other) noexcept
    {
        if (this != &other)
        {
            T* old = std::exchange(mObject, std::exchange(other.mObject, nullptr));
            if (old)
            {
                AsBase(old)->Release();
            }
        }
        return *this;
    }

    template <typename U>
    requires(!std::is_same_v<U, T>) ConstRCPtr& operator=(const ConstRCPtr<U>& other)
    {
        Assign(Detail::ConvertPointer<T>(other.mObject));
        return *this;
    }

    ConstRCPtr& operator=(std::nullptr_t)
    {
        Assign(nullptr);
        return *this;
    }

    const T* Get() const noexcept { return mObject; }
    const T* operator->() const noexcept { return mObject; }
    const T& operator*() const noexcept { return *mObject; }
    explicit operator bool() const noexcept { return mObject != nullptr; }

    // Replaces a shared object by a private copy made with its CreateCopy, so that this
    // pointer becomes its only holder. A sole holder keeps its object. Throws a Logic Error
    // (leaving this pointer null) when the copy is missing or not a T.
    void Unshare()
    {
        if (!mObject || AsBase(mObject)->GetRefCount() <= 1)
        {
            return;
        }
        {
            const ConstRCPtr<LRefCountedObject> copy = AsBase(mObject)->CreateCopy();
            const ConstRCPtr<T> typed(copy);
            if (typed.mObject != mObject)
            {
                T* former = std::exchange(mObject, typed.mObject);
                if (mObject)
                {
                    // A fresh copy is shareable, so referencing it cannot copy it again.
                    AsBase(mObject)->AddRef();
                }
                if (former)
                {
                    AsBase(former)->Release();
                }
            }
        }
        if (!mObject)
        {
            Detail::ThrowUnshareFailed(TypeName<T>(), ClassName<ConstRCPtr<T>>());
        }
    }

    friend bool operator==(const ConstRCPtr& a, const ConstRCPtr& b) noexcept
    {
        return a.mObject == b.mObject;
    }
    friend bool operator==(const ConstRCPtr& a, std::nullptr_t) noexcept { return a.mObject == nullptr; }

protected:
    // Callers of AddRef, Release and the shareable flag go through the object's one
    // LRefCountedObject part.
    static LRefCountedObject* AsBase(T* object) noexcept { return object; }

    // Every construction ends here; the holder's reference is added before anything else.
    void Acquire()
    {
        if (mObject)
        {
            LRefCountedObject* base = AsBase(mObject);
            base->AddRef();
            if (!base->IsShareable())
            {
                UnshareAcquired();
            }
        }
    }

    T* mObject = nullptr;

private:
    template <typename U>
    friend class ConstRCPtr;

    // The copy-on-write path of Acquire. Should the copy fail, the reference just taken is
    // dropped again, so a failed construction or assignment leaks nothing.
    void UnshareAcquired()
    {
        try
        {
            Unshare();
        }
        catch (...)
        {
            if (T* object = std::exchange(mObject, nullptr))
            {
                AsBase(object)->Release();
            }
            throw;
        }
    }

    // Same object: nothing at all. Otherwise the new object is secured (referenced, and
    // copied when unshareable) before the old one is released; if securing it throws, this
    // pointer keeps its old object.
    void Assign(T* object)
    {
        if (object != mObject)
        {
            ConstRCPtr secured(object);
            std::swap(mObject, secured.mObject);
        }
    }
};

template <typename T>
class RCPtr : public ConstRCPtr<T>
{
    using Base = ConstRCPtr<T>;

public:
    constexpr RCPtr() noexcept = default;
    constexpr RCPtr(std::nullptr_t) noexcept {}
    RCPtr(T* object) : Base(object) {}
    RCPtr(const RCPtr& other) = default;
    RCPtr(RCPtr&& other) noexcept = default;

    template <typename U>
    requires(!std::is_same_v<U, T>) RCPtr(const RCPtr<U>& other) : Base(other) {}

    // Writable access from a read-only pointer is asked for by name.
    template <typename U>
    explicit RCPtr(const ConstRCPtr<U>& other) : Base(other)
    {
    }

    RCPtr& operator=(const RCPtr& other) = default;
    RCPtr& operator=(RCPtr&& other) noexcept = default;

    template <typename U>
    requires(!std::is_same_v<U, T>) RCPtr& operator=(const RCPtr<U>& other)
    {
        Base::operator=(other);
        return *this;
    }

    RCPtr& operator=(std::nullptr_t)
    {
        Base::operator=(nullptr);
        return *this;
    }

    T* Get() const noexcept { return this->mObject; }
    T* operator->() const noexcept { return this->mObject; }
    T& operator*() const noexcept { return *this->mObject; }
};

} // namespace KR
