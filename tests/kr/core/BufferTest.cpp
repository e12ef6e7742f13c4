#include "kr/core/BufferT.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{

using StringBuffer = KR::BufferT<1, 128>;
using PointerBuffer = KR::BufferT<4, 0>;
using PresetBuffer = KR::BufferT<512, 512>;
using RingBuffer = KR::BufferT<1024, 1024>;

// The system heap, except that it refuses every request while `failing` is set.
class FailingAllocator final : public KR::IAllocator
{
public:
    void* Allocate(std::size_t size) const override { return failing ? nullptr : std::malloc(size); }
    void* AllocateZeroed(std::size_t count, std::size_t size) const override
    {
        return failing ? nullptr : std::calloc(count, size);
    }
    void* Reallocate(void* block, std::size_t size) const override
    {
        if (size == 0)
        {
            std::free(block);
            return nullptr;
        }
        return failing ? nullptr : std::realloc(block, size);
    }
    void Free(void* block) const override { std::free(block); }

    static inline bool failing = false;
};

const KR::IAllocator* GetFailingAllocator()
{
    static const FailingAllocator allocator;
    return &allocator;
}

using FailingBuffer = KR::BufferT<1, 0, 8, char*, &GetFailingAllocator>;

struct HeapFailure
{
    HeapFailure() { FailingAllocator::failing = true; }
    ~HeapFailure() { FailingAllocator::failing = false; }
};

TEST(BufferT, StringBufferKeepsItsBlockWithinTheSlackAndShrinksBeyondIt)
{
    StringBuffer buffer;
    buffer.Resize(300);
    const char* block = buffer.GetData();

    EXPECT_EQ(buffer.Resize(200), 200u);
    EXPECT_EQ(buffer.GetData(), block);
    EXPECT_EQ(buffer.GetCapacity(), 300u);

    EXPECT_EQ(buffer.Resize(100), 100u);
    EXPECT_EQ(buffer.GetCapacity(), 100u);

    // 100 spare bytes are within the slack of 128, so emptying keeps the block.
    EXPECT_EQ(buffer.Resize(0), 0u);
    EXPECT_EQ(buffer.GetCapacity(), 100u);
    EXPECT_NE(buffer.GetData(), nullptr);
}

TEST(BufferT, GranularityRoundsEveryNewBlock)
{
    PointerBuffer pointers;
    pointers.Resize(5);
    EXPECT_EQ(pointers.GetCapacity(), 8u);
    const char* block = pointers.GetData();
    pointers.Resize(6);
    EXPECT_EQ(pointers.GetData(), block);
    EXPECT_EQ(pointers.GetSize(), 6u);

    PresetBuffer preset;
    preset.Resize(1);
    EXPECT_EQ(preset.GetCapacity(), 512u);
    preset.Resize(1338);
    EXPECT_EQ(preset.GetCapacity(), 1536u);
    EXPECT_EQ(preset.GetSize(), 1338u);
}

TEST(BufferT, RingBufferGrowsInWholeStepsAndKeepsASpareStep)
{
    RingBuffer ring(1024, 1024, true);
    EXPECT_EQ(ring.GetCapacity(), 1024u);

    ring.Resize(1028);
    EXPECT_EQ(ring.GetCapacity(), 2048u);
    const char* block = ring.GetData();
    ring.Resize(2048);
    EXPECT_EQ(ring.GetData(), block);

    ring.Resize(1024);
    EXPECT_EQ(ring.GetCapacity(), 2048u);
    ring.Resize(1020);
    EXPECT_EQ(ring.GetCapacity(), 1024u);
}

TEST(BufferT, ResizeKeepsTheContents)
{
    StringBuffer buffer;
    buffer.Resize(4);
    std::memcpy(buffer.GetData(), "abcd", 4);
    buffer.Resize(5000);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "abcd", 4), 0);
    buffer.Resize(3);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "abc", 3), 0);
}

TEST(BufferT, EmptyingWithoutSlackGivesTheBlockBack)
{
    PointerBuffer pointers;
    pointers.Resize(4);
    pointers.Resize(0);
    EXPECT_EQ(pointers.GetCapacity(), 0u);
    EXPECT_EQ(pointers.GetData(), nullptr);
}

TEST(BufferT, AllocateKeepsABlockOfThePresentCapacityAndFreesOnZero)
{
    PresetBuffer buffer;
    buffer.Allocate(700);
    const char* block = buffer.GetData();
    EXPECT_EQ(buffer.Allocate(1000), 1000u);
    EXPECT_EQ(buffer.GetData(), block);

    EXPECT_EQ(buffer.Allocate(0), 0u);
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetCapacity(), 0u);
}

TEST(BufferT, ConstructorReservesThenAppliesTheSlackRule)
{
    StringBuffer tooMuch(10, 1000, false);
    EXPECT_EQ(tooMuch.GetSize(), 10u);
    EXPECT_EQ(tooMuch.GetCapacity(), 10u);

    StringBuffer withinSlack(10, 100, true);
    EXPECT_EQ(withinSlack.GetCapacity(), 100u);
    for (std::size_t i = 0; i < 10; ++i)
    {
        EXPECT_EQ(withinSlack.GetData()[i], 0);
    }
}

TEST(BufferT, FillWritesOnlyInsideTheBuffer)
{
    StringBuffer buffer(8, 0, true);
    EXPECT_EQ(buffer.Fill(0x11, 2, 3), KR::kOk);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "\0\0\x11\x11\x11\0\0\0", 8), 0);

    EXPECT_EQ(buffer.Fill(0x22, 6, -1), KR::kOk);
    EXPECT_EQ(std::memcmp(buffer.GetData() + 5, "\0\x22\x22", 3), 0);

    EXPECT_EQ(buffer.Fill(0x33, 8, -1), KR::kOk); // nothing left to fill
    EXPECT_EQ(buffer.Fill(0x33, 9, -1), KR::kInvalidArg);
    EXPECT_EQ(buffer.Fill(0x33, 6, 3), KR::kInvalidArg);
    // A sum of offset and count that would wrap around is still refused.
    EXPECT_EQ(buffer.Fill(0x33, 2, std::numeric_limits<std::ptrdiff_t>::max()), KR::kInvalidArg);
    EXPECT_EQ(buffer.Fill(0x33, std::numeric_limits<std::size_t>::max(), 2), KR::kInvalidArg);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "\0\0\x11\x11\x11\0\x22\x22", 8), 0);
}

TEST(BufferT, Fill16WritesWholeUnitsFromAnyOffset)
{
    StringBuffer buffer(9, 0, true);
    EXPECT_EQ(buffer.Fill16(0xBEEF, 1, -1), KR::kOk); // four whole units fit after byte 1
    std::uint16_t unit = 0;
    std::memcpy(&unit, buffer.GetData() + 7, 2);
    EXPECT_EQ(unit, 0xBEEF);
    EXPECT_EQ(buffer.GetData()[0], 0);

    EXPECT_EQ(buffer.Fill16(0x1234, 4, 3), KR::kInvalidArg); // 6 bytes from 4 leave a 9-byte buffer
    EXPECT_EQ(buffer.Fill16(0x1234, 2, std::numeric_limits<std::ptrdiff_t>::max() / 2 + 1), KR::kInvalidArg);
    std::memcpy(&unit, buffer.GetData() + 5, 2);
    EXPECT_EQ(unit, 0xBEEF);
}

TEST(BufferT, GetAtReachesTheLastByteAndNoFurther)
{
    StringBuffer buffer(4, 0, true);
    const KR::IBuffer& bytes = buffer;
    EXPECT_EQ(bytes.GetAt(3), buffer.GetData() + 3);
    EXPECT_EQ(bytes.GetAt(4), nullptr);
    EXPECT_EQ(StringBuffer().GetAt(0), nullptr);
}

TEST(BufferT, FailedGrowthKeepsTheOldBlockAndSize)
{
    FailingBuffer buffer;
    buffer.Resize(16);
    std::memcpy(buffer.GetData(), "0123456789abcdef", 16);
    const char* block = buffer.GetData();
    {
        HeapFailure failure;
        EXPECT_EQ(buffer.Resize(64), 16u);
        EXPECT_EQ(buffer.Allocate(128), 16u);
    }
    EXPECT_EQ(buffer.GetData(), block);
    EXPECT_EQ(buffer.GetSize(), 16u);
    EXPECT_EQ(buffer.GetCapacity(), 16u);
    EXPECT_EQ(std::memcmp(buffer.GetData(), "0123456789abcdef", 16), 0);

    HeapFailure failure;
    FailingBuffer none(32, 0, true);
    EXPECT_EQ(none.GetSize(), 0u);
    EXPECT_EQ(none.GetData(), nullptr);
}

TEST(BufferT, MoveHandsTheBlockOver)
{
    PresetBuffer source(100, 0, false);
    const char* block = source.GetData();
    PresetBuffer target(std::move(source));
    EXPECT_EQ(target.GetData(), block);
    EXPECT_EQ(target.GetSize(), 100u);
    EXPECT_EQ(source.GetCapacity(), 0u); // NOLINT(bugprone-use-after-move): moved-from state is defined

    PresetBuffer other(10, 0, false);
    other = std::move(target);
    EXPECT_EQ(other.GetData(), block);
}

TEST(BufferT, TypedDataPresentsTheBytesAsElements)
{
    KR::BufferT<8, 0, 8, double*> values(3 * sizeof(double), 0, true);
    EXPECT_EQ(values.GetCapacity(), 24u);
    values.GetTypedData()[2] = 1.5;
    const auto& view = values;
    EXPECT_EQ(view.GetTypedData()[2], 1.5);
}

} // namespace
