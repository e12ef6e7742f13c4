#include "kr/core/RCPtrArray.h"

#include "kr/core/Exception.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using KR::ConstRCPtr;
using KR::kFail;
using KR::kInvalidArg;
using KR::kOk;
using KR::RCPtr;

// Logs its id when it is destroyed, so tests see which references were released
// and in which order.
class Encoder : public virtual KR::LRefCountedObject
{
public:
    Encoder(int id, std::vector<int>* log) : id(id), mLog(log) {}
    ~Encoder() override
    {
        if (mLog)
        {
            mLog->push_back(id);
        }
    }
    const int id;

private:
    std::vector<int>* mLog;
};

// The texts name the element class as the framework spells it.
const bool kEncoderNamed = (KR::RegisterTypeName<Encoder>("class LEncoder"), true);

using Encoders = KR::RCPtrArray<Encoder, 1, 0>;
using ConstEncoders = KR::ConstRCPtrArray<Encoder, 1, 0>;

const std::string kConstRemoveItemText =
    "Out of Range : KR::ConstRCPtrArray<class LEncoder,1,0>::RemoveItem : "
    "krframework\\utilities\\Storage/ConstRCPtrArray : Line 216";
const std::string kRemoveItemText = "Out of Range : KR::RCPtrArray<class LEncoder,1,0>::RemoveItem : "
                                    "krframework\\utilities\\Storage/RCPtrArray : Line 175";

class PointerArray : public ::testing::Test
{
protected:
    RCPtr<Encoder> Make(int id) { return RCPtr<Encoder>(new Encoder(id, &released)); }

    Encoders Of(std::initializer_list<int> ids)
    {
        Encoders array;
        for (int id : ids)
        {
            array.AddItem(Make(id));
        }
        return array;
    }

    static std::vector<int> Ids(const Encoders& array)
    {
        std::vector<int> ids;
        for (const RCPtr<Encoder>& element : array)
        {
            ids.push_back(element ? element->id : 0);
        }
        return ids;
    }

    // Runs `action`, which must throw std::out_of_range as a framework exception,
    // and returns its text.
    template <typename Action>
    static std::string OutOfRangeText(Action action)
    {
        try
        {
            action();
        }
        catch (const KR::Exception<std::out_of_range>& e)
        {
            EXPECT_STREQ(e.What(), e.what());
            return e.what();
        }
        catch (...)
        {
            return "another exception";
        }
        return "no exception";
    }

    std::vector<int> released;
};

TEST_F(PointerArray, SetCountGrowsWithNullsAndReleasesTheRemovedTail)
{
    Encoders a = Of({1, 2, 3});
    EXPECT_EQ(a.SetCount(3), 3);
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(a.SetCount(5), 5);
    EXPECT_EQ(Ids(a), (std::vector<int>{1, 2, 3, 0, 0}));
    EXPECT_EQ(a.SetCount(1), 1);
    EXPECT_EQ(Ids(a), (std::vector<int>{1}));
    EXPECT_EQ(released, (std::vector<int>{2, 3}));
    EXPECT_EQ(a.SetCount(0x80000000u), kInvalidArg);
}

TEST_F(PointerArray, InsertSpaceOpensNullEntriesOnlyWithinTheCount)
{
    Encoders a = Of({1, 2});
    EXPECT_EQ(a.InsertSpace(1, 0), 2);
    EXPECT_EQ(a.InsertSpace(3, 1), kInvalidArg);
    EXPECT_EQ(a.InsertSpace(1, 0xFFFFFFFFu), kInvalidArg);
    EXPECT_EQ(Ids(a), (std::vector<int>{1, 2}));
    EXPECT_EQ(a.InsertSpace(1, 2), 4);
    EXPECT_EQ(a.InsertSpace(4, 1), 5);
    EXPECT_EQ(Ids(a), (std::vector<int>{1, 0, 0, 2, 0}));
    EXPECT_TRUE(released.empty());
}

TEST_F(PointerArray, InsertItemTakesAReferenceAndReturnsTheIndex)
{
    Encoders a;
    RCPtr<Encoder> first = Make(1);
    EXPECT_EQ(a.AddItem(first), 0);
    EXPECT_EQ(first->GetRefCount(), 2);
    EXPECT_EQ(a.InsertItem(0, Make(2)), 0);
    EXPECT_EQ(a.InsertItem(3, Make(3)), kInvalidArg);
    // An element of the array itself survives the move of the entries.
    EXPECT_EQ(a.InsertItem(1, a[1]), 1);
    EXPECT_EQ(Ids(a), (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(first->GetRefCount(), 3);
    EXPECT_EQ(released, (std::vector<int>{3}));
}

TEST_F(PointerArray, RemoveItemMovesTheReferenceOut)
{
    Encoders a = Of({1, 2, 3});
    RCPtr<Encoder> out = Make(9);
    EXPECT_EQ(a.RemoveItem(1, out), 2);
    EXPECT_EQ(out->id, 2);
    EXPECT_EQ(out->GetRefCount(), 1);
    EXPECT_EQ(released, (std::vector<int>{9}));
    EXPECT_EQ(Ids(a), (std::vector<int>{1, 3}));
}

TEST_F(PointerArray, RemoveItemAtTheCountThrowsTheTextOfTheInterfaceCalled)
{
    Encoders a = Of({1});
    RCPtr<Encoder> out;
    EXPECT_EQ(OutOfRangeText([&] { a.RemoveItem(1, out); }), kRemoveItemText);

    ConstRCPtr<Encoder> constOut;
    KR::IArray<ConstRCPtr<Encoder>>& asConst = a.AsConst();
    EXPECT_EQ(OutOfRangeText([&] { asConst.RemoveItem(1, constOut); }), kConstRemoveItemText);

    ConstEncoders plain;
    EXPECT_EQ(OutOfRangeText([&] { plain.RemoveItem(0, constOut); }), kConstRemoveItemText);
    EXPECT_EQ(Ids(a), (std::vector<int>{1}));
}

TEST_F(PointerArray, RemoveItemsPastTheEndRemovesWhatItCoversThenThrows)
{
    Encoders a = Of({1, 2});
    EXPECT_EQ(OutOfRangeText([&] { a.RemoveItems(1, 2); }), kConstRemoveItemText);
    EXPECT_EQ(Ids(a), (std::vector<int>{1}));
    EXPECT_EQ(released, (std::vector<int>{2}));

    // A count that would wrap the range check removes the covered tail, nothing more.
    Encoders b = Of({3, 4, 5});
    EXPECT_EQ(OutOfRangeText([&] { b.RemoveItems(1, 0xFFFFFFFFu); }), kConstRemoveItemText);
    EXPECT_EQ(Ids(b), (std::vector<int>{3}));
    EXPECT_EQ(released, (std::vector<int>{2, 4, 5}));
}

TEST_F(PointerArray, RemoveItemsReleasesInOrderOnceTheArrayIsWithoutThem)
{
    Encoders a = Of({1, 2, 3, 4, 5});
    EXPECT_EQ(a.RemoveItems(1, 3), 2);
    EXPECT_EQ(Ids(a), (std::vector<int>{1, 5}));
    EXPECT_EQ(released, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(a.RemoveItems(0, 0), 2);
}

TEST_F(PointerArray, RemoveLastOnAnEmptyArrayFailsAndLeavesOutNull)
{
    Encoders a = Of({1});
    RCPtr<Encoder> out = Make(7);
    EXPECT_EQ(a.RemoveLast(out), 0);
    EXPECT_EQ(out->id, 1);
    EXPECT_EQ(a.RemoveLast(out), kFail);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(released, (std::vector<int>{7, 1}));

    ConstRCPtr<Encoder> constOut = Make(8);
    EXPECT_EQ(a.AsConst().RemoveLast(constOut), kFail);
    EXPECT_EQ(constOut, nullptr);
}

TEST_F(PointerArray, LookupsAndSwapsCheckTheirIndicesInBothViewsAndDestructionReleasesInOrder)
{
    {
        Encoders a = Of({1, 2, 3});
        EXPECT_EQ(a.IndexOf(a[1]), 1);
        EXPECT_EQ(a.IndexOf(Make(2)), -1);
        EXPECT_EQ(a.AsConst().IndexOf(ConstRCPtr<Encoder>(a[2])), 2);
        EXPECT_EQ(a.GetAt(0)->id, 1);
        EXPECT_EQ(a.GetAt(3), nullptr);
        EXPECT_EQ(a.AsConst().GetAt(0xFFFFFFFFu), nullptr);
    }
    EXPECT_EQ(released, (std::vector<int>{2, 1, 2, 3}));
    released.clear();
    Encoders a = Of({1, 2});
    EXPECT_EQ(a.Swap(0, 1), kOk);
    EXPECT_EQ(Ids(a), (std::vector<int>{2, 1}));
    EXPECT_EQ(a.Swap(0, 2), kInvalidArg);
    EXPECT_EQ(a.AsConst().Swap(2, 0), kInvalidArg);
    EXPECT_EQ(a.Swap(1, 1), kOk);
    EXPECT_EQ(Ids(a), (std::vector<int>{2, 1}));
    EXPECT_TRUE(released.empty());
}

TEST_F(PointerArray, AppendAndAssignTakeTheirOwnReferences)
{
    Encoders a = Of({1});
    const Encoders b = Of({2, 3});
    EXPECT_EQ(a.Append(Encoders()), 1);
    EXPECT_EQ(a.Append(b), 3);
    EXPECT_EQ(b[0]->GetRefCount(), 2);
    EXPECT_EQ(a.Append(a), 6);
    EXPECT_EQ(Ids(a), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(a.Assign(b), 2);
    EXPECT_EQ(released, (std::vector<int>{1}));
    EXPECT_EQ(a.Assign(Encoders()), 0);
    EXPECT_EQ(b[0]->GetRefCount(), 1);

    Encoders copy = b;
    EXPECT_EQ(Ids(copy), (std::vector<int>{2, 3}));
    EXPECT_EQ(b[1]->GetRefCount(), 2);
}

TEST_F(PointerArray, StorageFollowsTheGrowthStepAndSlackInEntries)
{
    constexpr std::size_t kEntry = sizeof(void*);
    Encoders exact = Of({1, 2, 3});
    EXPECT_EQ(exact.GetCapacityBytes(), 3 * kEntry);
    // An initial capacity above the count is given back by the exact instance.
    Encoders reserved(2, 10);
    EXPECT_EQ(reserved.GetCount(), 2u);
    EXPECT_EQ(reserved.GetCapacityBytes(), 2 * kEntry);
    exact.RemoveAll();
    EXPECT_EQ(exact.GetCapacityBytes(), 0u);

    KR::RCPtrArray<Encoder, 16, 16> work;
    work.SetCount(17);
    EXPECT_EQ(work.GetCapacityBytes(), 32 * kEntry);

    // The ring's array: 256 entries, then steps of 256.
    KR::RCPtrArray<Encoder, 256, 256> ring(256, 256);
    EXPECT_EQ(ring.GetCount(), 256u);
    EXPECT_EQ(ring.GetCapacityBytes(), 256 * kEntry);
    ring.InsertSpace(3, 1);
    EXPECT_EQ(ring.GetCapacityBytes(), 512 * kEntry);
    ring.InsertSpace(0, 255);
    EXPECT_EQ(ring.GetCapacityBytes(), 512 * kEntry);
}

TEST_F(PointerArray, IteratesThroughPositions)
{
    Encoders a = Of({1, 2, 3});
    Encoders::Iterator it;
    a.Begin(it);
    RCPtr<Encoder>* position = it.position;
    EXPECT_EQ(a.GetValue(position)->id, 1);
    position = a.Advance(position, 2);
    EXPECT_EQ(a.GetValue(position)->id, 3);
    EXPECT_EQ(a.Advance(position, 1), a.GetEndPosition());
}

TEST_F(PointerArray, ReferenceCountedArrayKeepsItsElementsWhileHeld)
{
    RCPtr<KR::LRCPtrArray<Encoder>> shared(new KR::LRCPtrArray<Encoder>());
    shared->AddItem(Make(1));
    RCPtr<KR::LRCPtrArray<Encoder>> other = shared;
    shared = nullptr;
    EXPECT_TRUE(released.empty());
    other = nullptr;
    EXPECT_EQ(released, (std::vector<int>{1}));
}

// A heap that can be told to refuse, to see that growth failures lose nothing.
class FlakyHeap final : public KR::IAllocator
{
public:
    static inline bool refuse = false;
    void* Allocate(std::size_t size) const override { return refuse ? nullptr : std::malloc(size); }
    void* AllocateZeroed(std::size_t count, std::size_t size) const override
    {
        return refuse ? nullptr : std::calloc(count, size);
    }
    void* Reallocate(void* block, std::size_t size) const override
    {
        if (size == 0)
        {
            std::free(block);
            return nullptr;
        }
        return refuse ? nullptr : std::realloc(block, size);
    }
    void Free(void* block) const override { std::free(block); }
};

const KR::IAllocator* GetFlakyHeap()
{
    static FlakyHeap heap;
    return &heap;
}

TEST_F(PointerArray, GrowthRefusedByTheHeapFailsAndKeepsTheElements)
{
    KR::RCPtrArray<Encoder, 1, 0, &GetFlakyHeap> a;
    a.AddItem(Make(1));
    FlakyHeap::refuse = true;
    EXPECT_EQ(a.SetCount(4), kFail);
    EXPECT_EQ(a.InsertSpace(0, 1), kFail);
    EXPECT_EQ(a.InsertItem(0, Make(2)), kFail);
    EXPECT_EQ(a.AddItem(Make(3)), kFail);
    EXPECT_EQ(a.GetCount(), 1u);
    EXPECT_EQ(a[0]->id, 1);
    EXPECT_EQ(released, (std::vector<int>{2, 3}));
    FlakyHeap::refuse = false;

    // A shrink the heap refuses leaves a null entry behind, never a second copy of
    // a reference.
    a.InsertItem(0, Make(4));
    FlakyHeap::refuse = true;
    RCPtr<Encoder> out;
    a.RemoveItem(0, out);
    FlakyHeap::refuse = false;
    EXPECT_EQ(out->id, 4);
    ASSERT_EQ(a.GetCount(), 2u);
    EXPECT_EQ(a[0]->id, 1);
    EXPECT_EQ(a[0]->GetRefCount(), 1);
    EXPECT_EQ(a[1], nullptr);
}

} // namespace
