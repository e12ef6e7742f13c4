#include "kr/core/RCPtr.h"
#include "kr/core/Exception.h"

#include <gtest/gtest.h>

#include <string>

namespace KR
{
namespace
{

class Animal : public virtual LRefCountedObject
{
};

class Dog : public Animal
{
};

class Stone : public virtual LRefCountedObject
{
};

// A copyable object, as the buffers are: its copy carries the contents.
class Note : public virtual LRefCountedObject
{
public:
    explicit Note(std::string text) : text(std::move(text)) {}
    ConstRCPtr<LRefCountedObject> CreateCopy() const override { return new Note(text); }
    std::string text;
};

// Its copy is of another class, so a copy on write cannot give a Note back.
class Impostor : public Note
{
public:
    using Note::Note;
    ConstRCPtr<LRefCountedObject> CreateCopy() const override { return new Stone; }
};

class NullCopy : public virtual LRefCountedObject
{
public:
    ConstRCPtr<LRefCountedObject> CreateCopy() const override { return nullptr; }
};

TEST(RCPtr, AssigningTheSameObjectLeavesTheCountAlone)
{
    RCPtr<Dog> a(new Dog);
    RCPtr<Dog> b(a);
    ASSERT_EQ(a->GetRefCount(), 2);
    a = b;
    EXPECT_EQ(a->GetRefCount(), 2);
    auto& self = a;
    a = self;
    EXPECT_EQ(a->GetRefCount(), 2);
    RCPtr<Animal> animal(a);
    animal = a;
    EXPECT_EQ(a->GetRefCount(), 3);
}

TEST(RCPtr, NullPointersDoNothing)
{
    RCPtr<Dog> empty;
    RCPtr<Dog> copy(empty);
    RCPtr<Animal> up(empty);
    ConstRCPtr<Dog> down(ConstRCPtr<LRefCountedObject>(nullptr));
    copy = empty;
    copy.Unshare();
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_EQ(up.Get(), nullptr);
    EXPECT_EQ(down.Get(), nullptr);
    EXPECT_FALSE(copy);
}

TEST(RCPtr, AssignmentSecuresTheNewObjectBeforeReleasingTheOld)
{
    // The only reference to the inner pointer's object is the one being replaced.
    class Box : public virtual LRefCountedObject
    {
    public:
        RCPtr<Box> inner;
    };
    RCPtr<Box> outer(new Box);
    outer->inner = new Box;
    Box* inner = outer->inner.Get();
    outer = outer->inner;
    EXPECT_EQ(outer.Get(), inner);
    EXPECT_EQ(outer->GetRefCount(), 1);
}

TEST(RCPtr, ConvertsUpByCastAndDownByDynamicCheck)
{
    RCPtr<Dog> dog(new Dog);
    RCPtr<Animal> animal(dog);
    ConstRCPtr<LRefCountedObject> untyped(animal);
    EXPECT_EQ(dog->GetRefCount(), 3);

    RCPtr<Dog> back(untyped);
    EXPECT_EQ(back.Get(), dog.Get());
    EXPECT_EQ(dog->GetRefCount(), 4);

    ConstRCPtr<Stone> stone(untyped);
    EXPECT_EQ(stone.Get(), nullptr);
    EXPECT_EQ(dog->GetRefCount(), 4);

    RCPtr<Stone> assigned(new Stone);
    assigned = RCPtr<Stone>(untyped);
    EXPECT_EQ(assigned.Get(), nullptr);
    EXPECT_EQ(dog->GetRefCount(), 4);
}

TEST(RCPtr, MovingHandsTheReferenceOver)
{
    RCPtr<Dog> dog(new Dog);
    RCPtr<Dog> moved(std::move(dog));
    EXPECT_EQ(moved->GetRefCount(), 1);
    RCPtr<Dog> other(new Dog);
    RCPtr<Dog> keep(other);
    other = std::move(moved);
    EXPECT_EQ(other->GetRefCount(), 1);
    EXPECT_EQ(keep->GetRefCount(), 1);
}

TEST(RCPtr, SecondHolderOfAnUnshareableObjectGetsAPrivateCopy)
{
    RCPtr<Note> first(new Note("contents"));
    first->SetUnshareable(true);

    ConstRCPtr<Note> second(first);
    ASSERT_NE(second.Get(), first.Get());
    EXPECT_EQ(second->text, "contents");
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(second->GetRefCount(), 1);
    EXPECT_FALSE(first->IsShareable());
    EXPECT_TRUE(second->IsShareable());

    RCPtr<Note> assigned(new Note("other"));
    assigned = first;
    EXPECT_NE(assigned.Get(), first.Get());
    EXPECT_EQ(assigned->text, "contents");
    EXPECT_EQ(first->GetRefCount(), 1);
}

TEST(RCPtr, SoleHolderOfAnUnshareableObjectKeepsIt)
{
    auto* note = new Note("mine");
    note->SetUnshareable(true);
    RCPtr<Note> only(note);
    EXPECT_EQ(only.Get(), note);
    only.Unshare();
    EXPECT_EQ(only.Get(), note);
    EXPECT_EQ(note->GetRefCount(), 1);
}

TEST(RCPtr, SharingAnUnshareableObjectWithoutCopySupportThrowsAndLeaksNothing)
{
    RCPtr<Dog> dog(new Dog);
    dog->SetUnshareable(true);
    try
    {
        RCPtr<Dog> second(dog);
        FAIL() << "no copy could be made, yet nothing was thrown";
    }
    catch (const Exception<std::logic_error>& error)
    {
        EXPECT_STREQ(error.What(),
                     "Logic Error : CreateCopy() not implemented for RefCountedObject : "
                     "KR::LRefCountedObject::CreateCopy : krframework\\objectbase\\RefCountedObject "
                     ": Line 228");
    }
    EXPECT_EQ(dog->GetRefCount(), 1);

    RCPtr<Dog> other(new Dog);
    EXPECT_THROW(other = dog, Exception<std::logic_error>);
    EXPECT_NE(other.Get(), dog.Get()); // a failed assignment keeps the old object
    EXPECT_EQ(other->GetRefCount(), 1);
    EXPECT_EQ(dog->GetRefCount(), 1);
}

TEST(RCPtr, UnshareThrowsWhenTheCopyIsNotOfThePointersType)
{
    RCPtr<Note> impostor(new Impostor("x"));
    impostor->SetUnshareable(true);
    EXPECT_THROW(ConstRCPtr<Note> second(impostor), Exception<std::logic_error>);
    EXPECT_EQ(impostor->GetRefCount(), 1);

    RCPtr<NullCopy> nullCopy(new NullCopy);
    nullCopy->SetUnshareable(true);
    EXPECT_THROW(RCPtr<NullCopy> second(nullCopy), Exception<std::logic_error>);
    EXPECT_EQ(nullCopy->GetRefCount(), 1);
}

} // namespace
} // namespace KR
