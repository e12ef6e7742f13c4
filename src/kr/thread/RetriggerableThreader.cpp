#include "kr/thread/RetriggerableThreader.h"

#include "kr/thread/ThreadLog.h"

#include <atomic>
#include <string>

namespace KR
{

namespace
{
constexpr char kRetriggerableName[] = "KR::RetriggerableThreader";
}

struct RetriggerableThreader::Loop
{
    std::uint32_t Run()
    {
        while (!quit.load())
        {
            if (trigger.Wait(kInfinite) != kWaitObject0)
            {
                // Waiting again would fail again at once: leave rather than spin.
                LogThreadProblem(std::string(kRetriggerableName) +
                                 ": waiting on the trigger event failed; the thread ends");
                busy.store(false);
                break;
            }
            RCPtr<LThreadWorker> runWorker;
            RCPtr<LRefCountedObject> runParam;
            RCPtr<LEvent> runDone;
            {
                std::lock_guard<std::mutex> lock(jobLock);
                runWorker = std::move(worker);
                runParam = std::move(param);
                runDone = std::move(done);
            }
            if (!quit.load() && runWorker)
            {
                RunWorker(*runWorker, runParam, kRetriggerableName);
            }
            // The job's references go here, on this thread, before the threader is
            // free again.
            runParam = nullptr;
            runWorker = nullptr;
            busy.store(false);
            if (runDone)
            {
                runDone->Set();
            }
        }
        return 0;
    }

    Event trigger{true};
    std::atomic<bool> busy{false};
    std::atomic<bool> quit{false};
    // The next job: stored by a trigger, taken by the thread when it wakes.
    std::mutex jobLock;
    RCPtr<LThreadWorker> worker;
    RCPtr<LRefCountedObject> param;
    RCPtr<LEvent> done;
};

RetriggerableThreader::RetriggerableThreader(const String& name)
    : mLoop(std::make_shared<Loop>()), mThread([loop = mLoop] { return loop->Run(); }), mName(name)
{
    mThread.SetPriorityBoost(false);
    mThread.Resume();
}

RetriggerableThreader::~RetriggerableThreader()
{
    Stop();
}

void RetriggerableThreader::Stop()
{
    mLoop->quit.store(true);
    mLoop->trigger.Set();
    mThread.Join(kRetriggerableName);
}

Result RetriggerableThreader::Trigger(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param,
                                      RCPtr<LEvent> doneEvent, std::int32_t priority)
{
    if (mLoop->quit.load())
    {
        return kFail;
    }
    if (!mThread.IsCreated() || mThread.IsFinished())
    {
        // Nothing will ever run a job here; a busy flag left by a dead thread goes.
        mLoop->busy.store(false);
        return kFail;
    }
    bool wasBusy = false;
    if (!mLoop->busy.compare_exchange_strong(wasBusy, true))
    {
        return kFail;
    }
    mThread.SetPriority(priority);
    {
        std::lock_guard<std::mutex> lock(mLoop->jobLock);
        mLoop->worker = std::move(worker);
        mLoop->param = std::move(param);
        mLoop->done = std::move(doneEvent);
        if (mLoop->done)
        {
            mLoop->done->Reset();
        }
    }
    if (!mLoop->trigger.Set())
    {
        std::lock_guard<std::mutex> lock(mLoop->jobLock);
        mLoop->worker = nullptr;
        mLoop->param = nullptr;
        mLoop->done = nullptr;
        mLoop->busy.store(false);
        return kFail;
    }
    return kOk;
}

Result RetriggerableThreader::Trigger(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param,
                                      std::int32_t priority)
{
    return Trigger(std::move(worker), std::move(param), nullptr, priority);
}

bool RetriggerableThreader::IsBusy() const
{
    return mLoop->busy.load();
}

bool RetriggerableThreader::IsAvailable() const
{
    return !mLoop->quit.load() && !mLoop->busy.load() && mThread.IsCreated() && !mThread.IsFinished();
}

void RetriggerableThreader::SetName(const String& name)
{
    std::lock_guard<std::mutex> lock(mNameLock);
    mName = name;
}

String RetriggerableThreader::ToString() const
{
    std::lock_guard<std::mutex> lock(mNameLock);
    return mName;
}

} // namespace KR
