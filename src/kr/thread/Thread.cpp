#include "kr/thread/Thread.h"

#include "kr/core/Types.h"
#include "kr/thread/ThreadLog.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

namespace KR
{

namespace
{

int NiceValueOf(std::int32_t priority)
{
    if (priority <= kThreadPriorityIdle)
    {
        return 19;
    }
    if (priority >= kThreadPriorityTimeCritical)
    {
        return -20;
    }
    switch (priority)
    {
    case kThreadPriorityBelowNormal:
        return 5;
    case kThreadPriorityNormal:
        return 0;
    case kThreadPriorityAboveNormal:
        return -5;
    default:
        return priority < 0 ? 10 : -10;
    }
}

void ApplyPriority(pid_t tid, std::int32_t priority)
{
    // Raising priority needs a privilege most users lack; the priority then stays
    // recorded only, which is all the framework promises.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceValueOf(priority));
}

} // namespace

struct Thread::Record
{
    enum class Start
    {
        Held,
        Released,
        Cancelled
    };

    explicit Record(std::function<std::uint32_t()> routine) : body(std::move(routine)) {}

    // The owner and the thread each hold the record; the last one frees it, so an
    // owner that detaches (destroyed on its own thread) leaves nothing dangling.
    std::atomic<int> holders{1};
    std::mutex mutex;
    std::condition_variable changed;
    Start start = Start::Held;
    bool finished = false;
    std::int32_t priority = kThreadPriorityNormal;
    bool boost = true;
    pid_t tid = 0;
    std::function<std::uint32_t()> body;
    std::thread thread;
    std::thread::id id;
};

Thread::Thread(ThreadRoutine routine, void* context)
    : Thread(std::function<std::uint32_t()>([routine, context] { return routine ? routine(context) : 0u; }))
{
}

Thread::Thread(std::function<std::uint32_t()> body) : mRecord(new (std::nothrow) Record(std::move(body)))
{
    if (!mRecord)
    {
        LogThreadProblem("KR::Thread: out of memory, the thread could not be created");
        return;
    }
    mRecord->holders.store(2);
    try
    {
        mRecord->thread = std::thread(&Thread::Run, mRecord);
        mRecord->id = mRecord->thread.get_id();
        mCreated = true;
    }
    catch (const std::system_error& error)
    {
        mRecord->holders.store(1);
        LogThreadProblem(std::string("KR::Thread: the thread could not be created: ") + error.what());
    }
}

Thread::~Thread()
{
    if (!mRecord)
    {
        return;
    }
    if (mCreated)
    {
        if (IsCurrent())
        {
            mRecord->thread.detach();
        }
        else
        {
            {
                std::lock_guard<std::mutex> lock(mRecord->mutex);
                if (mRecord->start == Record::Start::Held)
                {
                    mRecord->start = Record::Start::Cancelled;
                    mRecord->changed.notify_all();
                }
            }
            Join("KR::Thread::~Thread");
            mRecord->thread.join();
        }
    }
    ReleaseRecord(mRecord);
}

void Thread::ReleaseRecord(Record* record)
{
    if (record->holders.fetch_sub(1) == 1)
    {
        delete record;
    }
}

void Thread::Run(Record* record)
{
    std::function<std::uint32_t()> body;
    {
        std::unique_lock<std::mutex> lock(record->mutex);
        record->tid = gettid();
        ApplyPriority(record->tid, record->priority);
        record->changed.wait(lock, [record] { return record->start != Record::Start::Held; });
        if (record->start == Record::Start::Released)
        {
            body = std::move(record->body);
        }
    }
    if (body)
    {
        try
        {
            body();
        }
        catch (const std::exception& error)
        {
            LogThreadProblem(std::string("KR::Thread: the thread routine threw: ") + error.what());
        }
        catch (...)
        {
            LogThreadProblem("KR::Thread: the thread routine threw an unknown exception");
        }
        // Whatever the routine's state holds goes on this thread, before anyone
        // waiting for the end is let go.
        body = nullptr;
    }
    {
        std::lock_guard<std::mutex> lock(record->mutex);
        record->finished = true;
        record->changed.notify_all();
    }
    ReleaseRecord(record);
}

void Thread::Resume()
{
    if (!IsCreated())
    {
        return;
    }
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    if (mRecord->start == Record::Start::Held)
    {
        mRecord->start = Record::Start::Released;
        mRecord->changed.notify_all();
    }
}

bool Thread::IsFinished() const
{
    if (!IsCreated())
    {
        return false;
    }
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    return mRecord->finished;
}

bool Thread::IsCurrent() const
{
    return IsCreated() && mRecord->id == std::this_thread::get_id();
}

bool Thread::WaitForExit(std::uint32_t timeoutMs)
{
    if (!IsCreated())
    {
        return false;
    }
    if (IsCurrent())
    {
        LogThreadProblem("KR::Thread::WaitForExit: a thread cannot wait for its own end");
        return false;
    }
    std::unique_lock<std::mutex> lock(mRecord->mutex);
    const auto ended = [this] { return mRecord->finished; };
    if (timeoutMs == kInfinite)
    {
        mRecord->changed.wait(lock, ended);
        return true;
    }
    return mRecord->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ended);
}

void Thread::Join(std::string_view owner, std::uint32_t reportEveryMs)
{
    if (!IsCreated() || IsCurrent())
    {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mRecord->mutex);
        if (mRecord->start == Record::Start::Held)
        {
            return;
        }
    }
    if (reportEveryMs == 0)
    {
        reportEveryMs = kLateThreadReportMs;
    }
    std::uint64_t waitedMs = 0;
    while (!WaitForExit(reportEveryMs))
    {
        waitedMs += reportEveryMs;
        LogThreadProblem(std::string(owner) + ": the thread is late, still running after " +
                         std::to_string(waitedMs) + " ms; waiting on");
    }
}

bool Thread::SetPriority(std::int32_t priority)
{
    if (!IsCreated())
    {
        return false;
    }
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    mRecord->priority = priority;
    if (mRecord->tid != 0 && !mRecord->finished)
    {
        ApplyPriority(mRecord->tid, priority);
    }
    return true;
}

std::int32_t Thread::GetPriority() const
{
    if (!mRecord)
    {
        return kThreadPriorityNormal;
    }
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    return mRecord->priority;
}

bool Thread::SetPriorityBoost(bool enable)
{
    if (!IsCreated())
    {
        return false;
    }
    std::lock_guard<std::mutex> lock(mRecord->mutex);
    mRecord->boost = enable;
    return true;
}

} // namespace KR
