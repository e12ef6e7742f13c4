#include "kr/thread/ThreadLog.h"

#include <atomic>
#include <iostream>
#include <string>

namespace KR
{

namespace
{

std::atomic<ThreadLogSink> gSink{nullptr};

void WriteToStandardError(std::string_view message)
{
    // One write per line, so lines from several threads do not interleave.
    std::string line(message);
    line += '\n';
    std::cerr << line << std::flush;
}

} // namespace

void SetThreadLogSink(ThreadLogSink sink)
{
    gSink.store(sink);
}

void LogThreadProblem(std::string_view message)
{
    const ThreadLogSink sink = gSink.load();
    (sink ? sink : WriteToStandardError)(message);
}

} // namespace KR
