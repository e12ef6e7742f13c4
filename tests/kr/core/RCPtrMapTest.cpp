#include "kr/core/RCPtrMap.h"

#include <gtest/gtest.h>

namespace
{

using KR::ConstRCPtr;
using KR::RCPtr;

class Font : public virtual KR::LRefCountedObject
{
public:
    KR::String ToString() const override { return u"Arial 12"; }
};

// A second base before the counted part, so a Font's address and the address of its
// LRefCountedObject part differ.
class Tagged
{
public:
    virtual ~Tagged() = default;
    int tag = 0;
};

class FancyFont : public Tagged, public Font
{
};

class FontFile : public virtual KR::LRefCountedObject
{
public:
    explicit FontFile(int id) : id(id) {}
    const int id;
};

using FontMap = KR::RCPtrMap<Font, FontFile, 8>;

TEST(RCPtrMap, SetStoresOrReplacesTheValueOfAKeyObject)
{
    FontMap map;
    RCPtr<Font> font(new Font);
    EXPECT_TRUE(map.Set(font, RCPtr<FontFile>(new FontFile(1))));
    EXPECT_FALSE(map.Set(font, RCPtr<FontFile>(new FontFile(2))));
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(map.Get(font)->id, 2);
    // The map holds its own reference to the key.
    EXPECT_EQ(font->GetRefCount(), 2);
}

TEST(RCPtrMap, KeysAreObjectsNotEqualValues)
{
    FontMap map;
    RCPtr<Font> a(new Font);
    RCPtr<Font> b(new Font);
    map.Set(a, RCPtr<FontFile>(new FontFile(1)));
    EXPECT_EQ(map.Get(b), nullptr);
    EXPECT_EQ(map.Get(nullptr), nullptr);
    EXPECT_EQ(map.FindEntry(ConstRCPtr<KR::LRefCountedObject>(b)), nullptr);
}

TEST(RCPtrMap, AnObjectIsFoundThroughAnyOfItsClasses)
{
    FontMap map;
    RCPtr<FancyFont> fancy(new FancyFont);
    map.Set(fancy, RCPtr<FontFile>(new FontFile(7)));
    const ConstRCPtr<KR::LRefCountedObject> asObject(fancy);
    const FontMap::EntryPointer& entry = map.FindEntry(asObject);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->second->id, 7);
    EXPECT_EQ(entry->ToString(), u"Arial 12");
    EXPECT_EQ(map.Get(RCPtr<Font>(fancy))->id, 7);
}

TEST(RCPtrMap, RemovingAKeyReleasesItsEntry)
{
    FontMap map;
    RCPtr<Font> font(new Font);
    RCPtr<FontFile> file(new FontFile(3));
    map.Set(font, file);
    EXPECT_EQ(file->GetRefCount(), 2);
    EXPECT_FALSE(map.RemoveKey(file.Get()));
    EXPECT_TRUE(map.RemoveKey(font.Get()));
    EXPECT_EQ(map.GetCount(), 0u);
    EXPECT_EQ(font->GetRefCount(), 1);
    EXPECT_EQ(file->GetRefCount(), 1);
    EXPECT_EQ(map.Get(font), nullptr);
}

} // namespace
