#pragma once
// One thread kept alive to run one job each time it is triggered.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/thread/Event.h"
#include "kr/thread/Thread.h"
#include "kr/thread/ThreadWorker.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace KR
{

// Idle (asleep on its trigger), busy (running a job) or quitting. A trigger never
// replaces or queues behind a running job: it fails instead. Owned by value (the
// thread pool holds an array of them); destruction stops the thread and waits for a
// running job to end, reporting it when late.
class RetriggerableThreader : public IStringable
{
public:
    explicit RetriggerableThreader(const String& name = String());
    ~RetriggerableThreader() override;
    RetriggerableThreader(const RetriggerableThreader&) = delete;
    RetriggerableThreader& operator=(const RetriggerableThreader&) = delete;

    // Runs worker->DoWork(param) once on this threader's thread at the given thread
    // priority. The done event is reset now and set when the job has ended, after
    // the threader has become free again, so a thread woken by it finds the threader
    // ready. kFail (nothing stored) while busy or quitting, and when the thread is
    // not running at all (never created, or ended), since then no job could run.
    Result Trigger(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param, RCPtr<LEvent> doneEvent,
                   std::int32_t priority);
    // The same without a done event.
    Result Trigger(RCPtr<LThreadWorker> worker, RCPtr<LRefCountedObject> param, std::int32_t priority);

    bool IsBusy() const;
    // Free, not quitting, and its thread alive: a trigger now would succeed.
    bool IsAvailable() const;
    // True once the thread has ended.
    bool IsFinished() const { return mThread.IsFinished(); }

    // Quits: a job that has not begun is skipped, a running one is waited for. The
    // thread ends; later triggers fail. Safe to call more than once, and from the
    // threader's own job (it then ends after that job).
    void Stop();

    void SetName(const String& name);
    // The threader's name.
    String ToString() const override;

private:
    // What the thread works on; shared with the thread, so the threader may be
    // destroyed even from inside its own job.
    struct Loop;

    std::shared_ptr<Loop> mLoop;
    Thread mThread;
    mutable std::mutex mNameLock;
    String mName;
};

} // namespace KR
