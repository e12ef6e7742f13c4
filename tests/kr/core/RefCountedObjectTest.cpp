#include "kr/core/RefCountedObject.h"
#include "kr/core/Exception.h"
#include "kr/core/RCPtr.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>
#include <vector>

namespace KR
{
namespace
{

// What happened to an object, kept outside it so it can be read after the object is gone.
struct Record
{
    int deletions = 0;
    int internalReleases = 0;
    std::int32_t countDuringInternalRelease = 0;
};

class Tracked : public virtual LRefCountedObject
{
public:
    explicit Tracked(Record* record) : mRecord(record) {}
    ~Tracked() override { ++mRecord->deletions; }

protected:
    Record* mRecord;
};

// Owns parts that hold references back to it, as a control's children do, and drops them
// when asked.
class Owner : public Tracked
{
public:
    using Tracked::Tracked;

    void AddBackReference()
    {
        mBackReferences.emplace_back(this);
        AdjustInternalRefCount(1);
    }

    Result ReleaseInternalReferences() override
    {
        ++mRecord->internalReleases;
        mRecord->countDuringInternalRelease = GetRefCount();
        while (!mBackReferences.empty())
        {
            AdjustInternalRefCount(-1);
            mBackReferences.pop_back();
        }
        return kOk;
    }

private:
    std::vector<RCPtr<Owner>> mBackReferences;
};

TEST(RefCountedObject, StartsAtZeroAndDeletesItselfWhenTheLastReferenceGoes)
{
    Record record;
    auto* object = new Tracked(&record);
    EXPECT_EQ(object->GetRefCount(), 0);
    EXPECT_EQ(object->AddRef(), 1);
    EXPECT_EQ(object->AddRef(), 2);
    EXPECT_EQ(object->Release(), 1);
    EXPECT_EQ(record.deletions, 0);
    EXPECT_EQ(object->Release(), 0);
    EXPECT_EQ(record.deletions, 1);
}

TEST(RefCountedObject, LastOutsideReleaseDropsInternalReferencesOnceThenDeletes)
{
    Record record;
    auto* owner = new Owner(&record);
    owner->AddRef();
    owner->AddBackReference();
    owner->AddBackReference();
    ASSERT_EQ(owner->GetRefCount(), 3);
    ASSERT_EQ(owner->GetInternalRefCount(), 2);

    EXPECT_EQ(owner->Release(), 0);
    // Asked once, while the released reference still kept the object alive; the two releases
    // that the call made on the object itself did not ask again.
    EXPECT_EQ(record.internalReleases, 1);
    EXPECT_EQ(record.countDuringInternalRelease, 3);
    EXPECT_EQ(record.deletions, 1);
}

TEST(RefCountedObject, InternalReferencesStayWhileTwoOutsideReferencesRemain)
{
    Record record;
    auto* owner = new Owner(&record);
    owner->AddRef();
    owner->AddRef();
    owner->AddBackReference();

    EXPECT_EQ(owner->Release(), 2);
    EXPECT_EQ(record.internalReleases, 0);
    EXPECT_EQ(owner->GetInternalRefCount(), 1);

    EXPECT_EQ(owner->Release(), 0);
    EXPECT_EQ(record.internalReleases, 1);
    EXPECT_EQ(record.deletions, 1);
}

TEST(RefCountedObject, ObjectWithoutInternalReferencesIsNotAskedToDropThem)
{
    Record record;
    auto* owner = new Owner(&record);
    owner->AddRef();
    EXPECT_EQ(owner->Release(), 0);
    EXPECT_EQ(record.internalReleases, 0);
    EXPECT_EQ(record.deletions, 1);
}

TEST(RefCountedObject, BaseReleaseInternalReferencesSucceedsOnlyForASoleHolderWithoutBackReferences)
{
    RCPtr<LRefCountedObject> object(new LRefCountedObject);
    EXPECT_EQ(object->ReleaseInternalReferences(), kOk);

    RCPtr<LRefCountedObject> second(object);
    EXPECT_EQ(object->ReleaseInternalReferences(), kFail);
    second = nullptr;

    object->AdjustInternalRefCount(1);
    EXPECT_EQ(object->ReleaseInternalReferences(), kFail);
    object->AdjustInternalRefCount(-1);
    EXPECT_EQ(object->GetInternalRefCount(), 0);
}

TEST(RefCountedObject, SetUnshareableIsAllowedUpToOneHolderAndRefusedAtTwo)
{
    constexpr char kRefused[] =
        "Runtime Error : KR::LRefCountedObject::SetUnshareable : ObjectBase\\RefCountedObject : Line 29";

    auto* fresh = new LRefCountedObject;
    fresh->SetUnshareable(true); // count 0
    EXPECT_FALSE(fresh->IsShareable());
    fresh->SetUnshareable(false);
    RCPtr<LRefCountedObject> holder(fresh);
    holder->SetUnshareable(true); // count 1
    EXPECT_FALSE(holder->IsShareable());
    holder->SetUnshareable(false);

    RCPtr<LRefCountedObject> second(holder);
    try
    {
        holder->SetUnshareable(true);
        FAIL() << "SetUnshareable(true) at count 2 did not throw";
    }
    catch (const Exception<std::runtime_error>& error)
    {
        EXPECT_STREQ(error.what(), kRefused);
    }
    EXPECT_TRUE(holder->IsShareable());
    EXPECT_EQ(holder->GetRefCount(), 2);
    holder->SetUnshareable(false); // never refused
}

TEST(RefCountedObject, BaseUndoAndCreateCopyThrowTheirLogicErrors)
{
    RCPtr<LRefCountedObject> object(new LRefCountedObject);
    try
    {
        object->Undo();
        FAIL() << "Undo did not throw";
    }
    catch (const Exception<std::logic_error>& error)
    {
        EXPECT_STREQ(error.what(),
                     "Logic Error : Undo() not implemented for RefCountedObject : "
                     "KR::LRefCountedObject::Undo : krframework\\objectbase\\RefCountedObject : "
                     "Line 155");
    }
    try
    {
        (void)object->CreateCopy();
        FAIL() << "CreateCopy did not throw";
    }
    catch (const Exception<std::logic_error>& error)
    {
        EXPECT_STREQ(error.what(),
                     "Logic Error : CreateCopy() not implemented for RefCountedObject : "
                     "KR::LRefCountedObject::CreateCopy : krframework\\objectbase\\RefCountedObject "
                     ": Line 228");
    }
}

TEST(RefCountedObject, CopiedObjectStartsUnheldAndShareable)
{
    Record record;
    RCPtr<Tracked> original(new Tracked(&record));
    original->SetUnshareable(true);
    original->AdjustInternalRefCount(1);
    RCPtr<Tracked> copy(new Tracked(*original));
    EXPECT_EQ(copy->GetRefCount(), 1);
    EXPECT_EQ(copy->GetInternalRefCount(), 0);
    EXPECT_TRUE(copy->IsShareable());
    original->AdjustInternalRefCount(-1);
}

TEST(RefCountedObject, CountsStayExactUnderConcurrentPointerCopiesOnManyThreads)
{
    constexpr int kThreads = 8;
    constexpr int kRounds = 20000;
    Record record;
    RCPtr<Tracked> shared(new Tracked(&record));

    std::barrier start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [&]
            {
                start.arrive_and_wait();
                for (int i = 0; i < kRounds; ++i)
                {
                    RCPtr<Tracked> copy(shared);
                    ConstRCPtr<LRefCountedObject> untyped(copy);
                    RCPtr<Tracked> back(untyped);
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(shared->GetRefCount(), 1);
    EXPECT_EQ(record.deletions, 0);
    shared = nullptr;
    EXPECT_EQ(record.deletions, 1);
}

TEST(RefCountedObject, LastReleaseOnAnotherThreadDeletesExactlyOnce)
{
    constexpr int kThreads = 8;
    for (int round = 0; round < 200; ++round)
    {
        Record record;
        auto* object = new Tracked(&record);
        for (int t = 0; t < kThreads; ++t)
        {
            object->AddRef();
        }
        std::barrier start(kThreads);
        std::atomic<int> zeroes{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
        {
            threads.emplace_back(
                [&]
                {
                    start.arrive_and_wait();
                    if (object->Release() == 0)
                    {
                        ++zeroes;
                    }
                });
        }
        for (std::thread& thread : threads)
        {
            thread.join();
        }
        ASSERT_EQ(zeroes.load(), 1);
        ASSERT_EQ(record.deletions, 1);
    }
}

} // namespace
} // namespace KR
