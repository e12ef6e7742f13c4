#include "kr/thread/ThreadWorker.h"

#include "kr/thread/ThreadLog.h"

#include <exception>
#include <string>

namespace KR
{

Result RunWorker(LThreadWorker& worker, RCPtr<LRefCountedObject>& param, std::string_view runner)
{
    try
    {
        return worker.DoWork(param);
    }
    catch (const std::exception& error)
    {
        LogThreadProblem(std::string(runner) + ": DoWork threw: " + error.what());
    }
    catch (...)
    {
        LogThreadProblem(std::string(runner) + ": DoWork threw an unknown exception");
    }
    return kFail;
}

} // namespace KR
