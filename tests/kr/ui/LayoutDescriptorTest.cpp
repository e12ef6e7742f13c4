// Placement and size limits of a layout descriptor, one axis at a time.

#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR;

TEST(LayoutDescriptor, APlacementComesBackOnItsOwnAxisWithItsDockedFlag)
{
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    DockedPositionSpec position;
    position.referenceName = String(u"sibling");
    position.docked = true;
    ASSERT_EQ(layout->SetPlacement(1, position, SizeSpec{kSizeToNamed, String(u"other"), 0.5f, 33.0}), kOk);
    EXPECT_TRUE(layout->yDocked);
    DockedPositionSpec read;
    SizeSpec size;
    ASSERT_EQ(layout->GetPlacement(1, read, size), kOk);
    EXPECT_TRUE(read.docked);
    EXPECT_EQ(read.referenceName, u"sibling");
    EXPECT_EQ(size.absolute, 33.0);
    ASSERT_EQ(layout->GetPlacement(0, read, size), kOk);
    EXPECT_FALSE(read.docked);
    EXPECT_EQ(size.absolute, 16.0);
}

TEST(LayoutDescriptor, AnAxisOtherThanXOrYAndANegativeOverflowAreRefusedAndChangeNothing)
{
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    DockedPositionSpec position;
    position.absolute = 7.0;
    SizeSpec size{kSizeToParent, String(u"kept"), 0.0f, 9.0};
    LimitSpec limit{kLimitToNamed, String(u"kept"), 0.0f, 3.0};
    EXPECT_EQ(layout->GetPlacement(2, position, size), kInvalidArg);
    EXPECT_EQ(layout->GetSizeLimits(2, limit, limit), kInvalidArg);
    EXPECT_EQ(position.absolute, 7.0);
    EXPECT_EQ(size.referenceName, u"kept");
    EXPECT_EQ(limit.absolute, 3.0);
    EXPECT_EQ(layout->SetSizeLimits(-1, limit, limit), kInvalidArg);
    EXPECT_EQ(layout->yMaxSize.absolute, 0.0);
    ASSERT_EQ(layout->SetSizeLimits(0, limit, LimitSpec{}), kOk);
    EXPECT_EQ(layout->GetSizeLimits(0, limit, limit), kOk);
    EXPECT_EQ(layout->xMinSize.absolute, 3.0);

    EXPECT_EQ(layout->SetTextOverflowX(kTextOverflowWrap), kOk);
    EXPECT_EQ(layout->SetTextOverflowX(-1), kInvalidArg);
    EXPECT_EQ(layout->textOverflowX, kTextOverflowWrap);
}

} // namespace
