#include "kr/core/SharedBuffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

TEST(SharedBuffer, CreateBufferHoldsTheNewBufferOnce)
{
    const KR::RCPtr<KR::LIBuffer> buffer = KR::CreateBuffer(10, 0, true);
    EXPECT_EQ(buffer->GetRefCount(), 1);
    EXPECT_TRUE(buffer->IsShareable());
    EXPECT_EQ(buffer->GetSize(), 10u);
    EXPECT_EQ(buffer->GetCapacity(), 10u);
    EXPECT_EQ(buffer->GetData()[9], 0);

    // The string instance keeps a reserve within its slack of 128 bytes.
    EXPECT_EQ(KR::CreateBuffer(10, 100, false)->GetCapacity(), 100u);
    EXPECT_EQ(KR::CreateBuffer(10, 1000, false)->GetCapacity(), 10u);
    EXPECT_EQ(KR::ExactBuffer::Create(10, 100, false)->GetCapacity(), 10u);
    EXPECT_EQ(KR::PresetFileBuffer::Create(1338, 0, false)->GetCapacity(), 1536u);
}

TEST(SharedBuffer, ResizedCopyTakesTheBytesFromTheOffset)
{
    const KR::RCPtr<KR::LIBuffer> source = KR::CreateBuffer(6, 0, false);
    std::memcpy(source->GetData(), "abcdef", 6);

    const KR::RCPtr<KR::LIBuffer> tail = source->CreateResizedCopy(8, 2);
    ASSERT_EQ(tail->GetSize(), 8u);
    EXPECT_EQ(std::memcmp(tail->GetData(), "cdef\0\0\0\0", 8), 0);

    const KR::RCPtr<KR::LIBuffer> cut = source->CreateResizedCopy(3, 0);
    EXPECT_EQ(std::memcmp(cut->GetData(), "abc", 3), 0);

    const KR::RCPtr<KR::LIBuffer> beyond = source->CreateResizedCopy(4, 6);
    EXPECT_EQ(std::memcmp(beyond->GetData(), "\0\0\0\0", 4), 0);
    EXPECT_EQ(source->GetRefCount(), 1);
}

TEST(SharedBuffer, ASecondHolderOfAnUnshareableBufferGetsItsOwnCopy)
{
    KR::RCPtr<KR::LIBuffer> first = KR::CreateBuffer(4, 0, false);
    std::memcpy(first->GetData(), "data", 4);
    first->SetUnshareable(true);

    const KR::ConstRCPtr<KR::LIBuffer> second = first;
    ASSERT_NE(second.Get(), first.Get());
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(second->GetRefCount(), 1);
    EXPECT_TRUE(second->IsShareable());
    ASSERT_EQ(second->GetSize(), 4u);
    EXPECT_EQ(std::memcmp(second->GetData(), "data", 4), 0);

    // The copy is a buffer of the same kind: it keeps the same sizing rules.
    const KR::RCPtr<KR::LIBuffer> grown(second);
    grown->Resize(3);
    EXPECT_EQ(grown->GetCapacity(), 4u);
}

} // namespace
