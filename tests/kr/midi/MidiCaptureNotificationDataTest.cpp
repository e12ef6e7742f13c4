// Captured data is made on a port's delivery thread and released on the MIDI object's
// worker thread: its recycling pool must take both at once.

#include "MidiTestSupport.h"

#include "kr/midi/MidiCaptureNotificationData.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace KR::MidiTest
{
namespace
{

TEST(MidiCaptureNotificationData, MadeOnOneThreadAndReleasedOnAnotherStaysIntact)
{
    constexpr int kMessages = 100000;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<RCPtr<LMidiCaptureNotificationData>> handedOver;
    bool finished = false;
    const String port(u"port");

    // As a port's delivery thread does: make, and hand over.
    std::thread maker(
        [&]
        {
            for (int i = 0; i < kMessages; ++i)
            {
                const std::uint8_t value = static_cast<std::uint8_t>(i % 128);
                auto data = LMidiCaptureNotificationData::Create(Bytes{0x90, value, value}, port,
                                                                 static_cast<std::uint32_t>(i));
                {
                    std::lock_guard lock(mutex);
                    handedOver.push_back(std::move(data));
                }
                changed.notify_one();
            }
            std::lock_guard lock(mutex);
            finished = true;
            changed.notify_one();
        });

    // As the worker thread does: read, and let go while the maker goes on making.
    int received = 0;
    int spoilt = 0;
    for (;;)
    {
        RCPtr<LMidiCaptureNotificationData> data;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return finished || !handedOver.empty(); });
            if (handedOver.empty())
            {
                break;
            }
            data = std::move(handedOver.front());
            handedOver.pop_front();
        }
        const std::uint8_t value = static_cast<std::uint8_t>(data->GetTimeStamp() % 128);
        spoilt += data->GetData().size() != 3 || data->GetData()[1] != value || data->GetData()[2] != value;
        ++received;
    }
    maker.join();
    EXPECT_EQ(received, kMessages);
    EXPECT_EQ(spoilt, 0);
    // Every block is back in the pool, none handed out twice.
    auto& pool = LMidiCaptureNotificationData::GetPool();
    EXPECT_EQ(pool.GetFreeCount(), pool.GetBlockCount());
}

} // namespace
} // namespace KR::MidiTest
