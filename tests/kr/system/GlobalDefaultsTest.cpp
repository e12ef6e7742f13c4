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

// The program's own cursors are told apart by the constant itself, so rows hold the
// constants, not copies of their texts.
TEST(CursorNamesTest, SystemCursorsAnswerToConstantOrTextAndTheProgramsOwnOnlyToTheirConstants)
{
    const struct
    {
        const String* constant;
        const char16_t* text;
        CursorShape shape;
    } cases[] = {
        {&KR::kCursorWait, nullptr, CursorShape::kWait},
        {nullptr, u"UI_CURSOR_WAIT", CursorShape::kWait},
        {nullptr, u"UI_CURSOR_IBEAM", CursorShape::kIBeam},
        {&KR::kCursorNoDrop, nullptr, CursorShape::kNo},
        {nullptr, u"UI_CURSOR_SIZE_WE", CursorShape::kSizeWE},
        {nullptr, u"UI_CURSOR_UNKNOWN", CursorShape::kArrow},
        {nullptr, u"", CursorShape::kArrow},
        {&KR::kCursorArrowControls, nullptr, CursorShape::kArrow},
        {&KR::kCursorMag, nullptr, CursorShape::kNone},
        {&KR::kCursorSplitH, nullptr, CursorShape::kNone},
        {&KR::kCursorDropMove, nullptr, CursorShape::kDropMove},
        {&KR::kCursorDropCopy, nullptr, CursorShape::kDropCopy},
        {nullptr, u"UI_CURSOR_MAG", CursorShape::kArrow},
        {nullptr, u"UI_CURSOR_DROP_MOVE", CursorShape::kArrow},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row)
    {
        const String text = cases[row].text != nullptr ? String(cases[row].text) : String();
        EXPECT_EQ(KR::GetCursorShape(cases[row].constant != nullptr ? *cases[row].constant : text),
                  cases[row].shape)
            << "row " << row;
    }
}

} // namespace
