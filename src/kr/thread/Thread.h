#pragma once
// An owned thread, created held at a start gate so its owner can set it up first.

#include <cstdint>
#include <functional>
#include <string_view>

namespace KR
{

using ThreadRoutine = std::uint32_t (*)(void* context);

// Thread priorities, with the values the rest of the framework passes around. They
// are applied best effort (as nice values); a priority the system refuses is only
// recorded.
inline constexpr std::int32_t kThreadPriorityIdle = -15;
inline constexpr std::int32_t kThreadPriorityLowest = -2;
inline constexpr std::int32_t kThreadPriorityBelowNormal = -1;
inline constexpr std::int32_t kThreadPriorityNormal = 0;
inline constexpr std::int32_t kThreadPriorityAboveNormal = 1;
inline constexpr std::int32_t kThreadPriorityHighest = 2;
inline constexpr std::int32_t kThreadPriorityTimeCritical = 15;

// How long an owner waits for its thread before it reports the thread as late (and
// goes on waiting).
inline constexpr std::uint32_t kLateThreadReportMs = 60000;

// The thread exists from construction but runs its routine only after Resume. Nothing
// here throws: a thread that cannot be created is reported through LogThreadProblem
// and IsCreated tells the owner.
class Thread
{
public:
    Thread(ThreadRoutine routine, void* context);
    explicit Thread(std::function<std::uint32_t()> body);
    // Joins the thread (reporting it when late); a thread that never passed its
    // start gate is let go without running. Destroyed on its own thread, it is
    // detached instead, since a thread cannot wait for itself.
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool IsCreated() const { return mRecord != nullptr && mCreated; }

    void Resume();
    bool IsFinished() const;
    // True when the thread ended within the time-out (ms; 0xFFFFFFFF = forever).
    // Always false on the thread itself.
    bool WaitForExit(std::uint32_t timeoutMs);
    // Waits until the thread has ended, reporting it as late (owner names the waiter)
    // every reportEveryMs. Returns at once for a thread that was never created or
    // resumed, and when called on the thread itself.
    void Join(std::string_view owner, std::uint32_t reportEveryMs = kLateThreadReportMs);
    // True when called on this thread.
    bool IsCurrent() const;

    bool SetPriority(std::int32_t priority);
    std::int32_t GetPriority() const;
    // There is no dynamic priority boost to switch here; the choice is recorded.
    bool SetPriorityBoost(bool enable);

private:
    struct Record;
    static void Run(Record* record);
    static void ReleaseRecord(Record* record);

    Record* mRecord;
    bool mCreated = false;
};

} // namespace KR
