#include "kr/core/HashedList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace
{

struct Glyph
{
    std::int32_t character = 0;
    int width = 0;
};

std::int32_t GlyphKey(const Glyph& glyph)
{
    return glyph.character;
}

// The glyph cache's rule: the low 8 bits of the character.
using Glyphs = KR::HashedList<Glyph, std::int32_t, &GlyphKey, 8, &KR::GetBits<8, 0, std::int32_t>>;

struct Handle
{
    std::uintptr_t handle = 0;
    int entry = 0;
};

std::uintptr_t HandleKey(const Handle& value)
{
    return value.handle;
}

// The caches keyed by handles and addresses: bits 4 to 11.
using Handles = KR::HashedList<Handle, std::uintptr_t, &HandleKey, 8, &KR::GetBits<8, 4, std::uintptr_t>>;

TEST(HashedList, BucketRulesTakeTheLowByteOrBitsFourToEleven)
{
    EXPECT_EQ(Glyphs::BucketIndex(0x41), 0x41u);
    EXPECT_EQ(Glyphs::BucketIndex(0x1241), 0x41u);
    EXPECT_EQ(Glyphs::BucketIndex(-1), 0xFFu);
    EXPECT_EQ(Handles::BucketIndex(0x1234), 0x23u);
    EXPECT_EQ(Handles::BucketIndex(0xABCDE0F), 0xE0u);
    EXPECT_EQ(Handles::BucketIndex(0xF), 0u);
}

TEST(HashedList, KeysSharingABucketAreToldApartByTheWholeKey)
{
    Glyphs glyphs;
    // Differ only above bit 7.
    EXPECT_TRUE(glyphs.Add({0x41, 1}));
    EXPECT_TRUE(glyphs.Add({0x141, 2}));
    EXPECT_TRUE(glyphs.Add({0x10041, 3}));
    EXPECT_EQ(glyphs.GetCount(), 3u);
    EXPECT_EQ(glyphs.Find(0x141)->width, 2);
    EXPECT_EQ(glyphs.Find(0x41)->width, 1);
    EXPECT_EQ(glyphs.Find(0x241), nullptr);

    Handles handles;
    // Differ only above bit 11, or only in the low four bits.
    handles.Add({0x1230, 1});
    handles.Add({0x5230, 2});
    handles.Add({0x1231, 3});
    EXPECT_EQ(handles.Find(0x5230)->entry, 2);
    EXPECT_EQ(handles.Find(0x1231)->entry, 3);
    EXPECT_EQ(handles.Find(0x1230)->entry, 1);
}

TEST(HashedList, AddReplacesFindFallsBackAndRemoveTakesOutOnlyTheMatchingEntry)
{
    Glyphs glyphs;
    Glyph fallback{0, -1};
    EXPECT_EQ(glyphs.Find(0x41, &fallback), &fallback);
    EXPECT_TRUE(glyphs.Add({0x41, 7}));
    EXPECT_FALSE(glyphs.Add({0x41, 1}));
    EXPECT_EQ(glyphs.GetCount(), 1u);
    Glyph* stored = glyphs.Find(0x41, &fallback);
    ASSERT_NE(stored, &fallback);
    EXPECT_EQ(std::as_const(glyphs).Find(0x41)->width, 1);
    glyphs.Add({0x141, 2});
    EXPECT_FALSE(glyphs.Remove(0x241));
    EXPECT_TRUE(glyphs.Remove(0x41));
    EXPECT_FALSE(glyphs.Remove(0x41));
    EXPECT_EQ(glyphs.GetCount(), 1u);
    EXPECT_EQ(glyphs.Find(0x41), nullptr);
    EXPECT_EQ(glyphs.Find(0x141)->width, 2);

    glyphs.RemoveAll();
    EXPECT_EQ(glyphs.GetCount(), 0u);
    EXPECT_EQ(glyphs.Find(0x141), nullptr);
    EXPECT_TRUE(glyphs.Add({0x141, 4}));
}

TEST(HashedList, EntriesNameTheirKey)
{
    Glyphs glyphs;
    glyphs.Add({-42, 1});
    int visited = 0;
    glyphs.ForEach(
        [&](std::int32_t key, const Glyph& glyph)
        {
            EXPECT_EQ(key, -42);
            EXPECT_EQ(glyph.width, 1);
            ++visited;
        });
    EXPECT_EQ(visited, 1);
    EXPECT_EQ(Glyphs::Entry(-42, Glyph{}).ToString(), u"-42");
}

} // namespace
