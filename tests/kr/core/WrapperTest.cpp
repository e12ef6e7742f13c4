#include "kr/core/Wrapper.h"

#include <gtest/gtest.h>

#include <vector>

namespace KR
{
namespace
{

TEST(StringTag, ShowsItsTextAndIsFoundAgainAsAWrappedString)
{
    const RCPtr<LTaggableObject> tag = MakeStringTag(String(u"Fader 3"));
    EXPECT_EQ(tag->ToString(), String(u"Fader 3"));
    EXPECT_EQ(tag->GetRefCount(), 1);

    // Payloads travel untyped and are recognised by a down-cast.
    const ConstRCPtr<LRefCountedObject> payload(tag);
    const ConstRCPtr<LWrapperStringable<String>> text(payload);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetValue(), String(u"Fader 3"));

    EXPECT_EQ(MakeStringTag(String())->ToString(), String());
}

TEST(Wrapper, HoldsItsOwnCopyAndSurvivesTheTripThroughAnUntypedPointer)
{
    using Values = LWrapper<std::vector<int>>;
    std::vector<int> values{1, 2, 3};
    const ConstRCPtr<LRefCountedObject> payload = Values::Create(values);
    values.push_back(4);

    const ConstRCPtr<Values> received(payload);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->GetValue(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(received->size(), 3u);
    EXPECT_EQ(ConstRCPtr<LWrapper<std::vector<char>>>(payload).Get(), nullptr);
}

} // namespace
} // namespace KR
