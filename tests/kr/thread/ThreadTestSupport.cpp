#include "kr/thread/ThreadTestSupport.h"

#include "kr/thread/ThreadLog.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <thread>

namespace
{

thread_local int tSkippedNothrowAllocations = 0;
thread_local int tFailingNothrowAllocations = 0;

std::mutex gLogMutex;
std::vector<std::string>* gLog = nullptr;

void CaptureMessage(std::string_view message)
{
    std::lock_guard<std::mutex> lock(gLogMutex);
    if (gLog)
    {
        gLog->emplace_back(message);
    }
}

} // namespace

// The thread layer allocates its records with nothrow new so that it can report,
// rather than throw, when memory runs out. This replacement lets a test make that
// happen; otherwise it forwards to the ordinary allocator (the sanitizers' one in
// sanitizer builds), so every block is freed by the allocator that made it.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (tSkippedNothrowAllocations > 0)
    {
        --tSkippedNothrowAllocations;
    }
    else if (tFailingNothrowAllocations > 0)
    {
        --tFailingNothrowAllocations;
        return nullptr;
    }
    try
    {
        return ::operator new(size);
    }
    catch (...)
    {
        return nullptr;
    }
}

namespace KR::Testing
{

LogCapture::LogCapture()
{
    {
        std::lock_guard<std::mutex> lock(gLogMutex);
        gLog = new std::vector<std::string>;
    }
    SetThreadLogSink(&CaptureMessage);
}

LogCapture::~LogCapture()
{
    SetThreadLogSink(nullptr);
    std::lock_guard<std::mutex> lock(gLogMutex);
    delete gLog;
    gLog = nullptr;
}

std::vector<std::string> LogCapture::Messages() const
{
    std::lock_guard<std::mutex> lock(gLogMutex);
    return gLog ? *gLog : std::vector<std::string>{};
}

bool LogCapture::Contains(std::string_view part) const
{
    const auto messages = Messages();
    return std::any_of(messages.begin(), messages.end(),
                       [part](const std::string& message)
                       { return message.find(part) != std::string::npos; });
}

bool LogCapture::WaitFor(std::string_view part) const
{
    return WaitUntil([this, part] { return Contains(part); });
}

FailNothrowAllocations::FailNothrowAllocations(int count, int skip)
{
    tSkippedNothrowAllocations = skip;
    tFailingNothrowAllocations = count;
}

FailNothrowAllocations::~FailNothrowAllocations()
{
    tSkippedNothrowAllocations = 0;
    tFailingNothrowAllocations = 0;
}

} // namespace KR::Testing
