// Captured data is made on a port's delivery thread and released on the MIDI object's
// worker thread: its recycling pool must take both at once.

#include "MidiTestSupport.h"

#include "kr/midi/MidiCaptureNotificationData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <thread>

namespace KR::MidiTest
{
namespace
{

// Each thread makes data and lets it go a few messages later, so makes and releases of
// all of them meet in the pool. A block handed out twice shows as data that changed
// while it was held.
TEST(MidiCaptureNotificationData, MadeAndReleasedOnSeveralThreadsAtOnceStaysIntact)
{
    constexpr int kThreads = 4;
    constexpr int kMessages = 10000;
    std::vector<int> spoilt(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [t, &spoilt]
            {
                std::deque<RCPtr<LMidiCaptureNotificationData>> held;
                for (int i = 0; i < kMessages; ++i)
                {
                    const auto value = static_cast<std::uint8_t>((i + t) % 128);
                    held.push_back(LMidiCaptureNotificationData::Create(Bytes{0x90, value, value}, u"port",
                                                                        static_cast<std::uint32_t>(i + t)));
                    if (held.size() == 4 || i + 1 == kMessages)
                    {
                        for (const auto& data : held)
                        {
                            const auto expected = static_cast<std::uint8_t>(data->GetTimeStamp() % 128);
                            spoilt[t] +=
                                std::ranges::equal(data->GetData(), Bytes{0x90, expected, expected}) ? 0 : 1;
                        }
                        held.clear();
                    }
                }
            });
    }
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    EXPECT_EQ(spoilt, std::vector<int>(kThreads, 0));
    // Every block is back in the pool.
    auto& pool = LMidiCaptureNotificationData::GetPool();
    EXPECT_EQ(pool.GetFreeCount(), pool.GetBlockCount());
}

} // namespace
} // namespace KR::MidiTest
