#include "kr/thread/EventGatedThreader.h"

#include "kr/core/Types.h"
#include "kr/thread/ThreadLog.h"

#include <atomic>

namespace KR
{

namespace
{
constexpr char kName[] = "KR::LEventGatedThreader";
}

struct LEventGatedThreader::Loop
{
    Loop(const RCPtr<LEvent>& event, const RCPtr<LThreadWorker>& worker,
         const RCPtr<LRefCountedObject>& param)
        : gate(event), worker(worker), param(param)
    {
    }

    std::uint32_t Run()
    {
        // The stop flag is read before each wait and after each wake, never during a run.
        while (!stop.load())
        {
            if (!gate || gate->Wait(kInfinite) != kWaitObject0)
            {
                // Waiting again would fail again at once: leave rather than spin.
                LogThreadProblem(std::string(kName) + ": waiting on the gate event failed; the thread ends");
                break;
            }
            if (stop.load())
            {
                break;
            }
            if (worker)
            {
                RunWorker(*worker, param, kName);
            }
        }
        return 0;
    }

    const RCPtr<LEvent> gate;
    const RCPtr<LThreadWorker> worker;
    RCPtr<LRefCountedObject> param;
    std::atomic<bool> stop{false};
};

RCPtr<LEventGatedThreader> LEventGatedThreader::Create(const RCPtr<LEvent>& event,
                                                       const RCPtr<LThreadWorker>& worker,
                                                       const RCPtr<LRefCountedObject>& param,
                                                       std::int32_t priority)
{
    return RCPtr<LEventGatedThreader>(new LEventGatedThreader(event, worker, param, priority));
}

LEventGatedThreader::LEventGatedThreader(const RCPtr<LEvent>& event, const RCPtr<LThreadWorker>& worker,
                                         const RCPtr<LRefCountedObject>& param, std::int32_t priority)
    : mLoop(std::make_shared<Loop>(event, worker, param)), mThread([loop = mLoop] { return loop->Run(); })
{
    mThread.SetPriority(priority);
    mThread.SetPriorityBoost(false);
    mThread.Resume();
}

LEventGatedThreader::~LEventGatedThreader()
{
    mLoop->stop.store(true);
    if (mLoop->gate)
    {
        mLoop->gate->Set();
    }
    mThread.Join(kName);
}

} // namespace KR
