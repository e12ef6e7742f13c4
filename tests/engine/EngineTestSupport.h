#pragma once
// What the engine's tests share: the libraries beside the tests, a receiver that records
// every delivery, and the application center of support/engine.

#include "device/DeviceCommunicationInterface.h"
#include "kr/core/ParamValues.h"
#include "platform/system/FileSystem.h"
#include "support/Wait.h"
#include "support/engine/ApplicationCenter.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace support
{

using KR::TestSupport::kPatience;
using KR::TestSupport::WaitUntil;

// Tests and libraries are built into the same folder.
inline std::string BesideTheTests(const std::string& fileName)
{
    return KR::Platform::ExecutableFolder() + "/" + fileName;
}

inline std::string MissingLibraryPath()
{
    return BesideTheTests("libNoDeviceControlHere.so");
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
    void Hold(bool hold)
    {
        const std::lock_guard lock(mMutex);
        mHold = hold;
        mChanged.notify_all();
    }
    bool WaitUntilInside()
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, kPatience, [this] { return mInside > 0; });
    }
    bool WaitForLists(std::size_t count)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, kPatience, [&] { return mLists >= count; });
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

} // namespace support
