#include "kr/core/StringArrayT.h"

#include <gtest/gtest.h>

namespace
{

using KR::String;

TEST(StringArray, FindMatchesExactlyOrIgnoringCase)
{
    const KR::StringArray names{u"alpha", u"abc", u"ABC"};
    EXPECT_EQ(names.Find(u"ABC", true), 2);
    EXPECT_EQ(names.Find(u"ABC", false), 1);
    EXPECT_EQ(names.Find(u"\u00c0BC", false), -1);
    EXPECT_EQ(names.Find(u"beta", false), -1);
    EXPECT_EQ(KR::StringArray().Find(u"", true), -1);

    const KR::StringArray latin{u"\u00e0bc"};
    EXPECT_EQ(latin.Find(u"\u00c0BC", false), 0);
}

TEST(StringArray, FindByDataPointerFindsTheLastElementSharingTheBuffer)
{
    const String shared = u"NID_IDLE";
    KR::StringArray names;
    names.AddItem(shared);
    names.AddItem(String(u"NID_IDLE"));
    names.AddItem(shared);
    names.AddItem(u"NID_OTHER");
    EXPECT_EQ(names.FindByDataPointer(shared.GetPtr()), 2);
    EXPECT_EQ(names.FindByDataPointer(names[1].GetPtr()), 1);
    const String equalText = u"NID_IDLE";
    EXPECT_EQ(names.FindByDataPointer(equalText.GetPtr()), -1);
    EXPECT_EQ(names.Find(equalText, true), 0);
}

} // namespace
