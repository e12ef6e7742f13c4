#pragma once
// Helpers shared by the thread tests: bounded waits on conditions, a capture of what
// the thread layer logs, and a way to make the layer's own allocations fail.

#include "support/Wait.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace KR::Testing
{

using TestSupport::kPatience;
using TestSupport::WaitUntil;

// Collects every message of KR::LogThreadProblem while it lives.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Messages() const;
    bool Contains(std::string_view part) const;
    // Waits until a message containing part has been logged.
    bool WaitFor(std::string_view part) const;
};

// While it lives, `count` nothrow allocations made on this thread, after the first
// `skip` of them, fail as they would when memory runs out.
class FailNothrowAllocations
{
public:
    explicit FailNothrowAllocations(int count, int skip = 0);
    ~FailNothrowAllocations();
    FailNothrowAllocations(const FailNothrowAllocations&) = delete;
    FailNothrowAllocations& operator=(const FailNothrowAllocations&) = delete;
};

} // namespace KR::Testing
