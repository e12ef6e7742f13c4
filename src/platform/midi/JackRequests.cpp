#include "platform/midi/JackRequests.h"

#include "platform/midi/MidiApi.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace KR::Platform::Detail
{
namespace
{

using Clock = std::chrono::steady_clock;

std::atomic<std::int64_t> gAnswerTimeoutMs{3000};

class RequestThread
{
public:
    // Never destroyed: at the process's end the thread may still wait inside libjack for a
    // server that does not answer, and must find its state there.
    static RequestThread& Get()
    {
        static RequestThread* const thread = new RequestThread();
        return *thread;
    }

    bool Run(std::function<void()> request, std::function<void()> undo, std::string* error,
             std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        if (StuckLocked())
        {
            Explain(error, "the JACK server has not answered an earlier request");
            return false;
        }
        const auto job = std::make_shared<Job>();
        job->request = std::move(request);
        job->undo = std::move(undo);
        EnqueueLocked(job);
        if (!WaitForTurnLocked(lock, *job))
        {
            // It never runs, so there is nothing to undo.
            std::erase(queue_, job);
            Explain(error, "the JACK server has not answered an earlier request");
            return false;
        }
        WaitLocked(lock, *job, timeout);
        if (job->done)
        {
            return true;
        }
        job->abandoned = true;
        Explain(error, "the JACK server did not answer within " + std::to_string(timeout.count()) + " ms");
        return false;
    }

    bool Post(std::function<void()> request, std::chrono::milliseconds timeout)
    {
        const auto job = std::make_shared<Job>();
        job->request = std::move(request);
        std::unique_lock lock(mutex_);
        const bool stuck = StuckLocked();
        EnqueueLocked(job);
        if (!stuck && timeout.count() > 0 && WaitForTurnLocked(lock, *job))
        {
            WaitLocked(lock, *job, timeout);
        }
        return job->done;
    }

    bool IsStuck()
    {
        std::lock_guard lock(mutex_);
        return StuckLocked();
    }

private:
    struct Job
    {
        std::function<void()> request;
        std::function<void()> undo;
        bool started = false;   // the thread has taken it
        bool done = false;      // it has ended
        bool abandoned = false; // its asker gave up: undo what it did once it ends
        Clock::time_point startedAt;
    };

    RequestThread() = default;

    static void Explain(std::string* error, const std::string& text)
    {
        if (error != nullptr)
        {
            *error = text;
        }
    }

    // Until the thread has taken `job`. The requests ahead of it are ours too (a close's
    // disconnects, the other port of a pair), and a loaded server answers each of them
    // slowly but in time: the job waits its turn as long as the one under way keeps within
    // its own time. False when that one has outlived it (the server does not answer), or
    // when the thread has taken nothing for as long.
    bool WaitForTurnLocked(std::unique_lock<std::mutex>& lock, const Job& job)
    {
        while (!job.started)
        {
            if (StuckLocked())
            {
                return false;
            }
            const Clock::time_point stuckAt = (busy_ ? busySince_ : Clock::now()) + JackAnswerTimeout();
            if (changed_.wait_until(lock, stuckAt) == std::cv_status::timeout && !busy_ && !job.started)
            {
                return false;
            }
        }
        return true;
    }

    // Until `job` has ended, at most `timeout` from when the thread took it: the time it
    // waited its turn is not the server's answer time.
    void WaitLocked(std::unique_lock<std::mutex>& lock, const Job& job, std::chrono::milliseconds timeout)
    {
        const Clock::time_point deadline = job.startedAt + timeout;
        while (!job.done && changed_.wait_until(lock, deadline) != std::cv_status::timeout)
        {
        }
    }

    bool StuckLocked() const { return busy_ && Clock::now() - busySince_ >= JackAnswerTimeout(); }

    void EnqueueLocked(const std::shared_ptr<Job>& job)
    {
        if (!running_)
        {
            // Before the job is queued: a thread that cannot be had leaves nothing queued
            // that would run behind its asker's back once a later request makes one.
            std::thread([this] { Loop(); }).detach();
            running_ = true;
        }
        queue_.push_back(job);
        changed_.notify_all();
    }

    void Loop()
    {
        std::unique_lock lock(mutex_);
        for (;;)
        {
            changed_.wait(lock, [this] { return !queue_.empty(); });
            const std::shared_ptr<Job> job = queue_.front();
            queue_.pop_front();
            job->started = true;
            job->startedAt = Clock::now();
            changed_.notify_all(); // its asker's time starts now
            Perform(lock, job->request);
            job->done = true;
            changed_.notify_all();
            if (job->abandoned && job->undo)
            {
                Perform(lock, job->undo);
            }
        }
    }

    // Runs one call into libjack without the lock, counted as the request under way.
    void Perform(std::unique_lock<std::mutex>& lock, const std::function<void()>& call)
    {
        busy_ = true;
        busySince_ = Clock::now();
        lock.unlock();
        call();
        lock.lock();
        busy_ = false;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Job>> queue_;
    bool running_ = false;
    bool busy_ = false;
    Clock::time_point busySince_;
};

} // namespace

std::chrono::milliseconds JackAnswerTimeout()
{
    return std::chrono::milliseconds(gAnswerTimeoutMs.load());
}

bool RunJackRequest(std::function<void()> request, std::function<void()> undo, std::string* error,
                    std::chrono::milliseconds timeout)
{
    return RequestThread::Get().Run(std::move(request), std::move(undo), error, timeout);
}

bool PostJackRequest(std::function<void()> request, std::chrono::milliseconds timeout)
{
    return RequestThread::Get().Post(std::move(request), timeout);
}

bool IsJackServerUnanswered()
{
    return RequestThread::Get().IsStuck();
}

} // namespace KR::Platform::Detail

namespace KR::Platform
{

void SetMidiServerTimeout(std::chrono::milliseconds timeout)
{
    Detail::gAnswerTimeoutMs = timeout.count();
}

} // namespace KR::Platform
