#include "kr/core/Allocator.h"

#include <cstdlib>

namespace KR
{

void* SystemAllocator::Allocate(std::size_t size) const
{
    return size == 0 ? nullptr : std::malloc(size);
}

void* SystemAllocator::AllocateZeroed(std::size_t count, std::size_t elementSize) const
{
    return count == 0 || elementSize == 0 ? nullptr : std::calloc(count, elementSize);
}

void* SystemAllocator::Reallocate(void* block, std::size_t newSize) const
{
    // realloc(p, 0) is implementation-defined; freeing here gives the one meaning the
    // buffers rely on.
    if (newSize == 0)
    {
        std::free(block);
        return nullptr;
    }
    return std::realloc(block, newSize);
}

void SystemAllocator::Free(void* block) const
{
    std::free(block);
}

const IAllocator* GetSystemAllocator()
{
    // Stateless with a trivial destructor: constant-initialised, so it exists before any
    // static constructor runs and still exists after every static destructor.
    static constinit const SystemAllocator allocator;
    return &allocator;
}

} // namespace KR
