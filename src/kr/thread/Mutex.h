#pragma once
// The framework's one lock type: re-entrant for the thread that holds it.

#include <mutex>

namespace KR
{

// A thread may enter a Mutex it already holds (code holding a model lock calls back
// into code that takes it again), and must leave it as often as it entered.
// Header-only, so low-level containers can guard themselves without linking the
// thread library.
class Mutex
{
public:
    Mutex() = default;
    virtual ~Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void Enter() { mLock.lock(); }
    void Leave() { mLock.unlock(); }
    bool TryEnter() { return mLock.try_lock(); }

    // The standard Lockable names, so std::unique_lock and std::scoped_lock work too.
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

private:
    std::recursive_mutex mLock;
};

// Holds a Mutex for one scope, also when an exception leaves it.
class MutexLocker
{
public:
    explicit MutexLocker(Mutex& mutex) : mMutex(mutex) { mMutex.Enter(); }
    ~MutexLocker() { mMutex.Leave(); }
    MutexLocker(const MutexLocker&) = delete;
    MutexLocker& operator=(const MutexLocker&) = delete;

private:
    Mutex& mMutex;
};

} // namespace KR
