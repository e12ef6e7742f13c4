#pragma once
// What the bridge's tests share: the libraries they load, a receiver that records
// every delivery, and bounded waits on conditions.

#include "device/DeviceCommunicationInterface.h"
#include "kr/core/ParamValues.h"
#include "platform/system/FileSystem.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace EngineTest
{

using namespace std::chrono_literals;

inline constexpr std::chrono::milliseconds kWaitLimit = 10s;

// Tests and libraries are built into the same folder.
inline std::string BesideTheTests(const std::string& fileName)
{
    return KR::Platform::ExecutableFolder() + "/" + fileName;
}

inline std::string MissingLibraryPath()
{
    return BesideTheTests("libNoDeviceControlHere.so");
}

// Polls a condition that another thread makes true, up to kWaitLimit.
inline bool WaitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
        {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// One value of a delivered list, as read back.
struct Received
{
    std::int32_t id = 0;
    KR::Variant selector;
    KR::Variant value;
    std::thread::id thread;
};

// Records every list it receives, entry by entry, with the receiving thread. A test may
// hold the receiver inside its next delivery until Release.
class RecordingReceiver final : public DeviceCommunicationReceiver
{
public:
    void ReceiveParamValues(const KR::ParamValues& values) override
    {
        std::unique_lock lock(mMutex);
        ++mInside;
        mChanged.notify_all();
        mChanged.wait(lock, [this] { return !mHold; });
        for (std::uint32_t i = 0; i < values.GetArraySize(); ++i)
        {
            Received entry;
            values.GetAt(i, entry.value, entry.id, entry.selector);
            entry.thread = std::this_thread::get_id();
            mReceived.push_back(entry);
        }
        ++mLists;
        --mInside;
        mChanged.notify_all();
    }
    std::int32_t ReceiveReserved(std::int32_t, std::int32_t) override { return 0; }

    // The next delivery waits inside the receiver until Release.
    void Hold()
    {
        const std::lock_guard lock(mMutex);
        mHold = true;
    }
    void Release()
    {
        const std::lock_guard lock(mMutex);
        mHold = false;
        mChanged.notify_all();
    }
    bool WaitUntilInside()
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, kWaitLimit, [this] { return mInside > 0; });
    }
    bool WaitForLists(std::size_t count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, kWaitLimit, [&] { return mLists >= count; });
    }
    bool IsInside()
    {
        const std::lock_guard lock(mMutex);
        return mInside > 0;
    }
    std::size_t ListCount()
    {
        const std::lock_guard lock(mMutex);
        return mLists;
    }
    std::vector<Received> Entries()
    {
        const std::lock_guard lock(mMutex);
        return mReceived;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mHold = false;
    int mInside = 0;
    std::size_t mLists = 0;
    std::vector<Received> mReceived;
};

} // namespace EngineTest
