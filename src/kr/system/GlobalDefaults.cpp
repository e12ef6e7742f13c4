// The process-wide objects that exist before the program's main code runs, defined in
// this one file so that they are built in this order and destroyed in the reverse.
//
// The framework's other process-wide objects are function-local statics of their own
// subsystems, built on first use: the notification free list, lock and distributor
// list, the queue mutex and the application center's name (kr/notify), the recycling
// pools (kr/thread and the classes that pool themselves). The application object, the bitmap map, the
// key-name maps and the font registry's containers come with the subsystems that own them.

#include "kr/system/GlobalDefaults.h"
#include "kr/system/CursorNames.h"
#include "kr/system/DebugLog.h"
#include "kr/thread/ThreadLog.h"

// Before the log: the standard streams it may write to at exit must be set up first.
#include <iostream>
#include <string>

namespace KR
{

const Utf8String kEmptyUtf8String = Utf8String::Empty();
const String kEmptyString = String::Empty();

namespace
{

DebugLog gDebugLog;

void WriteThreadProblemToLog(std::string_view message)
{
    std::string line(message);
    line += '\n';
    gDebugLog.Write(line);
}

// The thread layer reports into the log for as long as the log exists.
struct ThreadLogConnection
{
    ThreadLogConnection() { SetThreadLogSink(&WriteThreadProblemToLog); }
    ~ThreadLogConnection() { SetThreadLogSink(nullptr); }
};

const ThreadLogConnection gThreadLogConnection;

} // namespace

DebugLog& GetDebugLog()
{
    return gDebugLog;
}

const String kCursorAppStarting = u"UI_CURSOR_APP_STARTING";
const String kCursorArrow = u"UI_CURSOR_ARROW";
const String kCursorCross = u"UI_CURSOR_CROSS";
const String kCursorArrowControls = u"UI_CURSOR_ARROW";
const String kCursorDropCopy = u"UI_CURSOR_DROP_COPY";
const String kCursorDropMove = u"UI_CURSOR_DROP_MOVE";
const String kCursorHand = u"UI_CURSOR_HAND";
const String kCursorHelp = u"UI_CURSOR_HELP";
const String kCursorIBeam = u"UI_CURSOR_IBEAM";
const String kCursorMag = u"UI_CURSOR_MAG";
const String kCursorMagMinus = u"UI_CURSOR_MAG_MINUS";
const String kCursorMagPlus = u"UI_CURSOR_MAG_PLUS";
const String kCursorNoDrop = u"UI_CURSOR_NO_DROP";
const String kCursorRotate = u"UI_CURSOR_ROTATE";
const String kCursorSizeAll = u"UI_CURSOR_SIZE_ALL";
const String kCursorSizeNESW = u"UI_CURSOR_SIZE_NESW";
const String kCursorSizeNS = u"UI_CURSOR_SIZE_NS";
const String kCursorSizeNWSE = u"UI_CURSOR_SIZE_NWSE";
const String kCursorSizeWE = u"UI_CURSOR_SIZE_WE";
const String kCursorSplitH = u"UI_CURSOR_SPLIT_H";
const String kCursorSplitV = u"UI_CURSOR_SPLIT_V";
const String kCursorUpArrow = u"UI_CURSOR_UP_ARROW";
const String kCursorWait = u"UI_CURSOR_WAIT";

const String kOneSpace = u" ";
const String kLineBreak = u"\n";

} // namespace KR
