#pragma once
// The cursor names that skins and controls ask for, and the cursor each one gives.
// The constants are defined in GlobalDefaults.cpp, in this order.

#include "kr/core/StringT.h"

namespace KR
{

extern const String kCursorAppStarting;   // "UI_CURSOR_APP_STARTING"
extern const String kCursorArrow;         // "UI_CURSOR_ARROW"
extern const String kCursorCross;         // "UI_CURSOR_CROSS"
extern const String kCursorArrowControls; // "UI_CURSOR_ARROW" again: the one controls and root windows use
extern const String kCursorDropCopy;      // "UI_CURSOR_DROP_COPY"
extern const String kCursorDropMove;      // "UI_CURSOR_DROP_MOVE": a control's drag handling
extern const String kCursorHand;          // "UI_CURSOR_HAND"
extern const String kCursorHelp;          // "UI_CURSOR_HELP"
extern const String kCursorIBeam;         // "UI_CURSOR_IBEAM": the text box
extern const String kCursorMag;           // "UI_CURSOR_MAG"
extern const String kCursorMagMinus;      // "UI_CURSOR_MAG_MINUS"
extern const String kCursorMagPlus;       // "UI_CURSOR_MAG_PLUS"
extern const String kCursorNoDrop;        // "UI_CURSOR_NO_DROP": a control's drag handling
extern const String kCursorRotate;        // "UI_CURSOR_ROTATE"
extern const String kCursorSizeAll;       // "UI_CURSOR_SIZE_ALL"
extern const String kCursorSizeNESW;      // "UI_CURSOR_SIZE_NESW"
extern const String kCursorSizeNS;        // "UI_CURSOR_SIZE_NS": the splitters
extern const String kCursorSizeNWSE;      // "UI_CURSOR_SIZE_NWSE"
extern const String kCursorSizeWE;        // "UI_CURSOR_SIZE_WE": the splitters
extern const String kCursorSplitH;        // "UI_CURSOR_SPLIT_H"
extern const String kCursorSplitV;        // "UI_CURSOR_SPLIT_V"
extern const String kCursorUpArrow;       // "UI_CURSOR_UP_ARROW"
extern const String kCursorWait;          // "UI_CURSOR_WAIT": the busy indicator of the active root window

// The cursor shapes the names stand for; the window layer turns them into real cursors.
enum class CursorShape
{
    kNone, // no cursor at all
    kAppStarting,
    kArrow,
    kCross,
    kDropCopy, // the program's own cursor (its resource 103)
    kDropMove, // the program's own cursor (its resource 102)
    kHand,
    kHelp,
    kIBeam,
    kNo,
    kSizeAll,
    kSizeNESW,
    kSizeNS,
    kSizeNWSE,
    kSizeWE,
    kUpArrow,
    kWait,
};

// The cursor for a name. The system cursors answer to their constant or to any text
// equal to it. The program's own two drop cursors and the six names without a cursor
// (magnifiers, rotate, splits) answer to their constants only: an equal text from
// elsewhere gives the arrow, like every name outside the table.
CursorShape GetCursorShape(const String& name);

} // namespace KR
