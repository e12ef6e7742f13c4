// Finding an element's attributes by name in the parser's UTF-8 pairs.

#include "kr/ui/XmlAttributes.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR;

struct Lookup
{
    const char16_t* name;
    const char16_t* expected; // null: not found
};

TEST(XmlAttributes, FindsOnlyTheExactNameAndConvertsItsValue)
{
    const char* pairs[] = {"XPositionAbs", "16", "X",    "a",      "Name", "caf\xC3\xA9 \xE2\x82\xAC",
                           "Empty",        "",   "Name", "second", nullptr};
    const XmlAttributes attributes(pairs);
    const Lookup cases[] = {
        {u"X", u"a"},                   // not found by the longer name that starts with it
        {u"XPositionAbs", u"16"},       // nor is the longer found by its start
        {u"XPosition", nullptr},        //
        {u"XPositionAbsX", nullptr},    //
        {u"x", nullptr},                // names keep their case
        {u"Name", u"caf\u00E9 \u20AC"}, // the first of two, UTF-8 made UTF-16
        {u"Empty", u""},                //
        {u"", nullptr},                 //
        {u"Caf\u00E9", nullptr},        // a name beyond ASCII compares as text
    };
    for (const Lookup& lookup : cases)
    {
        const String* found = attributes.Find(lookup.name);
        if (lookup.expected == nullptr)
        {
            EXPECT_EQ(found, nullptr) << String(lookup.name).ToUtf8().GetPtr();
        }
        else
        {
            ASSERT_NE(found, nullptr) << String(lookup.name).ToUtf8().GetPtr();
            EXPECT_EQ(*found, lookup.expected);
            // Asked again, the same converted text.
            EXPECT_EQ(attributes.Find(lookup.name), found);
        }
    }
}

TEST(XmlAttributes, ReadingsLeaveTheOutputAloneWhenTheAttributeIsMissing)
{
    const char* pairs[] = {"Size", "0x1F", "Real", "2.5", "Flag", "True", nullptr};
    const XmlAttributes attributes(pairs);
    std::int32_t whole = 7;
    float real = 1.0f;
    bool flag = false;
    String text(u"kept");
    EXPECT_TRUE(attributes.WholeHexAllowed(u"Size", whole));
    EXPECT_EQ(whole, 31);
    EXPECT_TRUE(attributes.Real(u"Real", real));
    EXPECT_FLOAT_EQ(real, 2.5f);
    EXPECT_TRUE(attributes.Flag(u"Flag", flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(attributes.Text(u"Missing", text));
    EXPECT_EQ(text, u"kept");
    EXPECT_FALSE(attributes.Whole(u"Missing", whole));
    EXPECT_EQ(whole, 31);
    EXPECT_EQ(XmlAttributes(nullptr).GetCount(), 0u);
}

} // namespace
