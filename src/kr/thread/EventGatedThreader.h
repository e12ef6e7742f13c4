#pragma once
// A thread that runs a worker each time an event is set.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/thread/Event.h"
#include "kr/thread/Thread.h"
#include "kr/thread/ThreadWorker.h"

#include <cstdint>
#include <memory>

namespace KR
{

// The owner wakes the threader by setting the event it gave; one set gives one run of
// the worker (the gate is auto-reset). Destruction stops the thread and waits for a
// run in progress to end (reporting it when late); the worker is not called again.
class LEventGatedThreader : public virtual LRefCountedObject
{
public:
    static RCPtr<LEventGatedThreader> Create(const RCPtr<LEvent>& event, const RCPtr<LThreadWorker>& worker,
                                             const RCPtr<LRefCountedObject>& param, std::int32_t priority);

    LEventGatedThreader(const RCPtr<LEvent>& event, const RCPtr<LThreadWorker>& worker,
                        const RCPtr<LRefCountedObject>& param, std::int32_t priority);
    ~LEventGatedThreader() override;

    // True once the thread has ended (after destruction began, or when waiting on the
    // gate failed).
    bool IsFinished() const { return mThread.IsFinished(); }

private:
    // What the thread works on. The thread shares it, so the threader may even be
    // destroyed from inside its own worker's run.
    struct Loop;

    std::shared_ptr<Loop> mLoop;
    Thread mThread;
};

} // namespace KR
