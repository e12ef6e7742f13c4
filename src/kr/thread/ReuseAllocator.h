#pragma once
// Recycling pools for small objects made and dropped at a high rate (notification
// parameters, captured MIDI data, thread-pool jobs): a freed object's storage waits
// in the pool for the next object of the same class instead of going back to the heap.

#include "kr/thread/Mutex.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace KR
{

// The size-generic pool behind every ReuseAllocator<T,N>.
//
// A request of exactly the object size gets a pooled block, the most recently freed
// first, or a new block when none is free; the pool never shrinks while it lives. Any
// other size is served by the heap, and Free sends it back there.
//
// Every address handed out, pooled or not, stands behind a header as large as the
// heap's alignment: objects stay aligned as the heap would align them, and Free tells
// a pooled block from a heap one without reading outside its own allocation.
//
// A thread-safe pool takes its lock around the list work in Allocate and Free. A pool
// without a lock must see its calls serialised by its users; give a pool a lock
// whenever its objects may be released on another thread than they are made on.
class ReusePool
{
public:
    static constexpr std::size_t kHeaderSize = alignof(std::max_align_t);

    // growthStep: the entries by which the pool's lists first grow.
    ReusePool(std::size_t objectSize, std::size_t growthStep, bool threadSafe);
    // Frees every block. Objects still in use lose their storage: a pool is destroyed
    // only when nothing it served is alive any more.
    ~ReusePool();
    ReusePool(const ReusePool&) = delete;
    ReusePool& operator=(const ReusePool&) = delete;

    // Storage for one object; throws std::bad_alloc when the heap is exhausted.
    void* Allocate(std::size_t size);
    // Takes storage back from Allocate; null is ignored. A block freed twice, or one
    // of another pool, is reported and left alone, so no block is ever handed out
    // twice.
    void Free(void* pointer) noexcept;

    // Blocks the pool has made, and how many of them are waiting to be reused.
    std::size_t GetBlockCount() const;
    std::size_t GetFreeCount() const;

private:
    struct Header;
    class Locked;

    const std::size_t mObjectSize;
    std::vector<Header*> mBlocks;
    std::vector<std::uint32_t> mFree;
    const std::unique_ptr<Mutex> mLock;
};

// The pool of one class T; N is the growth step of its lists.
template <typename T, unsigned N>
class ReuseAllocator
{
    static_assert(N > 0, "the growth step is at least one entry");

public:
    explicit ReuseAllocator(bool threadSafe) : mPool(sizeof(T), N, threadSafe)
    {
        static_assert(alignof(T) <= ReusePool::kHeaderSize, "over-aligned classes cannot be pooled");
    }
    virtual ~ReuseAllocator() = default;

    void* Allocate(std::size_t size) { return mPool.Allocate(size); }
    void Free(void* pointer) noexcept { mPool.Free(pointer); }

    std::size_t GetBlockCount() const { return mPool.GetBlockCount(); }
    std::size_t GetFreeCount() const { return mPool.GetFreeCount(); }

private:
    ReusePool mPool;
};

// The pooled-class pattern: derive T from PooledObject<T, N, ThreadSafe> and every
// `new T` takes its storage from T's one pool, every delete (the last Release of a
// reference-counted T) gives it back, and the storage of a constructor that throws
// goes back too. Classes derived from T inherit the operators; their other size sends
// them to the heap.
template <typename T, unsigned N, bool ThreadSafe>
class PooledObject
{
public:
    static void* operator new(std::size_t size) { return GetPool().Allocate(size); }
    static void operator delete(void* pointer) noexcept { GetPool().Free(pointer); }

    static ReuseAllocator<T, N>& GetPool()
    {
        // Never destroyed: an object released late in process exit (by a static
        // destructor or a thread still ending) must still find its pool.
        static auto* const pool = new ReuseAllocator<T, N>(ThreadSafe);
        return *pool;
    }
};

} // namespace KR
