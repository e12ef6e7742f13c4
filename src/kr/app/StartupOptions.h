#pragma once
// The program's command line and the debug-log options it carries.
//
// The command line is the arguments joined by single blanks, the program's path first; an
// argument with a blank or a quote (or none at all) is quoted as the desktop's other
// programs expect, so a second start hands over what its user typed:
//
//     PresetEditor a "b c"   ->   /path/PresetEditor a "b c"
//
// Options are found whatever their case, anywhere in the line:
//
//     -DEBUG_CONSOLE                 the log's writers go to the console
//     -DEBUG_CONSOLE:<port>:<host>   the log goes as UDP datagrams to host:port (upper case)
//     -DEBUG_CONSOLE:<port>          the port only; the host stays as it was
//
// The text after "-DEBUG_CONSOLE:" ends at the next blank. A port of fewer than two
// characters, or one outside 1-65535, changes nothing.

#include "kr/core/StringT.h"
#include "kr/system/DebugLog.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace KR
{

// argv as one line (UTF-8), quoted as above.
std::string JoinCommandLine(int argc, const char* const* argv);

// UTF-8 as UTF-16, every byte that starts no character taken as U+FFFD.
String Utf8ToStringReplacing(std::string_view utf8);

struct StartupOptions
{
    bool openConsole = false;
    bool setTarget = false;
    std::int32_t port = -1;
    bool hasHost = false;
    std::string host; // upper case, as the line is read
};

StartupOptions ParseStartupOptions(std::string_view commandLine);

// Opens the console or sets the log's UDP target, as the options say.
void ApplyStartupOptions(const StartupOptions& options, DebugLog& log);

} // namespace KR
