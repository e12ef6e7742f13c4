#pragma once
// The one heap behind every framework buffer.

#include <cstddef>

namespace KR
{

// Raw memory source of the buffers. Implementations keep no state of their own, so
// one object may serve every buffer of every thread.
class IAllocator
{
public:
    // Null when the heap is exhausted (or for a size of 0).
    virtual void* Allocate(std::size_t size) const = 0;
    // count x elementSize zero bytes; null when exhausted or when the product overflows.
    virtual void* AllocateZeroed(std::size_t count, std::size_t elementSize) const = 0;
    // Keeps the contents up to the smaller size. A new size of 0 frees the block and
    // gives null. Any other null result means failure, and the old block is untouched.
    virtual void* Reallocate(void* block, std::size_t newSize) const = 0;
    virtual void Free(void* block) const = 0;

protected:
    ~IAllocator() = default;
};

// The C library heap.
class SystemAllocator final : public IAllocator
{
public:
    void* Allocate(std::size_t size) const override;
    void* AllocateZeroed(std::size_t count, std::size_t elementSize) const override;
    void* Reallocate(void* block, std::size_t newSize) const override;
    void Free(void* block) const override;
};

// The process's one system allocator. It outlives every static object, so buffers
// released during process exit still find it.
const IAllocator* GetSystemAllocator();

// The form in which buffers take their allocator as a template argument.
using AllocatorSource = const IAllocator* (*)();

} // namespace KR
