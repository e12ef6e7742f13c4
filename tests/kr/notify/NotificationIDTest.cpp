#include "kr/notify/NotificationID.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{

using KR::GetNotificationID;
using KR::GetNotificationName;
using KR::NotificationID;
using KR::NotificationName;

TEST(NotificationID, NullAndEmptyNamesGiveNoID)
{
    EXPECT_EQ(GetNotificationID(static_cast<const char16_t*>(nullptr)), 0);
    EXPECT_EQ(GetNotificationID(u""), 0);
    EXPECT_EQ(GetNotificationID(KR::String()), 0);
    EXPECT_EQ(NotificationName(nullptr).Resolve(), 0);
    EXPECT_EQ(NotificationName(0).Resolve(), 0);
}

TEST(NotificationID, OneNameGivesOneIDAndTheIDStandsForTheName)
{
    const NotificationID idle = GetNotificationID(u"NID_IDLE");
    ASSERT_NE(idle, 0);
    EXPECT_EQ(GetNotificationID(u"NID_IDLE"), idle);
    EXPECT_EQ(GetNotificationID(KR::String(u"NID_IDLE")), idle);
    EXPECT_EQ(NotificationName(idle).Resolve(), idle);
    // An id is the address of the interned characters, so it also works as a pointer.
    EXPECT_EQ(GetNotificationID(reinterpret_cast<const char16_t*>(idle)), idle);

    const NotificationID otherCase = GetNotificationID(u"NID_Idle");
    EXPECT_NE(otherCase, 0);
    EXPECT_NE(otherCase, idle);
    EXPECT_NE(GetNotificationID(u"NID_IDLE_"), idle);
}

TEST(NotificationID, NamesComeBackFromIDsAndStrayNumbersGiveNothing)
{
    const NotificationID id = GetNotificationID(u"NID_NAME_LOOKUP");
    EXPECT_TRUE(GetNotificationName(id) == u"NID_NAME_LOOKUP");
    EXPECT_TRUE(GetNotificationName(0).IsEmpty());
    EXPECT_TRUE(GetNotificationName(id + 2).IsEmpty());
    // A number that is not an id is a failed lookup, never a read through it.
    EXPECT_EQ(NotificationName(NotificationID{12345}).Resolve(), 0);
    EXPECT_EQ(NotificationName(id + 2).Resolve(), 0);
}

TEST(NotificationID, ThreadsInterningOneNewNameAtOnceGetOneID)
{
    constexpr int kThreads = 8;
    const KR::String name(u"NID_INTERNED_BY_RACING_THREADS");
    std::atomic<bool> go{false};
    std::vector<NotificationID> ids(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back(
            [&, t]
            {
                // Each thread brings its own copy of the text.
                const std::u16string text(name.GetPtr());
                while (!go.load())
                {
                    std::this_thread::yield();
                }
                ids[t] = GetNotificationID(text.c_str());
            });
    }
    go.store(true);
    for (std::thread& thread : threads)
    {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t)
    {
        EXPECT_NE(ids[t], 0);
        EXPECT_EQ(ids[t], ids[0]);
    }
    EXPECT_EQ(GetNotificationID(name), ids[0]);
}

TEST(NotificationID, TheNameTableHoldsEveryNameAtItsID)
{
    const NotificationID a = GetNotificationID(u"NID_A");
    const NotificationID b = GetNotificationID(u"NID_B");
    const KR::MutexLocker lock(KR::GetNotificationLock());
    const KR::StringArray& table = KR::GetNotificationNameTable();
    for (const auto& [id, name] : {std::pair{a, u"NID_A"}, std::pair{b, u"NID_B"}})
    {
        const std::int32_t index = table.FindByDataPointer(reinterpret_cast<const char16_t*>(id));
        ASSERT_GE(index, 0) << KR::String(name).ToUtf8().GetPtr();
        EXPECT_TRUE(table[static_cast<std::uint32_t>(index)] == name);
    }
}

TEST(NotificationID, TheNameTableIsReadUnderTheLockWhileOthersIntern)
{
    std::atomic<bool> done{false};
    std::thread reader(
        [&]
        {
            while (!done.load())
            {
                const KR::MutexLocker lock(KR::GetNotificationLock());
                for (const KR::String& name : KR::GetNotificationNameTable())
                {
                    ASSERT_FALSE(name.IsEmpty());
                }
            }
        });
    std::vector<std::thread> interning;
    for (int t = 0; t < 2; ++t)
    {
        interning.emplace_back(
            [t]
            {
                for (int i = 0; i < 200; ++i)
                {
                    const std::string name = "NID_TABLE_" + std::to_string(t) + "_" + std::to_string(i);
                    GetNotificationID(KR::String(name.c_str()));
                }
            });
    }
    for (std::thread& thread : interning)
    {
        thread.join();
    }
    done.store(true);
    reader.join();
}

TEST(NotificationID, ABufferThatNowHoldsAnotherNameGivesThatNamesID)
{
    // One buffer, rewritten between lookups, as a caller reusing its own text does: each
    // lookup must answer for the text there now, not for what the address held before.
    const std::u16string texts[] = {u"NID_BUFFER_ONE", u"NID_BUFFER_TWO",          u"NID_BUFFER_ONE",
                                    u"NID_BUFFER_ON",  u"NID_BUFFER_ONE_AND_MORE", u"NID_BUFFER_ONE"};
    char16_t buffer[64] = {};
    for (const std::u16string& text : texts)
    {
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
        const std::u16string fresh(text);
        EXPECT_EQ(GetNotificationID(buffer), GetNotificationID(fresh.c_str()))
            << KR::String(fresh.c_str()).ToUtf8().GetPtr();
        EXPECT_TRUE(GetNotificationName(GetNotificationID(buffer)) == fresh.c_str());
    }
}

TEST(NotificationID, ManyNamesLookedUpAgainKeepTheirIDsAndStrayNumbersStayStray)
{
    // More names than a thread remembers, so that they push each other out.
    std::vector<std::u16string> names;
    std::vector<NotificationID> ids;
    for (int i = 0; i < 300; ++i)
    {
        const std::string name = "NID_MANY_" + std::to_string(i);
        names.emplace_back(name.begin(), name.end());
        ids.push_back(GetNotificationID(names.back().c_str()));
    }
    for (int round = 0; round < 2; ++round)
    {
        for (std::size_t i = 0; i < names.size(); ++i)
        {
            ASSERT_EQ(GetNotificationID(names[i].c_str()), ids[i]) << i;
            ASSERT_EQ(NotificationName(ids[i]).Resolve(), ids[i]) << i;
            ASSERT_EQ(NotificationName(ids[i] + 2).Resolve(), 0) << i;
        }
    }
}

} // namespace
