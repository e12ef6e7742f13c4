// Placement and size limits of a layout descriptor, one axis at a time.

#include "kr/ui/LayoutDescriptor.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR;

DockedPositionSpec Position(double absolute, bool docked)
{
    DockedPositionSpec spec;
    spec.anchor = 0.5f;
    spec.reference = kPositionToNamed;
    spec.referenceName = String(u"sibling");
    spec.relative = 0.25f;
    spec.absolute = absolute;
    spec.docked = docked;
    return spec;
}

void ExpectSamePosition(const DockedPositionSpec& a, const DockedPositionSpec& b)
{
    EXPECT_EQ(a.anchor, b.anchor);
    EXPECT_EQ(a.reference, b.reference);
    EXPECT_EQ(a.referenceName, b.referenceName);
    EXPECT_EQ(a.relative, b.relative);
    EXPECT_EQ(a.absolute, b.absolute);
    EXPECT_EQ(a.docked, b.docked);
}

TEST(LayoutDescriptor, APlacementSetOnOneAxisComesBackWithItsDockedFlagAndLeavesTheOtherAxis)
{
    for (std::int32_t axis : {0, 1})
    {
        SCOPED_TRACE(axis);
        RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
        const DockedPositionSpec position = Position(12.0, true);
        const SizeSpec size{kSizeToNamed, String(u"other"), 0.5f, 33.0};
        ASSERT_EQ(layout->SetPlacement(axis, position, size), kOk);
        EXPECT_EQ(axis == 0 ? layout->xDocked : layout->yDocked, true);
        EXPECT_EQ(axis == 0 ? layout->yDocked : layout->xDocked, false);

        DockedPositionSpec readPosition;
        SizeSpec readSize;
        ASSERT_EQ(layout->GetPlacement(axis, readPosition, readSize), kOk);
        ExpectSamePosition(readPosition, position);
        EXPECT_EQ(readSize.reference, kSizeToNamed);
        EXPECT_EQ(readSize.referenceName, u"other");
        EXPECT_EQ(readSize.absolute, 33.0);

        // The other axis keeps its defaults.
        ASSERT_EQ(layout->GetPlacement(1 - axis, readPosition, readSize), kOk);
        EXPECT_FALSE(readPosition.docked);
        EXPECT_EQ(readPosition.reference, kPositionToClient);
        EXPECT_EQ(readSize.absolute, axis == 0 ? 40.0 : 16.0);

        const LimitSpec minimum{kLimitToNamed, String(u"Children"), 0.0f, 5.0};
        const LimitSpec maximum{kLimitToSelf, String(), 1.0f, 500.0};
        ASSERT_EQ(layout->SetSizeLimits(axis, minimum, maximum), kOk);
        LimitSpec readMinimum;
        LimitSpec readMaximum;
        ASSERT_EQ(layout->GetSizeLimits(axis, readMinimum, readMaximum), kOk);
        EXPECT_EQ(readMinimum.reference, kLimitToNamed);
        EXPECT_EQ(readMinimum.referenceName, u"Children");
        EXPECT_EQ(readMaximum.relative, 1.0f);
        EXPECT_EQ(readMaximum.absolute, 500.0);
        ASSERT_EQ(layout->GetSizeLimits(1 - axis, readMinimum, readMaximum), kOk);
        EXPECT_EQ(readMaximum.absolute, 0.0);
    }
}

TEST(LayoutDescriptor, AnAxisOtherThanXOrYIsRefusedAndChangesNothing)
{
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    for (std::int32_t axis : {2, -1})
    {
        SCOPED_TRACE(axis);
        DockedPositionSpec position = Position(7.0, true);
        SizeSpec size{kSizeToParent, String(u"kept"), 0.0f, 9.0};
        LimitSpec minimum{kLimitToNamed, String(u"kept"), 0.0f, 3.0};
        LimitSpec maximum = minimum;
        EXPECT_EQ(layout->GetPlacement(axis, position, size), kInvalidArg);
        EXPECT_EQ(layout->GetSizeLimits(axis, minimum, maximum), kInvalidArg);
        ExpectSamePosition(position, Position(7.0, true));
        EXPECT_EQ(size.referenceName, u"kept");
        EXPECT_EQ(minimum.absolute, 3.0);
        EXPECT_EQ(maximum.referenceName, u"kept");

        EXPECT_EQ(layout->SetPlacement(axis, position, size), kInvalidArg);
        EXPECT_EQ(layout->SetSizeLimits(axis, minimum, maximum), kInvalidArg);
        EXPECT_FALSE(layout->xDocked || layout->yDocked);
        EXPECT_EQ(layout->xSize.absolute, 16.0);
        EXPECT_EQ(layout->yMinSize.absolute, 0.0);
    }
}

TEST(LayoutDescriptor, TextOverflowXRefusesANegativeMode)
{
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    EXPECT_EQ(layout->SetTextOverflowX(kTextOverflowWrap), kOk);
    EXPECT_EQ(layout->SetTextOverflowX(-1), kInvalidArg);
    EXPECT_EQ(layout->textOverflowX, kTextOverflowWrap);
}

} // namespace
