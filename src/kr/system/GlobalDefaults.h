#pragma once
// Process-wide constants built before the program's main code runs (all defined, in
// their order, in GlobalDefaults.cpp). The debug log is reached through GetDebugLog
// (DebugLog.h), the cursor names through CursorNames.h.

#include "kr/core/StringT.h"

namespace KR
{

// Copies of the string code's empty singletons: they share the singletons' buffers.
extern const Utf8String kEmptyUtf8String;
extern const String kEmptyString;

// " ": the progress bar composes its texts with it.
extern const String kOneSpace;

// "\n": where the word wrapper of text layout breaks lines.
extern const String kLineBreak;

} // namespace KR
