#pragma once
// A worker for the threader and pool tests: counts its runs (a run is counted once its
// action has run), remembers where and with what it ran, and can be held inside DoWork
// until released.

#include "kr/core/RCPtr.h"
#include "kr/thread/Event.h"
#include "kr/thread/ThreadWorker.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace KR::Testing
{

class TestWorker : public LThreadWorker
{
public:
    static RCPtr<TestWorker> Create() { return RCPtr<TestWorker>(new TestWorker); }

    Result DoWork(RCPtr<LRefCountedObject>& param) override
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mThreads.push_back(std::this_thread::get_id());
            mParams.push_back(param.Get());
        }
        mInside.store(true);
        if (mHold)
        {
            mRelease.Wait(kInfinite);
        }
        mInside.store(false);
        if (mAction)
        {
            mAction(param);
        }
        // Counted last, so a test that waits for a run count also sees what the run did.
        ++mRuns;
        if (mThrowOnce.exchange(false))
        {
            throw std::runtime_error("worker failure");
        }
        return kOk;
    }

    // Every later run waits inside DoWork until LetRunsEnd.
    void HoldRuns() { mHold = true; }
    void LetRunsEnd() { mRelease.Set(); }
    void ThrowNextRun() { mThrowOnce = true; }
    // Called at the end of each run, on the run's thread.
    void OnRun(std::function<void(RCPtr<LRefCountedObject>&)> action) { mAction = std::move(action); }

    int Runs() const { return mRuns.load(); }
    bool Inside() const { return mInside.load(); }
    std::vector<std::thread::id> Threads() const
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mThreads;
    }
    std::vector<const LRefCountedObject*> Params() const
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mParams;
    }

private:
    TestWorker() = default;

    mutable std::mutex mMutex;
    std::vector<std::thread::id> mThreads;
    std::vector<const LRefCountedObject*> mParams;
    std::atomic<int> mRuns{0};
    std::atomic<bool> mInside{false};
    std::atomic<bool> mThrowOnce{false};
    bool mHold = false;
    Event mRelease{false};
    std::function<void(RCPtr<LRefCountedObject>&)> mAction;
};

// A parameter handed to the worker, told apart by its address.
class Payload : public LRefCountedObject
{
};

} // namespace KR::Testing
