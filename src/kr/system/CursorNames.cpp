#include "kr/system/CursorNames.h"

#include <array>
#include <utility>

namespace KR
{

CursorShape GetCursorShape(const String& name)
{
    // The program answers these before the system's loader is asked, and only for its
    // own constants.
    const std::array<std::pair<const String*, CursorShape>, 8> ownCursors = {{
        {&kCursorDropMove, CursorShape::kDropMove},
        {&kCursorDropCopy, CursorShape::kDropCopy},
        {&kCursorSplitV, CursorShape::kNone},
        {&kCursorSplitH, CursorShape::kNone},
        {&kCursorRotate, CursorShape::kNone},
        {&kCursorMag, CursorShape::kNone},
        {&kCursorMagPlus, CursorShape::kNone},
        {&kCursorMagMinus, CursorShape::kNone},
    }};
    for (const auto& [constant, shape] : ownCursors)
    {
        if (&name == constant)
        {
            return shape;
        }
    }
    const std::array<std::pair<const String*, CursorShape>, 15> systemCursors = {{
        {&kCursorAppStarting, CursorShape::kAppStarting},
        {&kCursorArrow, CursorShape::kArrow},
        {&kCursorCross, CursorShape::kCross},
        {&kCursorArrowControls, CursorShape::kArrow},
        {&kCursorHand, CursorShape::kHand},
        {&kCursorHelp, CursorShape::kHelp},
        {&kCursorIBeam, CursorShape::kIBeam},
        {&kCursorNoDrop, CursorShape::kNo},
        {&kCursorSizeAll, CursorShape::kSizeAll},
        {&kCursorSizeNESW, CursorShape::kSizeNESW},
        {&kCursorSizeNS, CursorShape::kSizeNS},
        {&kCursorSizeNWSE, CursorShape::kSizeNWSE},
        {&kCursorSizeWE, CursorShape::kSizeWE},
        {&kCursorUpArrow, CursorShape::kUpArrow},
        {&kCursorWait, CursorShape::kWait},
    }};
    for (const auto& [constant, shape] : systemCursors)
    {
        if (&name == constant || name == *constant)
        {
            return shape;
        }
    }
    return CursorShape::kArrow;
}

} // namespace KR
