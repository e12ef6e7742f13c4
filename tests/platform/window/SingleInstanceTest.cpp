// The single-instance mark and the hand-off of a second start's command line, over a real
// socket served by the message loop, with real peers on other threads.

#include "platform/window/SingleInstance.h"
#include "platform/window/MessageLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

namespace
{

namespace P = KR::Platform;

// A fresh folder, removed with what it holds.
struct Folder
{
    Folder()
    {
        std::string pattern = ::testing::TempDir() + "kr-instance-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr)
        {
            path = pattern;
        }
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

std::vector<std::uint8_t> Wire(std::uint32_t id, std::uint32_t count, const std::string& body)
{
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t value : {id, count})
    {
        for (int shift = 0; shift < 32; shift += 8)
        {
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// A peer that writes raw bytes and reports what the listener answered: the byte, or -1 when
// it closed without one, or -2 when it kept silent for five seconds.
int RawPeer(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    const int sock = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (connect(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    {
        close(sock);
        return -3;
    }
    (void)send(sock, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    pollfd entry{sock, POLLIN, 0};
    int answer = -2;
    if (poll(&entry, 1, 5000) == 1)
    {
        std::uint8_t byte = 0;
        answer = recv(sock, &byte, 1, 0) == 1 ? byte : -1;
    }
    close(sock);
    return answer;
}

class HandOff : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = folder.path + "/hand.socket";
        std::string problem;
        ASSERT_TRUE(listener.Start(
            path, [this](const std::string& text) { received.push_back(text); }, problem))
            << problem;
    }
    // Runs the loop until `peer`, on its own thread, is done.
    void Serve(const std::function<void()>& peer)
    {
        std::thread thread(
            [&]
            {
                peer();
                P::PostQuitMessage(0);
            });
        P::MessageLoop loop;
        loop.Run();
        thread.join();
    }

    Folder folder;
    std::string path;
    P::CommandLineListener listener;
    std::vector<std::string> received;
};

TEST_F(HandOff, TheCommandLineArrivesWholeAndTheSenderIsAnswered)
{
    P::HandOffResult result = P::HandOffResult::kFailed;
    Serve([&] { result = P::SendCommandLine(path, R"(/p/PresetEditor a "b c")"); });
    EXPECT_EQ(result, P::HandOffResult::kDelivered);
    EXPECT_EQ(received, std::vector<std::string>{R"(/p/PresetEditor a "b c")"});
}

TEST_F(HandOff, MalformedHandOffsAreRefusedWithoutAnAnswer)
{
    const struct
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } rows[] = {
        {"wrong id", Wire(0x466, 2, std::string("a\0", 2))},
        {"no text", Wire(0x465, 0, "")},
        {"too long", Wire(0x465, 65537, "abc")},
        {"no final zero", Wire(0x465, 3, "abc")},
        {"more than announced", Wire(0x465, 2, std::string("a\0zz", 4))},
    };
    for (const auto& row : rows)
    {
        int answer = 0;
        Serve([&] { answer = RawPeer(path, row.bytes); });
        EXPECT_EQ(answer, -1) << row.what;
    }
    EXPECT_TRUE(received.empty());
}

TEST_F(HandOff, AStalledPeerIsDroppedWhileOthersAreServed)
{
    int stalled = 0;
    P::HandOffResult result = P::HandOffResult::kFailed;
    Serve(
        [&]
        {
            std::thread slow([&] { stalled = RawPeer(path, Wire(0x465, 10, "abc")); });
            result = P::SendCommandLine(path, "second");
            slow.join();
        });
    EXPECT_EQ(result, P::HandOffResult::kDelivered);
    EXPECT_EQ(stalled, -1); // closed after its second, not left open
    EXPECT_EQ(received, std::vector<std::string>{"second"});
}

TEST_F(HandOff, WithoutAListenerTheStartGoesOn)
{
    listener.Stop();
    EXPECT_FALSE(listener.IsListening());
    EXPECT_EQ(P::SendCommandLine(path, "x"), P::HandOffResult::kNoListener);
    EXPECT_EQ(P::SendCommandLine(folder.path + "/" + std::string(120, 'n'), "x"),
              P::HandOffResult::kNoListener);
}

// A flood of connections under a low descriptor limit: while no descriptor is left to
// accept with, the listener looks away instead of being woken again at once, and it takes a
// hand-off again once the flood is over.
TEST_F(HandOff, AFloodThatUsesUpTheDescriptorsNeitherSpinsNorStopsTheListener)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    std::atomic<bool> running{false};
    std::atomic<bool> limited{false};
    std::atomic<bool> measured{false};
    std::vector<int> flood;
    // Half a second of flood once it has used up the descriptors, then the loop is quit.
    // Its thread runs before the limit is lowered: starting one can need a descriptor.
    std::thread flooder(
        [&]
        {
            running = true;
            while (!limited.load())
            {
                std::this_thread::yield();
            }
            const auto connectOne = [&]
            {
                const int sock = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
                if (sock >= 0)
                {
                    (void)connect(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address);
                    flood.push_back(sock);
                }
                return sock >= 0;
            };
            while (connectOne())
            {
            }
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            while (std::chrono::steady_clock::now() < end)
            {
                // Whatever the listener lets go of is taken again at once.
                if (!connectOne())
                {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
            }
            P::PostQuitMessage(0);
            // The descriptors go back before this thread ends: its ending needs some (the
            // sanitizers' checks do).
            while (!measured.load())
            {
                std::this_thread::yield();
            }
            for (const int sock : flood)
            {
                close(sock);
            }
        });
    while (!running.load())
    {
        std::this_thread::yield();
    }
    const auto open = std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                    std::filesystem::directory_iterator());
    rlimit low = saved;
    low.rlim_cur = static_cast<rlim_t>(open) + 24;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    const auto thisThreadCpu = []
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    };
    const std::chrono::nanoseconds before = thisThreadCpu();
    limited = true;
    P::MessageLoop loop;
    loop.Run();
    const std::chrono::nanoseconds cpu = thisThreadCpu() - before;
    measured = true;
    flooder.join();
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_LT(cpu, std::chrono::milliseconds(50));

    P::HandOffResult result = P::HandOffResult::kFailed;
    Serve([&] { result = P::SendCommandLine(path, "after the flood"); });
    EXPECT_EQ(result, P::HandOffResult::kDelivered);
    EXPECT_EQ(received, std::vector<std::string>{"after the flood"});
}

TEST(SingleInstance, TheLockHasOneHolderUntilItIsLetGo)
{
    Folder folder;
    const std::string path = folder.path + "/mark.lock";
    P::InstanceLock first;
    P::InstanceLock second;
    EXPECT_TRUE(first.Acquire(path));
    EXPECT_TRUE(first.Acquire(path));
    EXPECT_FALSE(second.Acquire(path));
    first.Release();
    EXPECT_TRUE(second.Acquire(path));
}

TEST(SingleInstance, PathsLiveInTheRuntimeFolderAndTooLongOnesGiveNoHandOff)
{
    Folder folder;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string before = saved != nullptr ? saved : "";
    setenv("XDG_RUNTIME_DIR", folder.path.c_str(), 1);
    P::InstancePaths paths = P::GetInstancePaths("Tarsil_Vantor Preset EditorPrevent");
    EXPECT_EQ(paths.lockPath, folder.path + "/Tarsil_Vantor Preset EditorPrevent.lock");
    EXPECT_EQ(paths.socketPath, folder.path + "/Tarsil_Vantor Preset EditorPrevent.socket");
    EXPECT_TRUE(paths.handOff);
    paths = P::GetInstancePaths(std::string(120, 'x'));
    EXPECT_FALSE(paths.handOff);
    EXPECT_FALSE(paths.problem.empty());
    if (saved != nullptr)
    {
        setenv("XDG_RUNTIME_DIR", before.c_str(), 1);
    }
    else
    {
        unsetenv("XDG_RUNTIME_DIR");
    }
}

} // namespace
