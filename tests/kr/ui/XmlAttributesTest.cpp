// Finding an element's attributes by name in the parser's UTF-8 pairs.

#include "kr/ui/XmlAttributes.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using namespace KR;

struct Lookup
{
    XmlName name;
    const char16_t* expected; // null: not found
};

TEST(XmlAttributes, FindsOnlyTheExactNameAndConvertsItsValue)
{
    const char* pairs[] = {"XPositionAbsX",
                           "1",
                           "XPosition",
                           "2",
                           "name",
                           "3",
                           "Name",
                           "caf\xC3\xA9 \xE2\x82\xAC",
                           "ID",
                           "",
                           "Name",
                           "second",
                           "Caf\xC3\xA9",
                           "4",
                           "XPositionAbs",
                           "16",
                           nullptr};
    const XmlAttributes attributes(pairs);
    const Lookup cases[] = {
        {XmlName::XPositionAbs, u"16"},       // not taken for a longer or shorter name before it
        {XmlName::Name, u"caf\u00E9 \u20AC"}, // names keep their case; the first of two, made UTF-16
        {XmlName::ID, u""},                   // present, empty
        {XmlName::Class, nullptr},            //
        {XmlName::XPositionRel, nullptr},     //
    };
    for (const Lookup& lookup : cases)
    {
        String text(u"kept");
        const bool found = attributes.Text(lookup.name, text);
        const std::string name(XmlNameText(lookup.name));
        if (lookup.expected == nullptr)
        {
            EXPECT_FALSE(found) << name;
            EXPECT_EQ(text, u"kept") << name;
        }
        else
        {
            EXPECT_TRUE(found) << name;
            EXPECT_EQ(text, lookup.expected) << name;
        }
    }
    EXPECT_EQ(attributes.GetCount(), 8u);
}

TEST(XmlAttributes, EveryKnownNameIsFoundByItsTextAndNoOther)
{
    for (std::size_t at = 0; at < static_cast<std::size_t>(XmlName::Count); ++at)
    {
        const auto name = static_cast<XmlName>(at);
        const std::string text(XmlNameText(name));
        const std::string shorter = text.substr(0, text.size() - 1);
        const std::string longer = text + "s";
        const char* pairs[] = {shorter.c_str(), "shorter", longer.c_str(), "longer",
                               text.c_str(),    "value",   nullptr};
        const XmlAttributes attributes(pairs);
        ASSERT_NE(attributes.Find(name), nullptr) << text;
        EXPECT_STREQ(attributes.Find(name), "value") << text;
        // The shorter and longer names are not known names of their own, or are, but not this one.
        for (std::size_t other = 0; other < static_cast<std::size_t>(XmlName::Count); ++other)
        {
            const auto otherName = static_cast<XmlName>(other);
            const char* value = attributes.Find(otherName);
            if (other != at && value != nullptr)
            {
                EXPECT_TRUE(XmlNameText(otherName) == shorter || XmlNameText(otherName) == longer) << text;
            }
        }
    }
}

TEST(XmlAttributes, ReadingsLeaveTheOutputAloneWhenTheAttributeIsMissing)
{
    const char* pairs[] = {"Width", "0x1F", "XSizeRel", "2.5", "IsVisible", "True", nullptr};
    const XmlAttributes attributes(pairs);
    std::int32_t whole = 7;
    float real = 1.0f;
    bool flag = false;
    String text(u"kept");
    EXPECT_TRUE(attributes.WholeHexAllowed(XmlName::Width, whole));
    EXPECT_EQ(whole, 31);
    EXPECT_TRUE(attributes.Real(XmlName::XSizeRel, real));
    EXPECT_FLOAT_EQ(real, 2.5f);
    EXPECT_TRUE(attributes.Flag(XmlName::IsVisible, flag));
    EXPECT_TRUE(flag);
    EXPECT_FALSE(attributes.Text(XmlName::Name, text));
    EXPECT_EQ(text, u"kept");
    EXPECT_FALSE(attributes.Whole(XmlName::Height, whole));
    EXPECT_EQ(whole, 31);
    EXPECT_EQ(XmlAttributes(nullptr).GetCount(), 0u);
    EXPECT_FALSE(XmlAttributes(nullptr).Has(XmlName::Name));
}

} // namespace
