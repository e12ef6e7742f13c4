#pragma once
// The locked ring through which worker threads hand notifications and parameter
// lists to their consumer. It never drops: a full ring grows by one slot.

#include "kr/core/RCPtrArray.h"
#include "kr/thread/Mutex.h"

#include <cstdint>
#include <string>

namespace KR
{

namespace Detail
{
// "Runtime Error : KR::RCPtrQueue<class X,N>::Dequeue : ..." for element type X.
[[noreturn]] void ThrowDequeueFromEmptyQueue(const std::string& elementType, std::size_t n);
} // namespace Detail

// A ring of S slots holds at most S - 1 items: the slot at the write index is always
// empty, so equal indices mean "empty". When an item arrives at a full ring, a null
// slot is inserted at the read index, the waiting items from there on move up one
// place with their indices, and the new item takes the slot at the write index; the
// ring only grows, and dequeuing never shrinks it.
//
// Enqueue, Dequeue and GetCount each hold the mutex for their whole update. The
// mutex belongs to the owner (several queues may share one); without a mutex the
// queue takes no lock and its owner keeps it to one thread.
//
// N is the default slot count and the step in which the slot storage grows.
template <typename T, std::size_t N>
class RCPtrQueue
{
public:
    explicit RCPtrQueue(Mutex* mutex = nullptr, std::uint32_t slots = N) : mSlots(slots, slots), mMutex(mutex)
    {
    }

    RCPtrQueue(const RCPtrQueue&) = delete;
    RCPtrQueue& operator=(const RCPtrQueue&) = delete;

    // Queues the item behind the ones waiting. kOk, or kFail (nothing queued) when
    // the heap cannot supply a slot.
    Result Enqueue(RCPtr<T> item)
    {
        const Guard guard(mMutex);
        std::uint32_t slots = mSlots.GetCount();
        if (slots == 0)
        {
            if (mSlots.SetCount(2) != 2)
            {
                return kFail;
            }
            slots = 2;
            mRead = 0;
            mWrite = 0;
        }
        if (Queued(slots) == slots - 1)
        {
            if (mSlots.InsertSpace(mRead, 1) < 0)
            {
                return kFail;
            }
            // The items from the read index on moved up one place. The write index
            // moves with them when it is not below the read index; "not below"
            // rather than "above" also covers an empty ring of one slot, where both
            // indices are equal.
            if (mRead <= mWrite)
            {
                ++mWrite;
            }
            ++slots;
            mRead = (mRead + 1) % slots;
        }
        mSlots[mWrite] = std::move(item);
        mWrite = (mWrite + 1) % slots;
        return kOk;
    }

    // The oldest item. On an empty queue throws a Runtime Error and changes nothing;
    // the test for emptiness is made under the mutex, so a concurrent Enqueue or
    // Dequeue cannot slip between it and the removal.
    RCPtr<T> Dequeue()
    {
        const Guard guard(mMutex);
        const std::uint32_t slots = mSlots.GetCount();
        if (slots == 0 || Queued(slots) == 0)
        {
            Detail::ThrowDequeueFromEmptyQueue(TypeName<T>(), N);
        }
        return Take(slots);
    }

    // Takes the oldest item into `out` when there is one; for consumers that do not
    // want to test GetCount first.
    bool TryDequeue(RCPtr<T>& out)
    {
        const Guard guard(mMutex);
        const std::uint32_t slots = mSlots.GetCount();
        if (slots == 0 || Queued(slots) == 0)
        {
            return false;
        }
        out = Take(slots);
        return true;
    }

    // The number of waiting items.
    std::uint32_t GetCount() const
    {
        const Guard guard(mMutex);
        const std::uint32_t slots = mSlots.GetCount();
        return slots == 0 ? 0 : Queued(slots);
    }

    // The ring's size in slots (one more than it can hold before it grows).
    std::uint32_t GetSlotCount() const
    {
        const Guard guard(mMutex);
        return mSlots.GetCount();
    }

private:
    // Enters a mutex that may be absent.
    class Guard
    {
    public:
        explicit Guard(Mutex* mutex) : mMutex(mutex)
        {
            if (mMutex)
            {
                mMutex->Enter();
            }
        }
        ~Guard()
        {
            if (mMutex)
            {
                mMutex->Leave();
            }
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        Mutex* mMutex;
    };

    std::uint32_t Queued(std::uint32_t slots) const
    {
        return mWrite >= mRead ? mWrite - mRead : mWrite + slots - mRead;
    }

    RCPtr<T> Take(std::uint32_t slots)
    {
        RCPtr<T> item = std::move(mSlots[mRead]);
        mRead = (mRead + 1) % slots;
        return item;
    }

    RCPtrArray<T, N, N> mSlots;
    std::uint32_t mWrite = 0;
    std::uint32_t mRead = 0;
    Mutex* mMutex;
};

} // namespace KR
