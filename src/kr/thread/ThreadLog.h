#pragma once
// Where the thread layer reports what it cannot hand back to a caller: a thread that
// could not be created, a thread that is late to end, a worker that threw.

#include <string_view>

namespace KR
{

using ThreadLogSink = void (*)(std::string_view message);

// Messages go to standard error until the debug log installs its own sink here.
// A null sink restores standard error. May be called from any thread.
void SetThreadLogSink(ThreadLogSink sink);

void LogThreadProblem(std::string_view message);

} // namespace KR
