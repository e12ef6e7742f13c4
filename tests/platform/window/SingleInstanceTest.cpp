// The single-instance mark and the hand-off of a second start's command line, over a real
// socket served by the message loop, with real peers on other threads.

#include "platform/window/SingleInstance.h"
#include "platform/window/MessageLoop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
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
