#include "kr/thread/ReuseAllocator.h"

#include "kr/thread/ThreadLog.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace KR
{

namespace
{
constexpr std::uint32_t kHeapBlock = 0xFFFFFFFFu;
constexpr std::uint32_t kInUse = 0x55534544u;
constexpr std::uint32_t kFreeBlock = 0x46524545u;
} // namespace

struct ReusePool::Header
{
    // The block's place in the blocks list, or kHeapBlock for heap storage.
    std::uint32_t index;
    std::uint32_t state;

    void* Storage() { return reinterpret_cast<unsigned char*>(this) + kHeaderSize; }
    static Header* Of(void* storage)
    {
        return reinterpret_cast<Header*>(static_cast<unsigned char*>(storage) - kHeaderSize);
    }
};

class ReusePool::Locked
{
public:
    explicit Locked(Mutex* mutex) : mMutex(mutex)
    {
        if (mMutex)
        {
            mMutex->Enter();
        }
    }
    ~Locked()
    {
        if (mMutex)
        {
            mMutex->Leave();
        }
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    Mutex* mMutex;
};

ReusePool::ReusePool(std::size_t objectSize, std::size_t growthStep, bool threadSafe)
    : mObjectSize(objectSize), mLock(threadSafe ? std::make_unique<Mutex>() : nullptr)
{
    mBlocks.reserve(growthStep);
    mFree.reserve(growthStep);
}

ReusePool::~ReusePool()
{
    for (std::size_t i = mBlocks.size(); i > 0; --i)
    {
        ::operator delete(mBlocks[i - 1]);
    }
}

void* ReusePool::Allocate(std::size_t size)
{
    if (size != mObjectSize)
    {
        if (size > SIZE_MAX - kHeaderSize)
        {
            throw std::bad_alloc();
        }
        auto* header = static_cast<Header*>(std::malloc(kHeaderSize + size));
        if (!header)
        {
            throw std::bad_alloc();
        }
        header->index = kHeapBlock;
        header->state = kInUse;
        return header->Storage();
    }
    Locked lock(mLock.get());
    Header* header;
    if (mFree.empty())
    {
        // Room for every block on the free list is made now, so Free never
        // allocates (and cannot fail).
        if (mFree.capacity() < mBlocks.size() + 1)
        {
            mFree.reserve(std::max<std::size_t>(mBlocks.size() + 1, 2 * mFree.capacity()));
        }
        header = static_cast<Header*>(::operator new(kHeaderSize + mObjectSize));
        try
        {
            mBlocks.push_back(header);
        }
        catch (...)
        {
            ::operator delete(header);
            throw;
        }
        header->index = static_cast<std::uint32_t>(mBlocks.size() - 1);
    }
    else
    {
        header = mBlocks[mFree.back()];
        mFree.pop_back();
    }
    header->state = kInUse;
    return header->Storage();
}

void ReusePool::Free(void* pointer) noexcept
{
    if (!pointer)
    {
        return;
    }
    Header* header = Header::Of(pointer);
    if (header->index == kHeapBlock)
    {
        std::free(header);
        return;
    }
    Locked lock(mLock.get());
    if (header->index >= mBlocks.size() || mBlocks[header->index] != header)
    {
        LogThreadProblem("KR::ReuseAllocator::Free: the pointer does not come from this pool; left alone");
        return;
    }
    if (header->state != kInUse)
    {
        LogThreadProblem("KR::ReuseAllocator::Free: the block is freed twice; left alone");
        return;
    }
    mFree.push_back(header->index);
    header->state = kFreeBlock;
}

std::size_t ReusePool::GetBlockCount() const
{
    Locked lock(mLock.get());
    return mBlocks.size();
}

std::size_t ReusePool::GetFreeCount() const
{
    Locked lock(mLock.get());
    return mFree.size();
}

} // namespace KR
