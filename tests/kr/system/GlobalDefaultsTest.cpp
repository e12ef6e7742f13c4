#include "kr/system/GlobalDefaults.h"
#include "kr/system/CursorNames.h"

#include <gtest/gtest.h>

namespace
{

using KR::CursorShape;
using KR::String;

TEST(GlobalDefaultsTest, EmptyStringsShareTheSingletonsBuffers)
{
    EXPECT_TRUE(KR::kEmptyString.SharesBufferWith(String::Empty()));
    EXPECT_TRUE(KR::kEmptyUtf8String.SharesBufferWith(KR::Utf8String::Empty()));
    String assigned = u"text";
    assigned = KR::kEmptyString;
    EXPECT_TRUE(assigned.SharesBufferWith(String::Empty()));
}

TEST(CursorNamesTest, SystemCursorsAnswerToConstantOrEqualText)
{
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorWait), CursorShape::kWait);
    EXPECT_EQ(KR::GetCursorShape(String(u"UI_CURSOR_WAIT")), CursorShape::kWait);
    EXPECT_EQ(KR::GetCursorShape(String(u"UI_CURSOR_IBEAM")), CursorShape::kIBeam);
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorNoDrop), CursorShape::kNo);
    EXPECT_EQ(KR::GetCursorShape(String(u"UI_CURSOR_SIZE_WE")), CursorShape::kSizeWE);
    EXPECT_EQ(KR::GetCursorShape(String(u"UI_CURSOR_UNKNOWN")), CursorShape::kArrow);
    EXPECT_EQ(KR::GetCursorShape(String()), CursorShape::kArrow);
    // The controls' arrow is a constant of its own with the arrow's text.
    EXPECT_NE(&KR::kCursorArrowControls, &KR::kCursorArrow);
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorArrowControls), CursorShape::kArrow);
}

TEST(CursorNamesTest, ProgramsOwnCursorsAnswerOnlyToTheirConstants)
{
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorMag), CursorShape::kNone);
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorSplitH), CursorShape::kNone);
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorDropMove), CursorShape::kDropMove);
    EXPECT_EQ(KR::GetCursorShape(KR::kCursorDropCopy), CursorShape::kDropCopy);
    EXPECT_EQ(KR::GetCursorShape(String(u"UI_CURSOR_MAG")), CursorShape::kArrow);
    EXPECT_EQ(KR::GetCursorShape(String(u"UI_CURSOR_DROP_MOVE")), CursorShape::kArrow);
}

} // namespace
